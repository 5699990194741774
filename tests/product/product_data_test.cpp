#include "app/file_version_info.h"
#include "app/product_identity.h"
#include "platform/os/machine.h"
#include "platform/os/resources.h"
#include "platform/os/unicode.h"

#include "tests/support/host_command.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/temp_machine.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

const std::string tool = QV_PRODUCT_DATA_TOOL;
const std::string main_program = QV_VARNOLIS_PROGRAM;

struct manifest_line {
    std::string source;
    std::string destination;
    std::string kind;
};

std::vector<manifest_line> read_manifest(const fs::path& file) {
    std::vector<manifest_line> lines;
    std::istringstream text(qv_test::read_host_file(file));
    for (std::string line; std::getline(text, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        const auto first = line.find('\t');
        const auto second = line.find('\t', first + 1);
        EXPECT_NE(second, std::string::npos) << line;
        lines.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                         line.substr(second + 1)});
    }
    return lines;
}

// A folder of the test's own, removed afterwards.
struct output_folder : qv_test::scratch_folder {
    output_folder() : scratch_folder("qv-product-data-") {}
};

int generate(const fs::path& folder, std::vector<std::string> extra = {}) {
    std::vector<std::string> command{tool, (folder / "files").string(),
                                     (folder / "payload.manifest").string(), main_program};
    command.insert(command.end(), extra.begin(), extra.end());
    return qv_test::run_host_command(command);
}

constexpr char common_data[] = "<CommonData>\\Quorvane\\Varnolis 2";
constexpr char samples[] = "<SamplePath>";
constexpr char languages[] = "<InstallPath>\\Lang";

// The payload's order: documents and stock data by name without case ("GDT" between "Garden"
// and "Gear"), then the language libraries, the main program last.
const std::vector<manifest_line> expected_entries = {
    {"Arch Bridge.vnl", samples, "4"},      {"Clock Tower.vnl", samples, "4"},
    {"Colours.vdat", common_data, "3"},     {"Fonts.vdat", common_data, "3"},
    {"Garden Plan.vnl", samples, "4"},      {"GDT Symbols.vdat", common_data, "3"},
    {"Gear Train.vnl", samples, "4"},       {"Harbour Crane.vnl", samples, "4"},
    {"Hatches.vdat", common_data, "3"},     {"Kitchen Layout.vnl", samples, "4"},
    {"Layers.vdat", common_data, "3"},      {"Lighthouse.vnl", samples, "4"},
    {"Materials.vdat", common_data, "3"},   {"Office Floor.vnl", samples, "4"},
    {"Palettes.vdat", common_data, "3"},    {"Pump Station.vnl", samples, "4"},
    {"Roof Truss.vnl", samples, "4"},       {"Spiral Stair.vnl", samples, "4"},
    {"Styles.vdat", common_data, "3"},      {"Templates.vdat", common_data, "3"},
    {"Textures.vdat", common_data, "3"},    {"Units.vdat", common_data, "3"},
    {"Water Mill.vnl", samples, "4"},       {"Varnolis.de.dll", languages, "0"},
    {"Varnolis.en.dll", languages, "0"},    {"Varnolis.es.dll", languages, "0"},
    {"Varnolis.hu.dll", languages, "0"},    {"Varnolis.it.dll", languages, "0"},
    {"Varnolis.pl.dll", languages, "0"},    {"Varnolis.pt.dll", languages, "0"},
    {"Varnolis.ro.dll", languages, "0"},    {"Varnolis.tk.dll", languages, "0"},
    {"Varnolis.exe", "<InstallPath>", "1"},
};

void expect_entries(const std::vector<manifest_line>& entries,
                    const std::vector<manifest_line>& expected) {
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(fs::path(entries[i].source).filename().string(), expected[i].source);
        EXPECT_EQ(entries[i].destination, expected[i].destination);
        EXPECT_EQ(entries[i].kind, expected[i].kind);
        EXPECT_TRUE(fs::path(entries[i].source).is_absolute());
        EXPECT_TRUE(fs::is_regular_file(entries[i].source));
    }
}

TEST(product_data, manifest_lists_the_payload_in_its_order) {
    output_folder folder;
    ASSERT_EQ(generate(folder.path()), 0);
    const auto entries = read_manifest(folder.path() / "payload.manifest");
    expect_entries(entries, expected_entries);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().source, main_program);
}

