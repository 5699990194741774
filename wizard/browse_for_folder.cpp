#include "wizard/browse_for_folder.h"

#include "platform/os/unicode.h"
#include "platform/ui/folder_browse_dialog.h"
#include "platform/ui/message_box.h"
#include "wizard/folder_browser.h"
#include "wizard/message_box_type.h"
#include "wizard/show_message.h"
#include "wizard/system_error_text.h"

namespace qv {

namespace ui = platform::ui;

namespace {

owner_layout layout_of(const ui::window* owner) {
    if (!owner)
        return owner_layout::no_owner;
    return (owner->ex_style() & ui::ws_ex::layout_rtl) ? owner_layout::right_to_left
                                                       : owner_layout::left_to_right;
}

// A message box owned by owner: the system's text of the code, no caption, the exclamation.
void show_system_error(ui::desktop& session, ui::window* owner, std::uint32_t code) {
    const std::uint32_t type = with_owner_reading_order(mb::icon_exclamation, layout_of(owner));
    ui::show_message_box(session, ui::message_box(system_error_text(code), L"", type, owner));
}

// Carries the dialog's events to the browser and the browser's requests to the dialog.
class browse_bridge : public browse_dialog, public ui::folder_browse_events {
public:
    explicit browse_bridge(folder_browser& browser) : browser_(browser) {}

    void initialized(ui::folder_browse_dialog& browse) override {
        dialog_ = &browse;
        browser_.dialog_initialized(*this);
    }
    void selection_changed(ui::folder_browse_dialog& browse,
                           const std::optional<std::wstring>& path) override {
        dialog_ = &browse;
        browser_.selection_changed(*this, path);
    }
    bool validate_failed(ui::folder_browse_dialog& browse, std::wstring_view typed) override {
        dialog_ = &browse;
        return browser_.typed_name_not_found(*this, typed) == typed_name_verdict::keep_dialog_open;
    }

    void select_folder(std::wstring_view path) override {
        if (auto* item = dialog_->tree().find(path))
            dialog_->tree().select(*item);
    }
    void expand_folder(std::wstring_view path) override {
        if (auto* item = dialog_->tree().find(path))
            dialog_->tree().expand(*item);
    }
    bool find_edit_box() override {
        edit_ = nullptr;
        for (const auto& child : dialog_->children()) {
            if (platform::os::iequals(child->class_name(), L"Edit")) {
                edit_ = dynamic_cast<ui::edit*>(child.get());
                break;
            }
        }
        return edit_ != nullptr;
    }
    void show_edit_text(std::wstring_view text) override {
        edit_->set_text(std::wstring(text));
        edit_->set_selection(0, -1);
    }
    void enable_ok(ok_button state) override { dialog_->enable_ok(state == ok_button::enabled); }
    void show_refusal(std::uint32_t code) override {
        show_system_error(dialog_->owning_desktop(), dialog_, code);
    }

private:
    folder_browser& browser_;
    ui::folder_browse_dialog* dialog_ = nullptr;
    ui::edit* edit_ = nullptr;
};

std::optional<std::wstring> run_browser(folder_browser& browser, std::wstring_view initial,
                                        std::wstring_view subfolder, std::wstring_view title) {
    ui::desktop* session = ui::current_desktop();
    if (!session)
        return std::nullopt;
    browser.prepare(initial, subfolder);
    browse_bridge bridge(browser);
    const ui::folder_browse_request request{default_message_owner(*session), browser.root_path(),
                                            std::wstring(title), browser.dialog_flags()};
    auto browse = ui::folder_browse_dialog::create(*session, request, bridge);
    const auto item = browse->run();
    if (!item)
        return std::nullopt;
    return browser.chosen_folder(item->path);
}

} // namespace

std::wstring browse_folder(std::wstring_view initial, std::wstring_view subfolder,
                           std::wstring_view title) {
    folder_browser browser;
    return run_browser(browser, initial, subfolder, title).value_or(std::wstring());
}

std::wstring browse_start_menu_folder(std::wstring_view initial, std::wstring_view subfolder,
                                      std::wstring_view title, std::wstring& relative) {
    folder_browser browser = folder_browser::for_start_menu();
    auto chosen = run_browser(browser, initial, subfolder, title);
    if (!chosen)
        return {};
    relative = browser.relative_to_base(*chosen);
    return *chosen;
}

} // namespace qv
