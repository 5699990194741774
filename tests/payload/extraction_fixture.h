#pragma once
// Shared by the extraction tests: a machine of their own, the folders of an installation, and
// every notification of a run recorded as one line of text, so that whole sequences compare at a
// glance.

#include "payload/extract_payload.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"
#include "support/memstream.h"

#include "tests/payload/payload_archive.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace extraction_test {

namespace os = platform::os;
using answer = qv::notification::result;
using payload_test::test_entry;

template <class... Handlers> struct overloaded : Handlers... { using Handlers::operator()...; };

inline std::string utf8(const std::wstring& text) {
    return os::to_utf8(text);
}

inline std::string describe(const qv::notification& message) {
    return std::visit(
        overloaded{
            [](const qv::notification::started&) { return std::string("started"); },
            [](const qv::notification::finished& m) {
                return "finished " + std::to_string(m.total);
            },
            [](const qv::notification::file_begin& m) {
                return "begin " + utf8(m.entry->target_path);
            },
            [](const qv::notification::file_end& m) { return "end " + utf8(m.entry->target_path); },
            [](const qv::notification::progress& m) {
                return "progress " + std::to_string(m.position) + "/" + std::to_string(m.total);
            },
            [](const qv::notification::failed& m) {
                return std::string("failed ") + m.code.category().name() + ":" +
                       std::to_string(m.code.value()) + " " + utf8(m.path);
            },
        },
        message);
}

class extraction_fixture : public testing::Test {
protected:
    extraction_fixture() { os::machine_root(); }

    // Extracts a compressed payload, recording every notification; answer decides the replies.
    bool extract(const std::string& compressed) {
        qv::imemstream payload(compressed.data(), compressed.size());
        return qv::extract_payload(payload, folders, [this](qv::notification message) {
            log.push_back(describe(message));
            if (const auto* done = std::get_if<qv::notification::finished>(&message))
                compressed_bytes = done->compressed_bytes;
            return reply ? reply(message) : answer::proceed;
        });
    }

    bool extract_entries(const std::vector<test_entry>& entries) {
        return extract(payload_test::bzip2(payload_test::archive_bytes(entries)));
    }

    std::filesystem::path host(const std::wstring& windows_path) const {
        return *os::host_path(windows_path);
    }
    std::string content_of(const std::wstring& windows_path) const {
        return qv_test::read_host_file(host(windows_path));
    }

    // The recorded lines that start with prefix.
    std::vector<std::string> lines_starting(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& line : log) {
            if (line.starts_with(prefix))
                found.push_back(line);
        }
        return found;
    }

    qv_test::temp_machine machine;
    const std::wstring install = L"C:\\Apps\\Varnolis 2";
    qv::target_folders folders{install, L"Varnolis Examples", L""};
    std::function<answer(const qv::notification&)> reply;
    std::vector<std::string> log;
    std::uint64_t compressed_bytes = 0;
};

} // namespace extraction_test
