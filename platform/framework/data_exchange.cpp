#include "platform/framework/data_exchange.h"

#include "platform/framework/message_box.h"
#include "platform/ui/button.h"
#include "platform/ui/focus.h"
#include "platform/ui/styles.h"

#include <algorithm>
#include <cwctype>
#include <limits>
#include <optional>

namespace platform::framework {

namespace ui = platform::ui;

namespace {

constexpr std::wstring_view integer_prompt = L"Please enter an integer.";
constexpr std::wstring_view max_chars_prompt = L"Enter no more than %1 characters.";

std::size_t utf16_length(const std::wstring& text) {
    return text.size() + static_cast<std::size_t>(std::ranges::count_if(text, [](wchar_t c) {
               return static_cast<std::uint32_t>(c) > 0xFFFF;
           }));
}

// The integer the text holds, with blanks around it allowed, as the class library reads it.
std::optional<int> parse_integer(const std::wstring& text) {
    std::size_t at = 0;
    const auto skip_blanks = [&] {
        while (at < text.size() && std::iswspace(text[at]))
            ++at;
    };
    skip_blanks();
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
        negative = text[at++] == L'-';
    const std::size_t digits_start = at;
    long long value = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        value = value * 10 + (text[at++] - L'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (at == digits_start)
        return std::nullopt;
    skip_blanks();
    if (at != text.size())
        return std::nullopt;
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::wstring with_limit(int limit) {
    std::wstring text(max_chars_prompt);
    text.replace(text.find(L"%1"), 2, std::to_wstring(limit));
    return text;
}

} // namespace

ui::window& CDataExchange::PrepareCtrl(int id) {
    ui::window* dialog = m_pDlgWnd ? m_pDlgWnd->GetSafeHwnd() : nullptr;
    ui::window* control = dialog ? dialog->child(id) : nullptr;
    if (!control)
        throw data_exchange_failure();
    last_control_ = control;
    last_is_edit_ = false;
    return *control;
}

ui::window& CDataExchange::PrepareEditCtrl(int id) {
    ui::window& control = PrepareCtrl(id);
    last_is_edit_ = true;
    return control;
}

ui::edit* CDataExchange::last_edit() const {
    return last_is_edit_ ? dynamic_cast<ui::edit*>(last_control_) : nullptr;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && last_control_) {
        ui::set_focus(*last_control_);
        if (ui::edit* text = last_edit())
            text->set_selection(0, -1);
    }
    throw data_exchange_failure();
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (control.GetSafeHwnd())
        return;
    exchange->PrepareCtrl(id);
    control.SubclassDlgItem(id, *exchange->m_pDlgWnd);
}

void DDX_Text(CDataExchange* exchange, int id, std::wstring& value) {
    ui::window& control = exchange->PrepareEditCtrl(id);
    if (exchange->m_bSaveAndValidate)
        value = control.text();
    else
        control.set_text(value);
}

void DDX_Text(CDataExchange* exchange, int id, int& value) {
    ui::window& control = exchange->PrepareEditCtrl(id);
    if (!exchange->m_bSaveAndValidate) {
        control.set_text(std::to_wstring(value));
        return;
    }
    const auto parsed = parse_integer(control.text());
    if (!parsed) {
        AfxMessageBox(integer_prompt, ui::mb::ok | ui::mb::icon_exclamation);
        exchange->Fail();
    }
    value = *parsed;
}

void DDX_Check(CDataExchange* exchange, int id, int& value) {
    auto* box = dynamic_cast<ui::button*>(&exchange->PrepareCtrl(id));
    if (!box)
        exchange->Fail();
    if (exchange->m_bSaveAndValidate) {
        value = box->check() == ui::check_state::checked         ? 1
                : box->check() == ui::check_state::indeterminate ? 2
                                                                 : 0;
        return;
    }
    box->set_check(value == 1   ? ui::check_state::checked
                   : value == 2 ? ui::check_state::indeterminate
                                : ui::check_state::unchecked);
}

void DDX_Radio(CDataExchange* exchange, int id, int& value) {
    ui::window& first = exchange->PrepareCtrl(id);
    if (exchange->m_bSaveAndValidate)
        value = -1;
    const auto& siblings = first.parent()->children();
    auto at = std::ranges::find_if(siblings, [&](const auto& c) { return c.get() == &first; });
    int index = 0;
    for (; at != siblings.end(); ++at) {
        if (at->get() != &first && ((*at)->style() & ui::ws::group))
            break;
        auto* radio = dynamic_cast<ui::button*>(at->get());
        if (!radio || radio->kind() != ui::button_kind::radio)
            continue;
        if (exchange->m_bSaveAndValidate) {
            if (radio->check() == ui::check_state::checked)
                value = index;
        } else {
            radio->set_check(index == value ? ui::check_state::checked
                                            : ui::check_state::unchecked);
        }
        ++index;
    }
}

void DDV_MaxChars(CDataExchange* exchange, const std::wstring& value, int limit) {
    if (!exchange->m_bSaveAndValidate) {
        if (ui::edit* text = exchange->last_edit())
            text->set_limit(limit);
        return;
    }
    if (utf16_length(value) > static_cast<std::size_t>(limit)) {
        AfxMessageBox(with_limit(limit), ui::mb::ok | ui::mb::icon_exclamation);
        exchange->Fail();
    }
}

} // namespace platform::framework
