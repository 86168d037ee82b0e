// Our side of bench/compare.sh: the operations it puts beside other
// programs, on the very files it hands those programs (bench/make-list.sh
// writes them). Each runs on the 100,000- and the 1,000,000-line list:
//   decode_text   the whole-file load of the code page 932 text (read,
//                 decode, line breaks), against iconv -f CP932 -t UTF-8
//   import_rtf    the same load of our RTF export of the list, against
//                 unrtf --text
//   load_list     the list file into the real control through the window's
//                 load, against toolkit_set_plain_text: the same text,
//                 already decoded, into a bare QPlainTextEdit
//   load_docx     the list as a .docx into the real control through the
//                 window's load, against load_list (the plain-text load of
//                 the same lines)
//   extract_docx  the .docx's lines alone (read, inflate, XML), against
//                 unzip -p of its word/document.xml
//   load_xlsx, load_ods
//                 the list as a one-column workbook (LibreOffice's, written by
//                 bench/make-sheets.sh) into the real control, against
//                 load_list
//   extract_xlsx, extract_ods
//                 the workbook's lines alone, against unzip -p of its sheet
//   half_width, full_width
//                 the width conversion of the list's text as the control
//                 holds it (UTF-16, in memory), against nkf on the file
//   draw_list     one topic draw on the loaded list (the OK button)
//   width_list_mode
//                 the half-width command in list mode on the loaded list:
//                 every line read, converted and put back
//   add_import    the text add-import command of the list file onto an
//                 empty list, against load_list
//   compare_bench --lists=DIR [benchmark options]
// With --peak-memory=FILE it instead loads one list into the real control
// and prints the process's peak resident memory before and after; with
// --hostile=FILE it loads a file of hostile shape into a shown window and
// prints the load time, the peak memory, the time of a repaint, the CPU the
// idle program then takes and the message shown, if any.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "SilentBoxes.h"
#include "app/MainWindow.h"
#include "commands/Session.h"
#include "commands/CommandRunner.h"
#include "core/Utf8.h"
#include "files/DocxText.h"
#include "files/OpenDocumentText.h"
#include "files/SpreadsheetText.h"
#include "files/WordListLoader.h"
#include "platform/Boxes.h"
#include "platform/FileDialogs.h"
#include "platform/Fonts.h"
#include "platform/MemoControl.h"
#include "wordlist/WidthMapping.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSizes[] = {100'000, 1'000'000};

using kivo::bench::SilentBoxes;

fs::path listFile(const fs::path& dir, int lines, const char* extension) {
    return dir / ("list-" + std::to_string(lines) + extension);
}

// The list's text as the control holds it.
QString listText(const fs::path& txt) {
    return QString::fromStdString(kivo::readWholeFile(txt).text);
}

void setLines(benchmark::State& state, int lines) {
    state.SetItemsProcessed(state.iterations() * lines);
}

void decodeText(benchmark::State& state, fs::path txt, int lines) {
    for (auto _ : state) benchmark::DoNotOptimize(kivo::readWholeFile(txt));
    setLines(state, lines);
}

void importRtf(benchmark::State& state, fs::path rtf, int lines) {
    std::size_t got = 0;
    for (auto _ : state) {
        const kivo::StyledText text = kivo::readWholeFile(rtf);
        got = text.text.size();
    }
    if (got == 0) state.SkipWithError("the RTF list read as empty");
    setLines(state, lines);
}

// A fresh window for each load, made and destroyed outside the timing, so
// that neither side pays for the list a previous round left behind.
void loadList(benchmark::State& state, fs::path txt, int lines) {
    SilentBoxes boxes;
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<kivo::MainWindow>(boxes);
        state.ResumeTiming();
        form->session().files().openListFile(txt.string());
        state.PauseTiming();
        count = form->findChild<kivo::MemoControl*>(QStringLiteral("Memo"))->count();
        form.reset();
        state.ResumeTiming();
    }
    if (count != lines || boxes.shown != 0) state.SkipWithError("the list did not load whole");
    setLines(state, lines);
}

kivo::MemoControl& memoOf(const kivo::MainWindow& form) {
    return *form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"));
}

QString firstTopic(const kivo::MainWindow& form) {
    return form.findChild<QLineEdit*>(QStringLiteral("Edit1st"))->text();
}

// One window with the list loaded, kept for the benchmarks that work on a
// loaded list.
kivo::MainWindow& loadedForm(const fs::path& txt) {
    static SilentBoxes boxes;
    static std::map<fs::path, std::unique_ptr<kivo::MainWindow>> forms;
    auto& form = forms[txt];
    if (!form) {
        form = std::make_unique<kivo::MainWindow>(boxes);
        form->session().files().openListFile(txt.string());
    }
    return *form;
}

