#include "platform/ui/driver.h"

#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/folder_tree.h"
#include "platform/ui/message_box.h"
#include "platform/ui/styles.h"

namespace platform::ui {

namespace {

template <class Control> Control* control_of(dialog& active, int id) {
    return dynamic_cast<Control*>(find_control(active, id));
}

struct performer {
    dialog& active;

    bool operator()(const user_action::click& action) const {
        auto* target = control_of<button>(active, action.control_id);
        return target && target->click();
    }
    bool operator()(const user_action::type_text& action) const {
        auto* target = control_of<edit>(active, action.control_id);
        return target && target->type(action.text);
    }
    bool operator()(const user_action::select_item& action) const {
        auto* target = control_of<combo_box_ex>(active, action.control_id);
        return target && target->pick(action.index);
    }
    bool operator()(const user_action::set_check& action) const {
        auto* target = control_of<button>(active, action.control_id);
        if (!target || !target->can_take_focus())
            return false;
        return target->check() == action.state || target->click();
    }
    bool operator()(const user_action::press& action) const {
        press_key(active, action.key);
        return true;
    }
    bool operator()(const user_action::close&) const {
        active.system_command(sc::close);
        return true;
    }
    bool operator()(const user_action::select_folder& action) const {
        auto* target = control_of<folder_tree>(active, action.control_id);
        if (!target || !target->can_take_focus())
            return false;
        auto* item = target->find(action.path);
        if (!item)
            return false;
        target->select(*item);
        return true;
    }
};

} // namespace

int driver::answer_message_box(const message_box& box) {
    return box.default_answer();
}

bool perform(dialog& active, const driver_action& action) {
    return std::visit(performer{active}, action);
}

} // namespace platform::ui
