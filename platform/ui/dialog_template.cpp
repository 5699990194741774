#include "platform/ui/dialog_template.h"

#include "platform/os/binary_view.h"

#include <array>
#include <utility>

namespace platform::ui {

namespace {

using platform::os::binary_view;
using platform::os::win32_error;

constexpr std::uint32_t ds_setfont = 0x40;

// Reads the template front to back; every read is checked against the end of the bytes.
class template_reader {
public:
    explicit template_reader(std::span<const std::byte> bytes)
        : view_(bytes, win32_error::invalid_data) {}

    std::uint8_t u8() { return view_.u8(advance(1)); }
    std::uint16_t u16() { return view_.u16(advance(2)); }
    std::uint32_t u32() { return view_.u32(advance(4)); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }

    void align_to_dword() {
        position_ = (position_ + 3) & ~std::uint64_t{3};
        if (position_ > view_.size())
            view_.fail();
    }

    std::wstring string() {
        const std::uint64_t start = position_;
        while (u16() != 0) {
        }
        return platform::os::utf16le_text(view_.range(start, position_ - 2 - start));
    }

    template_name name() {
        const std::uint16_t first = view_.u16(position_);
        if (first == 0x0000) {
            position_ += 2;
            return std::monostate{};
        }
        if (first == 0xFFFF) {
            position_ += 2;
            return u16();
        }
        return string();
    }

    std::vector<std::byte> bytes(std::uint64_t count) {
        const auto range = view_.range(advance(count), count);
        return {range.begin(), range.end()};
    }

    [[noreturn]] void fail() const { view_.fail(); }

private:
    std::uint64_t advance(std::uint64_t count) {
        const std::uint64_t at = position_;
        if (!view_.holds(at, count))
            view_.fail();
        position_ += count;
        return at;
    }

    binary_view view_;
    std::uint64_t position_ = 0;
};

dialog_item_template read_item(template_reader& reader) {
    reader.align_to_dword();
    dialog_item_template item;
    item.help_id = reader.u32();
    item.ex_style = reader.u32();
    item.style = reader.u32();
    item.x = reader.i16();
    item.y = reader.i16();
    item.cx = reader.i16();
    item.cy = reader.i16();
    item.id = static_cast<std::int32_t>(reader.u32());
    item.window_class = reader.name();
    item.title = reader.name();
    item.extra = reader.bytes(reader.u16());
    return item;
}

dialog_template read_template(template_reader& reader) {
    if (reader.u16() != 1 || reader.u16() != 0xFFFF)
        reader.fail();
    dialog_template dialog;
    dialog.help_id = reader.u32();
    dialog.ex_style = reader.u32();
    dialog.style = reader.u32();
    const std::uint16_t item_count = reader.u16();
    dialog.x = reader.i16();
    dialog.y = reader.i16();
    dialog.cx = reader.i16();
    dialog.cy = reader.i16();
    dialog.menu = reader.name();
    dialog.window_class = reader.name();
    dialog.title = reader.name();
    if (dialog.style & ds_setfont) {
        dialog_font font;
        font.point_size = reader.u16();
        font.weight = reader.u16();
        font.italic = reader.u8() != 0;
        font.charset = reader.u8();
        font.typeface = reader.string();
        dialog.font = std::move(font);
    }
    for (std::uint16_t i = 0; i < item_count; ++i)
        dialog.items.push_back(read_item(reader));
    return dialog;
}

} // namespace

platform::os::result<dialog_template> parse_dialog_template(std::span<const std::byte> bytes) {
    try {
        template_reader reader(bytes);
        return read_template(reader);
    } catch (const platform::os::binary_format_error& error) {
        return error.code();
    }
}

platform::os::result<dialog_template>
load_dialog_template(const platform::os::resource_module& module,
                     const platform::os::resource_id& id) {
    const auto bytes = platform::os::find_resource(module, platform::os::resource_type::dialog, id);
    if (!bytes)
        return win32_error::resource_name_not_found;
    return parse_dialog_template(*bytes);
}

std::wstring class_name_of(const template_name& window_class) {
    static constexpr std::array<const wchar_t*, 6> predefined = {
        L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
    if (const auto* ordinal = std::get_if<std::uint16_t>(&window_class)) {
        if (*ordinal >= 0x80 && *ordinal < 0x80 + predefined.size())
            return predefined[*ordinal - 0x80];
        return {};
    }
    if (const auto* name = std::get_if<std::wstring>(&window_class))
        return *name;
    return {};
}

std::wstring text_of(const template_name& title) {
    if (const auto* text = std::get_if<std::wstring>(&title))
        return *text;
    return {};
}

} // namespace platform::ui
