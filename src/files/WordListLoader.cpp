#include "files/WordListLoader.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/Errors.h"
#include "core/FileSystem.h"
#include "core/PathRules.h"
#include "core/Utf8.h"
#include "files/DocxText.h"
#include "files/FileError.h"
#include "files/OpenDocumentText.h"
#include "files/RtfReader.h"
#include "files/SpreadsheetText.h"
#include "files/TextDecoding.h"
#include "files/WordPieceText.h"
#include "files/WordText.h"
#include "files/ZipArchive.h"

namespace kivo {
namespace {

TextStyle styleOf(const rtf::CharFormat& f) {
    TextStyle s;
    s.bold = f.bold;
    s.italic = f.italic;
    s.underline = f.underline;
    s.color = f.color;
    s.halfPoints = f.halfPoints;
    s.fontFamily = f.fontFamily;
    return s;
}

// Collects the reader's runs into one text and as few styled stretches as
// the formatting allows: a line break continues the stretch before it. The
// stretches share their styles, one copy of each distinct one.
class StyledTextBuilder : public rtf::Handler {
public:
    void text(std::string_view utf8, const rtf::CharFormat& format) override {
        if (utf8.empty()) return;
        // The reader hands the same format to run after run.
        if (!haveStyle_ || !(lastFormat_ == format)) {
            lastFormat_ = format;
            lastStyle_ = pool_.share(styleOf(format));
            haveStyle_ = true;
        }
        const std::size_t length = utf16Length(utf8);
        out_.text.append(utf8);
        addStyledRange(out_.ranges, units_, length, lastStyle_);
        units_ += length;
    }
    void paragraphEnd() override {
        const bool continuesStretch =
            !out_.ranges.empty() && out_.ranges.back().start + out_.ranges.back().length == units_;
        out_.text.push_back('\n');
        ++units_;
        if (continuesStretch) ++out_.ranges.back().length;
    }
    StyledText take() { return std::move(out_); }

private:
    StylePool pool_;
    rtf::CharFormat lastFormat_;
    SharedStyle lastStyle_;
    bool haveStyle_ = false;
    StyledText out_;
    std::size_t units_ = 0;
};

// The open file behind the Word text reader.
class FileReader : public ByteReader {
public:
    explicit FileReader(File& file) : file_(file) {}
    std::size_t read(std::span<std::uint8_t> buffer) override {
        return file_.read(buffer).value_or(0);
    }
    bool seek(std::uint64_t offset) override { return file_.seek(offset); }

private:
    File& file_;
};

// Gathers a Word road's lines as the list would take them, up to its
// capacity and within what it may cost, and hands them on to the list's
// replacement as they are judged, so that a document the list cannot take
// changes nothing and the list may take in lines while more are read. A
// .docx builds its lines straight into the text.
class LineCollector : public LineText {
public:
    LineCollector(WordListTarget& target, LoadReport& report)
        : target_(target), report_(report), room_(target.capacity()) {}

    // False once a line did not fit.
    bool add(std::string_view line) {
        text.append(line);
        text.push_back('\n');
        return endLines(1, line.size());
    }
    // Lines are judged a block at a time: counted and weighed in one pass
    // each over the block, not by a call each.
    bool endLines(std::size_t count, std::size_t longest) override {
        longest_ = std::max(longest_, longest);
        lines_ += count;
        if (text.size() < kBlockBytes) return true;
        if (!judge()) return false;
        text.reserve(kBlockBytes + kBlockBytes / 8);  // the next block's room at once
        return true;
    }
    LineSink sink() {
        return [this](std::string_view line) { return add(line); };
    }
    // Handed on are only lines: no replacement yet, no line yet.
    bool empty() const { return !replacement_ && text.empty(); }
    // The list becomes the lines; the report tells when lines were left
    // out for the capacity. The last lines are judged first (and may throw as
    // any line may, the list unchanged).
    void commit() {
        judge();
        ListReplacement& replacement = this->replacement();
        if (!text.empty()) replacement.add(std::move(text));
        replacement.commit();
        report_.linesLeftOut = full_;
    }

private:
    static constexpr std::size_t kBlockBytes = 256 * 1024;

    ListReplacement& replacement() {
        if (!replacement_) replacement_ = target_.replaceList();
        return *replacement_;
    }

    // The lines ended since the last judgement, as one: when they fit the
    // capacity at once, their shape joins the list's, is judged, and they
    // go on to the list; else they are judged line by line up to the first
    // that does not fit, and the rest is left out.
    bool judge() {
        if (text.empty()) return !full_;
        const std::size_t units = utf16Length(text);  // a unit for each line break too
        if (units <= room_) {
            room_ -= units;
            shape_.bytes += text.size();
            shape_.lines += lines_;
            shape_.longestLine = std::max(shape_.longestLine, longest_);
            lines_ = 0;
            longest_ = 0;
            target_.checkRoom(shape_);
            replacement().add(std::move(text));
            text.clear();
            return true;
        }
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find('\n', at);
            const std::string_view line = std::string_view(text).substr(at, end - at);
            const std::size_t lineUnits = utf16Length(line) + 1;
            if (lineUnits > room_) break;
            room_ -= lineUnits;
            shape_.addLine(line);
            target_.checkRoom(shape_);
            at = end + 1;
        }
        full_ = true;
        text.resize(at);
        lines_ = 0;
        longest_ = 0;
        return false;
    }

