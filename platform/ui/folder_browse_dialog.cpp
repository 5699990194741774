#include "platform/ui/folder_browse_dialog.h"

#include "platform/ui/button.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/static_control.h"
#include "platform/ui/styles.h"

namespace platform::ui {

namespace {

// The dialog's client area in pixels, as the shell lays out its resizable browse dialog.
constexpr int dialog_width = 340;
constexpr int margin = 11;
constexpr int title_height = 34;
constexpr int tree_height = 250;
constexpr int edit_row_height = 30;
constexpr int button_width = 75;
constexpr int button_height = 23;
constexpr int button_gap = 6;

constexpr std::uint32_t child_style = ws::child | ws::visible;

window::creation dialog_creation(const folder_browse_request& request) {
    const bool has_edit = (request.flags & bif::edit_box) != 0;
    const int height = margin + title_height + tree_height + (has_edit ? edit_row_height : 0) +
                       margin + button_height + margin;
    const bool right_to_left =
        request.owner && (request.owner->root().ex_style() & ws_ex::layout_rtl) != 0;
    return {L"#32770",
            0,
            ws::popup | ws::caption | ws::sysmenu | ds::modal_frame,
            right_to_left ? ws_ex::layout_rtl : 0u,
            L"Browse For Folder",
            {0, 0, dialog_width, height}};
}

} // namespace

folder_browse_dialog::folder_browse_dialog(desktop& session, creation values,
                                           const folder_browse_request& request,
                                           folder_browse_events& events)
    : dialog(session, nullptr, std::move(values)), request_(request), events_(events) {
    set_owner(request.owner);
    set_handler(this);
}

std::unique_ptr<folder_browse_dialog>
folder_browse_dialog::create(desktop& session, const folder_browse_request& request,
                             folder_browse_events& events) {
    auto created =
        std::make_unique<folder_browse_dialog>(session, dialog_creation(request), request, events);
    session.view().window_created(*created);
    created->add_controls();
    return created;
}

void folder_browse_dialog::add_controls() {
    desktop& session = owning_desktop();
    const int inner_width = dialog_width - 2 * margin;
    int top = margin;
    adopt(std::make_unique<static_control>(
        session, this,
        creation{L"Static",
                 title_id,
                 child_style,
                 0,
                 request_.title,
                 {margin, top, margin + inner_width, top + title_height - 6}},
        std::nullopt));
    top += title_height;
    tree_ = &adopt(std::make_unique<folder_tree>(
        session, this,
        creation{L"SysTreeView32",
                 tree_id,
                 child_style | ws::tabstop | ws::border,
                 ws_ex::client_edge,
                 L"",
                 {margin, top, margin + inner_width, top + tree_height}},
        request_.root));
    top += tree_height;
    if (request_.flags & bif::edit_box) {
        constexpr int label_width = 50;
        adopt(std::make_unique<static_control>(
            session, this,
            creation{L"Static",
                     0,
                     child_style,
                     0,
                     L"Folder:",
                     {margin, top + 11, margin + label_width, top + 27}},
            std::nullopt));
        edit_ = &adopt(std::make_unique<edit>(
            session, this,
            creation{L"Edit",
                     edit_id,
                     child_style | ws::tabstop | ws::border,
                     ws_ex::client_edge,
                     L"",
                     {margin + label_width, top + 8, margin + inner_width, top + 29}}));
        top += edit_row_height;
    }
    top += margin;
    const int cancel_left = dialog_width - margin - button_width;
    const int ok_left = cancel_left - button_gap - button_width;
    adopt(std::make_unique<button>(
        session, this,
        creation{L"Button",
                 idok,
                 child_style | ws::tabstop | bs::def_push_button,
                 0,
                 L"OK",
                 {ok_left, top, ok_left + button_width, top + button_height}}));
    adopt(std::make_unique<button>(
        session, this,
        creation{L"Button",
                 idcancel,
                 child_style | ws::tabstop | bs::push_button,
                 0,
                 L"Cancel",
                 {cancel_left, top, cancel_left + button_width, top + button_height}}));
    set_default_id(idok);
}

void folder_browse_dialog::enable_ok(bool enabled) {
    if (window* ok = child(idok))
        enabled ? ok->enable() : ok->disable();
}

std::optional<browsed_item> folder_browse_dialog::run() {
    tree_->select(tree_->root());
    events_.initialized(*this);
    if (!run_modal(*this))
        return std::nullopt;
    return chosen_;
}

void folder_browse_dialog::command(dialog&, int id, std::uint16_t notification) {
    if (id == tree_id && notification == tvn::sel_changed) {
        const auto path = tree_->selected_path();
        // Only folders of the file system can be chosen.
        if (request_.flags & bif::return_only_fs_dirs)
            enable_ok(path.has_value());
        events_.selection_changed(*this, path);
    } else if (id == idok && notification == notify::bn_clicked) {
        accept();
    } else if (id == idcancel && notification == notify::bn_clicked) {
        finish(std::nullopt);
    }
}

bool folder_browse_dialog::system_command(dialog&, std::uint32_t) {
    return false;
}

void folder_browse_dialog::accept() {
    const window* ok = child(idok);
    if (!ok || !ok->is_enabled())
        return;
    const std::wstring typed = edit_ ? edit_->text() : std::wstring();
    if (!typed.empty()) {
        // A typed folder of the tree is the item itself; any other name is the callback's to
        // judge when the caller asked for that.
        if (const auto* item = tree_->find(typed)) {
            finish(browsed_item{item->path});
            return;
        }
        if ((request_.flags & bif::validate) && events_.validate_failed(*this, typed))
            return;
    }
    finish(browsed_item{tree_->selected_path()});
}

void folder_browse_dialog::finish(std::optional<browsed_item> chosen) {
    chosen_ = std::move(chosen);
    end(chosen_ ? idok : idcancel);
}

} // namespace platform::ui
