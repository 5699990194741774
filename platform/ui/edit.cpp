#include "platform/ui/edit.h"

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/styles.h"

#include <algorithm>

namespace platform::ui {

namespace {

int length_of(const std::wstring& text) {
    return static_cast<int>(text.size());
}

} // namespace

edit::edit(desktop& owner_desktop, window* parent, creation values)
    : window(owner_desktop, parent, std::move(values)) {}

bool edit::is_multiline() const {
    return (style() & es::multiline) != 0;
}

bool edit::is_read_only() const {
    return (style() & es::read_only) != 0;
}

void edit::set_access(edit_access access) {
    set_style(access == edit_access::read_only ? (style() | es::read_only)
                                               : (style() & ~es::read_only));
}

void edit::set_text(std::wstring text) {
    selection_ = {};
    first_visible_line_ = 0;
    window::set_text(std::move(text));
    if (!is_multiline())
        notify_change();
}

void edit::set_selection(int start, int end) {
    const int length = length_of(text());
    // The positions are unsigned to Windows: any negative one is past the end.
    const auto limited = [length](int position) {
        return position < 0 || position > length ? length : position;
    };
    if (start == -1)
        selection_ = {selection_.end, selection_.end};
    else
        selection_ = {limited(start), limited(end)};
    scroll_caret_into_view();
    changed(window_change::state);
}

void edit::replace_selection(std::wstring_view replacement) {
    const int from = std::min(selection_.start, selection_.end);
    const int to = std::max(selection_.start, selection_.end);
    std::wstring updated = text();
    updated.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from),
                    replacement);
    const int caret = from + static_cast<int>(replacement.size());
    window::set_text(std::move(updated));
    selection_ = {caret, caret};
    scroll_caret_into_view();
    notify_change();
}

void edit::set_limit(int characters) {
    limit_ = characters <= 0 ? default_limit : characters;
}

void edit::set_margins(edit_margins margins) {
    margins_ = margins;
    changed(window_change::state);
}

int edit::line_count() const {
    return line_from_char(length_of(text())) + 1;
}

int edit::line_from_char(int index) const {
    const std::wstring& content = text();
    const auto stop = static_cast<std::size_t>(std::clamp(index, 0, length_of(content)));
    int line = 0;
    for (std::size_t at = content.find(L"\r\n"); at != std::wstring::npos && at < stop;
         at = content.find(L"\r\n", at + 2))
        ++line;
    return line;
}

int edit::visible_lines() const {
    return std::max(1, client_rect().height() / owning_desktop().metrics().line_height());
}

void edit::set_first_visible_line(int line) {
    const int highest = std::max(0, line_count() - visible_lines());
    const int first = std::clamp(line, 0, highest);
    if (first == first_visible_line_)
        return;
    first_visible_line_ = first;
    changed(window_change::state);
}

void edit::scroll_lines(int lines) {
    if (is_multiline())
        set_first_visible_line(first_visible_line_ + lines);
}

void edit::scroll_caret_into_view() {
    if (!is_multiline())
        return;
    const int caret_line = line_from_char(selection_.end);
    if (caret_line < first_visible_line_)
        set_first_visible_line(caret_line);
    else if (caret_line >= first_visible_line_ + visible_lines())
        set_first_visible_line(caret_line - visible_lines() + 1);
}

bool edit::type(std::wstring text) {
    if (!can_take_focus() || is_read_only())
        return false;
    if (length_of(text) > limit_)
        text.resize(static_cast<std::size_t>(limit_));
    const int caret = length_of(text);
    window::set_text(std::move(text));
    selection_ = {caret, caret};
    notify_change();
    return true;
}

void edit::notify_change() {
    if (auto* owner = dynamic_cast<dialog*>(parent()))
        owner->command(id(), notify::en_change);
}

} // namespace platform::ui
