#include "wizard/default_caption.h"
#include "wizard/message_box_providers.h"
#include "wizard/message_box_type.h"
#include "wizard/system_error_text.h"

#include "platform/os/error.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace os = platform::os;

namespace {

struct type_case {
    std::uint32_t type;
    std::uint32_t expected;
};

TEST(message_box_type, a_box_without_icon_gets_the_icon_of_its_buttons) {
    const type_case cases[] = {
        {qv::mb::ok, 0x30},
        {qv::mb::ok_cancel, 0x31},
        {qv::mb::yes_no_cancel, 0x23},
        {qv::mb::yes_no, 0x24},
        {qv::mb::yes_no | qv::mb::default_button2, 0x124},
        {qv::mb::retry_cancel, 0x05},
        {qv::mb::abort_retry_ignore, 0x02},
        {qv::mb::cancel_try_continue, 0x06},
        // An icon the caller chose is kept, whatever the buttons.
        {qv::mb::ok | qv::mb::icon_asterisk, 0x40},
        {qv::mb::yes_no | qv::mb::icon_hand, 0x14},
        {qv::mb::retry_cancel | qv::mb::icon_exclamation, 0x35},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::with_default_icon(c.type), c.expected) << std::hex << c.type;
}

TEST(message_box_type, only_a_right_to_left_owner_makes_the_text_read_right_to_left) {
    const std::uint32_t type = qv::mb::icon_exclamation;
    EXPECT_EQ(qv::with_owner_reading_order(type, qv::owner_layout::right_to_left), 0x100030u);
    EXPECT_EQ(qv::with_owner_reading_order(type, qv::owner_layout::left_to_right), 0x30u);
    EXPECT_EQ(qv::with_owner_reading_order(type, qv::owner_layout::no_owner), 0x30u);
}

TEST(system_error_text, texts_and_their_fallbacks) {
    constexpr std::uint16_t french = 0x040C;
    constexpr std::uint16_t english_uk = 0x0809;
    const struct {
        const char* what;
        std::uint32_t code;
        std::uint16_t language;
        std::wstring expected;
    } cases[] = {
        {"a Win32 code, without its line break", 5, 0, L"Access is denied."},
        {"an English sublanguage", 170, english_uk, L"The requested resource is in use."},
        {"a language without messages falls back to language 0", 161, french,
         L"The specified path is invalid."},
        {"an HRESULT of a Win32 code", 0x800700CEu, 0, L"The filename or extension is too long."},
        {"E_UNEXPECTED", 0x8000FFFFu, 0, L"Catastrophic failure"},
        {"an unknown code shows the text of E_FAIL", 0x12345678u, 0, L"Unspecified error"},
        {"both fallbacks at once", 0x12345678u, french, L"Unspecified error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::system_error_text(c.code, c.language), c.expected) << c.what;
}

TEST(message_box_providers, unset_providers_answer_nothing) {
    qv::set_caption_provider({});
    qv::set_icon_provider({});
    qv::set_owner_provider({});
    qv::set_modal_notifier({});
    EXPECT_FALSE(qv::provided_caption());
    EXPECT_FALSE(qv::provided_icon());
    EXPECT_FALSE(qv::provided_owner());
    qv::notify_modal(qv::modeless_windows::disabled);
}

TEST(message_box_providers, each_provider_answers_until_replaced) {
    qv::set_caption_provider([] { return std::wstring(L"Varnolis Setup"); });
    qv::set_icon_provider([] { return std::optional(qv::icon_handle{128}); });
    qv::set_owner_provider([] {
        return qv::message_box_owner{qv::window_handle{7}, qv::window_handle{3}};
    });
    std::vector<qv::modeless_windows> told;
    qv::set_modal_notifier([&told](qv::modeless_windows state) { told.push_back(state); });

    EXPECT_EQ(qv::provided_caption(), L"Varnolis Setup");
    EXPECT_EQ(qv::provided_icon(), qv::icon_handle{128});
    const auto owner = qv::provided_owner();
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->owner, qv::window_handle{7});
    EXPECT_EQ(owner->disabled_top_level, qv::window_handle{3});
    qv::notify_modal(qv::modeless_windows::disabled);
    qv::notify_modal(qv::modeless_windows::enabled);
    EXPECT_EQ(told, (std::vector{qv::modeless_windows::disabled, qv::modeless_windows::enabled}));

    // An icon provider that has no icon is set but answers none.
    qv::set_icon_provider([] { return std::optional<qv::icon_handle>(); });
    EXPECT_FALSE(qv::provided_icon());
    qv::set_modal_notifier({});
    qv::set_owner_provider({});
    qv::set_caption_provider({});
}

TEST(message_box_providers, replacing_a_provider_destroys_the_previous_one) {
    auto held = std::make_shared<int>(1);
    std::weak_ptr<int> watched = held;
    qv::set_icon_provider([held] { return std::optional(qv::icon_handle{1}); });
    held.reset();
    ASSERT_FALSE(watched.expired());
    qv::set_icon_provider([] { return std::optional(qv::icon_handle{2}); });
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(qv::provided_icon(), qv::icon_handle{2});
    qv::set_icon_provider({});
}

TEST(message_box_providers, a_provider_may_replace_providers_while_it_answers) {
    qv::set_caption_provider([] {
        qv::set_caption_provider([] { return std::wstring(L"second"); });
        return std::wstring(L"first");
    });
    EXPECT_EQ(qv::provided_caption(), L"first");
    EXPECT_EQ(qv::provided_caption(), L"second");
    qv::set_caption_provider({});
}

TEST(default_caption, the_application_name_else_the_programs_version_text) {
    EXPECT_EQ(qv::default_caption(L"Varnolis 2.32g Setup"), L"Varnolis 2.32g Setup");
    // The program's own version resource: ProductName and ProductVersion.
    EXPECT_EQ(qv::default_caption(L""), L"Install 2.04a");
}

} // namespace
