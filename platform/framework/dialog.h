#pragma once
// CDialog: a dialog made from a template of the program's resources, run modally (DoModal) or
// created inside another window (a page); its controls' notifications go through its message
// map, and its data moves between controls and members in DoDataExchange.

#include "platform/framework/wnd.h"
#include "platform/ui/dialog.h"

#include <cstdint>
#include <memory>

namespace platform::framework {

class CDataExchange;

class CDialog : public CWnd, private platform::ui::dialog_handler {
public:
    explicit CDialog(int template_id, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog from its template, owned by the parent (else the running modal dialog,
    // else the application's main window), runs OnInitDialog and the modal loop, and destroys
    // the dialog. The result given to EndDialog; -1 when the template cannot be loaded, there is
    // no application to run in, or the loop ends without EndDialog (no more input).
    virtual std::intptr_t DoModal();
    // Creates the dialog as a child of the parent's window (a page), then runs OnInitDialog.
    // False when the template cannot be loaded, the parent has no window, or this dialog has one.
    bool Create(int template_id, CWnd* parent);

    // Loads the controls (UpdateData(false)); true lets the dialog put the focus on its first
    // control.
    virtual bool OnInitDialog();
    // IDOK: saves and validates the controls and ends the dialog with IDOK only when that
    // succeeded.
    virtual void OnOK();
    // IDCANCEL: ends the dialog with IDCANCEL.
    virtual void OnCancel();
    void EndDialog(std::intptr_t result);

    // Runs DoDataExchange: saving and validating the controls into the members, or loading the
    // members into the controls. False when a check failed; the failing control then has the
    // focus. The controls' notifications meanwhile are not dispatched.
    bool UpdateData(bool save_and_validate = true);

    // DM_SETDEFID.
    void SetDefID(int id);

    void Detach() override;

protected:
    virtual void DoDataExchange(CDataExchange* exchange);

    const message_map* GetMessageMap() const override;
    static const message_map& own_messages();

private:
    void command(platform::ui::dialog& target, int id, std::uint16_t notification) override;
    bool system_command(platform::ui::dialog& target, std::uint32_t command) override;
    void get_min_max_info(platform::ui::dialog& target, platform::ui::min_max_info& info) override;
    void init_system_menu(platform::ui::dialog& target, platform::ui::system_menu& menu) override;

    int template_id_;
    CWnd* parent_;
    bool exchanging_ = false;
};

} // namespace platform::framework
