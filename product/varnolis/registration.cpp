#include "product/varnolis/registration.h"

#include "platform/os/processes.h"
#include "platform/os/windows_path.h"
#include "product/varnolis/file_association.h"
#include "product/varnolis/messages.h"
#include "product/varnolis/own_version.h"
#include "product/varnolis/product_settings.h"
#include "product/varnolis/version_text.h"

namespace varnolis {
namespace os = platform::os;
namespace {

// The version the installer says it replaced: 16 hexadecimal digits of an older version.
std::optional<qv::packed_version> previous_version(const std::wstring& value,
                                                   qv::packed_version own) {
    const auto version = parse_version_hex(value);
    if (!version) {
        report(L"\"/update=" + value + L"\" is not a version of 16 hexadecimal digits");
        return std::nullopt;
    }
    if (*version == 0 || *version >= own) {
        report(L"\"/update=" + value + L"\" names no version older than " + dotted_version(own));
        return std::nullopt;
    }
    return version;
}

} // namespace

int run_registration(const command& request) {
    const qv::packed_version own = own_version_info().file_version();
    std::optional<qv::packed_version> previous;
    if (request.update_value) {
        previous = previous_version(*request.update_value, own);
        if (!previous)
            return failed_exit_code;
    }
    const auto program = os::module_file_name();
    if (!program) {
        report_failure(L"cannot find the program's own path", program.error());
        return failed_exit_code;
    }
    if (std::error_code error = register_file_association(*program)) {
        report_failure(L"cannot register the file association", error);
        return failed_exit_code;
    }
    const installed_program installed{own, os::drop_last_component(*program)};
    if (std::error_code error = write_settings(installed, previous)) {
        report_failure(L"cannot write the settings", error);
        return failed_exit_code;
    }
    return registered_exit_code;
}

int run_unregistration() {
    if (std::error_code error = unregister_file_association()) {
        report_failure(L"cannot remove the file association", error);
        return failed_exit_code;
    }
    if (std::error_code error = remove_settings(own_version_info().file_version())) {
        report_failure(L"cannot remove the settings", error);
        return failed_exit_code;
    }
    return 0;
}

} // namespace varnolis
