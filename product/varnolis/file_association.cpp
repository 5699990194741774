#include "product/varnolis/file_association.h"

#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include <string>

namespace varnolis {
namespace os = platform::os;
namespace {

constexpr auto classes_root = os::predefined_key::classes_root;

std::wstring quoted(std::wstring_view path) {
    return L"\"" + std::wstring(path) + L"\"";
}

// Creates the key and sets its default value.
std::error_code set_default_value(std::wstring_view sub_key, std::wstring_view text) {
    auto key = os::create_key(classes_root, sub_key, os::key_access::write);
    if (!key)
        return key.error();
    return os::set_string_value(key->key, L"", text);
}

bool is_not_found(const std::error_code& error) {
    return error == os::make_error_code(os::win32_error::file_not_found);
}

// The default value of HKCR\<sub_key> as text; empty when the key or the value is missing.
os::result<std::wstring> default_text(std::wstring_view sub_key) {
    auto key = os::open_key(classes_root, sub_key, os::key_access::read);
    if (!key)
        return is_not_found(key.error()) ? os::result<std::wstring>(std::wstring{}) : key.error();
    auto value = os::query_value(*key, L"");
    if (!value)
        return is_not_found(value.error()) ? os::result<std::wstring>(std::wstring{})
                                           : value.error();
    std::wstring text = os::from_utf16le(value->bytes);
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::error_code delete_if_present(std::wstring_view sub_key) {
    const std::error_code error = os::delete_tree(classes_root, sub_key);
    return is_not_found(error) ? std::error_code() : error;
}

} // namespace

std::error_code register_file_association(std::wstring_view program_path) {
    const std::wstring document_class_key(document_class);
    const std::wstring steps[][2] = {
        {std::wstring(document_extension), document_class_key},
        {document_class_key, L"Varnolis Document"},
        {document_class_key + L"\\DefaultIcon", quoted(program_path) + L",0"},
        {document_class_key + L"\\shell\\open\\command", quoted(program_path) + L" \"%1\""},
    };
    for (const auto& [sub_key, text] : steps) {
        if (std::error_code error = set_default_value(sub_key, text))
            return error;
    }
    return {};
}

std::error_code unregister_file_association() {
    const auto extension_class = default_text(document_extension);
    if (!extension_class)
        return extension_class.error();
    if (os::iequals(*extension_class, document_class)) {
        if (std::error_code error = delete_if_present(document_extension))
            return error;
    }
    return delete_if_present(document_class);
}

} // namespace varnolis
