// The install page's texts and numbers: its rule of dashes, its error texts, paths shortened for
// the status line, and the run's temporary folder name.

#include "app/temporary_folder.h"
#include "engine/compact_path.h"
#include "engine/install_report.h"
#include "payload/compress_error.h"
#include "platform/os/error.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/temporary_files.h"
#include "platform/os/unicode.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace {

namespace os = platform::os;
using platform::ui::fixed_text_metrics;

TEST(full_width_line, centres_the_text_between_dashes_with_the_odd_one_on_the_right) {
    const fixed_text_metrics metrics;
    struct line_case {
        std::wstring text;
        int width;
        std::wstring line;
    } const cases[] = {
        {L"", 60, L"----------\r\n"},
        {L"", 65, L"----------\r\n"},
        {L"Title", 12 * 6 + 7 * 6, L"------ Title ------\r\n"},
        {L"Title", 13 * 6 + 7 * 6, L"------ Title -------\r\n"},
        {L"Title", 7 * 6, L" Title \r\n"},
        {L"Too long", 6, L" Too long \r\n"},
        {L"", -4, L"\r\n"},
    };
    for (const auto& line : cases)
        EXPECT_EQ(qv::full_width_line(line.text, line.width, metrics), line.line)
            << os::to_utf8(line.text) << " in " << line.width;
}

TEST(failure_error_text, names_the_kind_of_error_and_its_value) {
    struct text_case {
        std::error_code code;
        std::wstring text;
    } const cases[] = {
        {os::make_error_code(os::win32_error::disk_full), L"1:00000070"},
        {std::make_error_code(std::errc::no_space_on_device), L"2:0000001C"},
        {qv::compress_error::check_failed, L"4"},
        {qv::compress_error::bzip2_error, L"6"},
        {os::hresult_error_code(os::hresults::e_fail), L"7"},
        {std::make_error_code(std::io_errc::stream), L"7"},
    };
    for (const auto& error : cases)
        EXPECT_EQ(qv::failure_error_text(error.code), error.text) << error.code.message();
}

TEST(compact_path, keeps_the_start_and_the_last_component_of_a_path_too_wide) {
    const fixed_text_metrics metrics;
    const std::wstring path = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
    struct fit_case {
        int characters;
        std::wstring shown;
    } const cases[] = {
        {static_cast<int>(path.size()), path},
        {30, L"C:\\Program Fil...\\Varnolis.exe"},
        {16, L"...\\Varnolis.exe"},
        {10, L"\\Varnol..."},
        {2, L"..."},
    };
    for (const auto& fit : cases)
        EXPECT_EQ(qv::compact_path(path, fit.characters * 6, metrics), fit.shown) << fit.characters;
}

TEST(temporary_folder, each_run_gets_a_new_random_name_in_the_users_temporary_folder) {
    qv_test::temp_machine machine;
    const std::wstring temporary = os::temporary_folder().value();
    const std::wregex form(L"qvarn_\\{[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-"
                           L"[0-9a-f]{12}\\}");
    std::set<std::wstring> names;
    for (int run = 0; run < 3; ++run) {
        qv::install_session session;
        std::wstring error_text;
        ASSERT_TRUE(qv::make_temporary_folder(session, error_text));
        ASSERT_TRUE(session.temporary_folder.starts_with(temporary));
        const std::wstring name = session.temporary_folder.substr(temporary.size());
        EXPECT_TRUE(std::regex_match(name, form)) << os::to_utf8(name);
        EXPECT_FALSE(os::path_exists(session.temporary_folder));
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 3u);
}

} // namespace
