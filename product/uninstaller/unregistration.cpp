#include "product/uninstaller/unregistration.h"

#include "platform/os/error.h"
#include "platform/os/processes.h"
#include "platform/os/windows_path.h"

namespace uninstaller {
namespace os = platform::os;

std::wstring unregister_product(std::wstring_view program_path) {
    const std::wstring command = L"\"" + std::wstring(program_path) + L"\" /Unregister";
    auto started = os::start_process(command, os::drop_last_component(program_path));
    if (!started)
        return os::error_text(os::message_id(started.error()));
    if (auto waited = started->wait(os::infinite_timeout); !waited)
        return os::error_text(os::message_id(waited.error()));
    const auto exit_code = started->exit_code();
    if (!exit_code)
        return os::error_text(os::message_id(exit_code.error()));
    if (*exit_code != 0)
        return L"ended with exit code " + std::to_wstring(static_cast<std::int32_t>(*exit_code));
    return {};
}

} // namespace uninstaller
