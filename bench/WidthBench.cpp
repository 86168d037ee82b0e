// Full-width and half-width conversion of a 1,000,000-line Japanese list,
// as one text (the selection-mode piece) and line by line (list mode), in
// UTF-16 as the control hands it over and in UTF-8. In the same run `nkf`
// converts the same list, written in code page 932, as the peer:
//   half-width: nkf --ic=CP932 --oc=CP932 -x -Z1 -Z4
//     (-Z1 full-width ASCII and the ideographic space to ASCII, -Z4
//     full-width katakana to half-width, -x keeps half-width katakana)
//   full-width: nkf --ic=CP932 --oc=CP932 -X
//     (half-width katakana to full-width only; nkf has no ASCII to
//     full-width, so this direction does less work than ours)
// nkf's time includes starting the process, reading and writing the files
// and the code page 932 decoding; ours is the in-memory conversion the
// command performs. The nkf benchmarks report both and their ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "PeerRun.h"
#include "core/CodePage932.h"
#include "core/Utf8.h"
#include "wordlist/WidthMapping.h"

namespace {

using kivo::bench::run;
using kivo::bench::secondsOf;

namespace fs = std::filesystem;

constexpr std::size_t kLineCount = 1'000'000;

// ---- The list ----

// Pools of characters a Japanese word list holds; all in code page 932, so
// nkf sees the same text.
constexpr std::u16string_view kKanji =
    u"日本語単語辞書東京大阪京都山川田中花鳥風月春夏秋冬食事電車会社学校";
constexpr std::u16string_view kHiragana =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん";
constexpr std::u16string_view kKatakana =
    u"アイウエオカキクケコガギグゲゴサシスセソタチツテトダデドナニヌネノハヒフヘホバパビピマミムメ"
    u"モヤユヨラリルレロワンーヴ";
constexpr std::u16string_view kHalfKatakana = u"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝｰ";
constexpr std::u16string_view kAscii =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_ ";

char16_t pick(std::mt19937& random, std::u16string_view pool) {
    return pool[random() % pool.size()];
}

// About 8 characters a line: a run of one script, sometimes a second.
std::u16string makeLine(std::mt19937& random) {
    std::u16string line;
    const std::size_t length = 5 + random() % 7;
    while (line.size() < length) {
        const std::size_t run = 1 + random() % 4;
        const unsigned script = random() % 10;
        for (std::size_t k = 0; k < run; ++k) {
            if (script < 3) {
                line += pick(random, kKanji);
            } else if (script < 5) {
                line += pick(random, kHiragana);
            } else if (script < 7) {
                line += pick(random, kKatakana);
            } else if (script < 9) {
                line += pick(random, kHalfKatakana);
                if (random() % 5 == 0) line += u'ﾞ';
            } else {
                line += pick(random, kAscii);
            }
        }
    }
    return line;
}

std::string utf8(std::u16string_view text) { return kivo::utf16ToUtf8(text); }

// A folder of this process's own, removed when the program ends.
const fs::path& benchFolder() {
    static const fs::path folder =
        fs::temp_directory_path() / ("kivo-width-bench-" + std::to_string(getpid()));
    return folder;
}

struct FolderCleanup {
    ~FolderCleanup() {
        std::error_code ignored;
        fs::remove_all(benchFolder(), ignored);
    }
} folderCleanup;

struct WordList {
    std::vector<std::u16string> lines;
    std::u16string whole;  // lines joined by LF, as the control's text
    std::string wholeUtf8;
    fs::path cp932File;
};

const WordList& wordList() {
    static const WordList list = [] {
        WordList made;
        std::mt19937 random(1'000'000);
        made.lines.reserve(kLineCount);
        for (std::size_t i = 0; i < kLineCount; ++i) {
            made.lines.push_back(makeLine(random));
            made.whole += made.lines.back();
            made.whole += u'\n';
        }
        made.wholeUtf8 = utf8(made.whole);
        fs::create_directories(benchFolder());
        made.cp932File = benchFolder() / "list.txt";
        bool lossless = false;
        const std::string bytes = kivo::cp932::encode(made.wholeUtf8, &lossless);
        if (!lossless) std::abort();  // the pools above are code page 932 only
        std::ofstream(made.cp932File, std::ios::binary).write(bytes.data(), bytes.size());
        return made;
    }();
    return list;
}

// ---- Measuring ----

// The best of a few runs, for the comparison counters.
template <typename F>
double bestSecondsOf(F&& work) {
    double best = secondsOf(work);
    for (int run = 1; run < 5; ++run) best = std::min(best, secondsOf(work));
    return best;
}

std::vector<std::u16string> convertLines(const std::vector<std::u16string>& lines,
                                         std::u16string (*convert)(std::u16string_view)) {
    std::vector<std::u16string> out;
    out.reserve(lines.size());
    for (const std::u16string& line : lines) out.push_back(convert(line));
    return out;
}

std::u16string fullWidth16(std::u16string_view text) { return kivo::toFullWidth(text); }
std::u16string halfWidth16(std::u16string_view text) { return kivo::toHalfWidth(text); }

void setThroughput(benchmark::State& state, const WordList& list) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * list.lines.size()));
    state.counters["lines"] = static_cast<double>(list.lines.size());
}

