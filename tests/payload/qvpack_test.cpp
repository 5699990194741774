// The packer as the build runs it: the real qvpack executable on real files.

#include "payload/extract_payload.h"
#include "platform/os/machine.h"
#include "support/memstream.h"

#include "tests/payload/payload_archive.h"
#include "tests/support/temp_machine.h"

#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/device/array.hpp>
#include <boost/iostreams/device/back_inserter.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using payload_test::test_entry;
using qv_test::read_host_file;
using qv_test::write_host_file;

struct run_result {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// The packer works on host files beside the machine the packed payload is extracted onto.
class qvpack_run : public testing::Test {
protected:
    qvpack_run() { platform::os::machine_root(); }

    fs::path file(const std::string& name) const { return machine.root() / name; }

    run_result qvpack(const std::vector<std::string>& arguments) const {
        std::vector<std::string> all = {QVPACK_PATH};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& argument : all)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const auto out = file("qvpack.out");
        const auto err = file("qvpack.err");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        pid_t pid = 0;
        const int started = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        run_result result;
        if (started != 0)
            return result;
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = read_host_file(out);
        result.err = read_host_file(err);
        return result;
    }

    static std::string decompress(const std::string& compressed) {
        std::string bytes;
        boost::iostreams::filtering_istream in;
        in.push(boost::iostreams::bzip2_decompressor());
        in.push(boost::iostreams::array_source(compressed.data(), compressed.size()));
        boost::iostreams::copy(in, boost::iostreams::back_inserter(bytes));
        return bytes;
    }

    qv_test::temp_machine machine;
};

TEST_F(qvpack_run, packs_a_manifest_into_the_archive_layout_and_reads_it_back) {
    const std::string large = payload_test::varied_bytes(10000, 7) + std::string(9000, 'a');
    fs::create_directories(file("src/Lang"));
    write_host_file(file("src/Varnolis.exe"), large);
    write_host_file(file("src/Lang/Varnolis.de.dll"), "");
    write_host_file(file("src/Stra\xC3\x9F"
                         "e #1.vdat"),
                    "data");
    write_host_file(file("manifest.txt"),
                    "# the product\n"
                    "\n"
                    "   # indented comment\n"
                    "Lang/Varnolis.de.dll\t<InstallPath>\\Lang\tprogram_file\r\n"
                    "Stra\xC3\x9F"
                    "e #1.vdat\t<CommonData>\\Quorvane\\Varnolis 2\t3\n" +
                        file("src/Varnolis.exe").string() + "\t<InstallPath>\tmain_program\n");
    fs::rename(file("manifest.txt"), file("src/manifest.txt"));

    const auto packed = qvpack({"pack", file("src/manifest.txt"), file("payload.bz2")});
    ASSERT_EQ(packed.exit_code, 0) << packed.err;

    const std::string compressed = read_host_file(file("payload.bz2"));
    EXPECT_EQ(compressed.substr(0, 4), "BZh9");
    const std::vector<test_entry> expected = {
        {L"Lang/Varnolis.de.dll", L"<InstallPath>\\Lang", "", 0},
        {L"Stra\u00DFe #1.vdat", L"<CommonData>\\Quorvane\\Varnolis 2", "data", 3},
        {platform::os::from_utf8(file("src/Varnolis.exe").string()), L"<InstallPath>", large, 1},
    };
    EXPECT_EQ(decompress(compressed), payload_test::archive_bytes(expected));

    const auto listed = qvpack({"list", file("payload.bz2")});
    EXPECT_EQ(listed.exit_code, 0) << listed.err;
    EXPECT_NE(listed.out.find("entries      3\n"), std::string::npos) << listed.out;
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", payload_test::bitwise_crc32(large));
    EXPECT_NE(listed.out.find(std::string("1 main_program         19000  ") + crc),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("Stra\xC3\x9F"
                              "e #1.vdat\n"),
              std::string::npos)
        << listed.out;

    const auto verified = qvpack({"verify", file("payload.bz2")});
    EXPECT_EQ(verified.exit_code, 0) << verified.err;
    EXPECT_TRUE(verified.err.empty());

    qv::imemstream payload(compressed.data(), compressed.size());
    std::vector<std::wstring> failures;
    EXPECT_TRUE(
        qv::extract_payload(payload, {L"C:\\Apps", L"", L""}, [&](const qv::notification& message) {
            if (auto* failed = std::get_if<qv::notification::failed>(&message))
                failures.push_back(failed->path);
            return qv::notification::result::proceed;
        }));
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(read_host_file(machine.drive_c("Apps/Lang/Varnolis.de.dll")), "");
    EXPECT_EQ(read_host_file(machine.drive_c("ProgramData/Quorvane/Varnolis 2/Stra\xC3\x9F"
                                             "e #1.vdat")),
              "data");
    EXPECT_EQ(read_host_file(machine.drive_c("Apps/Varnolis.exe")), large);
}

