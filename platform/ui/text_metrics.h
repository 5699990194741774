#pragma once
// Measuring text in the dialog font, as a device context does (GetTextExtentPoint32W).

#include <string_view>

namespace platform::ui {

class text_metrics {
public:
    virtual ~text_metrics() = default;
    // The width of one line of text in pixels.
    virtual int text_width(std::wstring_view text) const = 0;
    // The height of a line in pixels.
    virtual int line_height() const = 0;
};

// Without a display every character advances 6 pixels and a line is 13 pixels high: the dialog
// font's base units, so that measured text agrees with the dialog layout.
class fixed_text_metrics final : public text_metrics {
public:
    static constexpr int advance = 6;
    static constexpr int height = 13;

    int text_width(std::wstring_view text) const override {
        return static_cast<int>(text.size()) * advance;
    }
    int line_height() const override { return height; }
};

} // namespace platform::ui
