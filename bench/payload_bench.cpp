// How fast the installer checks and unpacks a payload of the product's size, and how little
// memory the unpacking holds while it does.
//
// Run (Release build, about a minute):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release &&
//   cmake --build build-bench --target payload_bench && build-bench/bench/payload_bench
//
// Figures: bytes_per_second is decompressed payload per second; peak_rss_growth_MB is how far
// the resident memory rose above its level at the start of an extraction, at most, against the
// payload_MB decompressed bytes that went through. Most of that growth is bzip2's own state for
// 900 k blocks (about 3.5 MB in normal mode); the rest is the entry table and small buffers.

#include "bench/generated_payload.h"
#include "bench/resident_memory.h"
#include "payload/extract_payload.h"
#include "payload/verify_payload.h"
#include "platform/os/machine.h"
#include "support/memstream.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// The benchmark's files and machine live in a folder of their own, removed at the end.
class work_folder {
public:
    work_folder() {
        std::string pattern = (fs::temp_directory_path() / "qv-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~work_folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    work_folder(const work_folder&) = delete;
    work_folder& operator=(const work_folder&) = delete;

    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

constexpr double megabyte = 1e6;

void set_figures(benchmark::State& state, const qv_bench::generated_payload& payload) {
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * payload.decompressed_size));
    state.counters["payload_MB"] = static_cast<double>(payload.decompressed_size) / megabyte;
    state.counters["compressed_MB"] = static_cast<double>(payload.compressed.size()) / megabyte;
    state.counters["entries"] = payload.entry_count;
}

void verify(benchmark::State& state, const qv_bench::generated_payload& payload) {
    for (auto _ : state) {
        qv::imemstream stream(payload.compressed.data(), payload.compressed.size());
        if (!qv::verify_payload(stream))
            state.SkipWithError("the payload failed its check");
    }
    set_figures(state, payload);
}

void extract(benchmark::State& state, const qv_bench::generated_payload& payload) {
    const qv::target_folders folders{L"C:\\Program Files\\Quorvane\\Varnolis 2",
                                     L"Varnolis Examples", L""};
    const bool peak_resets = qv_bench::reset_peak_resident_memory();
    std::uint64_t growth = 0;
    for (auto _ : state) {
        qv_bench::reset_peak_resident_memory();
        const auto before = qv_bench::resident_memory();
        qv::imemstream stream(payload.compressed.data(), payload.compressed.size());
        const bool extracted = qv::extract_payload(stream, folders, [](const qv::notification&) {
            return qv::notification::result::proceed;
        });
        const auto peak = qv_bench::peak_resident_memory();
        growth = std::max(growth, peak > before ? peak - before : 0);
        if (!extracted)
            state.SkipWithError("the extraction failed");
    }
    set_figures(state, payload);
    if (peak_resets)
        state.counters["peak_rss_growth_MB"] = static_cast<double>(growth) / megabyte;
}

} // namespace

int main(int argc, char** argv) {
    // A fixed threshold keeps large blocks (the decompressor's state) in mappings of their own
    // that are returned when freed, instead of heap the allocator keeps resident between runs:
    // each extraction's peak then shows what that extraction itself holds.
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    benchmark::Initialize(&argc, argv);
    work_folder work;
    ::setenv("QV_MACHINE", (work.path() / "machine").c_str(), 1);
    platform::os::machine_root();
    const auto payload = qv_bench::generate_payload(work.path() / "source");

    benchmark::RegisterBenchmark("verify_payload", verify, payload)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(3);
    benchmark::RegisterBenchmark("extract_payload", extract, payload)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(5);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
