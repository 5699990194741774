#include "platform/framework/dialog.h"

#include "platform/framework/data_exchange.h"
#include "platform/framework/win_app.h"
#include "platform/os/resources.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/styles.h"

namespace platform::framework {

namespace ui = platform::ui;

namespace {

// Sets a flag for a scope and gives it back its earlier value, however the scope ends.
class flag_scope {
public:
    explicit flag_scope(bool& flag) : flag_(flag), earlier_(flag) { flag_ = true; }
    ~flag_scope() { flag_ = earlier_; }
    flag_scope(const flag_scope&) = delete;
    flag_scope& operator=(const flag_scope&) = delete;

private:
    bool& flag_;
    bool earlier_;
};

// The desktop a new dialog belongs to: its parent's, else the application's.
ui::desktop* desktop_for(const CWnd* parent) {
    if (parent && parent->GetSafeHwnd())
        return &parent->GetSafeHwnd()->owning_desktop();
    CWinApp* app = AfxGetApp();
    return app ? &app->session() : nullptr;
}

ui::window* owner_for(const CWnd* parent, ui::desktop& session) {
    if (parent && parent->GetSafeHwnd())
        return &parent->GetSafeHwnd()->root();
    if (ui::dialog* running = session.active_modal())
        return running;
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
}

} // namespace

CDialog::CDialog(int template_id, CWnd* parent) : template_id_(template_id), parent_(parent) {}

CDialog::~CDialog() {
    Detach();
}

void CDialog::Detach() {
    if (auto* model_dialog = model<ui::dialog>())
        model_dialog->set_handler(nullptr);
    CWnd::Detach();
}

std::intptr_t CDialog::DoModal() {
    ui::desktop* session = desktop_for(parent_);
    if (!session || GetSafeHwnd())
        return -1;
    const auto source = ui::load_dialog_template(platform::os::own_module(), template_id_);
    if (!source)
        return -1;
    std::unique_ptr<ui::dialog> created =
        ui::create_dialog(*session, *source, owner_for(parent_, *session));
    Attach(*created);
    created->set_handler(this);
    OnInitDialog();
    const auto result = ui::run_modal(*created);
    Detach();
    return result ? *result : -1;
}

bool CDialog::Create(int template_id, CWnd* parent) {
    if (GetSafeHwnd() || !parent || !parent->GetSafeHwnd())
        return false;
    const auto source = ui::load_dialog_template(platform::os::own_module(), template_id);
    if (!source)
        return false;
    template_id_ = template_id;
    parent_ = parent;
    ui::dialog& created = ui::create_child_dialog(*parent->GetSafeHwnd(), *source);
    attach_within(created, parent);
    created.set_handler(this);
    OnInitDialog();
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true))
        return;
    EndDialog(ui::idok);
}

void CDialog::OnCancel() {
    EndDialog(ui::idcancel);
}

void CDialog::EndDialog(std::intptr_t result) {
    if (auto* model_dialog = model<ui::dialog>())
        model_dialog->end(result);
}

bool CDialog::UpdateData(bool save_and_validate) {
    flag_scope exchanging(exchanging_);
    CDataExchange exchange(this, save_and_validate);
    try {
        DoDataExchange(&exchange);
    } catch (const data_exchange_failure&) {
        return false;
    }
    return true;
}

void CDialog::SetDefID(int id) {
    if (auto* model_dialog = model<ui::dialog>())
        model_dialog->set_default_id(id);
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::command(ui::dialog&, int id, std::uint16_t notification) {
    // Setting the controls' texts while exchanging data makes them notify; those are not the
    // user's.
    if (exchanging_)
        return;
    OnCmdMsg(id, notification);
}

bool CDialog::system_command(ui::dialog&, std::uint32_t command) {
    return DispatchSysCommand(command);
}

void CDialog::get_min_max_info(ui::dialog&, ui::min_max_info& info) {
    DispatchGetMinMaxInfo(&info);
}

void CDialog::init_system_menu(ui::dialog&, ui::system_menu& menu) {
    DispatchInitSystemMenu(menu);
}

const message_map* CDialog::GetMessageMap() const {
    return &own_messages();
}

const message_map& CDialog::own_messages() {
    static const message_map_entry entries[] = {
        on_command(ui::idok, ui::notify::bn_clicked, &CDialog::OnOK),
        on_command(ui::idcancel, ui::notify::bn_clicked, &CDialog::OnCancel),
    };
    static const message_map map{&CWnd::own_messages(), entries};
    return map;
}

} // namespace platform::framework
