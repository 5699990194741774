// Message boxes of the model: the answers their buttons give, the default one, and showing them
// with the owner disabled meanwhile.

#include "platform/ui/message_box.h"
#include "tests/platform/ui/ui_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;

TEST(message_box, buttons_and_default_answer_follow_the_type) {
    const struct {
        std::uint32_t type;
        std::vector<int> answers;
        int default_answer;
    } cases[] = {
        {mb::ok, {idok}, idok},
        {mb::ok_cancel | mb::default_button2, {idok, idcancel}, idcancel},
        {mb::abort_retry_ignore | mb::default_button3, {idabort, idretry, idignore}, idignore},
        {mb::yes_no_cancel, {idyes, idno, idcancel}, idyes},
        {mb::yes_no | mb::default_button2 | mb::icon_question, {idyes, idno}, idno},
        {mb::retry_cancel | mb::icon_exclamation, {idretry, idcancel}, idretry},
        {mb::cancel_try_continue | mb::default_button3,
         {idcancel, idtryagain, idcontinue},
         idcontinue},
        // A default button the box does not have falls back to the first.
        {mb::yes_no | mb::default_button3, {idyes, idno}, idyes},
        {mb::ok | mb::default_button4, {idok}, idok},
    };
    for (const auto& c : cases) {
        const message_box box(L"Text", L"Caption", c.type, nullptr);
        EXPECT_EQ(box.answers(), c.answers) << std::hex << c.type;
        EXPECT_EQ(box.default_answer(), c.default_answer) << std::hex << c.type;
    }
}

class answering_driver : public qv_test::scripted_driver {
public:
    std::vector<bool> owner_enabled;
    int answer = idcancel;

    int answer_message_box(const message_box& box) override {
        owner_enabled.push_back(box.owner()->is_enabled());
        return answer;
    }
};

TEST(message_box, the_owner_is_disabled_while_the_box_is_up_unless_it_was_already) {
    answering_driver input;
    desktop session{std::make_unique<headless_renderer>(input)};
    window owner(session, nullptr, {L"#32770", 0, 0, 0, L"Owner", {}});
    const message_box box(L"Text", L"Caption", mb::ok_cancel, &owner);

    EXPECT_EQ(show_message_box(session, box), idcancel);
    EXPECT_TRUE(owner.is_enabled());
    owner.disable();
    input.answer = idok;
    EXPECT_EQ(show_message_box(session, box), idok);
    EXPECT_FALSE(owner.is_enabled());
    EXPECT_EQ(input.owner_enabled, (std::vector{false, false}));
}

} // namespace
