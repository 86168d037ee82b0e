#include "files/WordPieceText.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/LittleEndian.h"
#include "core/Utf8.h"
#include "files/CompoundFile.h"
#include "files/FileError.h"

namespace kivo {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint16_t kWordIdent = 0xA5EC;
constexpr std::uint16_t kWord97 = 0x00C1;
constexpr std::uint16_t kEncrypted = 0x0100;
constexpr std::uint16_t kTableStream1 = 0x0200;
constexpr std::size_t kFkpSize = 512;
// The property pairs of the FIB this reader uses (FibRgFcLcb97).
constexpr std::size_t kChpxBins = 12;
constexpr std::size_t kPapxBins = 13;
constexpr std::size_t kClx = 33;
// Single property modifiers.
constexpr std::uint16_t kSprmCFRMarkDel = 0x0800;
constexpr std::uint16_t kSprmPFTtp = 0x2417;
constexpr std::uint16_t kSprmPFInnerTtp = 0x244C;
constexpr std::uint16_t kSprmTDefTable = 0xD608;
constexpr std::uint16_t kSprmTDefTable10 = 0xD606;
constexpr std::uint16_t kSprmPChgTabs = 0xC615;
// The same two properties given in a piece's Prm0.
constexpr unsigned kIsprmCFRMarkDel = 0x41;
constexpr unsigned kIsprmPFTtp = 0x19;

[[noreturn]] void broken() { throw FileError(kReadPastEnd); }

// The bytes [offset, offset + length) of b, or broken.
Bytes slice(Bytes b, std::uint64_t offset, std::uint64_t length) {
    if (offset > b.size() || length > b.size() - offset) broken();
    return b.subspan(offset, length);
}

// Windows-1252 for the bytes 0x80–0x9F; the others are Latin-1. The five
// bytes the code page leaves out keep their C1 code points.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromCp1252(std::uint8_t b) { return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b; }

// Calls visit(sprm, operand) for each property modifier of a grpprl, as far
// as the modifiers are whole.
template <typename Visit>
void forEachSprm(Bytes grpprl, Visit visit) {
    std::size_t at = 0;
    while (at + 2 <= grpprl.size()) {
        const std::uint16_t sprm = u16(grpprl, at);
        const std::size_t rest = grpprl.size() - at - 2;
        std::size_t size = 0;
        switch (sprm >> 13) {
            case 0:
            case 1:
                size = 1;
                break;
            case 2:
            case 4:
            case 5:
                size = 2;
                break;
            case 3:
                size = 4;
                break;
            case 7:
                size = 3;
                break;
            default:  // variable
                if (rest < 1) return;
                if (sprm == kSprmTDefTable || sprm == kSprmTDefTable10) {
                    if (rest < 2) return;
                    size = std::max<std::size_t>(u16(grpprl, at + 2) + 1u, 2);
                } else if (sprm == kSprmPChgTabs && grpprl[at + 2] == 255) {
                    // cb 255: the size follows from the counts of the tab lists.
                    if (rest < 2) return;
                    const std::size_t deleted = grpprl[at + 3];
                    const std::size_t addAt = at + 4 + 4 * deleted;
                    if (addAt >= grpprl.size()) return;
                    size = 2 + 4 * deleted + 1 + 3 * std::size_t{grpprl[addAt]};
                } else {
                    size = 1 + std::size_t{grpprl[at + 2]};
                }
        }
        if (size > rest) return;
        visit(sprm, grpprl.subspan(at + 2, size));
        at += 2 + size;
    }
}

// File positions [start, end) in the WordDocument stream that carry a
// property, sorted and disjoint.
class Ranges {
public:
    void add(std::uint32_t start, std::uint32_t end) {
        if (start < end) ranges_.push_back({start, end});
    }
    void seal() {
        std::sort(ranges_.begin(), ranges_.end());
        std::vector<std::pair<std::uint32_t, std::uint32_t>> merged;
        for (const auto& r : ranges_) {
            if (!merged.empty() && r.first <= merged.back().second) {
                merged.back().second = std::max(merged.back().second, r.second);
            } else {
                merged.push_back(r);
            }
        }
        ranges_ = std::move(merged);
    }
    // A cursor for positions that only grow, as they do within a piece.
    class Cursor {
    public:
        Cursor(const Ranges& r, std::uint32_t from) : r_(r.ranges_) {
            i_ = static_cast<std::size_t>(
                std::upper_bound(r_.begin(), r_.end(), std::make_pair(from, UINT32_MAX)) -
                r_.begin());
            if (i_ > 0) --i_;
        }
        bool contains(std::uint32_t at) {
            while (i_ < r_.size() && r_[i_].second <= at) ++i_;
            return i_ < r_.size() && r_[i_].first <= at;
        }

