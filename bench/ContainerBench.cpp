// Enciphering a 100 MB file in place, against `cp` of the same file in the
// same run. The container is written to a temporary file and flushed to
// disk before it replaces the input, which cp does not do; so the run also
// times `cp` followed by `sync FILE`, the fair peer for a durable write.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "PeerRun.h"
#include "files/Cryptogram.h"

namespace {

using kivo::bench::run;
using kivo::bench::secondsOf;

namespace fs = std::filesystem;

constexpr std::string_view kKey = "tonic_Kivo_RW7QX214fy";
constexpr std::size_t kFileSize = 100'000'000;

double peakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool writeRandomFile(const fs::path& path, std::size_t size) {
    kivo::File file = kivo::File::createExclusive(path);
    std::mt19937_64 random(42);
    std::vector<std::uint8_t> piece(64 << 10);  // small, to keep the memory baseline low
    for (std::size_t done = 0; done < size; done += piece.size()) {
        for (std::size_t i = 0; i < piece.size(); i += 8) {
            const std::uint64_t word = random();
            std::copy_n(reinterpret_cast<const std::uint8_t*>(&word), 8, piece.begin() + i);
        }
        const std::size_t count = std::min(piece.size(), size - done);
        if (!file.write(std::span(piece).first(count))) return false;
    }
    return file.close();
}

void BM_EncryptVersusCp(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "kivo-container-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path input = dir / "list.Kivo";
    const fs::path copy = dir / "copy.bin";
    if (!writeRandomFile(input, kFileSize)) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    const double baselineMiB = peakMemoryMiB();

    double ours = 0;
    double cp = 0;
    double cpSync = 0;
    for (auto _ : state) {
        // Each pass enciphers the file once more; it grows by 44 bytes.
        const double seconds = secondsOf([&] {
            if (!kivo::EncryptFileInPlace(input, kKey)) state.SkipWithError("encryption failed");
        });
        state.SetIterationTime(seconds);
        ours += seconds;

        cp += secondsOf([&] { run({"cp", "--", input.string(), copy.string()}); });
        fs::remove(copy);
        cpSync += secondsOf([&] {
            run({"cp", "--", input.string(), copy.string()});
            run({"sync", "--", copy.string()});
        });
        fs::remove(copy);
    }

    const auto n = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
    state.counters["ours_ms"] = 1000 * ours / n;
    state.counters["cp_ms"] = 1000 * cp / n;
    state.counters["cp_sync_ms"] = 1000 * cpSync / n;
    state.counters["ratio_vs_cp"] = ours / cp;
    state.counters["ratio_vs_cp_sync"] = ours / cpSync;
    // Constant memory: the growth is the one copy buffer, whatever the file's size.
    state.counters["peak_MiB"] = peakMemoryMiB();
    state.counters["peak_growth_MiB"] = peakMemoryMiB() - baselineMiB;
    fs::remove_all(dir);
}

BENCHMARK(BM_EncryptVersusCp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
