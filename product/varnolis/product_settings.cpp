#include "product/varnolis/product_settings.h"

#include "app/product_identity.h"
#include "platform/os/registry.h"
#include "product/varnolis/version_text.h"

#include <cstdint>
#include <type_traits>
#include <variant>

namespace varnolis {
namespace os = platform::os;
namespace {

constexpr auto local_machine = os::predefined_key::local_machine;

bool is_not_found(const std::error_code& error) {
    return error == os::make_error_code(os::win32_error::file_not_found);
}

std::error_code ignoring_not_found(const std::error_code& error) {
    return is_not_found(error) ? std::error_code() : error;
}

std::wstring maker_key_path() {
    return L"Software\\" + std::wstring(qv::maker_folder_name);
}

std::wstring preferences_key_path(qv::packed_version version) {
    return settings_key_path() + L"\\" + dotted_version(version);
}

// A preference and the value a fresh installation starts with.
struct preference {
    const wchar_t* name;
    std::variant<const wchar_t*, std::uint32_t> initial;
};

constexpr preference preferences[] = {
    {L"Units", L"mm"},
    {L"GridSpacing", 10u},
    {L"Palette", L"Standard"},
};

std::error_code set_initial_value(const os::registry_key& key, const preference& entry) {
    return std::visit(
        [&](auto initial) {
            if constexpr (std::is_same_v<decltype(initial), std::uint32_t>)
                return os::set_dword_value(key, entry.name, initial);
            else
                return os::set_string_value(key, entry.name, initial);
        },
        entry.initial);
}

std::error_code set_missing_defaults(const os::registry_key& key) {
    for (const preference& entry : preferences) {
        const auto present = os::query_value_info(key, entry.name);
        if (present)
            continue;
        if (!is_not_found(present.error()))
            return present.error();
        if (std::error_code error = set_initial_value(key, entry))
            return error;
    }
    return {};
}

// Copies every value of the previous version's preferences over this version's, then removes the
// previous ones: the update takes over the user's earlier choices.
std::error_code move_preferences(qv::packed_version previous, const os::registry_key& target) {
    const std::wstring source_path = preferences_key_path(previous);
    auto source = os::open_key(local_machine, source_path, os::key_access::read);
    if (!source)
        return ignoring_not_found(source.error());
    for (std::uint32_t index = 0;; ++index) {
        const auto name = os::enum_value(*source, index);
        if (!name) {
            if (name.error() == os::make_error_code(os::win32_error::no_more_items))
                break;
            return name.error();
        }
        const auto value = os::query_value(*source, *name);
        if (!value)
            return value.error();
        if (std::error_code error = os::set_value(target, *name, value->type, value->bytes))
            return error;
    }
    return ignoring_not_found(os::delete_tree(local_machine, source_path));
}

os::result<bool> has_entries(const os::registry_key& key) {
    const auto no_more_items = os::make_error_code(os::win32_error::no_more_items);
    for (const auto& first : {os::enum_key(key, 0), os::enum_value(key, 0)}) {
        if (first)
            return true;
        if (first.error() != no_more_items)
            return first.error();
    }
    return false;
}

// Deletes the key when it holds no value and no subkey.
std::error_code delete_if_empty(const std::wstring& path) {
    auto key = os::open_key(local_machine, path, os::key_access::read);
    if (!key)
        return ignoring_not_found(key.error());
    const auto occupied = has_entries(*key);
    if (!occupied)
        return occupied.error();
    if (*occupied)
        return {};
    return ignoring_not_found(os::delete_tree(local_machine, path));
}

} // namespace

std::wstring settings_key_path() {
    return maker_key_path() + L"\\" + qv::product_key_name(qv::product_code);
}

std::error_code write_settings(const installed_program& program,
                               std::optional<qv::packed_version> previous) {
    auto own_preferences = os::create_key(local_machine, preferences_key_path(program.version),
                                          os::key_access::read | os::key_access::write);
    if (!own_preferences)
        return own_preferences.error();
    if (previous) {
        if (std::error_code error = move_preferences(*previous, own_preferences->key))
            return error;
    }
    if (std::error_code error = set_missing_defaults(own_preferences->key))
        return error;

    auto settings = os::create_key(local_machine, settings_key_path(), os::key_access::write);
    if (!settings)
        return settings.error();
    const os::registry_key& key = settings->key;
    if (std::error_code error =
            os::set_string_value(key, L"Version", dotted_version(program.version)))
        return error;
    if (std::error_code error = os::set_string_value(key, L"InstallPath", program.folder))
        return error;
    if (previous)
        return os::set_string_value(key, L"MigratedFrom", dotted_version(*previous));
    return {};
}

std::error_code remove_settings(qv::packed_version version) {
    if (std::error_code error =
            ignoring_not_found(os::delete_tree(local_machine, preferences_key_path(version))))
        return error;
    auto settings = os::open_key(local_machine, settings_key_path(), os::key_access::write);
    if (!settings)
        return ignoring_not_found(settings.error());
    for (const wchar_t* name : {L"Version", L"InstallPath", L"MigratedFrom"}) {
        if (std::error_code error = ignoring_not_found(os::delete_value(*settings, name)))
            return error;
    }
    if (std::error_code error = delete_if_empty(settings_key_path()))
        return error;
    return delete_if_empty(maker_key_path());
}

} // namespace varnolis
