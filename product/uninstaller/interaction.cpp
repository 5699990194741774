#include "product/uninstaller/interaction.h"

#include "platform/os/unicode.h"
#include "product/uninstaller/message_dialog.h"

#include <cctype>
#include <iostream>
#include <string>
#include <unistd.h>

namespace uninstaller {
namespace os = platform::os;

interaction choose_interaction(run_request request) {
    if (request == run_request::silent)
        return interaction::unattended;
    if (open_display())
        return interaction::window;
    if (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO))
        return interaction::console;
    return interaction::unattended;
}

bool confirmed(interaction how, std::wstring_view title, std::wstring_view question) {
    switch (how) {
    case interaction::window:
        return ask_yes_no(title, question);
    case interaction::console: {
        std::cout << os::to_utf8(question) << " [y/n] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        return !answer.empty() && std::tolower(static_cast<unsigned char>(answer[0])) == 'y';
    }
    case interaction::unattended:
        break;
    }
    return true;
}

void tell(interaction how, std::wstring_view title, std::wstring_view text, message_kind kind) {
    if (kind == message_kind::error)
        std::cerr << "Uninstall: " << os::to_utf8(text) << std::endl;
    else if (how != interaction::window)
        std::cout << os::to_utf8(text) << std::endl;
    if (how == interaction::window)
        show_message(title, text,
                     kind == message_kind::error ? dialog_icon::error : dialog_icon::information);
}

} // namespace uninstaller
