#include "editor/ScintillaList.h"

#include <new>

#include "commands/ListContract.h"
#include "editor/ListEditor.h"

namespace kivo {

std::uint32_t ScintillaList::count() const {
    const std::intptr_t lines = call(sci::GetLineCount);
    const auto last = static_cast<std::uintptr_t>(lines - 1);
    const std::intptr_t lastLength =
        call(sci::GetLineEndPosition, last) - call(sci::PositionFromLine, last);
    return listCount(static_cast<std::uint32_t>(lines), static_cast<std::size_t>(lastLength));
}

std::string_view ScintillaList::lineOf(const ScintillaCalls& editor, std::uint32_t i) {
    const auto call = [&editor](unsigned message, std::uintptr_t w = 0, std::intptr_t l = 0) {
        return editor.call(message, w, l);
    };
    if (static_cast<std::intptr_t>(i) >= call(sci::GetLineCount)) return {};
    const std::intptr_t start = call(sci::PositionFromLine, i);
    const std::intptr_t end = call(sci::GetLineEndPosition, i);
    const std::intptr_t length = std::min(end - start, static_cast<std::intptr_t>(kLineBytesRead));
    const auto* bytes = reinterpret_cast<const char*>(
        call(sci::GetRangePointer, static_cast<std::uintptr_t>(start), length));
    if (!bytes) return {};
    return lineAsRead({bytes, static_cast<std::size_t>(length)}, length < end - start);
}

std::string_view ScintillaList::text() const {
    const std::intptr_t length = call(sci::GetLength);
    const auto* bytes = reinterpret_cast<const char*>(call(sci::GetCharacterPointer));
    return bytes ? std::string_view(bytes, static_cast<std::size_t>(length)) : std::string_view();
}

std::vector<std::string> ScintillaList::lines() const {
    const std::uint32_t entries = count();
    std::vector<std::string> out;
    out.reserve(entries);
    const std::string_view all = text();
    std::size_t from = 0;
    while (out.size() < entries) {
        std::size_t end = all.find('\n', from);
        if (end == std::string_view::npos) end = all.size();
        out.emplace_back(all.substr(from, end - from));
        from = end + 1;
    }
    return out;
}

StyledText ScintillaList::styledText() const {
    const std::string_view all = text();
    return {std::string(all), styles_.ranges(all.size())};
}

bool ScintillaList::isModified() const { return forcedModified_ || call(sci::GetModify) != 0; }

void ScintillaList::setModified(bool modified) {
    // The editor can only be told that its text is saved; a mark the
    // program sets is kept beside it.
    forcedModified_ = modified;
    if (!modified) call(sci::SetSavePoint);
}

void ScintillaList::programChange(const std::function<void()>& change) {
    // Nobody hears of each piece either: a notice per insertion made a load
    // in pieces quadratic. The window tells of the change once, at its end.
    const std::intptr_t events = call(sci::GetModEventMask);
    call(sci::SetUndoCollection, 0);
    call(sci::SetModEventMask, 0);
    struct Restore {
        const ScintillaList& list;
        std::intptr_t events;
        ~Restore() {
            list.call(sci::EmptyUndoBuffer);
            list.call(sci::SetUndoCollection, 1);
            list.call(sci::SetModEventMask, static_cast<std::uintptr_t>(events));
        }
    } restore{*this, events};
    change();
    if (call(sci::GetStatus) == sci::kStatusBadAlloc) {
        // The editor catches its own allocation failures and only records
        // them; a list cut off part-way is no list, so none is kept.
        call(sci::SetStatus, sci::kStatusOk);
        call(sci::ClearAll);
        call(sci::SetStatus, sci::kStatusOk);
        styles_.reset();
        throw std::bad_alloc();
    }
}

void ScintillaList::startDocument(bool styled) {
    // A list without formatting needs no style byte beside each byte of its
    // text; the editor keeps them only in a document made with them. A large
    // list is let go of whole rather than deleted line by line.
    const bool hasStyles = (call(sci::GetDocumentOptions) & sci::kDocumentStylesNone) == 0;
    if (hasStyles == styled &&
        call(sci::GetLength) < static_cast<std::intptr_t>(kFreshDocumentBytes)) {
        call(sci::ClearAll);
        return;
    }
    const std::intptr_t document =
        call(sci::CreateDocument, 0, styled ? sci::kDocumentDefault : sci::kDocumentStylesNone);
    if (document == 0) throw std::bad_alloc();
    useDocument(document);
}

void ScintillaList::useDocument(std::intptr_t document) {
    // A document the editor was made with may be held elsewhere too (by
    // QScintilla's wrapper): emptied, it holds no list's memory.
    call(sci::ClearAll);
    call(sci::SetDocPointer, 0, document);
    call(sci::ReleaseDocument, 0, document);
    // What belongs to a document rather than to the editor.
    call(sci::SetCodePage, sci::kCodePageUtf8);
    call(sci::SetEolMode, sci::kEolLf);
    call(sci::SetUndoCollection, 0);
}

namespace {

// The text with what a control would show as a new line inside one entry
// as a line break; copied into `changed` only when there is something to
// change.
std::string_view brokenAsShown(std::string_view text, std::string& changed) {
    if (!hasShownLineBreaks(text)) return text;
    changed = breakLinesAsShown(text);
    return changed;
}

}  // namespace

void ScintillaList::replaceAll(std::string_view loaded, const std::vector<StyledRange>& ranges) {
    std::string changed;
    const std::string_view text = brokenAsShown(loaded, changed);
    programChange([&] {
        startDocument(!ranges.empty());
        styles_.reset();
        call(sci::Allocate, text.size() + 1);
        call(sci::AppendText, text.size(), reinterpret_cast<std::intptr_t>(text.data()));
        if (call(sci::GetStatus) == sci::kStatusBadAlloc) return;
        styles_.apply(text, ranges);
    });
    // At the top, caret first; no scrolling to the caret, which would lay
    // out the first line before it is shown.
    call(sci::SetFirstVisibleLine, 0);
    call(sci::SetXOffset, 0);
}

void ScintillaList::replaceSelection(const std::string& text) {
    call(sci::SetUndoCollection, 0);
    call(sci::ReplaceSel, 0, reinterpret_cast<std::intptr_t>(text.c_str()));
    call(sci::EmptyUndoBuffer);
    call(sci::SetUndoCollection, 1);
}

void ScintillaList::append(std::string_view lines) {
    std::string changed;
    const std::string_view text = brokenAsShown(lines, changed);
    programChange([&] {
        // Room for it all at once, rather than the buffer growing step by
        // step under a large text.
        call(sci::Allocate, static_cast<std::uintptr_t>(call(sci::GetLength)) + text.size() + 1);
        call(sci::AppendText, text.size(), reinterpret_cast<std::intptr_t>(text.data()));
    });
    // Appended lines change the list as an edit would.
    forcedModified_ = true;
}

void ScintillaList::settleCaret(int period) {
    const std::intptr_t line = call(sci::LineFromPosition, call(sci::GetCurrentPos));
    const bool steady = call(sci::LineLength, line) > static_cast<std::intptr_t>(kSteadyCaretLine);
    call(sci::SetCaretPeriod, steady ? 0 : period);
}

}  // namespace kivo