    private:
        const std::vector<std::pair<std::uint32_t, std::uint32_t>>& r_;
        std::size_t i_;
    };

private:
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges_;
};

// The formatted disk pages (FKPs) that a bin table (PlcBteChpx or
// PlcBtePapx) names: the runs whose properties satisfy marked go into
// ranges. paragraphs tells a PAPX page (13-byte entries) from a CHPX one.
template <typename Marked>
Ranges markedRuns(Bytes word, Bytes bins, bool paragraphs, Marked marked) {
    Ranges ranges;
    if (bins.empty()) return ranges;
    if (bins.size() < 4 || (bins.size() - 4) % 8 != 0) broken();
    const std::size_t count = (bins.size() - 4) / 8;
    std::set<std::uint32_t> seen;  // a page named twice is read once
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pn = u32(bins, 4 * (count + 1) + 4 * i) & 0x3FFFFF;
        if (!seen.insert(pn).second) continue;
        const Bytes page = slice(word, std::uint64_t{pn} * kFkpSize, kFkpSize);
        const std::size_t runs = page[kFkpSize - 1];
        const std::size_t entry = paragraphs ? 13 : 1;
        if (runs == 0 || 4 * (runs + 1) + entry * runs > kFkpSize - 1) broken();
        for (std::size_t r = 0; r < runs; ++r) {
            const std::size_t offset = 2 * std::size_t{page[4 * (runs + 1) + entry * r]};
            if (offset == 0) continue;  // no properties of its own
            Bytes grpprl;
            if (offset >= kFkpSize - 1) continue;
            if (paragraphs) {
                // PapxInFkp: cb, or 0 and cb'; then the style and the grpprl.
                std::size_t size = page[offset] == 0 ? 2 * std::size_t{page[offset + 1]}
                                                     : 2 * std::size_t{page[offset]} - 1;
                const std::size_t start = page[offset] == 0 ? offset + 2 : offset + 1;
                if (start + size > kFkpSize - 1 || size < 2) continue;
                grpprl = page.subspan(start + 2, size - 2);
            } else {
                const std::size_t size = page[offset];
                if (offset + 1 + size > kFkpSize - 1) continue;
                grpprl = page.subspan(offset + 1, size);
            }
            if (marked(grpprl)) ranges.add(u32(page, 4 * r), u32(page, 4 * (r + 1)));
        }
    }
    ranges.seal();
    return ranges;
}

bool setsDeletion(Bytes grpprl) {
    std::optional<bool> on;
    forEachSprm(grpprl, [&](std::uint16_t sprm, Bytes operand) {
        if (sprm == kSprmCFRMarkDel) on = operand[0] == 1;
    });
    return on.value_or(false);
}

bool endsRow(Bytes grpprl) {
    bool on = false;
    forEachSprm(grpprl, [&](std::uint16_t sprm, Bytes operand) {
        if (sprm == kSprmPFTtp || sprm == kSprmPFInnerTtp) on = operand[0] != 0;
    });
    return on;
}

struct Piece {
    std::uint32_t cpStart, cpEnd;
    std::uint32_t offset;  // of its first character in the WordDocument stream
    bool compressed;
    std::optional<bool> deleted, rowEnd;  // set by the piece's own Prm
};

// Turns the characters of the main text into lines.
class Lines {
public:
    explicit Lines(const LineSink& appendLine) : appendLine_(appendLine) {}

