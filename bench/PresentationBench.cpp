// A draw from the presentation view against a draw from the topic button
// and one repaint of the view: the view adds its layout of the new pair and
// nothing else. Short entries, and entries of a full 4096-byte line, the
// longest a draw reads, which the view breaks into many lines.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "QtBenchMain.h"
#include "SilentBoxes.h"
#include "app/PresentationWindow.h"
#include "app/MainWindow.h"
#include "platform/MemoControl.h"

namespace {

using kivo::bench::SilentBoxes;

// 100,000 entries: short ones, or lines of 4096 bytes in code page 932
// (2048 kanji and kana).
std::string entries(bool longest) {
    static const std::string pool[] = {"犬", "猫", "桜", "雨", "「", "待", "っ", "て", "」", "。"};
    std::string text;
    for (int i = 0; i < 100'000; ++i) {
        const int characters = longest ? 2048 : 4 + i % 12;
        for (int c = 0; c < characters; ++c) text += pool[(i + c * 7) % 10];
        text += '\n';
    }
    return text;
}

struct Form {
    SilentBoxes boxes;
    kivo::MainWindow form{boxes};
    kivo::PresentationWindow* view = nullptr;
    explicit Form(bool longest) {
        form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"))->setPlainUtf8(entries(longest));
        form.run(kivo::CommandId::Draw);
        view = form.findChild<kivo::PresentationWindow*>(QStringLiteral("PresentationWindow"));
    }
};

Form& formOf(bool longest) {
    static Form shortEntries(false);
    static Form longEntries(true);
    return longest ? longEntries : shortEntries;
}

void open(Form& f, bool on) {
    if (f.view->presentationOpen() != on) f.form.run(kivo::CommandId::Present);
}

// The button with the view closed: what a draw cost before the view.
void BM_ButtonDraw(benchmark::State& state) {
    Form& f = formOf(state.range(0) != 0);
    open(f, false);
    for (auto _ : state) f.form.run(kivo::CommandId::Draw);
    if (f.boxes.shown != 0) state.SkipWithError("the draw stopped with a message");
}
BENCHMARK(BM_ButtonDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The button with the view closed, then one repaint of the open view.
void BM_ButtonDrawAndRepaint(benchmark::State& state) {
    Form& f = formOf(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        open(f, false);
        state.ResumeTiming();
        f.form.run(kivo::CommandId::Draw);
        state.PauseTiming();
        open(f, true);
        state.ResumeTiming();
        f.view->repaint();
    }
    open(f, false);
}
BENCHMARK(BM_ButtonDrawAndRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Space in the open view: the draw, the view's layout and its repaint.
void BM_ViewDraw(benchmark::State& state) {
    Form& f = formOf(state.range(0) != 0);
    open(f, true);
    for (auto _ : state) {
        f.form.run(kivo::CommandId::PresentationDraw);
        f.view->repaint();
    }
    open(f, false);
    if (f.boxes.shown != 0) state.SkipWithError("the draw stopped with a message");
}
BENCHMARK(BM_ViewDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The shared layout alone, for two 4096-byte topics on a 1920x1080 screen.
void BM_LayoutLongest(benchmark::State& state) {
    std::string topic;
    for (int c = 0; c < 2048; ++c) topic += c % 23 == 22 ? "。" : "桜";
    kivo::MeasuredWidths widths;
    const auto measure = [](std::string_view) { return 100.0; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(kivo::fitPresentation(
            kivo::DrawnTopics{{topic, {}}, {topic, {}}}, [&](std::string_view c) { return widths.width(c, measure); }, 1920,
            1080));
    }
}
BENCHMARK(BM_LayoutLongest)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return kivo::bench::runQtBenchmarks(argc, argv); }
