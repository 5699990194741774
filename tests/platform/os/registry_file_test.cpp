#include "platform/os/error.h"
#include "platform/os/registry_file.h"
#include "platform/os/registry_hive.h"
#include "platform/os/unicode.h"

#include <gtest/gtest.h>

namespace os = platform::os;
using namespace std::string_literals;

namespace {

const std::string header = os::hive_header(os::registry_hive::local_machine);

std::string utf16(std::wstring_view text) {
    return os::to_utf16le(text);
}
std::string utf16z(std::wstring_view text) {
    return os::to_utf16le(text) + "\0\0"s;
}

os::registry_document parse(const std::string& text) {
    return os::parse_registry_file(text, "/machine/system.reg");
}

// The text of a file whose only key "K" holds the value.
std::string format_one(const os::registry_value& value) {
    os::registry_node root;
    auto& key = root.subkeys[L"K"];
    key = std::make_unique<os::registry_node>();
    key->modified = 0x1d9a1b2c3d4e5f6;
    key->values.push_back(value);
    return os::format_registry_file({}, root);
}

// The value lines of such a file.
std::string value_text(const std::string& file) {
    const std::size_t time = file.find("#time=");
    return file.substr(file.find('\n', time) + 1);
}

struct value_case {
    const char* what;
    os::registry_value value;
    std::string line; // as Wine writes it
};

const value_case value_cases[] = {
    {"default value", {L"", 1, utf16z(L"text")}, "@=\"text\"\n"},
    {"string", {L"Name", 1, utf16z(L"C:\\Program Files")}, "\"Name\"=\"C:\\\\Program Files\"\n"},
    {"string of just its NUL", {L"e", 1, "\0\0"s}, "\"e\"=\"\"\n"},
    {"expandable string", {L"P", 2, utf16z(L"%SystemRoot%")}, "\"P\"=str(2):\"%SystemRoot%\"\n"},
    {"multi-string", {L"M", 7, utf16z(L"a\0b\0"s)}, "\"M\"=str(7):\"a\\0b\\0\"\n"},
    {"empty multi-string", {L"M", 7, "\0\0\0\0"s}, "\"M\"=str(7):\"\\0\"\n"},
    {"dword", {L"D", 4, "\x2a\0\0\0"s}, "\"D\"=dword:0000002a\n"},
    {"dword of high bytes", {L"D", 4, "\x78\x56\x34\xf2"s}, "\"D\"=dword:f2345678\n"},
    {"dword of 3 bytes", {L"D", 4, "\1\2\3"s}, "\"D\"=hex(4):01,02,03\n"},
    {"dword of 8 bytes", {L"D", 4, "\1\0\0\0\0\0\0\0"s}, "\"D\"=hex(4):01,00,00,00,00,00,00,00\n"},
    {"binary", {L"B", 3, "\0\1\xff"s}, "\"B\"=hex:00,01,ff\n"},
    {"empty binary", {L"B", 3, ""}, "\"B\"=hex:\n"},
    {"string without its NUL", {L"S", 1, utf16(L"ab")}, "\"S\"=hex(1):61,00,62,00\n"},
    {"string of odd size", {L"S", 1, "a\0b"s}, "\"S\"=hex(1):61,00,62\n"},
    {"empty string", {L"S", 1, ""}, "\"S\"=hex(1):\n"},
    {"expandable string without NUL", {L"S", 2, "%\0"s}, "\"S\"=hex(2):25,00\n"},
    {"multi-string of odd size", {L"S", 7, "a\0\0"s}, "\"S\"=hex(7):61,00,00\n"},
    {"qword", {L"Q", 11, "\1\2\3\4\5\6\7\x80"s}, "\"Q\"=hex(b):01,02,03,04,05,06,07,80\n"},
    {"none", {L"N", 0, ""}, "\"N\"=hex(0):\n"},
    {"big-endian dword", {L"E", 5, "\0\0\0\1"s}, "\"E\"=hex(5):00,00,00,01\n"},
    {"link", {L"L", 6, utf16(L"\\R")}, "\"L\"=hex(6):5c,00,52,00\n"},
    {"type of its own", {L"T", 0x12345678, "\x10"s}, "\"T\"=hex(12345678):10\n"},
    {"quote and backslash", {L"q", 1, utf16z(L"a\"b\\c")}, "\"q\"=\"a\\\"b\\\\c\"\n"},
    {"brackets stay raw in values", {L"[k]", 1, utf16z(L"[x]")}, "\"[k]\"=\"[x]\"\n"},
    {"C escapes", {L"c", 1, utf16z(L"\a\b\t\n\v\f\r\x1b")}, "\"c\"=\"\\a\\b\\t\\n\\v\\f\\r\\e\"\n"},
    {"octal escapes", {L"o", 1, utf16z(L"\x01z\x1f")}, "\"o\"=\"\\1z\\37\"\n"},
    {"octal escape before a digit",
     {L"o", 1,
      utf16z(L"\x01"
             L"7\x02"
             L"8")},
     "\"o\"=\"\\0017\\28\"\n"},
    {"embedded NUL",
     {L"z", 1,
      utf16z(L"a\0"
             L"1\0x"s)},
     "\"z\"=\"a\\0001\\0x\"\n"},
    {"characters above 127",
     {L"\u00e9t\u00e9", 1, utf16z(L"caf\u00e9 \u20ac\u00ff")},
     "\"\\x00e9t\\x00e9\"=\"caf\\x00e9 \\x20ac\\x00ff\"\n"},
    {"beyond the BMP",
     {L"\U0001F600", 1, utf16z(L"x\U0001F600")},
     "\"\\xd83d\\xde00\"=\"x\\xd83d\\xde00\"\n"},
    {"unpaired surrogate", {L"u", 1, "\x00\xd8\0\0"s}, "\"u\"=\"\\xd800\"\n"},
    {"escapes in names", {L"a\"b\\c\td", 4, "\1\0\0\0"s}, "\"a\\\"b\\\\c\\td\"=dword:00000001\n"},
    {"DEL stays raw", {L"d", 1, utf16z(L"\x7f")}, "\"d\"=\"\x7f\"\n"},
};

TEST(registry_file, values_are_written_as_wine_writes_them_and_read_back_exactly) {
    for (const value_case& c : value_cases) {
        const std::string file = format_one(c.value);
        EXPECT_EQ(value_text(file), c.line) << c.what;
        const os::registry_document read = parse(file);
        const os::registry_node* key = read.root.find_subkey(L"K");
        ASSERT_NE(key, nullptr) << c.what;
        ASSERT_EQ(key->values.size(), 1u) << c.what;
        EXPECT_EQ(key->values[0].name, c.value.name) << c.what;
        EXPECT_EQ(key->values[0].type, c.value.type) << c.what;
        EXPECT_EQ(key->values[0].bytes, c.value.bytes) << c.what;
    }
}

TEST(registry_file, key_paths_escape_brackets_and_keep_their_case) {
    os::registry_node root;
    auto& outer = root.subkeys[L"Outer [1]"];
    outer = std::make_unique<os::registry_node>();
    auto& inner = outer->subkeys[L"in\u00e9\"r\U0001F600"];
    inner = std::make_unique<os::registry_node>();
    inner->modified = 0x1d96161a5788000; // 1680000000 in Unix seconds
    const std::string file = os::format_registry_file({}, root);
    EXPECT_NE(file.find("\n[Outer \\[1\\]\\\\in\\x00e9\"r\\xd83d\\xde00] 1680000000\n"),
              std::string::npos)
        << file;

    const os::registry_document read = parse(file);
    const os::registry_node* outer_read = read.root.find_subkey(L"OUTER [1]");
    ASSERT_NE(outer_read, nullptr);
    EXPECT_EQ(read.root.subkeys.begin()->first, L"Outer [1]");
    ASSERT_NE(outer_read->find_subkey(L"IN\u00c9\"R\U0001F600"), nullptr);
    EXPECT_EQ(outer_read->find_subkey(L"in\u00e9\"r\U0001F600")->modified, 0x1d96161a5788000u);
}

TEST(registry_file, long_hex_data_wraps_after_column_76_and_reads_back) {
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>(i * 7);
    const os::registry_value value{L"Long", 3, bytes};
    const std::string lines = value_text(format_one(value));
    // Wine breaks a line once it passes column 76: 22 bytes after "\"Long\"=hex:", then 25.
    const std::string first = lines.substr(0, lines.find('\n'));
    EXPECT_EQ(first.size(), std::string("\"Long\"=hex:").size() + 22 * 3 + 1);
    EXPECT_TRUE(first.ends_with(",\\"));
    std::size_t start = first.size() + 1;
    while (start < lines.size()) {
        const std::string line = lines.substr(start, lines.find('\n', start) - start);
        EXPECT_TRUE(line.starts_with("  ")) << line;
        EXPECT_LE(line.size(), 2 + 25 * 3 + 1u) << line;
        start += line.size() + 1;
    }
    EXPECT_EQ(parse(format_one(value)).root.find_subkey(L"K")->values[0].bytes, bytes);
}

TEST(registry_file, reader_accepts_what_wine_and_people_write) {
    struct read_case {
        const char* what;
        std::string line;
        std::uint32_t type;
        std::string bytes;
    };
    const read_case cases[] = {
        {"short hex escapes", "@=\"caf\\xe9!\\x20ac\"", 1, utf16z(L"caf\u00e9!\u20ac")},
        {"hex escape takes at most 4 digits", "@=\"\\x00e9e\"", 1, utf16z(L"\u00e9e")},
        {"raw UTF-8", "@=\"caf\xc3\xa9 \xf0\x9f\x98\x80\"", 1, utf16z(L"caf\u00e9 \U0001F600")},
        {"octal of three digits at most", "@=\"\\1011\"", 1, utf16z(L"A1")},
        {"escaped brackets in values", "@=\"\\[x\\]\"", 1, utf16z(L"[x]")},
        {"str: form", "@=str:\"x\"", 1, utf16z(L"x")},
        {"blanks around =", "\"n\" = dword:1", 4, "\1\0\0\0"s},
        {"upper-case hex", "@=dword:FFFFFFFE", 4, "\xfe\xff\xff\xff"s},
        {"hex without commas' spaces", "@=hex(7):61,00, 00 ,00 ,00,00", 7, "a\0\0\0\0\0"s},
        {"hex continued on several lines", "@=hex:01,02,\\\n    03,\\\n04", 3, "\1\2\3\4"s},
        {"line ends in CR LF", "@=hex:01,\\\r\n  02\r", 3, "\1\2"s},
    };
    for (const read_case& c : cases) {
        const os::registry_document read = parse(header + "\n[K]\n" + c.line + "\n");
        const os::registry_value* value = read.root.find_subkey(L"K")->find_value(L"");
        if (!value)
            value = read.root.find_subkey(L"K")->find_value(L"n");
        ASSERT_NE(value, nullptr) << c.what;
        EXPECT_EQ(value->type, c.type) << c.what;
        EXPECT_EQ(value->bytes, c.bytes) << c.what;
    }
}

// A hive as Wine writes it, with the option lines it writes and some this system does not know.
const std::string wine_sample = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win64
#unknown-global=1

[Software\\Classes\\.txt] 1700000000
#time=1da1747c66d3039
@="txtfile"
"Content Type"="text/plain"

[Software\\Classes\\txtfile\\shell\\open\\command] 1700000001
#time=1da1747c705c6b9
@=str(2):"%SystemRoot%\\system32\\NOTEPAD.EXE %1"

[Software\\Microsoft\\Windows\\CurrentVersion] 1700000002
#time=1da1747c79e5d39
#class="Shell \"main\""
"CommonFilesDir"="C:\\Program Files\\Common Files"
"ProgramFilesDir"="C:\\Program Files"
"Flags"=str(7):"A\0B\0"
"Size"=dword:00001000

[Software\\Wow6432Node] 1700000003
#time=1da1747c836f3b9
#link
"SymbolicLinkValue"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\
  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00
)";

