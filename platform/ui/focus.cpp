#include "platform/ui/focus.h"

#include "platform/ui/dialog.h"

namespace platform::ui {

bool set_focus(window& target) {
    auto* top = dynamic_cast<dialog*>(&target.root());
    return top && top->set_focus(target);
}

window* focused(window& any) {
    auto* top = dynamic_cast<dialog*>(&any.root());
    return top ? top->focus() : nullptr;
}

} // namespace platform::ui
