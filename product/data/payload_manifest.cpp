#include "product/data/payload_manifest.h"

#include "platform/os/unicode.h"

#include <algorithm>

namespace product_data {
namespace os = platform::os;
namespace {

const std::wstring install_folder = L"<InstallPath>";
const std::wstring language_folder = L"<InstallPath>\\Lang";
const std::wstring stock_data_folder = L"<CommonData>\\Quorvane\\Varnolis 2";
const std::wstring sample_folder = L"<SamplePath>";

std::wstring name_key(const manifest_entry& entry) {
    return os::to_upper(entry.source.filename().wstring());
}

} // namespace

std::vector<manifest_entry> payload_entries(const payload_sources& sources) {
    std::vector<manifest_entry> documents;
    for (const auto& sample : sources.samples)
        documents.push_back({sample, sample_folder, qv::entry_kind::sample});
    for (const auto& stock : sources.stock_data)
        documents.push_back({stock, stock_data_folder, qv::entry_kind::shared_data});
    std::stable_sort(
        documents.begin(), documents.end(),
        [](const manifest_entry& a, const manifest_entry& b) { return name_key(a) < name_key(b); });

    std::vector<manifest_entry> entries = std::move(documents);
    if (sources.uninstaller)
        entries.push_back({*sources.uninstaller, install_folder, qv::entry_kind::uninstaller});
    for (const auto& library : sources.language_libraries)
        entries.push_back({library, language_folder, qv::entry_kind::program_file});
    // The main program comes last: once it is written, everything it needs is in place.
    entries.push_back({sources.main_program, install_folder, qv::entry_kind::main_program});
    return entries;
}

std::string manifest_text(const std::vector<manifest_entry>& entries) {
    std::string text = "# The installer's payload, in payload order.\n"
                       "# source file<TAB>destination<TAB>kind\n";
    for (const manifest_entry& entry : entries) {
        text += entry.source.string() + '\t' + os::to_utf8(entry.destination) + '\t' +
                std::to_string(static_cast<std::uint32_t>(entry.kind)) + '\n';
    }
    return text;
}

} // namespace product_data