TEST_F(qvpack_run, refuses_a_bad_manifest_naming_the_line) {
    write_host_file(file("present.bin"), "x");
    const struct {
        std::string manifest;
        std::string message;
    } cases[] = {
        {"present.bin\t<InstallPath>\t0\npresent.bin\t<InstallPath>\tprogram\n",
         "manifest.txt:2: unknown kind \"program\""},
        {"# c\npresent.bin\t<InstallPath>\t4294967296\n", "manifest.txt:2: unknown kind"},
        {"\npresent.bin <InstallPath> 0\n", "manifest.txt:2: expected SOURCE<TAB>"},
        {"present.bin\t<InstallPath>\t0\textra\n", "manifest.txt:1: expected SOURCE<TAB>"},
        {"\t<InstallPath>\t0\n", "manifest.txt:1: the source file is empty"},
        {"present.bin\t<Install\xFF>\t0\n", "manifest.txt:1: not valid UTF-8"},
        {"present.bin\t<InstallPath>\t0\nmissing.bin\t<InstallPath>\t0\n",
         "manifest.txt:2: " + file("missing.bin").string() + ": cannot open"},
    };
    for (const auto& fault : cases) {
        write_host_file(file("manifest.txt"), fault.manifest);
        const auto run = qvpack({"pack", file("manifest.txt"), file("out.bz2")});
        EXPECT_EQ(run.exit_code, 1) << fault.message;
        EXPECT_NE(run.err.find(fault.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(file("out.bz2")));
        EXPECT_FALSE(fs::exists(file("out.bz2.partial")));
    }
    const auto missing = qvpack({"pack", file("no-manifest.txt"), file("out.bz2")});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(missing.err.find("cannot open the manifest"), std::string::npos) << missing.err;
    EXPECT_EQ(qvpack({"pack", file("manifest.txt")}).exit_code, 2);
}

TEST_F(qvpack_run, verify_says_what_is_wrong_with_a_damaged_archive) {
    const std::vector<test_entry> sound = {{L"a.txt", L"<InstallPath>", "alpha"},
                                           {L"b.txt", L"<InstallPath>", "bravo"}};
    std::vector<test_entry> bad_crc = sound;
    bad_crc[1].crc = 0x0BADC0DE;
    const std::string archive = payload_test::archive_bytes(sound);
    std::string bad_offset = archive;
    bad_offset[0] = 11;
    const std::string compressed = payload_test::bzip2(archive);

    const struct {
        const char* name;
        std::string compressed;
        std::string message;
    } cases[] = {
        {"crc", payload_test::bzip2(payload_test::archive_bytes(bad_crc)),
         "entry 2 (b.txt): the content's CRC-32 is"},
        {"extra byte", payload_test::bzip2(archive + "!"), "1 bytes follow the last entry"},
        {"missing byte", payload_test::bzip2(archive.substr(0, archive.size() - 1)),
         "ends 1 bytes early, in entry 2 (b.txt)"},
        {"cut table", payload_test::bzip2(archive.substr(0, 20)),
         "ends inside its header and table"},
        {"data_offset", payload_test::bzip2(bad_offset), "data_offset is out of range"},
        {"cut stream", compressed.substr(0, compressed.size() - 10), "cut short"},
        {"garbage after", compressed + "garbage", "not bzip2 data"},
    };
    for (const auto& fault : cases) {
        write_host_file(file("bad.bz2"), fault.compressed);
        const auto run = qvpack({"verify", file("bad.bz2")});
        EXPECT_EQ(run.exit_code, 1) << fault.name;
        EXPECT_NE(run.err.find(fault.message), std::string::npos) << fault.name << ": " << run.err;
    }
    write_host_file(file("good.bz2"), compressed);
    EXPECT_EQ(qvpack({"verify", file("good.bz2")}).exit_code, 0);
    EXPECT_EQ(qvpack({"verify", file("absent.bz2")}).exit_code, 1);
}

} // namespace
