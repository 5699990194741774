#pragma once
// A message box of the model (MessageBoxW): text, caption, type and owner, the answers its
// buttons give, and showing it through the renderer.

#include "platform/ui/desktop.h"
#include "platform/ui/message_box_type.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::ui {

// The caption MessageBoxW gives a box whose caller passes none.
inline constexpr std::wstring_view untitled_caption = L"Error";

class message_box {
public:
    message_box(std::wstring text, std::wstring caption, std::uint32_t type, window* owner)
        : text_(std::move(text)), caption_(std::move(caption)), type_(type), owner_(owner) {}

    const std::wstring& text() const { return text_; }
    const std::wstring& caption() const { return caption_; }
    std::uint32_t type() const { return type_; }
    std::uint32_t icon() const { return type_ & mb::icon_mask; }
    bool reads_right_to_left() const { return (type_ & mb::rtl_reading) != 0; }
    window* owner() const { return owner_; }

    // The answers of the buttons, left to right (an unknown button set shows OK alone).
    std::vector<int> answers() const;
    // The answer of the default button (MB_DEFBUTTONn; the first when there is no such button).
    int default_answer() const;

private:
    std::wstring text_;
    std::wstring caption_;
    std::uint32_t type_;
    window* owner_;
};

// MessageBoxW: the owner is disabled while the box is up and enabled again after, if it was
// enabled; the renderer shows the box and returns the answer.
int show_message_box(desktop& session, const message_box& box);

} // namespace platform::ui
