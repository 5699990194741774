#include "platform/ui/modal_loop.h"

#include "platform/ui/disabled_window.h"
#include "platform/ui/keyboard.h"

namespace platform::ui {

namespace {

class modal_scope {
public:
    explicit modal_scope(dialog& modal) : modal_(modal) {
        modal_.owning_desktop().enter_modal(modal_);
    }
    ~modal_scope() {
        modal_.hide();
        modal_.owning_desktop().leave_modal();
    }
    modal_scope(const modal_scope&) = delete;
    modal_scope& operator=(const modal_scope&) = delete;

private:
    dialog& modal_;
};

} // namespace

platform::os::result<std::intptr_t> run_modal(dialog& modal) {
    if (modal.ended()) {
        modal.restart();
        return modal.result();
    }
    // The owner stays disabled for the loop's run, and is enabled again only if it was enabled.
    disabled_window owner(modal.owner());
    modal_scope scope(modal);
    modal.show();
    if (!modal.focus()) {
        if (const auto stops = tab_order(modal); !stops.empty())
            modal.set_focus(*stops.front());
    }
    renderer& view = modal.owning_desktop().view();
    while (!modal.ended()) {
        if (view.run_modal_turn(modal) == modal_turn::no_more_input && !modal.ended())
            return platform::os::win32_error::cancelled;
    }
    modal.restart();
    return modal.result();
}

void pump_messages(desktop& session) {
    session.view().pump_messages();
}

} // namespace platform::ui
