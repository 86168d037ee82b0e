// The word list in the real control at a million lines: loading, counting,
// drawing, refreshing the count, and start-up against a bare window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <QTextEdit>
#include <random>

#include "Boxes.h"
#include "Fonts.h"
#include "MemoControl.h"
#include "TFormAbout.h"
#include "TMainForm.h"

namespace {

struct SilentBoxes : kivo::Boxes {
    int shown = 0;
    void message(const QString&) override { ++shown; }
    void error(const QString&) override { ++shown; }
};

// A list of short Japanese entries: kanji, hiragana, katakana and some
// half-width and ASCII, one per line.
QString japaneseList(int lines) {
    static const QString pool = QStringLiteral(
        "犬猫鳥魚虫花木山川海空雲雨雪風火水土金石春夏秋冬朝昼夜東西南北"
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲンー"
        "ｱｲｳｴｵｶﾞﾊﾟ0123456789ABCabc");
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> length(2, 10);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(pool.size()) - 1);
    QString text;
    text.reserve(static_cast<qsizetype>(lines) * 8);
    for (int i = 0; i < lines; ++i) {
        for (int n = length(rng); n > 0; --n) text += pool[pick(rng)];
        text += QLatin1Char('\n');
    }
    return text;
}

const QString& millionLines() {
    static const QString text = japaneseList(1'000'000);
    return text;
}

void BM_LoadMemo(benchmark::State& state) {
    const QString text = japaneseList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        kivo::MemoControl memo;
        memo.setPlainText(text);
        benchmark::DoNotOptimize(memo.count());
    }
}
BENCHMARK(BM_LoadMemo)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The rich-text editor for comparison: what choosing the plain-text control
// saves.
void BM_LoadRichTextEdit(benchmark::State& state) {
    const QString text = japaneseList(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTextEdit edit;
        edit.setLineWrapMode(QTextEdit::NoWrap);
        edit.setPlainText(text);
        benchmark::DoNotOptimize(edit.document()->blockCount());
    }
}
BENCHMARK(BM_LoadRichTextEdit)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

struct MillionLineForm {
    SilentBoxes boxes;
    kivo::TMainForm form{boxes};
    MillionLineForm() { form.Memo->setPlainText(millionLines()); }
};

MillionLineForm& sharedForm() {
    static MillionLineForm f;
    return f;
}

void BM_Count(benchmark::State& state) {
    auto& f = sharedForm();
    for (auto _ : state) benchmark::DoNotOptimize(f.form.Memo->count());
}
BENCHMARK(BM_Count);

void BM_LineAt(benchmark::State& state) {
    auto& f = sharedForm();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, f.form.Memo->count() - 1);
    for (auto _ : state) benchmark::DoNotOptimize(f.form.Memo->line(pick(rng)));
}
BENCHMARK(BM_LineAt);

void BM_Draw(benchmark::State& state) {
    auto& f = sharedForm();
    for (auto _ : state) f.form.ButtonOKClick();
    if (f.boxes.shown != 0) state.SkipWithError("the draw stopped with a message");
}
BENCHMARK(BM_Draw)->Unit(benchmark::kMicrosecond);

void BM_SelectionChangeRefresh(benchmark::State& state) {
    auto& f = sharedForm();
    for (auto _ : state) f.form.MemoSelectionChange();
}
BENCHMARK(BM_SelectionChangeRefresh)->Unit(benchmark::kMicrosecond);

// Start-up to the first shown window, in process: main window, About box,
// show, exposed; against a bare toolkit window.
void BM_StartupToShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        SilentBoxes boxes;
        kivo::TMainForm form(boxes);
        kivo::TFormAbout about(QString::fromStdString(form.versionText()));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("window not exposed");
    }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond);

void BM_BareWindowToShown(benchmark::State& state) {
    for (auto _ : state) {
        QWidget window;
        window.resize(395, 250);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) state.SkipWithError("window not exposed");
    }
}
BENCHMARK(BM_BareWindowToShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kivo::installJapaneseFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
