#pragma once
// The main window as data: its controls with their bounds, anchors, texts
// and hints, its menus and context menus with captions, access keys and
// hints, and the shared edit commands. Every window builds itself from
// these tables, so a caption or hint is written once for all of them.
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace kivo {

// What choosing a menu item or pressing a button runs. The numbers double
// as menu item identifiers where a toolkit wants numbers (Win32).
enum class CommandId : int {
    None = 0,
    New = 100,
    Print,
    NewImportKivo,
    AddImportKivo,
    NewImportText,
    AddImportText,
    ExportKivo,
    ExportText,
    Exit,
    FullWidth,
    HalfWidth,
    Cut,
    Copy,
    Paste,
    SelectAll,
    Undo,
    ClearList,
    ClearTopics,
    Random,
    NoRepeats,
    TwoTopics,
    ThreeTopics,
    ByHeading,
    DrawHistory,
    Help,
    About,
    NewKivo,
    ExampleStory,
    ExampleDrawing,
    Draw,
    Present,
    DarkPresentation,
    CopyTopics,
    ShareDialog,
    TimerOff,
    Timer1Minute,
    Timer3Minutes,
    Timer5Minutes,
    Timer10Minutes,
    Timer15Minutes,
    Timer30Minutes,
    Timer60Minutes,
    TimerOwnLength,
    TimerWithDraw,
    TimerStartPause,
    TimerReset,
    // The history window's button.
    SaveHistoryCsv,
    // The presentation view's keys.
    PresentationDraw,
    PresentationClose,
    PresentationFullScreen,
};

// The key that runs a command from anywhere in the main window ("F11",
// "Ctrl+Shift+C"), as the menu shows it; nullptr for none.
const char* shortcutOf(CommandId command);

// The shared edit commands (category "編集"): each shown by both the Edit
// menu and the list's context menu.
struct EditCommandText {
    CommandId command;
    const char* name;
    const char* caption;
    const char* hint;
};
std::span<const EditCommandText> editCommandTexts();
// The edit command behind `command`; nullptr for any other command.
const EditCommandText* editCommandText(CommandId command);

// A radio item is checked alone among the radio items next to it.
enum class MenuKind { Item, CheckItem, RadioItem, SubMenu, Separator };

// One row of a menu. depth 0 is the menu bar (or the top of a context
// menu); a sub-menu's rows follow it one deeper. An item that shows an edit
// command has no caption or hint of its own unless it names them.
struct MenuItem {
    int depth;
    MenuKind kind;
    const char* name;
    const char* caption;  // nullptr: the command's
    const char* hint;     // nullptr: the command's
    CommandId command;
};
std::span<const MenuItem> mainMenuItems();
std::span<const MenuItem> listMenuItems();   // PopupMenu1, over the list
std::span<const MenuItem> topicMenuItems();  // PopupMenu2, over the topics

// The caption and hint an item shows, its command's where it names none;
// a hint that counts the topics counts as many as a draw gives.
std::string_view captionOf(const MenuItem& item);
std::string_view hintOf(const MenuItem& item, std::size_t topics = 2);

// Edges of the parent a control keeps its distance to when the window is
// resized; left and top by default.
enum Anchor : unsigned {
    AnchorLeft = 1,
    AnchorTop = 2,
    AnchorRight = 4,
    AnchorBottom = 8,
    // The width follows the text (labels), from the left edge on; a text
    // too long for the rest of its row moves the label left.
    AutoWidth = 16,
};

struct Bounds {
    int left, top, width, height;
    int right() const { return left + width - 1; }
    bool operator==(const Bounds&) const = default;
};
struct Extent {
    int width, height;
};

// Where a control with these design bounds and anchors goes in a parent of
// `actual` size that was laid out at `design` size.
Bounds placeControl(Bounds bounds, unsigned anchors, Extent design, Extent actual);

// Labels that size to their text (AutoWidth among `anchors`, one per
// control) and would grow past innerRight move left to end inside it, and
// push the labels before them on their row along rather than cover them.
void keepLabelsInside(std::span<Bounds> placed, std::span<const unsigned> anchors, int innerRight);

// A heading is a label over a topic box that shows its section's heading.
enum class ControlKind { List, Button, Label, Topic, Heading };

// The controls inside GroupBox1, in tab order where they take the focus.
struct ControlRow {
    const char* name;
    ControlKind kind;
    Bounds bounds;
    unsigned anchors;
    const char* text;
    const char* hint;
    CommandId click;  // buttons only
};
// Every control the group box may show, at the bounds of two topics
// without headings.
std::span<const ControlRow> groupBoxControls();
const ControlRow& controlRow(std::string_view name);

// What the topic boxes show: how many topics, and whether each box has its
// section's heading above it.
struct TopicArea {
    std::size_t topics = 2;
    bool headings = false;
    bool operator==(const TopicArea&) const = default;
};
// The group box's controls laid out for an area: the topic boxes one under
// another from the first one's place, a heading line above each when
// headings show, and the group box, the window and the list grown by what
// that adds. Rows the area leaves out come with shown false.
struct PlacedControl {
    const ControlRow* row;
    Bounds bounds;
    bool shown;
};
std::vector<PlacedControl> groupBoxControls(TopicArea area);
// The client area at the design resolution, and the group box in it.
Extent clientDesignSize(TopicArea area);
Bounds groupBoxBounds(TopicArea area);
// The smallest client area in which the topic boxes stay clear of the
// buttons above them.
Extent smallestClient(TopicArea area);

// The window's own frame: client area at the design resolution, the status
// bar, and the group box around every control.
inline constexpr int kClientWidth = 395;
inline constexpr int kClientHeight = 216;
inline constexpr int kStatusBarHeight = 19;
inline constexpr int kStatusPanelWidth = 50;
inline constexpr Bounds kGroupBoxBounds{4, 8, 389, 185};
inline constexpr const char* kGroupBoxText = " 単語リスト ";
inline constexpr const char* kWindowFontFamily = "ＭＳ Ｐゴシック";
inline constexpr int kWindowFontPixels = 12;
inline constexpr const char* kTopicFontFamily = "FixedSys";
inline constexpr int kTopicFontPixels = 12;

// The window listing this run's draws.
inline constexpr const char* kDrawHistoryCaption = "お題の履歴";
// The history window's buttons: copy it all, clear it, close the window.
inline constexpr const char* kDrawHistoryCopyCaption = "コピー(&C)";
inline constexpr const char* kDrawHistoryClearCaption = "クリア(&L)";
inline constexpr const char* kDrawHistoryCsvCaption = "CSV で保存(&S)...";
inline constexpr const char* kDrawHistoryCsvHint =
    "履歴を、Excel で開ける CSV ファイル（日時、お題、選出方法）に保存します";
inline constexpr const char* kDrawHistoryCloseCaption = "閉じる";

// The About box: the product's long name in four pieces of alternating
// colour (0xRRGGBB), the version text, the rights and credits lines.
struct AboutNamePiece {
    const char* text;
    unsigned colour;
};
inline constexpr AboutNamePiece kAboutNamePieces[] = {
    {"Qu", 0xFFFFFF}, {"ill", 0xC0C0C0}, {"er", 0xFFFFFF}, {"y", 0xC0C0C0}};
inline constexpr const char* kAboutRightsLine = "(C) The Kivo Project";
inline constexpr const char* kAboutCreditsLine = "by Kivo crew";
inline constexpr const char* kAboutFontFamily = "Trebuchet MS";
inline constexpr int kAboutWidth = 246;
inline constexpr int kAboutHeight = 104;

}  // namespace kivo