void drawList(benchmark::State& state, fs::path txt, int lines) {
    kivo::MainWindow& form = loadedForm(txt);
    for (auto _ : state) form.run(kivo::CommandId::Draw);
    if (memoOf(form).count() != lines || firstTopic(form).isEmpty())
        state.SkipWithError("the draw found no list");
}

void widthListMode(benchmark::State& state, fs::path txt, int lines) {
    SilentBoxes boxes;
    kivo::MainWindow form(boxes);
    for (auto _ : state) {
        state.PauseTiming();
        form.session().files().openListFile(txt.string());
        state.ResumeTiming();
        form.findChild<QAction*>(QStringLiteral("mnuHalfWidth"))->trigger();
    }
    if (memoOf(form).count() != lines || boxes.shown != 0)
        state.SkipWithError("the conversion lost lines");
    setLines(state, lines);
}

// A dialog that always picks the same file.
struct FixedDialogs : kivo::FileDialogs {
    QString path;
    std::optional<QString> openFile(const kivo::FileDialogSettings&) override { return path; }
    std::optional<QString> saveFile(const kivo::FileDialogSettings&) override { return path; }
    std::optional<QString> chooseFolder(const QString&, const QString&) override { return path; }
};

void addImport(benchmark::State& state, fs::path txt, int lines) {
    SilentBoxes boxes;
    FixedDialogs dialogs;
    dialogs.path = QString::fromStdString(txt.string());
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<kivo::MainWindow>(boxes);
        form->setFileDialogs(dialogs);
        state.ResumeTiming();
        form->findChild<QAction*>(QStringLiteral("mnuAddInporttxt"))->trigger();
        state.PauseTiming();
        count = memoOf(*form).count();
        form.reset();
        state.ResumeTiming();
    }
    if (count != lines || boxes.shown != 0) state.SkipWithError("the add-import lost lines");
    setLines(state, lines);
}

void extractDocx(benchmark::State& state, fs::path docx, int lines) {
    std::size_t got = 0;
    for (auto _ : state) {
        std::ifstream in(docx, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        got = 0;
        kivo::extractDocxText(bytes, [&](std::string_view line) {
            benchmark::DoNotOptimize(line.data());
            ++got;
            return true;
        });
    }
    if (got != static_cast<std::size_t>(lines)) state.SkipWithError("the .docx lost lines");
    setLines(state, lines);
}

// A workbook's lines alone, as extract_docx takes a .docx's.
template <kivo::WordTextOutcome (*Extract)(std::span<const std::uint8_t>, const kivo::LineSink&,
                                           kivo::ReadBudget, kivo::SheetLayout)>
void extractSheet(benchmark::State& state, fs::path file, int lines) {
    std::size_t got = 0;
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        got = 0;
        Extract(
            bytes,
            [&](std::string_view line) {
                benchmark::DoNotOptimize(line.data());
                ++got;
                return true;
            },
            kivo::ReadBudget(), kivo::SheetLayout::Rows);
    }
    if (got != static_cast<std::size_t>(lines)) state.SkipWithError("the workbook lost lines");
    setLines(state, lines);
}

void toolkitSetPlainText(benchmark::State& state, fs::path txt, int lines) {
    const QString text = listText(txt);
    int blocks = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto edit = std::make_unique<QPlainTextEdit>();
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        state.ResumeTiming();
        edit->setPlainText(text);
        state.PauseTiming();
        blocks = edit->document()->blockCount();
        edit.reset();
        state.ResumeTiming();
    }
    if (blocks != lines + 1) state.SkipWithError("the toolkit's control lost lines");
    setLines(state, lines);
}

template <std::u16string (*Convert)(std::u16string_view)>
void convertWidth(benchmark::State& state, fs::path txt, int lines) {
    const QString text = listText(txt);
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    for (auto _ : state) benchmark::DoNotOptimize(Convert(units));
    setLines(state, lines);
}

std::u16string halfWidth(std::u16string_view text) { return kivo::toHalfWidth(text); }
std::u16string fullWidth(std::u16string_view text) { return kivo::toFullWidth(text); }

void registerAll(const fs::path& dir) {
    using Fn = void (*)(benchmark::State&, fs::path, int);
    struct Entry {
        const char* name;
        Fn fn;
        const char* extension;
    };
    const Entry entries[] = {
        {"decode_text", decodeText, ".txt"},
        {"import_rtf", importRtf, ".rtf"},
        {"load_list", loadList, ".txt"},
        {"load_docx", loadList, ".docx"},
        {"extract_docx", extractDocx, ".docx"},
        {"load_xlsx", loadList, ".xlsx"},
        {"extract_xlsx", extractSheet<kivo::extractWorkbookText>, ".xlsx"},
        {"load_ods", loadList, ".ods"},
        {"extract_ods", extractSheet<kivo::extractOpenDocumentText>, ".ods"},
        {"toolkit_set_plain_text", toolkitSetPlainText, ".txt"},
        {"half_width", convertWidth<halfWidth>, ".txt"},
        {"full_width", convertWidth<fullWidth>, ".txt"},
        {"draw_list", drawList, ".txt"},
        {"width_list_mode", widthListMode, ".txt"},
        {"add_import", addImport, ".txt"},
    };
    for (const Entry& e : entries) {
        for (const int lines : kSizes) {
            const std::string name = std::string(e.name) + "/" + std::to_string(lines);
            const bool draw = e.fn == drawList;
            benchmark::RegisterBenchmark(name.c_str(), e.fn, listFile(dir, lines, e.extension),
                                         lines)
                ->Unit(draw ? benchmark::kMicrosecond : benchmark::kMillisecond)
                ->Iterations(draw                 ? 1000
                             : lines >= 1'000'000 ? 3
                                                  : 10);
        }
    }
}

