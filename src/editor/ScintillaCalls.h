#pragma once
// How a window reaches the editor it holds (Scintilla), and the editor's
// messages the list sends.
#include <cstdint>

namespace kivo {

// The editor's messages the list sends, by the numbers Scintilla documents
// for them (QScintilla passes them through unchanged); the Windows build
// checks each against Scintilla's own header.
namespace sci {
enum Message : unsigned {
    ClearAll = 2004,
    GetLength = 2006,
    GetStyleAt = 2010,
    SetUndoCollection = 2012,
    SetSavePoint = 2014,
    GetStyledText = 2015,
    GetCurrentPos = 2008,
    SetEolMode = 2031,
    StartStyling = 2032,
    SetStyling = 2033,
    SetCodePage = 2037,
    StyleClearAll = 2050,
    StyleSetFore = 2051,
    StyleSetBack = 2052,
    StyleSetItalic = 2054,
    StyleSetFont = 2056,
    StyleSetUnderline = 2059,
    StyleSetSizeFractional = 2061,
    StyleSetWeight = 2063,
    SetCaretPeriod = 2076,
    GetLineEndPosition = 2136,
    GetLineCount = 2154,
    GetModify = 2159,
    LineFromPosition = 2166,
    PositionFromLine = 2167,
    ReplaceSel = 2170,
    EmptyUndoBuffer = 2175,
    AppendText = 2282,
    LineLength = 2350,
    SetDocPointer = 2358,
    SetModEventMask = 2359,
    CreateDocument = 2375,
    ReleaseDocument = 2377,
    GetModEventMask = 2378,
    GetDocumentOptions = 2379,
    SetStatus = 2382,
    GetStatus = 2383,
    SetXOffset = 2397,
    Allocate = 2446,
    GetCharacterPointer = 2520,
    SetFirstVisibleLine = 2613,
    GetRangePointer = 2643,
};
inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kEolLf = 2;
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusBadAlloc = 2;
inline constexpr int kDocumentDefault = 0;
inline constexpr int kDocumentStylesNone = 1;
// A range of the text as the editor's styled-text message takes it.
struct TextRange {
    long from;
    long to;
    char* text;
};
}  // namespace sci

// How a window reaches its editor.
class ScintillaCalls {
public:
    virtual std::intptr_t call(unsigned message, std::uintptr_t wParam = 0,
                               std::intptr_t lParam = 0) const = 0;

protected:
    ~ScintillaCalls() = default;
};

}  // namespace kivo
