// A message box's buttons speak the user's language: the system's texts, with their mnemonics.

#include "platform/ui/message_box_buttons.h"
#include "platform/ui/message_box_type.h"
#include "platform/ui/styles.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;

TEST(message_box_buttons, each_answer_in_the_users_language) {
    struct {
        int answer;
        std::uint16_t lang_id;
        const wchar_t* text;
    } const cases[] = {
        {idyes, 0x0409, L"&Yes"},
        {idno, 0x0809, L"&No"},
        {idcancel, 0x0409, L"Cancel"},
        {idretry, 0x0409, L"&Retry"},
        {idyes, 0x0407, L"&Ja"},
        {idno, 0x0C07, L"&Nein"},
        {idcancel, 0x040C, L"Annuler"},
        {idok, 0x0C0A, L"Aceptar"},
        {idretry, 0x040E, L"Ú&jra"},
        {idno, 0x041F, L"&Hayır"},
        {idcontinue, 0x0418, L"&Continuare"},
        // Without a table of its own a language gets the English texts.
        {idyes, 0x0411, L"&Yes"},
        {idok, 0x0000, L"OK"},
        // An answer no button gives shows OK, as an unknown button set does.
        {42, 0x0407, L"OK"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(message_box_button_text(c.answer, c.lang_id), c.text)
            << c.answer << " " << std::hex << c.lang_id;
}

} // namespace