// A field of /proc/self/status in KiB ("VmHWM", "VmRSS"), or -1.
long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t n = std::strlen(field);
    while (std::getline(status, line)) {
        if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') {
            return std::stol(line.substr(n + 1));
        }
    }
    return -1;
}

// One load of the list into the real control, in a window made as the
// program makes it; prints what the memory check reports.
int peakMemory(const fs::path& path) {
    SilentBoxes boxes;
    kivo::MainWindow form(boxes);
    const long before = statusKiB("VmHWM");
    form.session().files().openListFile(path.string());
    const long peak = statusKiB("VmHWM");
    const long resident = statusKiB("VmRSS");
    const std::string text = form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"))->utf8Text();
    std::printf(
        "lines %d\nfile_bytes %ju\ntext_utf8_bytes %lld\ntext_utf16_bytes %lld\n"
        "hwm_before_kib %ld\nhwm_after_kib %ld\nrss_after_kib %ld\nmessages %d\n",
        form.findChild<kivo::MemoControl*>(QStringLiteral("Memo"))->count(),
        static_cast<std::uintmax_t>(fs::file_size(path)), static_cast<long long>(text.size()),
        static_cast<long long>(kivo::utf16Length(text)) * 2, before, peak, resident, boxes.shown);
    return boxes.shown == 0 ? 0 : 1;
}

// Boxes that keep what they would have shown.
struct RecordingBoxes : SilentBoxes {
    QString last;
    void error(const QString& text) override {
        SilentBoxes::error(text);
        last = text;
    }
    void warning(const QString& text) override {
        SilentBoxes::warning(text);
        last = text;
    }
};

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A file of hostile shape loaded as a user would open it, in a shown
// window; then a repaint of the list and three seconds of idling.
int hostile(const fs::path& path) {
    RecordingBoxes boxes;
    kivo::MainWindow form(boxes);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    QTest::qWait(200);
    const long before = statusKiB("VmHWM");
    auto start = std::chrono::steady_clock::now();
    try {
        form.session().files().openListFile(path.string());
    } catch (...) {
        kivo::BoxesPort port(boxes);
        kivo::reportCommandError(port, std::current_exception());
    }
    const double load = seconds(start);
    start = std::chrono::steady_clock::now();
    memoOf(form).viewport()->repaint();
    const double firstPaint = seconds(start);
    start = std::chrono::steady_clock::now();
    memoOf(form).viewport()->repaint();
    const double paint = seconds(start);
    QCoreApplication::processEvents();
    const double cpuBefore = cpuSeconds();
    start = std::chrono::steady_clock::now();
    QTest::qWait(3000);
    const double idle = (cpuSeconds() - cpuBefore) / seconds(start);
    std::printf(
        "file_bytes %ju\nlines %d\nload_s %.3f\nfirst_paint_s %.3f\npaint_s %.3f\n"
        "idle_cpu %.3f\nhwm_before_kib %ld\nhwm_after_kib %ld\nmessage %s\n",
        static_cast<std::uintmax_t>(fs::file_size(path)), memoOf(form).count(), load, firstPaint,
        paint, idle, before, statusKiB("VmHWM"),
        boxes.last.isEmpty() ? "-" : boxes.last.toUtf8().constData());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kivo::installJapaneseFontSubstitutes();

    // Our own options; the rest are Google Benchmark's.
    fs::path lists;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--lists=")) {
            lists = std::string(arg.substr(8));
        } else if (arg.starts_with("--hostile=")) {
            return hostile(std::string(arg.substr(10)));
        } else if (arg.starts_with("--peak-memory=")) {
            return peakMemory(std::string(arg.substr(14)));
        } else {
            rest.push_back(argv[i]);
        }
    }
    if (lists.empty() || !fs::exists(listFile(lists, kSizes[0], ".txt"))) {
        std::fprintf(stderr,
                     "usage: compare_bench --lists=DIR [benchmark options]\n"
                     "       compare_bench --peak-memory=FILE\n"
                     "DIR holds the lists bench/make-list.sh writes.\n");
        return 2;
    }
    registerAll(lists);
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