TEST(product_data, an_uninstaller_takes_its_place_after_the_documents) {
    output_folder folder;
    const std::string uninstaller = (folder.path() / "Uninstall.exe").string();
    qv_test::write_host_file(uninstaller, "stand-in");
    ASSERT_EQ(generate(folder.path(), {uninstaller}), 0);
    auto expected = expected_entries;
    expected.insert(expected.begin() + 23, {"Uninstall.exe", "<InstallPath>", "2"});
    expect_entries(read_manifest(folder.path() / "payload.manifest"), expected);
}

// The build's payload carries the uninstaller it builds, so the installer writes 34 files.
TEST(product_data, the_build_packs_its_own_uninstaller) {
    const auto entries = read_manifest(QV_PAYLOAD_MANIFEST);
    auto expected = expected_entries;
    expected.insert(expected.begin() + 23, {"Uninstall.exe", "<InstallPath>", "2"});
    expect_entries(entries, expected);
    EXPECT_EQ(entries[23].source, fs::path(QV_UNINSTALLER_PROGRAM).string());
    EXPECT_EQ(entries.back().source, main_program);
}

TEST(product_data, every_run_writes_the_same_bytes) {
    output_folder first;
    output_folder second;
    ASSERT_EQ(generate(first.path()), 0);
    ASSERT_EQ(generate(second.path()), 0);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(first.path() / "files")) {
        SCOPED_TRACE(entry.path().filename().string());
        const fs::path twin = second.path() / "files" / entry.path().filename();
        EXPECT_EQ(qv_test::read_host_file(entry.path()), qv_test::read_host_file(twin));
        ++files;
    }
    EXPECT_EQ(files, expected_entries.size() - 1);
}

// The payload carries about 3.3 MB besides its programs, of which each interface library
// takes between 100 and 250 KB.
TEST(product_data, files_have_the_payloads_sizes) {
    output_folder folder;
    ASSERT_EQ(generate(folder.path()), 0);
    std::uintmax_t total = 0;
    for (const auto& entry : fs::directory_iterator(folder.path() / "files")) {
        const std::uintmax_t size = entry.file_size();
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_GT(size, 0u);
        if (entry.path().extension() == ".dll") {
            EXPECT_GE(size, 100u * 1024);
            EXPECT_LE(size, 250u * 1024);
        }
        total += size;
    }
    EXPECT_GE(total, 3'000'000u);
    EXPECT_LE(total, 3'600'000u);
}

struct library_language {
    const char* code;
    std::uint16_t lang_id;
    const wchar_t* native_name;
    const wchar_t* english_name;
};

// Each library is a Windows resource library: the machine's resource reader finds its strings in
// its language and its version resource.
TEST(product_data, language_libraries_carry_their_languages_strings) {
    const library_language libraries[] = {
        {"de", 0x0407, L"Deutsch", L"German"},
        {"en", 0x0409, L"English", L"English"},
        {"es", 0x0C0A, L"Espa\u00f1ol", L"Spanish"},
        {"hu", 0x040E, L"Magyar", L"Hungarian"},
        {"it", 0x0410, L"Italiano", L"Italian"},
        {"pl", 0x0415, L"Polski", L"Polish"},
        {"pt", 0x0816, L"Portugu\u00eas", L"Portuguese"},
        {"ro", 0x0418, L"Rom\u00e2n\u0103", L"Romanian"},
        {"tk", 0x0442, L"T\u00fcrkmen\u00e7e", L"Turkmen"},
    };
    qv_test::temp_machine machine;
    os::machine_root();
    ASSERT_EQ(generate(machine.drive_c("build")), 0);

    for (const library_language& library : libraries) {
        SCOPED_TRACE(library.code);
        const std::wstring path =
            L"C:\\build\\files\\Varnolis." + os::from_utf8(library.code) + L".dll";
        const auto module = os::load_module_file(path);
        ASSERT_TRUE(module) << module.error().message();
        EXPECT_EQ(os::load_string(**module, 1, library.lang_id), library.native_name);
        EXPECT_EQ(os::load_string(**module, 2, library.lang_id), library.english_name);
        EXPECT_EQ(os::load_string(**module, 3, library.lang_id), os::from_utf8(library.code));
        EXPECT_FALSE(os::load_string(**module, 16, library.lang_id).empty());

        const qv::file_version_info version(path);
        EXPECT_EQ(version.file_version(), qv::product_version);
        wchar_t translation[9];
        std::swprintf(translation, 9, L"%04x04b0", library.lang_id);
        EXPECT_EQ(version.translations(), std::vector<std::wstring>{translation});
        EXPECT_EQ(version.product_name(), L"Varnolis");
    }
}

} // namespace
