#pragma once
// What both windows' lists share of the editor they are built on
// (Scintilla): what a line costs it, how it is kept responsive, how lines
// are read out of its UTF-8 text and what text from outside becomes in it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ListContract.h"

namespace kivo {

// What a line costs the editor, measured with the real control and the
// list's own configuration: the process's peak memory before and after a
// million lines go in as a load puts them in, less the text, per line.
//   Linux (QScintilla): 6.5 bytes (short lines), 6.4 (empty lines):
//     build/bench/wordlist_bench --benchmark_filter='BM_LineCost/0' (and /1)
//   Windows (kivo.exe, here under Wine): 6.2 and 6.3:
//     wine build-windows/tests/win32/win32_figures.exe line-cost
// The line index is copied whole each time it grows; the figure keeps room
// for that on another machine's allocator.
inline constexpr std::size_t kEditorBytesPerLine = 9;
inline constexpr ListCosts kEditorCosts{.bytesPerLine = kEditorBytesPerLine};
// A line wider than this makes the caret stand still: each blink repaints
// the caret's line, and a line is laid out whole.
inline constexpr std::size_t kSteadyCaretLine = 64 * 1024;
// Beyond this a list is replaced by a fresh document rather than emptied
// line by line.
inline constexpr std::size_t kFreshDocumentBytes = 1024 * 1024;

// Bytes of a line worth reading for the draw: every character costs at
// least one byte of code page 932 and at most four of UTF-8, so no more
// can fit, even in a line of megabytes.
inline constexpr std::size_t kLineBytesRead = kMaxLineBytes * 4;

// The line as the draw reads it, from the first bytes of its text (at most
// kLineBytesRead; `cut` when the line goes on): whole characters, at most
// kMaxLineBytes bytes of their code page 932 form.
std::string_view lineAsRead(std::string_view bytes, bool cut);

// Text from outside (a paste, the clipboard) as the list holds it: CR LF
// and lone CRs as "\n", and what a control would show as a new line inside
// one entry (ListContract.h) as a line break too.
std::string asListText(std::string_view text);

// Lines as one text, each ended by "\n".
std::string joinedLines(const std::vector<std::string>& lines);

}  // namespace kivo
