#include "wizard/page_texts.h"

#include "app/localized_strings.h"
#include "app/message_format.h"
#include "platform/framework/wnd.h"

namespace qv {

namespace {
constexpr std::uint32_t next_caption = 6;
constexpr std::uint32_t click_to_continue = 106;
} // namespace

void set_control_text(platform::framework::CWnd& page, int id, const std::wstring& text) {
    if (auto* control = page.GetDlgItem(id))
        control->SetWindowText(text);
}

std::wstring click_next_to_continue() {
    return format_message(localized_text(click_to_continue), {localized_text(next_caption)});
}

} // namespace qv
