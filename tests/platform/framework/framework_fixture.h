#pragma once
// What the framework tests share: an application over a headless desktop whose driver plays a
// script, answers message boxes as told and records them; and the frame of the wizard's
// templates with its pages, as the installer's dialogs use the framework.

#include "platform/framework/combo_box_ex.h"
#include "platform/framework/data_exchange.h"
#include "platform/framework/dialog.h"
#include "platform/framework/image_list.h"
#include "platform/framework/message_box.h"
#include "platform/framework/win_app.h"
#include "platform/ui/headless_renderer.h"
#include "platform/ui/message_box.h"
#include "resources/dialog_ids.h"
#include "tests/platform/ui/ui_fixture.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qv_test {

namespace fw = platform::framework;
namespace ui = platform::ui;

struct shown_box {
    std::wstring text;
    std::wstring caption;
    std::uint32_t type;
    const ui::window* owner;
    bool owner_enabled;
    bool main_enabled;
};

// Plays a script like scripted_driver, and answers message boxes in order (the default answer
// when no answer is left), recording each box as it was shown.
class framework_driver : public scripted_driver {
public:
    std::deque<int> answers;
    std::vector<shown_box> boxes;
    const ui::window* main_window = nullptr;

    // Runs the check once, before the first turn.
    void on_first_turn(std::function<void(ui::dialog&)> check) {
        before_turn = [this, check = std::move(check), done = false](ui::dialog& active) mutable {
            if (!std::exchange(done, true))
                check(active);
        };
    }

    int answer_message_box(const ui::message_box& box) override {
        boxes.push_back({box.text(), box.caption(), box.type(), box.owner(),
                         box.owner() && box.owner()->is_enabled(),
                         main_window && main_window->is_enabled()});
        if (answers.empty())
            return driver::answer_message_box(box);
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class test_app : public fw::CWinApp {
public:
    explicit test_app(ui::desktop& session) : CWinApp(session, L"Installer – Varnolis 2.32g") {}
};

struct framework_session {
    framework_driver input;
    ui::desktop session{std::make_unique<ui::headless_renderer>(input)};
    test_app app{session};
};

// A page of a real template whose data exchange the test gives.
class exchange_page : public fw::CDialog {
public:
    std::function<void(fw::CDataExchange*)> exchange;

    exchange_page() : CDialog(0) {}

protected:
    void DoDataExchange(fw::CDataExchange* dx) override {
        if (exchange)
            exchange(dx);
    }
};

// The wizard's frame (template 102) with one page of the test's choice shown in it. Next (IDOK)
// saves the page and ends the frame with IDOK only when the page saved.
class frame_dialog : public fw::CDialog {
public:
    fw::CDialog& page;
    int page_template;
    std::function<void(frame_dialog&)> on_init;
    std::function<void(frame_dialog&)> on_back;
    std::vector<std::uint32_t> system_commands;

    frame_dialog(fw::CDialog& shown, int shown_template)
        : CDialog(IDD_FRAME), page(shown), page_template(shown_template) {}

    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        if (page.Create(page_template, this))
            page.ShowWindow(fw::SW_SHOW);
        if (on_init)
            on_init(*this);
        return true;
    }
    void OnOK() override {
        if (page.UpdateData(true))
            EndDialog(ui::idok);
    }
    void OnBack() {
        if (on_back)
            on_back(*this);
    }
    void OnSysCommand(std::uint32_t command) override {
        system_commands.push_back(command);
        CDialog::OnSysCommand(command);
    }

protected:
    const fw::message_map* GetMessageMap() const override { return &own_messages(); }
    static const fw::message_map& own_messages() {
        static const fw::message_map_entry entries[] = {
            fw::on_command(IDC_BACK, ui::notify::bn_clicked, &frame_dialog::OnBack),
            fw::on_sys_command(&frame_dialog::OnSysCommand),
        };
        static const fw::message_map map{&CDialog::own_messages(), entries};
        return map;
    }
};

} // namespace qv_test
