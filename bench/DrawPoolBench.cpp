// Drawing without repeats from a million-line list: in the core alone, and
// through the topic button of the real window. Each draw should cost the
// same whatever the length of the list, with no pass over it.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "QtBenchMain.h"
#include "SilentBoxes.h"
#include "app/MainWindow.h"
#include "commands/Session.h"
#include "commands/ShareCommands.h"
#include "files/ListExport.h"
#include "platform/MemoControl.h"
#include "wordlist/TopicDrawer.h"

namespace {

using kivo::bench::SilentBoxes;

struct NoSettings : kivo::SettingsStore {
    std::optional<bool> readBool(const std::string&) override { return std::nullopt; }
    void writeBool(const std::string&, bool) override {}
    std::optional<std::string> readString(const std::string&) override { return std::nullopt; }
    void writeString(const std::string&, const std::string&) override {}
};

struct FixedClock : kivo::WallClock {
    kivo::LocalTime now() override { return {2024, 5, 1, 12, 0, 0}; }
};

struct QuietView : kivo::TopicView {
    int messages = 0;
    void showMessage(const std::string&) override { ++messages; }
    void showTopics(const kivo::DrawnTopics& topics) override {
        benchmark::DoNotOptimize(topics.data());
    }
};

// A million entries, one in a hundred a blank line.
const std::vector<std::string>& millionEntries() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out(1'000'000);
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (i % 100 != 99) out[i] = "お題" + std::to_string(i);
        }
        return out;
    }();
    return lines;
}

// The core's draw: the first draw of a new pool, then every later one.
void BM_CoreDrawWithoutRepeats(benchmark::State& state) {
    const auto& lines = millionEntries();
    const kivo::WordListSource list{[&] { return static_cast<std::uint32_t>(lines.size()); },
                                    [&](std::uint32_t i) { return lines[i]; }};
    NoSettings settings;
    FixedClock clock;
    kivo::TopicDrawer drawer(settings, clock);
    drawer.setNoRepeats(true);
    kivo::RandomGenerator random;
    random.setSeed(12345);
    QuietView view;
    drawer.draw(list, random, view);  // the first draw starts the pool
    for (auto _ : state) drawer.draw(list, random, view);
    // A long run may end a round or two; starting again is part of the cost.
    state.counters["rounds_ended"] = view.messages;
}
BENCHMARK(BM_CoreDrawWithoutRepeats)->Unit(benchmark::kMicrosecond);

// The topic button of the window over a million lines in the list control,
// the history growing with every draw.
void BM_WindowDrawWithoutRepeats(benchmark::State& state) {
    std::string text;
    for (const std::string& line : millionEntries()) {
        text += line;
        text += '\n';
    }
    SilentBoxes boxes;
    kivo::MainWindow form(boxes);
    form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"))->setPlainUtf8(text);
    auto* noRepeats = form.findChild<QAction*>(QStringLiteral("mnuNoRepeats"));
    if (!noRepeats->isChecked()) noRepeats->trigger();
    form.run(kivo::CommandId::Draw);
    for (auto _ : state) form.run(kivo::CommandId::Draw);
    state.counters["rounds_ended"] = boxes.shown;
}
BENCHMARK(BM_WindowDrawWithoutRepeats)->Unit(benchmark::kMicrosecond);

// Drawing by heading reads the list's sections again after every edit, for
// the count and the next draw: the cost of a keystroke in a million-line
// list, through the real list control, then of a draw from the sections.
void BM_WindowSectionsAfterAnEdit(benchmark::State& state) {
    std::string text;
    std::size_t k = 0;
    for (const std::string& line : millionEntries()) {
        if (k++ % 1000 == 0) text += "【見出し" + std::to_string(k) + "】\n";
        text += line;
        text += '\n';
    }
    SilentBoxes boxes;
    kivo::MainWindow form(boxes);
    form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"))->setPlainUtf8(text);
    kivo::Session& session = form.session();
    if (!session.topicCommands().byHeading()) form.run(kivo::CommandId::ByHeading);
    for (auto _ : state) {
        session.listChanged();
        session.listMoved();
        form.run(kivo::CommandId::Draw);
    }
    form.run(kivo::CommandId::ByHeading);  // off again, as the settings had it
    state.counters["messages"] = boxes.shown;
}
BENCHMARK(BM_WindowSectionsAfterAnEdit)->Unit(benchmark::kMillisecond);

// The stream files of one draw, each written whole beside its old self,
// made durable and renamed over it: what the output adds to a draw (and,
// for one file, to each second of a countdown).
void BM_StreamFilesOfADraw(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "kivo-stream-bench";
    std::filesystem::create_directories(folder);
    const kivo::DrawnTopics topics{{" 猫", ""}, {" 図書館", ""}, {" 雨上がりの駅", ""}};
    for (auto _ : state) {
        for (const kivo::StreamFile& file : kivo::topicStreamFiles(topics, " × ", true)) {
            kivo::writeFileSafely(folder / file.name, file.text,
                                  kivo::FileReplacement::WhenFolderIsClosed::Fail);
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_StreamFilesOfADraw)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return kivo::bench::runQtBenchmarks(argc, argv); }