TEST(registry_file, a_wine_hive_reads_into_keys_and_writes_back_unchanged) {
    const os::registry_document read = parse(wine_sample);
    EXPECT_EQ(read.preamble, (std::vector<std::string>{";; All keys relative to \\\\Machine", "",
                                                       "#arch=win64", "#unknown-global=1"}));
    const os::registry_node& software = *read.root.find_subkey(L"software");
    EXPECT_EQ(software.subkeys.size(), 3u);
    const os::registry_node& classes = *software.find_subkey(L"Classes");
    EXPECT_EQ(classes.find_subkey(L".TXT")->find_value(L"")->bytes, utf16z(L"txtfile"));
    EXPECT_EQ(classes.find_subkey(L".txt")->modified, 0x1da1747c66d3039u);
    const os::registry_node& version = *software.find_subkey(L"Microsoft")
                                            ->find_subkey(L"Windows")
                                            ->find_subkey(L"CurrentVersion");
    EXPECT_EQ(version.options, std::vector<std::string>{"#class=\"Shell \\\"main\\\"\""});
    ASSERT_EQ(version.values.size(), 4u);
    EXPECT_EQ(version.values[0].name, L"CommonFilesDir");
    EXPECT_EQ(version.values[2].type, 7u);
    EXPECT_EQ(version.values[2].bytes, utf16z(L"A\0B\0"s));
    EXPECT_EQ(version.find_value(L"size")->bytes, "\0\x10\0\0"s);
    const os::registry_node& wow = *software.find_subkey(L"Wow6432Node");
    EXPECT_EQ(wow.options, std::vector<std::string>{"#link"});
    EXPECT_EQ(wow.values[0].bytes, utf16(L"\\Registry\\Machine"));

    EXPECT_EQ(os::format_registry_file(read.preamble, read.root), wine_sample);
}

