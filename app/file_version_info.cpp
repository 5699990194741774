#include "app/file_version_info.h"

#include "app/language_state.h"
#include "platform/os/locale.h"

#include <cstdio>
#include <mutex>

namespace qv {
namespace os = platform::os;
namespace {

constexpr std::uint16_t unicode_code_page = 1200;

// VS_FIXEDFILEINFO file flags
constexpr std::uint32_t flag_debug = 0x1;
constexpr std::uint32_t flag_prerelease = 0x2;
constexpr std::uint32_t flag_private_build = 0x8;

constexpr std::uint16_t lang_french = 0x0C;

// Replaces the last occurrence of what in text, if any.
void replace_last(std::wstring& text, std::wstring_view what, std::wstring_view by) {
    const std::size_t found = text.rfind(what);
    if (found != std::wstring::npos)
        text.replace(found, what.size(), by);
}

std::uint16_t read_u16(std::span<const std::byte> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(bytes[offset]) |
                                      (std::to_integer<unsigned>(bytes[offset + 1]) << 8));
}

} // namespace

file_version_info::file_version_info(std::wstring_view path) {
    const std::uint32_t size = os::get_file_version_info_size(path);
    if (size != 0) {
        data_.assign(size, std::byte{0});
        if (!os::get_file_version_info(path, data_))
            data_.clear();
    }
    block_ = data_;
    read_block();
}

file_version_info::file_version_info(std::span<const std::byte> block) : block_(block) {
    read_block();
}

void file_version_info::read_block() {
    if (block_.empty())
        return;
    if (const auto root = os::ver_query_value(block_, L"\\"))
        fixed_ = os::read_fixed_file_info(*root);
    const auto translation = os::ver_query_value(block_, L"\\VarFileInfo\\Translation");
    if (!translation)
        return;
    for (std::size_t offset = 0; offset + 4 <= translation->size(); offset += 4) {
        const std::uint16_t language = read_u16(*translation, offset);
        const std::uint16_t code_page = read_u16(*translation, offset + 2);
        if (code_page != unicode_code_page)
            continue;
        char text[9];
        std::snprintf(text, sizeof text, "%04hx%04hx", language, code_page);
        translations_.emplace_back(text, text + 8);
    }
}

packed_version file_version_info::file_version() const {
    return fixed_ ? make_packed_version(fixed_->file_version_ms, fixed_->file_version_ls) : 0;
}

std::wstring file_version_info::string_value(std::wstring_view key) const {
    if (block_.empty() || translations_.empty())
        return {};
    const std::wstring sub_block =
        L"\\StringFileInfo\\" + translations_.front() + L"\\" + std::wstring(key);
    return os::ver_query_string(block_, sub_block).value_or(std::wstring{});
}

} // namespace qv

namespace qv {

std::wstring file_version_info::display_product_name() const {
    std::wstring name = product_name();
    // The edition of this product family is decided by the first file whose display name is
    // built in the process, and shown under its own name in German only.
    static std::once_flag decided;
    static bool special_edition = false;
    std::call_once(decided,
                   [this] { special_edition = string_value(L"SpecialBuild") == L"Plavento"; });
    if (special_edition && language_state::instance().language == languages::german)
        replace_last(name, L"Varnolis", L"Plavento");
    return name;
}

std::wstring file_version_info::display_version_text() const {
    std::wstring text = display_product_name();
    if (const std::wstring version = product_version(); !version.empty()) {
        text += L' ';
        text += version;
    }
    const std::uint32_t flags = fixed_ ? fixed_->file_flags & fixed_->file_flags_mask : 0;
    const std::uint16_t primary =
        platform::os::primary_language(static_cast<std::uint16_t>(language_state::instance().lcid));
    if ((flags & flag_prerelease) && primary != lang_french)
        replace_last(text, L"b\u00eata", L"beta");
    if (flags & flag_private_build)
        text += L" \u2013 Private";
    if (flags & flag_debug)
        text += L" \u2013 Debug";
    return text;
}

} // namespace qv
