#pragma once
// Edit controls: text, selection, read-only flag, text limit, margins and, for a multi-line edit
// (lines end with "\r\n"; long lines do not wrap, as with automatic horizontal scrolling), the
// first visible line.

#include "platform/ui/window.h"

#include <string>

namespace platform::ui {

enum class edit_access { editable, read_only };

struct edit_margins {
    int left = 0;
    int right = 0;
    bool operator==(const edit_margins&) const = default;
};

struct edit_selection {
    int start = 0;
    int end = 0;
    bool operator==(const edit_selection&) const = default;
};

class edit : public window {
public:
    // Margins of an edit in the dialog font before EM_SETMARGINS changes them.
    static constexpr edit_margins default_margins{1, 1};

    edit(desktop& owner_desktop, window* parent, creation values);

    bool is_multiline() const;
    bool is_read_only() const;
    // EM_SETREADONLY.
    void set_access(edit_access access);

    // WM_SETTEXT: the selection goes to the start. EN_CHANGE follows, except for a multi-line
    // edit, as Windows does.
    void set_text(std::wstring text) override;

    edit_selection selection() const { return selection_; }
    // EM_SETSEL: a start of -1 removes the selection (keeping the caret); otherwise positions
    // past the end, and negative ones (an end of -1), mean the end of the text. The caret (the
    // end) is then scrolled into view (EM_SCROLLCARET).
    void set_selection(int start, int end);

    // EM_REPLACESEL: the selected text becomes the given text, the caret follows it and is
    // scrolled into view; the parent dialog gets EN_CHANGE.
    void replace_selection(std::wstring_view replacement);

    // EM_LIMITTEXT; 0 restores the default limit.
    void set_limit(int characters);
    int limit() const { return limit_; }

    edit_margins margins() const { return margins_; }
    void set_margins(edit_margins margins);

    // EM_GETLINECOUNT: lines of the text, at least one.
    int line_count() const;
    // EM_LINEFROMCHAR.
    int line_from_char(int index) const;
    // How many whole lines fit in the client area.
    int visible_lines() const;
    // EM_GETFIRSTVISIBLELINE.
    int first_visible_line() const { return first_visible_line_; }
    // EM_LINESCROLL: the first visible line moves by the given lines, no further than where the
    // last line is at the bottom and no higher than the first line. Horizontal scrolling does not
    // change the model.
    void scroll_lines(int lines);

    // Text typed by the user replaces the whole text (cut to the limit); EN_CHANGE follows.
    // False when the edit cannot take input or is read-only.
    bool type(std::wstring text);

private:
    static constexpr int default_limit = 30000;

    void scroll_caret_into_view();
    void set_first_visible_line(int line);
    void notify_change();

    edit_selection selection_;
    edit_margins margins_ = default_margins;
    int limit_ = default_limit;
    int first_visible_line_ = 0;
};

} // namespace platform::ui
