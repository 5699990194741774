#pragma once
// What a renderer is told about the model and what it does for it: windows appear, change and
// go; the wait cursor changes; a modal loop hands it one turn at a time; pending messages are
// pumped; message boxes are shown.

#include "platform/ui/text_metrics.h"
#include "platform/ui/window.h"

namespace platform::ui {

class dialog;
class message_box;

// The outcome of one turn of a modal loop.
enum class modal_turn {
    // Input was handled (or waited for); the loop goes on while the dialog has not ended.
    handled,
    // No input will ever come: the loop must give up.
    no_more_input,
};

enum class cursor_shape { arrow, wait };

class renderer {
public:
    virtual ~renderer() = default;

    virtual void window_created(window& created) = 0;
    virtual void window_changed(window& changed, window_change change) = 0;
    virtual void window_destroyed(window& destroyed) = 0;
    virtual void cursor_changed(cursor_shape shape) = 0;

    // One turn of the modal loop of the given dialog (the innermost running one).
    virtual modal_turn run_modal_turn(dialog& active) = 0;
    // Handles whatever input is pending and returns without waiting.
    virtual void pump_messages() = 0;

    // Shows a message box until the user answers it; the answer (IDOK, IDCANCEL, ...).
    virtual int show_message_box(const message_box& box) = 0;

    virtual const text_metrics& metrics() const = 0;
};

} // namespace platform::ui