TEST(registry_file, keys_are_written_in_windows_name_order_and_implied_keys_are_left_out) {
    os::registry_node root;
    for (const wchar_t* name : {L"b", L"A", L"_", L"c", L"\U0001F600", L"\uFF21"}) {
        auto& child = root.subkeys[name];
        child = std::make_unique<os::registry_node>();
        child->modified = 0x1d9a1b2c3d4e5f6;
    }
    root.subkeys[L"A"]->subkeys[L"Leaf"] = std::make_unique<os::registry_node>();
    const std::string file = os::format_registry_file({}, root);
    // "A" only holds a subkey: its block is implied. Upper-cased names compare by UTF-16 units,
    // so the surrogate pair sorts before U+FF21.
    const char* order[] = {"[A\\\\Leaf]", "[b]", "[c]", "[_]", "[\\xd83d\\xde00]", "[\\xff21]"};
    std::size_t position = 0;
    for (const char* block : order) {
        const std::size_t found = file.find(block, position);
        ASSERT_NE(found, std::string::npos) << block << "\n" << file;
        position = found;
    }
    EXPECT_EQ(file.find("[A]"), std::string::npos);
}

TEST(registry_file, duplicate_blocks_merge_and_later_values_replace_earlier_ones) {
    const os::registry_document read = parse(header + "\n[K]\n\"a\"=dword:1\n; note\n\n[k\\\\S]\n"
                                                      "\n[K] 5\n\"A\"=dword:2\n\"b\"=\"x\"\n");
    const os::registry_node& key = *read.root.find_subkey(L"K");
    ASSERT_EQ(key.values.size(), 2u);
    EXPECT_EQ(key.values[0].name, L"a");
    EXPECT_EQ(key.values[0].bytes, "\2\0\0\0"s);
    EXPECT_NE(key.find_subkey(L"s"), nullptr);
    EXPECT_EQ(os::unix_seconds_from_filetime(key.modified), 5u);
}