    // False once the list refused a line.
    bool character(char16_t c, bool rowEnd) {
        if (c == 0x13) {
            fields_.push_back(true);
            ++fieldCode_;
            return true;
        }
        if (c == 0x14) {
            if (!fields_.empty() && fields_.back()) {
                fields_.back() = false;
                --fieldCode_;
            }
            return true;
        }
        if (c == 0x15) {
            if (!fields_.empty()) {
                if (fields_.back()) --fieldCode_;
                fields_.pop_back();
            }
            return true;
        }
        if (fieldCode_ > 0) return true;
        if (c >= 0xD800 && c <= 0xDBFF) {
            flushLead();
            lead_ = c;
            return true;
        }
        if (c >= 0xDC00 && c <= 0xDFFF && lead_) {
            appendUtf8(line_,
                       0x10000 + ((static_cast<char32_t>(lead_) - 0xD800) << 10) + (c - 0xDC00));
            lead_ = 0;
            return true;
        }
        flushLead();
        switch (c) {
            case 0x0D:
            case 0x07:
                return rowEnd || endLine();
            case 0x0B:
                return endLine();
            case 0x0C:
                return line_.empty() || endLine();
            case 0x09:
                line_.push_back('\t');
                return true;
            case 0x1E:
                line_.push_back('-');
                return true;
            default:
                if (c >= 0x20) appendUtf8(line_, c >= 0xDC00 && c <= 0xDFFF ? 0xFFFD : c);
                return true;
        }
    }

    bool finish() {
        flushLead();
        return line_.empty() || endLine();
    }

private:
    void flushLead() {
        if (lead_) appendUtf8(line_, 0xFFFD);
        lead_ = 0;
    }
    bool endLine() {
        flushLead();
        const bool taken = appendLine_(line_);
        line_.clear();
        return taken;
    }

    const LineSink& appendLine_;
    std::string line_;
    char16_t lead_ = 0;
    std::vector<bool> fields_;  // open fields: true while in the code
    std::size_t fieldCode_ = 0;
};

}  // namespace

