#pragma once
// Extended dialog templates (DLGTEMPLATEEX with its DLGITEMTEMPLATEEX items) read from a dialog
// resource's bytes.

#include "platform/os/resources.h"
#include "platform/os/result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace platform::ui {

// A menu, class or title field: absent, an ordinal, or a string.
using template_name = std::variant<std::monostate, std::uint16_t, std::wstring>;

struct dialog_font {
    std::uint16_t point_size = 0;
    std::uint16_t weight = 0;
    bool italic = false;
    std::uint8_t charset = 0;
    std::wstring typeface;
    bool operator==(const dialog_font&) const = default;
};

struct dialog_item_template {
    std::uint32_t help_id = 0;
    std::uint32_t ex_style = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;
    template_name window_class;
    // A static picture's title is the ordinal of its bitmap or icon resource.
    template_name title;
    std::vector<std::byte> extra;
    bool operator==(const dialog_item_template&) const = default;
};

struct dialog_template {
    std::uint32_t help_id = 0;
    std::uint32_t ex_style = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    template_name menu;
    template_name window_class;
    template_name title;
    // Present when the style has DS_SETFONT.
    std::optional<dialog_font> font;
    std::vector<dialog_item_template> items;
    bool operator==(const dialog_template&) const = default;
};

// Malformed or truncated bytes, or a template that is not an extended one: ERROR_INVALID_DATA.
platform::os::result<dialog_template> parse_dialog_template(std::span<const std::byte> bytes);

// The dialog resource with this id: ERROR_RESOURCE_NAME_NOT_FOUND when the module has none.
platform::os::result<dialog_template>
load_dialog_template(const platform::os::resource_module& module,
                     const platform::os::resource_id& id);

// The class a template names: the predefined classes' ordinals give their names ("Button", ...).
std::wstring class_name_of(const template_name& window_class);

// The text a template's title field gives a window (empty for an ordinal or none).
std::wstring text_of(const template_name& title);

} // namespace platform::ui
