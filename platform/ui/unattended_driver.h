#pragma once
// The user of an unattended run: it prints what each dialog shows, goes on with the default
// button, answers every message box with its cancelling answer, and prints what is added to
// read-only logs as they grow. When going on changes nothing (a refused or failed step) it
// leaves with Esc; when even that changes nothing it gives up, and the modal loop ends.

#include "platform/ui/driver.h"

#include <map>
#include <ostream>
#include <string>

namespace platform::ui {

class unattended_driver final : public driver {
public:
    // Texts go to out in UTF-8.
    explicit unattended_driver(std::ostream& out) : out_(out) {}

    std::optional<driver_action> next_action(dialog& active) override;
    void window_changed(window& changed, window_change change) override;
    void window_destroyed(window& destroyed) override;
    int answer_message_box(const message_box& box) override;

private:
    void print_dialog(const dialog& active, const window& page);
    void print_line(const std::wstring& text);

    std::ostream& out_;
    // What the active dialog showed when it was last printed.
    std::wstring last_view_;
    // The page and its buttons after the last action, and how often the user has acted there.
    std::wstring last_place_;
    int attempts_ = 0;
    // What each printed log box held when it was last printed.
    std::map<const window*, std::wstring> logs_;
};

} // namespace platform::ui
