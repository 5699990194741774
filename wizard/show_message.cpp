#include "wizard/show_message.h"

#include "platform/os/resources.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/styles.h"
#include "wizard/message_box_providers.h"
#include "wizard/message_box_type.h"
#include "wizard/system_error_text.h"

namespace qv {

namespace os = platform::os;
namespace ui = platform::ui;

namespace {

std::wstring text_of(const message_text& text) {
    if (const auto* id = std::get_if<std::uint32_t>(&text))
        return os::load_string(os::own_module(), *id);
    return std::get<std::wstring>(text);
}

ui::window& root_owner(ui::window& start) {
    ui::window* current = &start.root();
    while (current->owner())
        current = &current->owner()->root();
    return *current;
}

bool has_caption(const ui::window& candidate) {
    return (candidate.style() & ui::ws::caption) == ui::ws::caption;
}

// The innermost running modal dialog that belongs to top (GetLastActivePopup); top itself when
// none does.
ui::window& last_active_popup(ui::desktop& session, ui::window& top) {
    ui::window* popup = session.active_window();
    if (popup && &root_owner(*popup) == &top)
        return *popup;
    return top;
}

// Tells the modal notifier false for the box's life and true after, and enables the window the
// owner provider disabled, also when the box fails.
class modal_box_scope {
public:
    explicit modal_box_scope(std::optional<window_handle> disabled_top_level)
        : disabled_top_level_(disabled_top_level) {
        notify_modal(modeless_windows::disabled);
    }
    ~modal_box_scope() {
        if (disabled_top_level_)
            window_of(*disabled_top_level_)->enable();
        notify_modal(modeless_windows::enabled);
    }
    modal_box_scope(const modal_box_scope&) = delete;
    modal_box_scope& operator=(const modal_box_scope&) = delete;

private:
    std::optional<window_handle> disabled_top_level_;
};

} // namespace

ui::window* default_message_owner(ui::desktop& session) {
    ui::window* top = nullptr;
    if (ui::window* active = session.active_window()) {
        top = &root_owner(*active);
    } else {
        for (ui::window* candidate : session.top_level_windows()) {
            if (has_caption(root_owner(*candidate))) {
                top = &root_owner(*candidate);
                break;
            }
        }
    }
    return top ? &last_active_popup(session, *top) : nullptr;
}

int show_message(const message_text& text, std::uint32_t type,
                 const std::optional<message_text>& caption) {
    ui::desktop* session = ui::current_desktop();
    if (!session)
        return 0;
    const std::wstring shown_text = text_of(text);
    const std::wstring shown_caption =
        caption ? text_of(*caption) : provided_caption().value_or(std::wstring());
    type = with_default_icon(type);

    const auto provided = provided_owner();
    ui::window* owner = provided ? (provided->owner ? window_of(*provided->owner) : nullptr)
                                 : default_message_owner(*session);
    const std::optional<window_handle> disabled_top_level =
        provided ? provided->disabled_top_level : std::nullopt;
    modal_box_scope scope(disabled_top_level);
    if (owner && (!disabled_top_level || window_of(*disabled_top_level) != owner))
        owner->enable();

    owner_layout layout = owner_layout::no_owner;
    if (owner)
        layout = (owner->ex_style() & ui::ws_ex::layout_rtl) ? owner_layout::right_to_left
                                                             : owner_layout::left_to_right;
    type = with_owner_reading_order(type, layout);
    return ui::show_message_box(*session, ui::message_box(shown_text, shown_caption, type, owner));
}

void report_error(std::uint32_t code) {
    show_message(system_error_text(code), mb::icon_exclamation);
}

} // namespace qv
