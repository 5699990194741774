#include "platform/os/resources.h"

#include "platform/os/unicode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace os = platform::os;

namespace {

// How far a language's table is translated; "#" stands for each message not translated.
enum class translation { complete, words_only, none };

struct language {
    const char* name;
    std::uint16_t lcid;
    std::uint32_t block;
    translation kind;
};

const language languages[] = {
    {"french", 0x040C, 1000, translation::complete},
    {"english", 0x0409, 2000, translation::complete},
    {"german", 0x0407, 3000, translation::complete},
    {"spanish", 0x0C0A, 4000, translation::complete},
    {"portuguese", 0x0816, 5000, translation::complete},
    {"dutch", 0x0413, 7000, translation::words_only},
    {"danish", 0x0406, 8000, translation::words_only},
    {"turkish", 0x041F, 9000, translation::complete},
    {"bulgarian", 0x0402, 11000, translation::none},
    {"romanian", 0x0418, 12000, translation::complete},
    {"chinese_simplified", 0x0804, 10000, translation::none},
    {"italian", 0x0410, 6000, translation::complete},
    {"czech", 0x0405, 13000, translation::words_only},
    {"norwegian", 0x0414, 14000, translation::words_only},
    {"greek", 0x0408, 15000, translation::none},
    {"polish", 0x0415, 16000, translation::none},
    {"hebrew", 0x040D, 17000, translation::words_only},
    {"vietnamese", 0x042A, 18000, translation::none},
    {"japanese", 0x0411, 19000, translation::none},
    {"hungarian", 0x040E, 20000, translation::complete},
    {"serbian_latin", 0x081A, 21000, translation::none},
};

// Names the test cases' language in failure reports.
void PrintTo(const language& l, std::ostream* out) {
    *out << l.name;
}

struct message {
    std::uint32_t n;
    std::wstring_view english;
};

const message messages[] = {
    {0, L"Installer"},
    {1, L"OK"},
    {2, L"Cancel"},
    {3, L"About '%1'"},
    {4, L"Exit"},
    {5, L"Back"},
    {6, L"Next"},
    {7, L"Install"},
    {8, L"Browse..."},
    {9, L"Start menu"},
    {10, L"Installation Folder Selection"},
    {11, L"OK"},
    {12, L"Failed"},
    {13, L"Uninstall %1"},
    {14, L"Select Installation Langage"},
    {15, L"Installation Method"},
    {16, L"Quick Installation (Recommended)"},
    {17, L"Advanced Installation"},
    {18, L"%1 Examples"},
    {100, L"'%1' Installation."},
    {101, L"Update from '%1' to '%2'."},
    {102, L"'%1' is already installed."},
    {103, L"A more recent Version (%1) is already installed."},
    {104, L"Do you confirm Reinstallation ?"},
    {105, L"Click on '%1' to continue or on '%2' to exit Installation."},
    {106, L"Click on '%1' to continue."},
    {107, L"Click on '%1' to exit Installation."},
    {108, L"Click on '%1' to start Installation."},
    {110, L"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?"},
    {111, L"Select '%1' Installation Folder."},
    {112, L"Create a Shortcut in the following Menu:"},
    {113, L"Create a Shortcut on the Desktop."},
    {114, L"Preparing Installation..."},
    {115, L"Copying File  %1..."},
    {117, L"Shortcuts Creation..."},
    {118, L"Registry Data Writing..."},
    {119, L"Installation Data Writing..."},
    {120, L"Installation is complete."},
    {121, L"Installation failed (Error Code %1)."},
    {122, L"Installation Options"},
    {123, L"Installation Folder: %1."},
    {124, L"Creating a Shortcut in the Start Menu (Folder %1)."},
    {125, L"Creating a Shortcut on the Desktop."},
    {126, L"You should have Administrator Rights in order to proceed to Installation."},
    {127, L"You should close '%1' before continuing Installation."},
    {129, L"'%1' will be installed in the selected Langage, but the Installer, still under "
          L"translation,  shall run in English."},
};

// The button and menu words, translated even where the other messages are not yet.
bool is_word(std::uint32_t n) {
    return n <= 9 && n != 0 && n != 7;
}

std::uint32_t block_of(std::string_view name) {
    const auto found = std::find_if(std::begin(languages), std::end(languages),
                                    [&](const language& l) { return l.name == name; });
    return found->block;
}

std::wstring text_of(std::uint32_t block, const message& m) {
    return os::load_string(os::own_module(), block + m.n);
}

std::string shown(std::wstring_view text) {
    return os::to_utf8(text);
}

// The inserts (%1, %2) and line breaks of a text, sorted: a translation may reorder them but must
// keep each one, and a lone CR or LF counts apart from a CR LF pair.
std::vector<std::wstring> markers(std::wstring_view text) {
    std::vector<std::wstring> found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] >= L'0' && text[i + 1] <= L'9') {
            found.emplace_back(text.substr(i, 2));
            ++i;
        } else if (text.substr(i, 2) == L"\r\n") {
            found.emplace_back(L"\r\n");
            ++i;
        } else if (text[i] == L'\r' || text[i] == L'\n') {
            found.emplace_back(1, text[i]);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

class string_table : public testing::TestWithParam<language> {};

TEST_P(string_table, every_message_has_a_text) {
    const language& l = GetParam();
    for (const message& m : messages) {
        EXPECT_FALSE(text_of(l.block, m).empty()) << "message " << m.n;
    }
}

TEST_P(string_table, number_signs_stand_exactly_for_the_messages_not_translated) {
    const language& l = GetParam();
    for (const message& m : messages) {
        const std::wstring text = text_of(l.block, m);
        switch (l.kind) {
        case translation::complete:
            EXPECT_EQ(text.find(L'#'), std::wstring::npos)
                << "message " << m.n << ": " << shown(text);
            break;
        case translation::words_only:
            EXPECT_EQ(text == L"#", !is_word(m.n)) << "message " << m.n << ": " << shown(text);
            break;
        case translation::none:
            EXPECT_EQ(text, L"#") << "message " << m.n;
            break;
        }
    }
}

TEST_P(string_table, translations_keep_the_inserts_and_line_breaks_of_english) {
    const language& l = GetParam();
    for (const message& m : messages) {
        const std::wstring text = text_of(l.block, m);
        if (text != L"#") {
            EXPECT_EQ(markers(text), markers(m.english))
                << "message " << m.n << ": " << shown(text);
        }
    }
}

TEST_P(string_table, tables_carry_their_language) {
    const language& l = GetParam();
    std::set<std::uint16_t> bundles;
    for (const message& m : messages) {
        bundles.insert(static_cast<std::uint16_t>((l.block + m.n) / 16 + 1));
    }
    for (const std::uint16_t bundle : bundles) {
        EXPECT_TRUE(os::find_resource(os::own_module(), os::resource_type::string, bundle, l.lcid))
            << "bundle " << bundle;
    }
}

INSTANTIATE_TEST_SUITE_P(all_languages, string_table, testing::ValuesIn(languages),
                         [](const testing::TestParamInfo<language>& info) {
                             return std::string(info.param.name);
                         });

TEST(english_strings, are_the_installer_texts_character_for_character) {
    for (const message& m : messages) {
        EXPECT_EQ(text_of(block_of("english"), m), m.english) << "message " << m.n;
    }
}

TEST(sample_folder_name, has_its_fixed_french_and_german_wording) {
    const message examples{18, L"%1 Examples"};
    EXPECT_EQ(text_of(block_of("french"), examples), L"Exemples %1");
    EXPECT_EQ(text_of(block_of("german"), examples), L"Beispiele %1");
}

} // namespace
