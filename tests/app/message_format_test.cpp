#include "app/message_format.h"

#include <gtest/gtest.h>

namespace {

TEST(format_message, inserts_and_escapes) {
    struct {
        std::wstring_view format;
        std::wstring expected;
    } const cases[] = {
        {L"About '%1'", L"About 'Installer'"},
        {L"Update from '%1' to '%2'.", L"Update from 'Installer' to 'Varnolis 2.32g'."},
        {L"%2 and %1", L"Varnolis 2.32g and Installer"},
        {L"%1%1", L"InstallerInstaller"},
        {L"100%% sure", L"100% sure"},
        {L"line%none", L"line\r\none"},
        {L"cut%0 here", L"cut"},
        {L"no argument %3 stays", L"no argument %3 stays"},
        {L"%12 is the twelfth", L"%12 is the twelfth"},
        {L"a trailing %", L"a trailing %"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::format_message(c.format, {L"Installer", L"Varnolis 2.32g"}), c.expected)
            << std::wstring(c.format);
}

} // namespace
