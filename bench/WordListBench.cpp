// The word list in the real control at a million lines: loading, counting,
// drawing, refreshing the count, and start-up against a bare window.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextEdit>
#include <chrono>
#include <random>

#include "SilentBoxes.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "commands/Session.h"
#include "core/CodePage932.h"
#include "platform/Boxes.h"
#include "platform/FileDialogs.h"
#include "platform/Fonts.h"
#include "platform/MemoControl.h"

namespace {

using kivo::bench::SilentBoxes;

kivo::MemoControl& memoOf(const kivo::MainWindow& form) {
    return *form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"));
}

// A list of short Japanese entries: kanji, hiragana, katakana and some
// half-width and ASCII, one per line.
QString japaneseList(int lines) {
    static const QString pool = QStringLiteral(
        "犬猫鳥魚虫花木山川海空雲雨雪風火水土金石春夏秋冬朝昼夜東西南北"
        "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわを"
        "ん"
        "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲ"
        "ンー"
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

// The same list in UTF-8, as the control takes it.
const std::string& millionLines() {
    static const std::string text = japaneseList(1'000'000).toStdString();
    return text;
}

void BM_LoadMemo(benchmark::State& state) {
    const std::string text = japaneseList(static_cast<int>(state.range(0))).toStdString();
    for (auto _ : state) {
        kivo::MemoControl memo;
        memo.setPlainUtf8(text);
        benchmark::DoNotOptimize(memo.count());
    }
}
BENCHMARK(BM_LoadMemo)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The process's peak resident memory so far, in bytes.
double peakBytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() * 1024;
    }
    return 0;
}

// What a line costs the control beyond its text: the process's peak memory
// before and after a million lines (short ones, or empty ones) go in as a
// load puts them in. Alone in its process, so that nothing before it has
// raised the peak: --benchmark_filter='BM_LineCost/0' and /1. This is the
// figure behind the editor's cost per line (editor/ListEditor.h).
void BM_LineCost(benchmark::State& state) {
    constexpr int kLines = 1'000'000;
    const std::string line = state.range(0) == 0 ? "お題の語句" : "";
    std::string text;
    text.reserve((line.size() + 1) * kLines);
    for (int i = 0; i < kLines; ++i) text += line + "\n";
    for (auto _ : state) {
        kivo::MemoControl memo;
        const double before = peakBytes();
        memo.setStyledUtf8(text, {});
        const double after = peakBytes();
        state.counters["bytes_per_line"] =
            (after - before - static_cast<double>(text.size())) / kLines;
    }
}
BENCHMARK(BM_LineCost)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

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
BENCHMARK(BM_LoadRichTextEdit)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The list as a file: code page 932 text with CR LF, or RTF with each
// character escaped as the program's own exports do.
std::string writeListFile(const QString& name, bool rtf) {
    const QString text = QString::fromStdString(millionLines());
    std::string bytes;
    if (rtf) {
        bytes = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0\\fs24 ";
        static const char* hex = "0123456789abcdef";
        const std::string sjis = kivo::cp932::encode(text.toStdString());
        bool trailByte = false;  // the second byte of a double-byte character
        for (const unsigned char c : sjis) {
            const bool lead = !trailByte && ((c >= 0x81 && c <= 0x9F) || c >= 0xE0);
            if (c == '\n') {
                bytes += "\\par\n";
            } else if (c < 0x80 && !trailByte) {
                bytes += static_cast<char>(c);
            } else {
                bytes += "\\'";
                bytes += hex[c >> 4];
                bytes += hex[c & 15];
            }
            trailByte = lead;
        }
        bytes += "}";
    } else {
        QString crlf = text;
        crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        bytes = kivo::cp932::encode(crlf.toStdString());
    }
    const QString path = QDir::temp().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path.toStdString();
}

// The whole road of a file into the list: open, signature, read, decode,
// into the control.
void BM_LoadWordListFile(benchmark::State& state) {
    const bool rtf = state.range(0) != 0;
    const std::string path = writeListFile(rtf ? "kivo-bench.rtf" : "kivo-bench.txt", rtf);
    SilentBoxes boxes;
    kivo::MainWindow form(boxes);
    for (auto _ : state) form.session().files().openListFile(path);
    if (memoOf(form).count() != 1'000'000) {
        state.SkipWithError(("wrong line count " + std::to_string(memoOf(form).count())).c_str());
    }
    QFile::remove(QString::fromStdString(path));
}
BENCHMARK(BM_LoadWordListFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// A dialog that always picks the same file.
struct FixedDialogs : kivo::FileDialogs {
    QString path;
    std::optional<QString> openFile(const kivo::FileDialogSettings&) override { return path; }
    std::optional<QString> saveFile(const kivo::FileDialogSettings&) override { return path; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return path; }
};

// Export of the million-line list through the real command (text or
// container), then its import as a new list.
void BM_ExportThenImport(benchmark::State& state) {
    const bool container = state.range(0) != 0;
    SilentBoxes boxes;
    FixedDialogs dialogs;
    dialogs.path = QDir::temp().filePath(container ? "kivo-bench.Kivo" : "kivo-bench-export.txt");
    kivo::MainWindow form(boxes);
    form.setFileDialogs(dialogs);
    const char* exportItem = container ? "mnuExportKivo" : "mnuExporttxt";
    const char* importItem = container ? "mnuNewInportKivo" : "mnuNewInporttxt";
    double exportSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        memoOf(form).setPlainUtf8(millionLines());
        QFile::remove(dialogs.path);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        form.findChild<QAction*>(QString::fromLatin1(exportItem))->trigger();
        exportSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        form.findChild<QAction*>(QString::fromLatin1(importItem))->trigger();
    }
    state.counters["export_s"] =
        benchmark::Counter(exportSeconds, benchmark::Counter::kAvgIterations);
    if (memoOf(form).count() != 1'000'000 || boxes.shown != 0)
        state.SkipWithError("round trip failed");
    QFile::remove(dialogs.path);
}
BENCHMARK(BM_ExportThenImport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

struct MillionLineForm {
    SilentBoxes boxes;
    kivo::MainWindow form{boxes};
    MillionLineForm() { memoOf(form).setPlainUtf8(millionLines()); }
};

MillionLineForm& sharedForm() {
    static MillionLineForm f;
    return f;
}

void BM_Count(benchmark::State& state) {
    auto& f = sharedForm();
    for (auto _ : state) benchmark::DoNotOptimize(memoOf(f.form).count());
}
BENCHMARK(BM_Count);

void BM_LineAt(benchmark::State& state) {
    auto& f = sharedForm();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(0, memoOf(f.form).count() - 1);
    for (auto _ : state) benchmark::DoNotOptimize(memoOf(f.form).line(pick(rng)));
}
BENCHMARK(BM_LineAt);

void BM_Draw(benchmark::State& state) {
    auto& f = sharedForm();
    for (auto _ : state) f.form.run(kivo::CommandId::Draw);
    if (f.boxes.shown != 0) state.SkipWithError("the draw stopped with a message");
}
BENCHMARK(BM_Draw)->Unit(benchmark::kMicrosecond);

void BM_SelectionChangeRefresh(benchmark::State& state) {
    auto& f = sharedForm();
    for (auto _ : state) f.form.session().listMoved();
}
BENCHMARK(BM_SelectionChangeRefresh)->Unit(benchmark::kMicrosecond);

// A list-mode conversion of the whole million-line list in the control:
// read every line, convert, put the list back.
void BM_WidthConversionListMode(benchmark::State& state) {
    SilentBoxes boxes;
    kivo::MainWindow form(boxes);
    const bool full = state.range(0) == 0;
    for (auto _ : state) {
        state.PauseTiming();
        memoOf(form).setPlainUtf8(millionLines());
        state.ResumeTiming();
        full ? form.run(kivo::CommandId::FullWidth) : form.run(kivo::CommandId::HalfWidth);
    }
    if (memoOf(form).count() != 1'000'000) state.SkipWithError("lines lost");
}
BENCHMARK(BM_WidthConversionListMode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// Start-up to the first shown window, in process: main window, About box,
// show, exposed; against a bare toolkit window.
void BM_StartupToShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        SilentBoxes boxes;
        kivo::MainWindow form(boxes);
        kivo::AboutDialog about(QString::fromStdString(form.versionText()));
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
