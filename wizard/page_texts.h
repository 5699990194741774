#pragma once
// Texts the wizard's pages share.

#include <cstdint>
#include <string>

namespace platform::framework {
class CWnd;
}

namespace qv {

// Sets the text of the page's control with this id, when there is one.
void set_control_text(platform::framework::CWnd& page, int id, const std::wstring& text);

// Message n=106, "Click on '%1' to continue." with the Next button's caption.
std::wstring click_next_to_continue();

} // namespace qv
