#include "bench/generated_payload.h"

#include "payload/decompression.h"
#include "platform/os/unicode.h"
#include "support/memstream.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace qv_bench {
namespace {

namespace fs = std::filesystem;

struct planned_file {
    std::string name;
    std::string destination;
    std::string kind;
    std::size_t size = 0;
    // The share of 4 KiB blocks filled with random bytes; the others are text-like.
    double random_share = 0;
};

std::vector<planned_file> product_files() {
    const char* samples[] = {
        "Sample 01 - Bridge.vnl",  "Sample 02 - Harbour.vnl", "Sample 03 - Tower.vnl",
        "Sample 04 - Viaduct.vnl", "Sample 05 - Station.vnl", "Sample 06 - Dam.vnl",
        "Sample 07 - Lock.vnl",    "Sample 08 - Pier.vnl",    "Sample 09 - Quay.vnl",
        "Sample 10 - Tunnel.vnl",  "Sample 11 - Mill.vnl",    "Sample 12 - Weir.vnl"};
    const char* stock[] = {"Anchors.vdat", "Beams.vdat",     "Cables.vdat",   "Concrete.vdat",
                           "Loads.vdat",   "Materials.vdat", "Palettes.vdat", "Profiles.vdat",
                           "Steel.vdat",   "Timber.vdat",    "Units.vdat"};
    const char* languages[] = {"de", "en", "es", "hu", "it", "pl", "pt", "ro", "tk"};

    std::vector<planned_file> files;
    std::size_t step = 0;
    for (const char* name : samples)
        files.push_back({name, "<SamplePath>", "sample", 70000 + 4100 * step++, 0.35});
    step = 0;
    for (const char* name : stock)
        files.push_back({name, "<CommonData>\\Quorvane\\Varnolis 2", "shared_data",
                         40000 + 3900 * step++, 0.15});
    // Samples and stock data come interleaved by name.
    std::sort(files.begin(), files.end(),
              [](const planned_file& a, const planned_file& b) { return a.name < b.name; });
    files.push_back({"Uninstall.exe", "<InstallPath>", "uninstaller", 183000, 0.4});
    step = 0;
    for (const char* language : languages)
        files.push_back({std::string("Varnolis.") + language + ".dll", "<InstallPath>\\Lang",
                         "program_file", 142000 + 2500 * step++, 0.3});
    files.push_back({"Varnolis.exe", "<InstallPath>", "main_program", 5492576, 0.33});
    return files;
}

// Words of a small vocabulary, as string tables and documents are: bzip2 packs them well.
void fill_text(std::span<char> block, std::mt19937& random) {
    static constexpr std::array<std::string_view, 16> words = {
        "beam ", "load ",  "span ",   "node ",  "force ", "steel ", "girder ", "pier ",
        "deck ", "cable ", "anchor ", "truss ", "joint ", "plate ", "weld ",   "bolt\n"};
    std::size_t filled = 0;
    while (filled < block.size()) {
        const auto word = words[random() % words.size()];
        const auto count = std::min(word.size(), block.size() - filled);
        std::copy_n(word.data(), count, block.data() + filled);
        filled += count;
    }
}

void write_file(const fs::path& path, const planned_file& plan, std::mt19937& random) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::array<char, 4096> block;
    std::bernoulli_distribution random_block(plan.random_share);
    for (std::size_t written = 0; written < plan.size;) {
        const auto count = std::min(block.size(), plan.size - written);
        std::span<char> part(block.data(), count);
        if (random_block(random))
            std::generate(part.begin(), part.end(), [&] { return static_cast<char>(random()); });
        else
            fill_text(part, random);
        out.write(part.data(), static_cast<std::streamsize>(count));
        written += count;
    }
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void run_qvpack(const fs::path& manifest, const fs::path& archive) {
    std::string program = QVPACK_PATH;
    std::string command = "pack";
    std::string manifest_text = manifest.string();
    std::string archive_text = archive.string();
    char* argv[] = {program.data(), command.data(), manifest_text.data(), archive_text.data(),
                    nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0)
        throw std::runtime_error("cannot start qvpack");
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("qvpack failed to pack the payload");
}

} // namespace

generated_payload generate_payload(const fs::path& work_folder) {
    const auto files = work_folder / "files";
    fs::create_directories(files);
    std::mt19937 random(20240601);
    std::ofstream manifest(work_folder / "payload.manifest", std::ios::trunc);
    manifest << "# Generated for the payload benchmark.\n";
    const auto plan = product_files();
    for (const auto& file : plan) {
        write_file(files / file.name, file, random);
        manifest << "files/" << file.name << '\t' << file.destination << '\t' << file.kind << '\n';
    }
    manifest.close();

    const auto archive = work_folder / "payload.bz2";
    run_qvpack(work_folder / "payload.manifest", archive);
    std::ifstream in(archive, std::ios::binary);
    generated_payload payload;
    payload.compressed.assign(std::istreambuf_iterator<char>(in), {});
    payload.entry_count = static_cast<std::uint32_t>(plan.size());
    qv::imemstream stream(payload.compressed.data(), payload.compressed.size());
    qv::decompress_payload(stream, [&](std::span<const char> bytes) {
        payload.decompressed_size += bytes.size();
        return bytes.size();
    });
    return payload;
}

} // namespace qv_bench
