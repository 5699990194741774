// Uninstall.exe: removes the product that the uninstall log beside it lists.
//   Uninstall.exe [/S]
// "/S" runs unattended (no question, no message box). Exit code 0 when everything the
// installation put on the machine is gone (the shared data files excepted, which stay for the
// other users), 1 when something is left, when the log is missing, when the product runs, when
// the user is no administrator or declines; 2 for unknown arguments.

#include "app/instance_counter.h"
#include "app/product_identity.h"
#include "engine/uninstall_log.h"
#include "platform/os/error.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/processes.h"
#include "platform/os/unicode.h"
#include "platform/os/windows_path.h"
#include "product/uninstaller/interaction.h"
#include "product/uninstaller/text_ids.h"
#include "product/uninstaller/texts.h"
#include "product/uninstaller/uninstallation.h"

#include <iostream>
#include <optional>
#include <span>
#include <string>

namespace {
namespace os = platform::os;
using namespace uninstaller;

constexpr int success_exit_code = 0;
constexpr int failed_exit_code = 1;
constexpr int usage_exit_code = 2;

// The product's application id: while the product runs it holds a registration under it.
constexpr wchar_t product_application_id[] = L"Varnolis2";

std::optional<run_request> parse_arguments(std::span<char*> arguments) {
    run_request request = run_request::normal;
    for (const char* argument : arguments) {
        if (!os::iequals(os::from_utf8(argument), L"/S"))
            return std::nullopt;
        request = run_request::silent;
    }
    return request;
}

class uninstall_run {
public:
    explicit uninstall_run(run_request request)
        : language_(text_language()), how_(choose_interaction(request)),
          product_(qv::product_name(qv::product_name_form::with_version)),
          title_(text(language_, UNINSTALL_TEXT_TITLE,
                      qv::product_name(qv::product_name_form::plain))) {}

    int run() {
        const auto own_path = os::module_file_name();
        if (!own_path) {
            fail(L"cannot find the uninstaller's own path: " +
                 os::error_text(os::message_id(own_path.error())));
            return failed_exit_code;
        }
        if (!os::is_administrator()) {
            fail(text(language_, UNINSTALL_TEXT_NOT_ADMINISTRATOR, product_));
            return failed_exit_code;
        }
        const std::wstring log_path = os::join_with_separator(os::drop_last_component(*own_path),
                                                              qv::uninstall_log_file_name);
        qv::uninstall_log log;
        if (os::path_exists(log_path))
            log.read(log_path);
        if (log.previous_records.empty()) {
            fail(text(language_, UNINSTALL_TEXT_LOG_MISSING, log_path, product_));
            return failed_exit_code;
        }
        if (qv::running_instance_count(product_application_id) > 1) {
            fail(text(language_, UNINSTALL_TEXT_PRODUCT_RUNNING,
                      qv::product_name(qv::product_name_form::plain)));
            return failed_exit_code;
        }
        if (!confirmed(how_, title_, text(language_, UNINSTALL_TEXT_CONFIRM, product_)))
            return failed_exit_code;
        return report(undo_installation(log, *own_path, log_path));
    }

private:
    int report(const uninstall_outcome& outcome) {
        if (outcome.left.empty()) {
            std::wstring done = text(language_, UNINSTALL_TEXT_REMOVED, product_);
            if (outcome.shared_data_kept)
                done += L"\n" + text(language_, UNINSTALL_TEXT_SHARED_DATA_KEPT);
            tell(how_, title_, done, message_kind::information);
            return success_exit_code;
        }
        std::wstring left = text(language_, UNINSTALL_TEXT_ITEMS_LEFT, product_);
        for (const left_item& item : outcome.left)
            left += L"\n  " + item.what + L": " + item.reason;
        fail(left);
        return failed_exit_code;
    }

    void fail(std::wstring_view message) { tell(how_, title_, message, message_kind::error); }

    qv::language_index language_;
    interaction how_;
    std::wstring product_;
    std::wstring title_;
};

} // namespace

int main(int argc, char** argv) {
    const auto request =
        parse_arguments(std::span<char*>(argv + 1, static_cast<std::size_t>(argc - 1)));
    if (!request) {
        std::cerr << "Uninstall: unknown argument. Usage: Uninstall.exe [/S]" << std::endl;
        return usage_exit_code;
    }
    try {
        return uninstall_run(*request).run();
    } catch (const std::exception& failure) {
        std::cerr << "Uninstall: " << failure.what() << std::endl;
        return failed_exit_code;
    }
}
