#include "tools/qvpack/manifest.h"

#include "payload/entry_kind.h"
#include "platform/os/unicode.h"
#include "tools/qvpack/tool_error.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>

namespace qvpack {
namespace {

namespace os = platform::os;

bool is_blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool is_comment(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

std::vector<std::string_view> split_fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

std::optional<std::uint32_t> parse_kind(std::string_view text) {
    if (auto kind = qv::entry_kind_from_name(text))
        return static_cast<std::uint32_t>(*kind);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::wstring decode(std::string_view text, const std::string& where) {
    std::wstring decoded = os::from_utf8(text);
    if (os::to_utf8(decoded) != text)
        throw tool_error(where + "not valid UTF-8");
    return decoded;
}

manifest_entry parse_line(std::string_view line, const std::filesystem::path& folder,
                          const std::string& where) {
    const auto fields = split_fields(line);
    if (fields.size() != 3)
        throw tool_error(where + "expected SOURCE<TAB>DESTINATION<TAB>KIND, found " +
                         std::to_string(fields.size()) + " tab-separated field(s)");
    if (fields[0].empty())
        throw tool_error(where + "the source file is empty");
    const auto kind = parse_kind(fields[2]);
    if (!kind)
        throw tool_error(where + "unknown kind \"" + std::string(fields[2]) +
                         "\" (a kind name or a number below 2^32)");
    manifest_entry entry;
    entry.origin = where.substr(0, where.size() - 2);
    entry.source_path = decode(fields[0], where);
    entry.destination = decode(fields[1], where);
    entry.kind = *kind;
    entry.host_file = folder / std::filesystem::path(std::string(fields[0]));
    return entry;
}

} // namespace

const char* const manifest_syntax =
    "Manifest: UTF-8 text, one entry per line in payload order:\n"
    "    SOURCE<TAB>DESTINATION<TAB>KIND\n"
    "  SOURCE       the file to pack; relative paths start at the manifest's folder. Stored in\n"
    "               the archive as written; the installer uses only its file name.\n"
    "  DESTINATION  the folder it is installed to, e.g. <InstallPath>\\Lang. Stored as written.\n"
    "  KIND         program_file, main_program, uninstaller, shared_data, sample, temporary,\n"
    "               or a number (0-5 for those; larger ones are stored as given).\n"
    "  Fields are separated by single tabs and not trimmed. Lines starting with '#' (after\n"
    "  blanks) are comments; blank lines are skipped; CRLF line ends are accepted.\n";

std::vector<manifest_entry> read_manifest(const std::filesystem::path& manifest) {
    std::ifstream in(manifest, std::ios::binary);
    if (!in)
        throw tool_error("cannot open the manifest " + manifest.string());
    const auto folder = manifest.parent_path();
    std::vector<manifest_entry> entries;
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        std::string_view text = line;
        if (number == 1 && text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        if (is_blank(text) || is_comment(text))
            continue;
        const std::string where = manifest.string() + ":" + std::to_string(number) + ": ";
        entries.push_back(parse_line(text, folder, where));
    }
    if (in.bad())
        throw tool_error("cannot read the manifest " + manifest.string());
    return entries;
}

} // namespace qvpack
