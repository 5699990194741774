#pragma once
// What the UI tests share: templates written out as a resource compiler writes them, a driver
// that plays a script, and a handler that records what a dialog receives.

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/driver.h"
#include "platform/ui/headless_renderer.h"
#include "platform/ui/styles.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv_test {

// The bytes of an extended dialog template.
class template_writer {
public:
    static std::vector<std::byte> write(const platform::ui::dialog_template& source) {
        template_writer out;
        out.u16(1);
        out.u16(0xFFFF);
        out.u32(source.help_id);
        out.u32(source.ex_style);
        out.u32(source.style);
        out.u16(static_cast<std::uint16_t>(source.items.size()));
        out.u16(static_cast<std::uint16_t>(source.x));
        out.u16(static_cast<std::uint16_t>(source.y));
        out.u16(static_cast<std::uint16_t>(source.cx));
        out.u16(static_cast<std::uint16_t>(source.cy));
        out.name(source.menu);
        out.name(source.window_class);
        out.name(source.title);
        if (source.font) {
            out.u16(source.font->point_size);
            out.u16(source.font->weight);
            out.bytes_.push_back(
                std::byte{source.font->italic ? std::uint8_t{1} : std::uint8_t{0}});
            out.bytes_.push_back(std::byte{source.font->charset});
            out.string(source.font->typeface);
        }
        for (const auto& item : source.items) {
            while (out.bytes_.size() % 4)
                out.bytes_.push_back(std::byte{0});
            out.u32(item.help_id);
            out.u32(item.ex_style);
            out.u32(item.style);
            out.u16(static_cast<std::uint16_t>(item.x));
            out.u16(static_cast<std::uint16_t>(item.y));
            out.u16(static_cast<std::uint16_t>(item.cx));
            out.u16(static_cast<std::uint16_t>(item.cy));
            out.u32(static_cast<std::uint32_t>(item.id));
            out.name(item.window_class);
            out.name(item.title);
            out.u16(static_cast<std::uint16_t>(item.extra.size()));
            out.bytes_.insert(out.bytes_.end(), item.extra.begin(), item.extra.end());
        }
        return out.bytes_;
    }

private:
    void u16(std::uint16_t value) {
        bytes_.push_back(std::byte(value & 0xFF));
        bytes_.push_back(std::byte(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(static_cast<std::uint16_t>(value & 0xFFFF));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void string(const std::wstring& text) {
        for (wchar_t c : text)
            u16(static_cast<std::uint16_t>(c));
        u16(0);
    }
    void name(const platform::ui::template_name& value) {
        if (const auto* ordinal = std::get_if<std::uint16_t>(&value)) {
            u16(0xFFFF);
            u16(*ordinal);
        } else if (const auto* text = std::get_if<std::wstring>(&value)) {
            string(*text);
        } else {
            u16(0);
        }
    }

    std::vector<std::byte> bytes_;
};

inline platform::ui::dialog_item_template item(std::uint16_t class_ordinal, int id,
                                               std::uint32_t style, std::int16_t x, std::int16_t y,
                                               std::int16_t cx, std::int16_t cy,
                                               platform::ui::template_name title = {}) {
    platform::ui::dialog_item_template made;
    made.window_class = class_ordinal;
    made.id = id;
    made.style = platform::ui::ws::child | platform::ui::ws::visible | style;
    made.x = x;
    made.y = y;
    made.cx = cx;
    made.cy = cy;
    made.title = std::move(title);
    return made;
}

inline platform::ui::dialog_item_template item(std::wstring class_name, int id, std::uint32_t style,
                                               std::int16_t x, std::int16_t y, std::int16_t cx,
                                               std::int16_t cy) {
    auto made = item(0, id, style, x, y, cx, cy);
    made.window_class = std::move(class_name);
    return made;
}

// Plays its actions in order, one per turn; before each turn the check (if any) sees the dialog.
class scripted_driver : public platform::ui::driver {
public:
    std::deque<platform::ui::driver_action> script;
    std::function<void(platform::ui::dialog&)> before_turn;
    std::vector<std::pair<const platform::ui::window*, platform::ui::window_change>> changes;

    std::optional<platform::ui::driver_action> next_action(platform::ui::dialog& active) override {
        if (before_turn)
            before_turn(active);
        if (script.empty())
            return std::nullopt;
        auto next = std::move(script.front());
        script.pop_front();
        return next;
    }
    void window_changed(platform::ui::window& changed,
                        platform::ui::window_change change) override {
        changes.emplace_back(&changed, change);
    }
};

struct recorded_command {
    int id;
    std::uint16_t notification;
    bool operator==(const recorded_command&) const = default;
};

// Records commands; IDOK and IDCANCEL end the dialog with their id, as a plain dialog's OnOK and
// OnCancel do.
class recording_handler : public platform::ui::dialog_handler {
public:
    std::vector<recorded_command> commands;
    std::vector<std::uint32_t> system_commands;
    bool handles_system_commands = false;

    void command(platform::ui::dialog& target, int id, std::uint16_t notification) override {
        commands.push_back({id, notification});
        if (id == platform::ui::idok || id == platform::ui::idcancel)
            target.end(id);
    }
    bool system_command(platform::ui::dialog&, std::uint32_t command) override {
        system_commands.push_back(command);
        return handles_system_commands;
    }
};

// A desktop over the headless renderer with a scripted driver.
struct headless_session {
    scripted_driver input;
    platform::ui::desktop session{std::make_unique<platform::ui::headless_renderer>(input)};
};

} // namespace qv_test