    WordListTarget& target_;
    LoadReport& report_;
    std::size_t room_;
    TextShape shape_;
    std::unique_ptr<ListReplacement> replacement_;  // made with the first lines handed on
    std::size_t lines_ = 0;                         // lines ended since the last judgement
    std::size_t longest_ = 0;                       // the longest of them
    bool full_ = false;
};

// A file's bytes in memory that is not cleared first, as the read fills it.
class FileBytes {
public:
    explicit FileBytes(std::size_t size)
        : bytes_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}
    std::span<std::uint8_t> room() {
        return {reinterpret_cast<std::uint8_t*>(bytes_.get()), size_};
    }
    void keep(std::size_t size) { size_ = std::min(size, size_); }
    std::string_view view() const { return {bytes_.get(), size_}; }

private:
    std::unique_ptr<char[]> bytes_;
    std::size_t size_;
};

// The whole file from its start; nothing when it is larger than the
// whole-file load would take, or cannot be read.
std::optional<FileBytes> readAllBytes(File& file) {
    const std::optional<std::int64_t> size = file.size();
    if (!size || *size < 0 || static_cast<std::uintmax_t>(*size) > kWholeFileLimit ||
        !file.seek(0)) {
        return std::nullopt;
    }
    FileBytes bytes(static_cast<std::size_t>(*size));
    // Fewer bytes than the size said: the file shrank meanwhile.
    const auto got = file.read(bytes.room());
    if (!got) return std::nullopt;
    bytes.keep(*got);
    return bytes;
}

std::span<const std::uint8_t> asBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A Word road's extraction; a broken document leaves the list empty, as
// its loads always have.
template <typename Extract>
void extractOrClear(WordListTarget& target, Extract extract) {
    try {
        extract();
    } catch (const FileError&) {
        target.clearList();
        throw;
    }
}

// The documents of today's office programs whose text the loader pulls out
// itself; anything else goes to the whole-file load.
enum class OfficeDocument { None, Docx, Workbook, OpenDocument };

OfficeDocument officeDocumentOf(std::span<const std::uint8_t> bytes) {
    // An OpenDocument names its kind outright (packed, or flat XML); the
    // Office documents are told by a part's name among their bytes.
    if (openDocumentKind(bytes) != OpenDocumentKind::None) return OfficeDocument::OpenDocument;
    if (zip::hasZipSignature(bytes)) {
        if (looksLikeDocx(bytes)) return OfficeDocument::Docx;
        if (looksLikeWorkbook(bytes)) return OfficeDocument::Workbook;
    }
    return OfficeDocument::None;
}

// Opens for reading only, so a read-only file loads; the system's reason
// for a failure becomes the user's message.
File openExisting(const std::filesystem::path& path) {
    int error = 0;
    File file = File::openForReading(path, &error);
    if (file.isOpen()) return file;
    std::error_code ec;
    const bool parentMissing =
        path.has_parent_path() && !std::filesystem::is_directory(path.parent_path(), ec);
    throw FileError(fileErrorCodeFromSystem(error, parentMissing));
}

