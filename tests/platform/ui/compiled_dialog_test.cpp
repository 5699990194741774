// Templates as the resource compiler writes them, read from its .res output and made into
// dialogs.

#include "platform/os/resource_image.h"
#include "platform/os/resource_module.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/edit.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/static_control.h"
#include "tests/platform/ui/ui_fixture.h"
#include "tests/support/host_command.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;

constexpr const char* frame_script = R"(102 DIALOGEX 0, 0, 273, 139
STYLE 0x80C800C0
CAPTION "Frame"
FONT 8, "MS Shell Dlg", 400, 0, 0x1
BEGIN
    DEFPUSHBUTTON "Next >>", 1, 138, 118, 66, 14
    PUSHBUTTON "<< Back", 3, 69, 118, 66, 14
    CONTROL "", 1005, "Static", 0x6, -3, 0, 67, 112
    CONTROL 137, -1, "Static", 0x0E, 3, 3, 58, 105
    CONTROL "", 1001, "ComboBoxEx32", 0x10003, 7, 20, 100, 120
    EDITTEXT 1015, 7, 7, 205, 54, 0x884, 0x200
    CONTROL "", 1014, "msctls_progress32", 0x0, 7, 67, 205, 10
    AUTORADIOBUTTON "A", 1010, 7, 30, 50, 10, 0x30000
    AUTORADIOBUTTON "B", 1011, 7, 40, 50, 10
END
)";

class CompiledDialog : public ::testing::Test {
protected:
    qv_test::temp_machine scratch;
    platform::os::resource_module module;

    void SetUp() override {
        std::filesystem::create_directories(scratch.root());
        const auto script = scratch.root() / "dialog.rc";
        const auto image = scratch.root() / "dialog.res";
        qv_test::write_host_file(script, frame_script);
        ASSERT_EQ(qv_test::run_host_command({"x86_64-w64-mingw32-windres", "--preprocessor=cpp",
                                             "--preprocessor-arg=-P", "-c", "65001", "-O", "res",
                                             script.string(), "-o", image.string()}),
                  0);
        const std::string bytes = qv_test::read_host_file(image);
        const auto* first = reinterpret_cast<const std::byte*>(bytes.data());
        const auto kept = module.keep({first, first + bytes.size()});
        platform::os::add_resource_image(kept, module, platform::os::win32_error::invalid_data);
    }
};

TEST_F(CompiledDialog, TemplateReadsAsWritten) {
    const auto loaded = load_dialog_template(module, 102);
    ASSERT_TRUE(loaded) << loaded.error().message();
    EXPECT_EQ(loaded->style, 0x80C800C0u);
    EXPECT_EQ(text_of(loaded->title), L"Frame");
    ASSERT_TRUE(loaded->font);
    EXPECT_EQ(loaded->font->typeface, L"MS Shell Dlg");
    EXPECT_EQ(loaded->font->point_size, 8);
    ASSERT_EQ(loaded->items.size(), 9u);
    EXPECT_EQ(loaded->items[3].id, -1);
    EXPECT_EQ(loaded->items[3].title, template_name(std::uint16_t{137}));
    EXPECT_EQ(loaded->items[5].ex_style, ws_ex::client_edge);

    EXPECT_FALSE(load_dialog_template(module, 103));
}

TEST_F(CompiledDialog, DialogHasTheControlsOfTheTemplate) {
    qv_test::headless_session ui;
    const auto made = create_dialog(ui.session, *load_dialog_template(module, 102), nullptr);
    EXPECT_EQ(made->title(), L"Frame");
    EXPECT_EQ(made->default_id(), 1);

    auto& next = dynamic_cast<button&>(*made->child(1));
    EXPECT_EQ(next.kind(), button_kind::default_push);
    EXPECT_EQ(next.rect(), (rect{207, 192, 306, 215}));
    EXPECT_TRUE(next.style() & ws::tabstop);

    auto& banner = dynamic_cast<static_control&>(*made->child(1005));
    EXPECT_EQ(banner.kind(), static_kind::white_rectangle);
    auto& picture = dynamic_cast<static_control&>(*made->child(-1));
    EXPECT_EQ(picture.kind(), static_kind::bitmap);
    EXPECT_EQ(picture.image(), 137);

    auto& log = dynamic_cast<edit&>(*made->child(1015));
    EXPECT_TRUE(log.is_multiline());
    EXPECT_TRUE(log.is_read_only());
    EXPECT_EQ(log.rect(), (rect{11, 11, 319, 99}));
    EXPECT_EQ(log.visible_lines(), 6);

    EXPECT_NE(dynamic_cast<combo_box_ex*>(made->child(1001)), nullptr);
    EXPECT_NE(dynamic_cast<progress_bar*>(made->child(1014)), nullptr);

    auto& b = dynamic_cast<button&>(*made->child(1011));
    made->show();
    ASSERT_TRUE(b.click());
    EXPECT_EQ(b.check(), check_state::checked);
    EXPECT_EQ(dynamic_cast<button&>(*made->child(1010)).check(), check_state::unchecked);
}

} // namespace
