#include "platform/ui/dialog_factory.h"

#include "platform/os/unicode.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/edit.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/static_control.h"
#include "platform/ui/styles.h"

namespace platform::ui {

namespace {

using platform::os::iequals;

window::creation dialog_creation(const dialog_template& source) {
    std::uint32_t ex_style = source.ex_style;
    // DS_CONTROL makes a page part of its parent's tab order.
    if (source.style & ds::control)
        ex_style |= ws_ex::control_parent;
    return {L"#32770",
            0,
            source.style,
            ex_style,
            text_of(source.title),
            dialog_units_to_pixels(source.x, source.y, source.cx, source.cy)};
}

void create_controls(dialog& created, const dialog_template& source) {
    for (const auto& item : source.items)
        create_control(created, item);
    // The first default push button is the dialog's default, as dialog creation finds it.
    for (const auto& item : source.items) {
        if (iequals(class_name_of(item.window_class), L"Button") &&
            (item.style & bs::type_mask) == bs::def_push_button) {
            created.set_default_id(item.id);
            break;
        }
    }
}

} // namespace

std::unique_ptr<dialog> create_dialog(desktop& session, const dialog_template& source,
                                      window* owner) {
    auto created = std::make_unique<dialog>(session, nullptr, dialog_creation(source));
    created->set_owner(owner);
    session.view().window_created(*created);
    create_controls(*created, source);
    return created;
}

dialog& create_child_dialog(window& parent, const dialog_template& source) {
    auto& created = parent.adopt(
        std::make_unique<dialog>(parent.owning_desktop(), &parent, dialog_creation(source)));
    create_controls(created, source);
    return created;
}

window& create_control(dialog& parent, const dialog_item_template& item) {
    const std::wstring class_name = class_name_of(item.window_class);
    window::creation values{
        class_name,          item.id,
        item.style,          item.ex_style,
        text_of(item.title), dialog_units_to_pixels(item.x, item.y, item.cx, item.cy)};
    desktop& session = parent.owning_desktop();
    if (iequals(class_name, L"Button"))
        return parent.adopt(std::make_unique<button>(session, &parent, std::move(values)));
    if (iequals(class_name, L"Edit"))
        return parent.adopt(std::make_unique<edit>(session, &parent, std::move(values)));
    if (iequals(class_name, L"Static")) {
        const auto* image = std::get_if<std::uint16_t>(&item.title);
        return parent.adopt(std::make_unique<static_control>(
            session, &parent, std::move(values),
            image ? std::optional<std::uint16_t>(*image) : std::nullopt));
    }
    if (iequals(class_name, L"ComboBoxEx32"))
        return parent.adopt(std::make_unique<combo_box_ex>(session, &parent, std::move(values)));
    if (iequals(class_name, L"msctls_progress32"))
        return parent.adopt(std::make_unique<progress_bar>(session, &parent, std::move(values)));
    return parent.adopt(std::make_unique<window>(session, &parent, std::move(values)));
}

} // namespace platform::ui