// The steps of a load, whether the document's bytes lie in an open file
// or in memory: the Word roads line by line, anything else through the
// control's whole-file load.
void loadDocument(std::span<const std::uint8_t> head, ByteReader& reader,
                  const std::function<std::optional<std::string_view>()>& allBytes,
                  const std::function<void()>& releaseBytes, WordListTarget& target,
                  LoadReport& report) {
    if (!isCompoundFile(head)) {
        // An office document, told by its content; any other file, other
        // ZIP archives included, is RTF or plain text.
        const std::optional<std::string_view> bytes = allBytes();
        const OfficeDocument office =
            bytes ? officeDocumentOf(asBytes(*bytes)) : OfficeDocument::None;
        if (office == OfficeDocument::None) {
            // The whole-file load, which names the file first.
            if (!bytes) {
                target.clearList();
                report.wholeFile = true;
                throw UserError("ストリームからの読み込みに失敗しました");
            }
            StyledText text = styledTextFromBytes(*bytes);
            // The file's bytes are done with: the list needs its memory.
            releaseBytes();
            // A text the list cannot take leaves the old list and caption.
            target.admit(text);
            target.clearList();
            report.wholeFile = true;
            target.loadWholeText(std::move(text));
            return;
        }
        LineCollector lines(target, report);
        // What reading the document may cost, judged by the list's own
        // memory rule as a text of as many bytes would be.
        ReadBudget budget([&](std::uint64_t spent) {
            TextShape shape;
            shape.bytes = static_cast<std::size_t>(spent);
            target.checkRoom(shape);
        });
        if (office == OfficeDocument::Docx) {
            extractOrClear(target, [&] { extractDocxLines(asBytes(*bytes), lines, budget); });
        } else {
            const SheetLayout layout =
                target.sheetColumnsAsSections() ? SheetLayout::ColumnSections : SheetLayout::Rows;
            // A damaged workbook or OpenDocument leaves the list as it was.
            if (office == OfficeDocument::Workbook) {
                extractWorkbookText(asBytes(*bytes), lines.sink(), budget, layout);
            } else {
                extractOpenDocumentText(asBytes(*bytes), lines.sink(), budget, layout);
            }
        }
        lines.commit();
        return;
    }
    // The fixed places first; when they give no line, the document's own
    // structure. That second road is only ever a gain: when it finds
    // nothing, or the structure is damaged, the fixed places' empty result
    // stands, without a message.
    LineCollector lines(target, report);
    WordTextOutcome outcome = WordTextOutcome::Completed;
    extractOrClear(target, [&] { outcome = extractWordText(reader, lines.sink()); });
    if (outcome == WordTextOutcome::Completed && lines.empty()) {
        if (const std::optional<std::string_view> bytes = allBytes()) {
            LineCollector pieces(target, report);
            try {
                extractWordPieceText(asBytes(*bytes), pieces.sink());
                pieces.commit();
                return;
            } catch (const FileError&) {
                // Damaged: what the fixed places gave stands.
            }
        }
    }
    lines.commit();
}

}  // namespace

std::unique_ptr<ListReplacement> WordListTarget::replaceList() {
    return collectedReplacement(*this);
}

StyledText styledTextFromBytes(std::string_view bytes) {
    // The reader itself tells RTF from anything else.
    StyledTextBuilder builder;
    if (rtf::read(bytes, builder).ok) return builder.take();
    StyledText plain;
    plain.text = decodePlainTextLines(bytes);
    return plain;
}

void dropListFont(StyledText& text, std::string_view family, int halfPoints) {
    // In place: the ranges of a document formatted character by character
    // are many, and a second copy of them all would double their cost.
    StylePool styles;
    std::vector<StyledRange>& ranges = text.ranges;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const TextStyle& old = ranges[i].style;
        SharedStyle style = ranges[i].style;
        if (old.fontFamily == family || old.halfPoints == halfPoints) {
            TextStyle changed = old;
            if (changed.fontFamily == family) changed.fontFamily.clear();
            if (changed.halfPoints == halfPoints) changed.halfPoints = 0;
            style = styles.share(changed);
        }
        if (style->isPlain() || ranges[i].length == 0) continue;
        if (kept > 0 && ranges[kept - 1].start + ranges[kept - 1].length == ranges[i].start &&
            ranges[kept - 1].style == style) {
            ranges[kept - 1].length += ranges[i].length;
            continue;
        }
        ranges[kept++] = {ranges[i].start, ranges[i].length, std::move(style)};
    }
    ranges.resize(kept);
}

std::string cannotOpenText(const std::filesystem::path& path) {
    return "ファイル " + utf8Of(path) + " は開けません";
}

StyledText readWholeFile(const std::filesystem::path& path) {
    File file = File::openForReading(path);
    if (!file.isOpen()) throw UserError(cannotOpenText(path));
    const std::optional<FileBytes> bytes = readAllBytes(file);
    if (!bytes) throw UserError("ストリームからの読み込みに失敗しました");
    return styledTextFromBytes(bytes->view());
}

void loadWordListFile(const std::string& path, WordListTarget& target, LoadReport& report) {
    const std::filesystem::path filePath = pathFromUtf8(path);
    File file = openExisting(filePath);

    std::array<std::uint8_t, 6> head{};
    const std::size_t got = file.read(head).value_or(0);
    FileReader reader(file);
    // Read whole once, when a road asks for it.
    std::optional<std::optional<FileBytes>> whole;
    loadDocument(
        std::span(head.data(), got), reader,
        [&]() -> std::optional<std::string_view> {
            if (!whole) whole = readAllBytes(file);
            if (!*whole) return std::nullopt;
            return (*whole)->view();
        },
        [&] { whole.reset(); }, target, report);
}

void loadWordListContent(std::string_view content, WordListTarget& target, LoadReport& report) {
    const std::span<const std::uint8_t> bytes = asBytes(content);
    MemoryByteReader reader(bytes);
    loadDocument(
        bytes.first(std::min<std::size_t>(bytes.size(), 6)), reader,
        [&]() -> std::optional<std::string_view> { return content; }, [] {}, target, report);
}

}  // namespace kivo
