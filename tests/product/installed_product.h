#pragma once
// The product installed on a test's machine the way the installer installs it: its files written
// and recorded in the journal, the program and the uninstaller read-only, the three links, the
// uninstall entry, the registered program path, the product's registration run and the uninstall
// log. The uninstaller is the build's Uninstall.exe, the program the build's Varnolis.exe.

#include "app/language_table.h"
#include "engine/shortcut.h"
#include "engine/uninstall_entry.h"
#include "engine/uninstall_log.h"
#include "platform/os/file_attributes.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/product/varnolis_program.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace uninstaller_test {

inline const std::filesystem::path built_uninstaller = QV_UNINSTALLER_PROGRAM;

inline constexpr wchar_t install_folder[] = L"C:\\Program Files\\Quorvane\\Varnolis 2";
inline constexpr wchar_t uninstaller_path[] =
    L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.exe";
inline constexpr wchar_t program_path[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
inline constexpr wchar_t log_path[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.ulog";
inline constexpr wchar_t language_library[] =
    L"C:\\Program Files\\Quorvane\\Varnolis 2\\Lang\\Varnolis.de.dll";
inline constexpr wchar_t sample_document[] =
    L"C:\\users\\Public\\Documents\\Varnolis Samples\\Arch Bridge.vnl";
// Where the shared data files go; the uninstaller keeps them.
inline constexpr char shared_data_folder[] = "C:\\ProgramData\\Quorvane";
inline constexpr wchar_t shared_data_file[] =
    L"C:\\ProgramData\\Quorvane\\Varnolis 2\\Colours.vdat";
inline constexpr wchar_t shortcut_folder[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2";
inline constexpr wchar_t desktop_folder[] = L"C:\\users\\Public\\Desktop";
inline constexpr wchar_t product_key[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnolis 2";

inline void check(const std::error_code& error, const std::string& what) {
    if (error)
        throw std::system_error(error, what);
}

inline std::filesystem::path host(std::wstring_view windows_path) {
    return platform::os::host_path(windows_path).value();
}

inline void copy_build_file(const std::filesystem::path& built, std::wstring_view target) {
    std::filesystem::copy_file(built, host(target));
}

class product_installation {
public:
    explicit product_installation(qv::language_index language) : language_(language) {}

    void run() {
        namespace os = platform::os;
        write_file(uninstaller_path, 2,
                   [](std::wstring_view path) { copy_build_file(built_uninstaller, path); });
        for (const wchar_t* name : {L"Varnolis.de.dll", L"Varnolis.en.dll"})
            write_text(std::wstring(install_folder) + L"\\Lang\\" + name, 0, "language library");
        write_text(sample_document, 4, "sample");
        write_text(L"C:\\users\\Public\\Documents\\Varnolis Samples\\Gear Train.vnl", 4, "sample");
        write_text(shared_data_file, 3, "shared colours");
        write_text(L"C:\\ProgramData\\Quorvane\\Varnolis 2\\Fonts.vdat", 3, "shared fonts");
        write_file(program_path, 1, [](std::wstring_view path) {
            copy_build_file(varnolis_test::built_program, path);
        });
        for (const wchar_t* path : {program_path, uninstaller_path})
            check(os::set_file_attributes(path, os::file_attribute::readonly), "read-only");

        add_link(qv::shortcut_kind::menu, program_path, shortcut_folder, L"Varnolis 2.32g");
        add_link(qv::shortcut_kind::uninstall, uninstaller_path, shortcut_folder,
                 L"Uninstall Varnolis");
        add_link(qv::shortcut_kind::desktop, program_path, desktop_folder, L"Varnolis 2.32g");

        check(qv::write_uninstall_entry(program_path, uninstaller_path, language_,
                                        [this](const os::registry_key* existing) {
                                            return journal_.add_uninstall_key(existing);
                                        }),
              "uninstall entry");
        journal_.settle_pending(qv::action_outcome::done);

        auto maker = os::create_key(os::predefined_key::local_machine, L"Software\\Quorvane",
                                    os::key_access::maximum_allowed);
        check(maker ? std::error_code{} : maker.error(), "Software\\Quorvane");
        check(os::set_string_value(maker->key, L"Varnolis 2 Path", program_path), "path");

        journal_.add_registration();
        const auto registration =
            varnolis_test::run_program(program_path, L"/Register /Background");
        if (registration.exit_code != 0xFFFFFFF6)
            throw std::runtime_error("registration failed: " + registration.error_output);
        journal_.settle_pending(qv::action_outcome::done);

        check(journal_.write(log_path, install_folder, shortcut_folder), "log");
    }

private:
    template <typename Writer>
    void write_file(std::wstring_view path, std::int32_t kind, const Writer& writer) {
        check(journal_.add_file(path, kind, qv::existing_file::move_to_backup),
              platform::os::to_utf8(path));
        writer(path);
        journal_.settle_pending(qv::action_outcome::done);
    }

    void write_text(std::wstring_view path, std::int32_t kind, const std::string& content) {
        write_file(path, kind, [&](std::wstring_view target) {
            qv_test::write_host_file(host(target), content);
        });
    }

    void add_link(qv::shortcut_kind which, std::wstring_view target, std::wstring_view folder,
                  std::wstring_view name) {
        check(journal_.add_shortcut(which, folder), "link folder");
        const auto link = qv::create_shortcut(target, folder, name);
        if (!link)
            throw std::runtime_error("link not created");
        journal_.records.back().path = *link;
        journal_.settle_pending(qv::action_outcome::done);
    }

    qv::language_index language_;
    qv::uninstall_log journal_;
};

inline void install_product(qv::language_index language = qv::languages::english) {
    product_installation(language).run();
}

// Runs the installed uninstaller unattended, as "Uninstall.exe /S".
inline varnolis_test::finished_run run_uninstaller() {
    return varnolis_test::run_program(uninstaller_path, L"/S");
}

} // namespace uninstaller_test
