#include "platform/os/registry_file.h"
#include "platform/os/registry_text.h"
#include "platform/os/unicode.h"

#include <cstdio>

namespace platform::os {
namespace {

constexpr std::uint32_t reg_sz = 1;
constexpr std::uint32_t reg_expand_sz = 2;
constexpr std::uint32_t reg_binary = 3;
constexpr std::uint32_t reg_dword = 4;
constexpr std::uint32_t reg_multi_sz = 7;
// Hex data wraps once a line passes this column, as Wine's own files do.
constexpr std::size_t hex_wrap_column = 76;

// The string forms carry whole UTF-16 units ending in a NUL, which readers add back themselves.
bool fits_string_form(const registry_value& value) {
    const std::string& bytes = value.bytes;
    return (value.type == reg_sz || value.type == reg_expand_sz || value.type == reg_multi_sz) &&
           bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[bytes.size() - 1] == '\0' &&
           bytes[bytes.size() - 2] == '\0';
}

void append_value(std::string& out, const registry_value& value) {
    const std::size_t line_start = out.size();
    if (value.name.empty()) {
        out += "@=";
    } else {
        out += '"';
        append_escaped(out, to_utf16le(value.name), escaped_text::quoted);
        out += "\"=";
    }
    char text[32];
    if (fits_string_form(value)) {
        if (value.type != reg_sz) {
            std::snprintf(text, sizeof text, "str(%x):", static_cast<unsigned>(value.type));
            out += text;
        }
        out += '"';
        const std::string_view bytes = value.bytes;
        append_escaped(out, bytes.substr(0, bytes.size() - 2), escaped_text::quoted);
        out += "\"\n";
        return;
    }
    if (value.type == reg_dword && value.bytes.size() == 4) {
        std::uint32_t dword = 0;
        for (int i = 3; i >= 0; --i)
            dword = (dword << 8) | static_cast<unsigned char>(value.bytes[i]);
        std::snprintf(text, sizeof text, "dword:%08x\n", static_cast<unsigned>(dword));
        out += text;
        return;
    }
    if (value.type == reg_binary) {
        out += "hex:";
    } else {
        std::snprintf(text, sizeof text, "hex(%x):", static_cast<unsigned>(value.type));
        out += text;
    }
    std::size_t column = out.size() - line_start;
    for (std::size_t i = 0; i < value.bytes.size(); ++i) {
        std::snprintf(text, sizeof text, "%02x", static_cast<unsigned char>(value.bytes[i]));
        out += text;
        column += 2;
        if (i + 1 == value.bytes.size())
            break;
        out += ',';
        if (++column > hex_wrap_column) {
            out += "\\\n  ";
            column = 2;
        }
    }
    out += '\n';
}

// A key gets a block of its own when it holds something; a key that only holds subkeys is
// implied by theirs. The root's block is written only for values or options of its own.
bool needs_block(const registry_node& node, bool is_root) {
    return !node.values.empty() || !node.options.empty() || (!is_root && node.subkeys.empty());
}

void append_key(std::string& out, const registry_node& node, const std::string& path,
                bool is_root) {
    if (needs_block(node, is_root)) {
        char time[64];
        std::snprintf(time, sizeof time, "] %llu\n#time=%x%08x\n",
                      static_cast<unsigned long long>(unix_seconds_from_filetime(node.modified)),
                      static_cast<unsigned>(node.modified >> 32),
                      static_cast<unsigned>(node.modified & 0xFFFFFFFF));
        out += "\n[";
        out += path;
        out += time;
        for (const std::string& option : node.options) {
            out += option;
            out += '\n';
        }
        for (const registry_value& value : node.values)
            append_value(out, value);
    }
    for (const auto& [name, child] : node.subkeys) {
        std::string child_path = path;
        if (!is_root)
            child_path += "\\\\";
        append_escaped(child_path, to_utf16le(name), escaped_text::key_path);
        append_key(out, *child, child_path, false);
    }
}

} // namespace

std::string format_registry_file(const std::vector<std::string>& preamble,
                                 const registry_node& root) {
    std::string out = "WINE REGISTRY Version 2\n";
    for (const std::string& line : preamble) {
        out += line;
        out += '\n';
    }
    append_key(out, root, std::string(), true);
    return out;
}

} // namespace platform::os