TEST(registry_file, malformed_files_name_the_file_and_the_line) {
    struct bad_case {
        std::string text;
        std::size_t line;
        const char* reason;
    };
    const bad_case cases[] = {
        {"", 1, "not a registry file"},
        {"WINE REGISTRY Version 1\n[K]\n", 1, "not a registry file"},
        {"REGEDIT4\n", 1, "not a registry file"},
        {header + "\"v\"=\"x\"\n", 5, "value outside a key"},
        {header + "[K]\nsomething\n", 6, "unrecognized line"},
        {header + "[K\n", 5, "missing closing ]"},
        {header + "[K] 12x\n", 5, "unexpected text after the key name"},
        {header + "[K]\n#time=zz\n", 6, "bad #time"},
        {header + "[K]\n\"v\"=\"a\\qb\"\n", 6, "broken escape"},
        {header + "[K]\n\"v\"=\"a\\xg\"\n", 6, "broken escape"},
        {header + "[K]\n\"v\"=\"ab\\", 6, "broken escape"},
        {header + "[K]\n\"v\"=\"abc\n", 6, "missing closing \""},
        {header + "[K]\n\"v\n", 6, "missing closing \""},
        {header + "[K]\n\"v\"\n", 6, "missing '='"},
        {header + "[K]\n\"v\"=\"a\" x\n", 6, "unexpected text after the string"},
        {header + "[K]\n\"v\"=dword:\n", 6, "bad dword"},
        {header + "[K]\n\"v\"=dword:123456789\n", 6, "bad dword"},
        {header + "[K]\n\"v\"=dword:12 x\n", 6, "unexpected text after the dword"},
        {header + "[K]\n\"v\"=hex:123\n", 6, "bad hex byte"},
        {header + "[K]\n\"v\"=hex:12;\n", 6, "bad hex data"},
        {header + "[K]\n\"v\"=hex(:00\n", 6, "bad value type"},
        {header + "[K]\n\"v\"=str(3):\"x\"\n", 6, "unknown kind of value data"},
        {header + "[K]\n\"v\"=hex:01,\\\n  02,\\\n", 7, "hex data cut off"},
        {header + "[K]\n\"v\"=hex:01,\\\n  zz\n", 7, "bad hex data"},
    };
    for (const bad_case& c : cases) {
        try {
            parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const os::registry_file_error& error) {
            EXPECT_EQ(error.code(), os::make_error_code(os::win32_error::baddb));
            EXPECT_EQ(error.line(), c.line) << c.text;
            const std::string prefix = "/machine/system.reg:" + std::to_string(c.line) + ": ";
            EXPECT_EQ(std::string(error.what()).substr(0, prefix.size()), prefix) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
}

TEST(registry_file, first_line_may_end_in_cr) {
    const os::registry_document read =
        parse("WINE REGISTRY Version 2\r\n;; c\r\n\r\n#arch=win64\r\n\r\n[K]\r\n@=\"x\"\r\n");
    EXPECT_EQ(read.preamble, (std::vector<std::string>{";; c", "", "#arch=win64"}));
    EXPECT_EQ(read.root.find_subkey(L"K")->find_value(L"")->bytes, utf16z(L"x"));
}

} // namespace
