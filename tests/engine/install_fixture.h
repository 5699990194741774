#pragma once
// What the install page's tests share: a temporary machine, a headless frame showing the install
// page over a session, and test payloads placed in a program file of the machine that is made
// the module used for resources.

#include "app/install_session.h"
#include "app/language_state.h"
#include "engine/dlg_install.h"
#include "payload/entry_kind.h"
#include "platform/os/machine.h"
#include "platform/os/resource_handle.h"
#include "platform/os/resources.h"
#include "platform/os/unicode.h"
#include "platform/ui/edit.h"
#include "platform/ui/progress_bar.h"
#include "resources/dialog_ids.h"

#include "tests/payload/payload_archive.h"
#include "tests/platform/framework/framework_fixture.h"
#include "tests/support/temp_machine.h"
#include "tests/support/versioned_program.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace install_test {

namespace os = platform::os;
namespace ui = platform::ui;

inline constexpr std::wstring_view install_folder = L"C:\\Program Files\\Quorvane\\Varnolis 2";
inline constexpr std::wstring_view shortcut_folder =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane Varnolis";

inline std::uint32_t kind(qv::entry_kind value) {
    return static_cast<std::uint32_t>(value);
}

// A payload like the product's, small: program, main program, uninstaller, shared data,
// a sample and a temporary file.
inline std::vector<payload_test::test_entry> product_entries() {
    using qv::entry_kind;
    return {
        {L"Varnolis.exe", L"<InstallPath>", "main program", kind(entry_kind::main_program)},
        {L"Lang\\de.dll", L"<InstallPath>\\Lang", "german texts", kind(entry_kind::program_file)},
        {L"Uninstall.exe", L"<InstallPath>", "uninstaller", kind(entry_kind::uninstaller)},
        {L"stock.dat", L"<CommonData>\\Quorvane", "shared data", kind(entry_kind::shared_data)},
        {L"Sample.vns", L"<SamplePath>", "sample", kind(entry_kind::sample)},
        {L"setup.tmp", L"<Temporary>", "temporary", kind(entry_kind::temporary)},
    };
}

inline std::vector<payload_test::test_entry> product_entries_without(qv::entry_kind left_out) {
    auto entries = product_entries();
    std::erase_if(entries, [&](const auto& entry) { return entry.kind == kind(left_out); });
    return entries;
}

inline std::string payload_resource_image(const std::vector<payload_test::test_entry>& entries) {
    return qv_test::res_image({{std::uint16_t{260}, std::uint16_t{134}, 0,
                                payload_test::bzip2(payload_test::archive_bytes(entries))}});
}

class install_page : public testing::Test {
protected:
    install_page() {
        os::machine_root();
        qv::set_language(qv::languages::english);
        session.install_folder = install_folder;
        session.shortcut_folder = shortcut_folder;
    }
    ~install_page() override { os::set_resource_module(nullptr); }

    // Makes a program file carrying entries as its payload the module used for resources.
    void use_payload(const std::vector<payload_test::test_entry>& entries) {
        const auto file = machine.root() / ("payload" + std::to_string(++payloads) + ".o");
        qv_test::write_elf_object(file, "elf64-x86-64", payload_resource_image(entries));
        auto module = os::load_module_file(L"Z:" + os::from_utf8(file.string()));
        ASSERT_TRUE(module) << module.error().message();
        os::set_resource_module(*module);
    }

    // Runs body while the frame shows the page, then keeps the log and the status line as they
    // were at its end.
    void with_page(const std::function<void()>& body) {
        ui_session.input.on_first_turn([&](ui::dialog&) {
            page.ApplyLanguage();
            body();
            final_log = log_text();
            final_status = status_text();
        });
        frame.DoModal();
    }

    // Runs DoInstall once per result asked for, the frame's way: the page shown again between
    // runs without loading its controls.
    std::vector<bool> install(int runs = 1) {
        std::vector<bool> results;
        with_page([&] {
            for (int run = 0; run < runs; ++run)
                results.push_back(page.DoInstall());
        });
        return results;
    }

    std::wstring log_text() const {
        return dynamic_cast<const ui::edit&>(*page.GetDlgItem(IDC_LOG)->GetSafeHwnd()).text();
    }
    std::wstring status_text() const { return page.GetDlgItem(IDC_STATUS)->GetWindowText(); }
    const ui::progress_bar& progress() const {
        return dynamic_cast<const ui::progress_bar&>(*page.GetDlgItem(IDC_PROGRESS)->GetSafeHwnd());
    }

    qv_test::temp_machine machine;
    qv_test::framework_session ui_session;
    qv::install_session session;
    qv::CDlgInstall page{session};
    qv_test::frame_dialog frame{page, IDD_INSTALL_PAGE};
    int payloads = 0;
    std::wstring final_log;
    std::wstring final_status;
};

} // namespace install_test