// ---- Ours ----

void BM_FullWidthWhole(benchmark::State& state) {
    const WordList& list = wordList();
    for (auto _ : state)
        benchmark::DoNotOptimize(kivo::toFullWidth(std::u16string_view(list.whole)));
    setThroughput(state, list);
}

void BM_HalfWidthWhole(benchmark::State& state) {
    const WordList& list = wordList();
    for (auto _ : state)
        benchmark::DoNotOptimize(kivo::toHalfWidth(std::u16string_view(list.whole)));
    setThroughput(state, list);
}

void BM_FullWidthLines(benchmark::State& state) {
    const WordList& list = wordList();
    for (auto _ : state) benchmark::DoNotOptimize(convertLines(list.lines, fullWidth16));
    setThroughput(state, list);
}

void BM_HalfWidthLines(benchmark::State& state) {
    const WordList& list = wordList();
    for (auto _ : state) benchmark::DoNotOptimize(convertLines(list.lines, halfWidth16));
    setThroughput(state, list);
}

void BM_FullWidthWholeUtf8(benchmark::State& state) {
    const WordList& list = wordList();
    for (auto _ : state)
        benchmark::DoNotOptimize(kivo::toFullWidth(std::string_view(list.wholeUtf8)));
    setThroughput(state, list);
}

void BM_HalfWidthWholeUtf8(benchmark::State& state) {
    const WordList& list = wordList();
    for (auto _ : state)
        benchmark::DoNotOptimize(kivo::toHalfWidth(std::string_view(list.wholeUtf8)));
    setThroughput(state, list);
}

// ---- nkf on the same list ----

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Times nkf with the options on the list and reports our time beside it;
// same_output is 1 when nkf's text is ours, byte for byte in code page 932.
void runNkf(benchmark::State& state, const std::vector<std::string>& options,
            std::u16string (*convert)(std::u16string_view)) {
    const WordList& list = wordList();
    std::u16string ours;
    const double kivoSeconds = bestSecondsOf([&] { ours = convert(list.whole); });

    const fs::path out = benchFolder() / "nkf-out.txt";
    std::vector<std::string> args{"nkf", "--ic=CP932", "--oc=CP932"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"-O", list.cp932File.string(), out.string()});
    double nkfSeconds = 0;
    for (auto _ : state) {
        bool ran = false;
        const double seconds = secondsOf([&] { ran = run(args); });
        if (!ran) {
            state.SkipWithError("nkf failed or is missing (apt-get install nkf)");
            break;
        }
        state.SetIterationTime(seconds);
        nkfSeconds += seconds;
    }
    if (state.iterations() == 0 || nkfSeconds == 0) return;
    nkfSeconds /= static_cast<double>(state.iterations());
    state.counters["nkf_ms"] = nkfSeconds * 1e3;
    state.counters["kivo_ms"] = kivoSeconds * 1e3;
    state.counters["nkf_per_kivo"] = nkfSeconds / kivoSeconds;
    state.counters["same_output"] = readFile(out) == kivo::cp932::encode(utf8(ours)) ? 1 : 0;
    setThroughput(state, list);
}

void BM_NkfHalfWidth(benchmark::State& state) { runNkf(state, {"-x", "-Z1", "-Z4"}, halfWidth16); }

void BM_NkfFullWidth(benchmark::State& state) { runNkf(state, {"-X"}, fullWidth16); }

}  // namespace

BENCHMARK(BM_FullWidthWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfWidthWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullWidthLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfWidthLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullWidthWholeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalfWidthWholeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NkfFullWidth)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NkfHalfWidth)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
