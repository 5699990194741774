#include "platform/ui/headless_renderer.h"

namespace platform::ui {

modal_turn headless_renderer::run_modal_turn(dialog& active) {
    const auto action = driver_.next_action(active);
    if (!action)
        return modal_turn::no_more_input;
    perform(active, *action);
    return modal_turn::handled;
}

} // namespace platform::ui