WordTextOutcome extractWordPieceText(std::span<const std::uint8_t> file,
                                     const LineSink& appendLine) {
    const std::optional<cfb::CompoundFile> cf = cfb::CompoundFile::open(file);
    if (!cf) broken();
    std::vector<std::uint8_t> wordBytes;
    switch (cf->readStream(u"WordDocument", wordBytes)) {
        case cfb::Status::Missing:
            return WordTextOutcome::Completed;  // not a Word document
        case cfb::Status::Broken:
            broken();
        case cfb::Status::Ok:
            break;
    }
    const Bytes word(wordBytes);

    // The FIB: its base, then counted blocks of 16-bit, 32-bit and
    // offset-and-length fields.
    if (word.size() < 34) broken();
    if (u16(word, 0) != kWordIdent || u16(word, 2) < kWord97) return WordTextOutcome::Completed;
    const std::uint16_t flags = u16(word, 0x0A);
    if (flags & kEncrypted) return WordTextOutcome::Completed;
    std::size_t at = 32;
    const std::size_t csw = u16(slice(word, at, 2), 0);
    at += 2 + 2 * csw;
    const std::size_t cslw = u16(slice(word, at, 2), 0);
    const Bytes longs = slice(word, at + 2, 4 * cslw);
    at += 2 + 4 * cslw;
    const std::size_t pairs = u16(slice(word, at, 2), 0);
    const Bytes fcLcb = slice(word, at + 2, 8 * pairs);
    if (cslw < 4 || pairs <= kClx) broken();
    const std::uint32_t textLength = u32(longs, 12);  // ccpText
    auto pair = [&](std::size_t index) {
        return std::make_pair(u32(fcLcb, 8 * index), u32(fcLcb, 8 * index + 4));
    };

    std::vector<std::uint8_t> tableBytes;
    if (cf->readStream((flags & kTableStream1) ? u"1Table" : u"0Table", tableBytes) !=
        cfb::Status::Ok) {
        broken();
    }
    const Bytes table(tableBytes);

    // The CLX: property lists (Prc) for the pieces, then the piece table.
    const auto [clxAt, clxLength] = pair(kClx);
    const Bytes clx = slice(table, clxAt, clxLength);
    std::vector<Bytes> prcs;
    std::size_t p = 0;
    while (p < clx.size() && clx[p] == 0x01) {
        const std::size_t size = u16(slice(clx, p + 1, 2), 0);
        prcs.push_back(slice(clx, p + 3, size));
        p += 3 + size;
    }
    if (p >= clx.size() || clx[p] != 0x02) broken();
    const std::uint32_t plcLength = u32(slice(clx, p + 1, 4), 0);
    const Bytes plc = slice(clx, p + 5, plcLength);
    if (plc.size() < 4 || (plc.size() - 4) % 12 != 0) broken();
    const std::size_t count = (plc.size() - 4) / 12;
    std::vector<Piece> pieces;
    pieces.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Piece piece{u32(plc, 4 * i), u32(plc, 4 * (i + 1)), 0, false, {}, {}};
        if (piece.cpEnd <= piece.cpStart) broken();
        const std::size_t pcd = 4 * (count + 1) + 8 * i;
        const std::uint32_t fc = u32(plc, pcd + 2);
        piece.compressed = (fc & 0x40000000) != 0;
        piece.offset = piece.compressed ? (fc & 0x3FFFFFFF) / 2 : fc & 0x3FFFFFFF;
        const std::uint16_t prm = u16(plc, pcd + 6);
        if (prm & 1) {
            const std::size_t index = prm >> 1;
            if (index < prcs.size()) {
                forEachSprm(prcs[index], [&](std::uint16_t sprm, Bytes operand) {
                    if (sprm == kSprmCFRMarkDel) piece.deleted = operand[0] == 1;
                    if (sprm == kSprmPFTtp) piece.rowEnd = operand[0] != 0;
                });
            }
        } else {
            const unsigned isprm = (prm >> 1) & 0x7F;
            const unsigned value = prm >> 8;
            if (isprm == kIsprmCFRMarkDel) piece.deleted = value == 1;
            if (isprm == kIsprmPFTtp) piece.rowEnd = value != 0;
        }
        pieces.push_back(piece);
    }

    // Tracked deletions from the character properties, row ends from the
    // paragraph properties.
    const auto [chpxAt, chpxLength] = pair(kChpxBins);
    const auto [papxAt, papxLength] = pair(kPapxBins);
    const Ranges deleted = markedRuns(word, slice(table, chpxAt, chpxLength), false, setsDeletion);
    const Ranges rowEnds = markedRuns(word, slice(table, papxAt, papxLength), true, endsRow);

    Lines lines(appendLine);
    // Pieces hold distinct parts of the stream: together they cannot hold
    // more text than the stream has bytes, however they overlap.
    std::uint64_t textBytes = 0;
    for (const Piece& piece : pieces) {
        if (piece.cpStart >= textLength) break;
        const std::uint32_t length = std::min(piece.cpEnd, textLength) - piece.cpStart;
        const std::size_t width = piece.compressed ? 1 : 2;
        const Bytes text = slice(word, piece.offset, std::uint64_t{length} * width);
        textBytes += text.size();
        if (textBytes > word.size()) broken();
        Ranges::Cursor isDeleted(deleted, piece.offset);
        Ranges::Cursor isRowEnd(rowEnds, piece.offset);
        for (std::uint32_t k = 0; k < length; ++k) {
            const std::uint32_t position = piece.offset + k * static_cast<std::uint32_t>(width);
            if (piece.deleted.value_or(isDeleted.contains(position))) continue;
            const char16_t c =
                piece.compressed ? fromCp1252(text[k]) : static_cast<char16_t>(u16(text, 2 * k));
            if (!lines.character(c, piece.rowEnd.value_or(isRowEnd.contains(position)))) {
                return WordTextOutcome::AppendRefused;
            }
        }
    }
    return lines.finish() ? WordTextOutcome::Completed : WordTextOutcome::AppendRefused;
}

}  // namespace kivo
