#include "commands/WindowLayout.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace kivo {
namespace {

using enum CommandId;
constexpr MenuKind I = MenuKind::Item;
constexpr MenuKind C = MenuKind::CheckItem;
constexpr MenuKind R = MenuKind::RadioItem;
constexpr MenuKind S = MenuKind::SubMenu;
constexpr MenuKind B = MenuKind::Separator;

const EditCommandText kEditCommands[] = {
    {Cut, "EditCutCmd", "切り取り(&X)", "選択部分を切り取り、クリップボードに送ります"},
    {Copy, "EditCopyCmd", "コピー(&C)", "選択部分をコピーし、クリップボードに送ります"},
    {Paste, "EditPasteCmd", "貼り付け(&V)", "クリップボードの内容を貼り付けます"},
    {SelectAll, "EditSelectAllCmd", "すべてを選択(&A)", "リストを全て選択します"},
    {Undo, "EditUndoCmd", "元に戻す(&Z)", "直前の変更を元に戻します"},
};

const MenuItem kMainMenu[] = {
    {0, S, "mnuFile", "ファイル(&F)", "語句リストとお題リストをクリアします", None},
    {1, I, "mnuNew", "新規作成(&N)", "単語リストとお題リストをクリアします", New},
    {1, B, "Bar1", "", "", None},
    {1, I, "mnuPrint", "印刷(&P)", "単語リストを印刷します", Print},
    {1, B, "Bar2", "", "", None},
    {1, S, "mnuInport", "インポート(&I)", "外部からファイルをインポートします", None},
    {2, I, "mnuNewInportKivo", "Kivo ファイルを新規インポート(&S)",
     "暗号化された Kivo 形式のファイルを新規にインポートします", NewImportKivo},
    {2, I, "mnuAddInportKivo", "Kivo ファイルを追加インポート(&A)",
     "暗号化された Kivo 形式のファイルを、既存の単語リストに追加します", AddImportKivo},
    {2, B, "Bar6", "", "", None},
    {2, I, "mnuNewInporttxt", "txt ファイルを新規インポート(&T)",
     "テキストファイルを新規にインポートします", NewImportText},
    {2, I, "mnuAddInporttxt", "txt ファイルを追加インポート(&D)",
     "既存の単語リストに追加する形でインポートを行います", AddImportText},
    {1, S, "mnuExport", "エクスポート(&E)", "単語リストを外部へエクスポートします", None},
    {2, I, "mnuExportKivo", "Kivo 形式でエクスポート(&P)", "単語リストを暗号化して保存します",
     ExportKivo},
    {2, I, "mnuExporttxt", "txt 形式でエクスポート(&T)", "単語リストを txt 形式で保存します",
     ExportText},
    {1, B, "Bar3", "", "", None},
    {1, I, "mnuExit", "終了(&X)", "Kivo を終了します", Exit},
    {0, S, "mnuEdit", "編集(&E)", "", None},
    {1, I, "mnuFullWidth", "全角変換(&F)", "カタカナ、英数を全角文字に変換します", FullWidth},
    {1, I, "mnuHalfWidth", "半角変換(&H)", "カタカナ、英数を半角文字に変換します", HalfWidth},
    {1, B, "N3", "", "", None},
    {1, I, "mnuEditCut", nullptr, nullptr, Cut},
    {1, I, "mnuEditCopy", nullptr, nullptr, Copy},
    {1, I, "mnuEditPaste", nullptr, nullptr, Paste},
    {1, I, "mnuEditSelectAll", "全て選択(&A)", nullptr, SelectAll},
    {1, B, "Bar7", "", "", None},
    {1, I, "mnuEditUndo", nullptr, nullptr, Undo},
    {1, B, "Bar10", "", "", None},
    {1, I, "mnuCopyTopics", "お題をコピー(&T)",
     "選出されたお題を、投稿に貼り付けられる形でクリップボードに送ります", CopyTopics},
    {0, S, "mnuTool", "ツール(&T)", "", None},
    {1, I, "mnuListClear", "単語リストのクリア(&C)", "単語リストをクリアします", ClearList},
    {1, I, "mnuFListClear", "お題のクリア(&L)", "選出された二つのお題をクリアします", ClearTopics},
    {1, B, "Bar4", "", "", None},
    {1, I, "mnuRandom", "ランダムを再生成(&R)", "現時刻より、ランダムを再生成します", Random},
    {1, B, "Bar8", "", "", None},
    {1, C, "mnuNoRepeats", "重複なしで選出(&U)",
     "全ての語句が選出されるまで、同じ語句を選出しません", NoRepeats},
    {1, S, "mnuTopicCount", "お題の数(&N)", "一度に選出するお題の数を選びます", None},
    {2, R, "mnuTwoTopics", "2つ(&2)", "お題を二つ選出します", TwoTopics},
    {2, R, "mnuThreeTopics", "3つ(&3)", "お題を三つ選出します", ThreeTopics},
    {1, C, "mnuByHeading", "見出しごとに選出(&M)",
     "【人物】のような見出しの行で語句を分け、見出しごとに一つずつ選出します", ByHeading},
    {1, I, "mnuDrawHistory", "お題の履歴(&H)", "今回の起動中に選出したお題の履歴を表示します",
     DrawHistory},
    {1, B, "Bar9", "", "", None},
    {1, I, "mnuPresent", "お題を大きく表示(&B)", "二つのお題を画面いっぱいに大きく表示します",
     Present},
    {1, C, "mnuDarkPresentation", "暗い配色で表示(&K)",
     "お題を大きく表示するとき、黒地に白い文字で表示します", DarkPresentation},
    {1, S, "mnuTimer", "タイマー(&I)", "お題を大きく表示するときのカウントダウンを設定します",
     None},
    {2, R, "mnuTimerOff", "なし(&N)", "カウントダウンを表示しません", TimerOff},
    {2, R, "mnuTimer1", "1 分(&1)", "1 分からカウントダウンします", Timer1Minute},
    {2, R, "mnuTimer3", "3 分(&3)", "3 分からカウントダウンします", Timer3Minutes},
    {2, R, "mnuTimer5", "5 分(&5)", "5 分からカウントダウンします", Timer5Minutes},
    {2, R, "mnuTimer10", "10 分(&A)", "10 分からカウントダウンします", Timer10Minutes},
    {2, R, "mnuTimer15", "15 分(&B)", "15 分からカウントダウンします", Timer15Minutes},
    {2, R, "mnuTimer30", "30 分(&C)", "30 分からカウントダウンします", Timer30Minutes},
    {2, R, "mnuTimer60", "60 分(&D)", "60 分からカウントダウンします", Timer60Minutes},
    {2, R, "mnuTimerOwn", "時間を指定(&M)...", "カウントダウンする時間を分で指定します",
     TimerOwnLength},
    {2, B, "Bar11", "", "", None},
    {2, C, "mnuTimerWithDraw", "選出と同時に開始(&W)",
     "お題を選出するたびに、カウントダウンを最初から始めます", TimerWithDraw},
    {2, B, "Bar12", "", "", None},
    {2, I, "mnuTimerStart", "開始／一時停止(&S)",
     "カウントダウンを開始、または一時停止します（大きく表示中は T キー）", TimerStartPause},
    {2, I, "mnuTimerReset", "リセット(&R)",
     "カウントダウンを最初の時間に戻します（大きく表示中は R キー）", TimerReset},
    {1, B, "Bar13", "", "", None},
    {1, I, "mnuShare", "配信用ファイルに書き出す(&O)…",
     "お題を配信ソフトが読むテキストファイルに書き出す設定と、コピーの形式を設定します",
     ShareDialog},
    {0, S, "mnuHelp", "ヘルプ(&H)", "", None},
    {1, I, "mnuKivoHelp", "Kivo のヘルプ(&P)", "Kivo のヘルプを表示します", Help},
    {1, S, "mnuExamples", "例のリスト(&E)", "見出しごとに選出するための例のリストを開きます", None},
    {2, I, "mnuExampleStory", "三題噺（人物・場所・もの）(&S)", "三題噺の例のリストを開きます",
     ExampleStory},
    {2, I, "mnuExampleDrawing", "お絵描き練習（キャラクター・ポーズ・背景）(&D)",
     "お絵描き練習の例のリストを開きます", ExampleDrawing},
    {1, B, "Bar5", "", "Kivo のヘルプを表示します", None},
    {1, I, "mnuAbout", "バージョン情報(&A)", "Kivo のバージョン情報を表示します", About},
    {1, I, "mnuNewKivo", "最新版を確認(&N)", "開発者ホームページへ接続します", NewKivo},
};

const MenuItem kListMenu[] = {
    {0, I, "mnuClear", "単語リストのクリア(&L)", "単語リストをクリアします", ClearList},
    {0, B, "N1", "", "", None},
    {0, I, "mnuPUCut", nullptr, nullptr, Cut},
    {0, I, "mnuPUCopy", nullptr, nullptr, Copy},
    {0, I, "mnuPUPaste", nullptr, nullptr, Paste},
    {0, I, "mnuSelectAll", "全て選択(&A)", nullptr, SelectAll},
    {0, B, "N2", "", "", None},
    {0, I, "mnuPUUndo", nullptr, nullptr, Undo},
};

const MenuItem kTopicMenu[] = {
    {0, I, "mnuFListC", "お題リストのクリア(&C)", "選出された二つのお題をクリアします",
     ClearTopics},
};

constexpr unsigned kBottomRow = AnchorLeft | AnchorRight | AnchorBottom;
// Labels size themselves to their text, so a long count is never cut.
constexpr unsigned kLabel = kBottomRow | AutoWidth;
using K = ControlKind;

const ControlRow kControls[] = {
    {"Memo",
     K::List,
     {12, 24, 209, 153},
     AnchorLeft | AnchorTop | AnchorBottom,
     "",
     "単語リスト",
     None},
    {"ButtonOK",
     K::Button,
     {232, 29, 145, 20},
     AnchorLeft | AnchorTop,
     "お題の選出",
     "お題をランダムに選出します",
     Draw},
    {"ButtonListClear",
     K::Button,
     {232, 56, 145, 20},
     AnchorLeft | AnchorTop,
     "単語リストのクリア",
     "単語リストをクリアします",
     ClearList},
    {"Label3", K::Label, {235, 101, 59, 12}, kLabel, "今回のお題", "", None},
    {"Label1", K::Label, {320, 101, 30, 12}, kLabel, "総数：", "単語の総数です", None},
    {"LabelLineValue", K::Label, {352, 101, 6, 12}, kLabel, "0", "単語の総数です", None},
    {"Edit1st", K::Topic, {232, 117, 145, 26}, kBottomRow, "", "お題その 1", None},
    {"Edit2nd", K::Topic, {232, 151, 145, 26}, kBottomRow, "", "お題その 2", None},
    {"Edit3rd", K::Topic, {232, 185, 145, 26}, kBottomRow, "", "お題その 3", None},
    {"LabelHeading1", K::Heading, {234, 117, 143, 12}, kBottomRow, "", "お題その 1 の見出し", None},
    {"LabelHeading2", K::Heading, {234, 151, 143, 12}, kBottomRow, "", "お題その 2 の見出し", None},
    {"LabelHeading3", K::Heading, {234, 185, 143, 12}, kBottomRow, "", "お題その 3 の見出し", None},
};

// The hints that count the topics, as they read when three are drawn.
struct ThreeTopicsHint {
    const char* name;
    const char* hint;
};
const ThreeTopicsHint kThreeTopicsHints[] = {
    {"mnuFListClear", "選出された三つのお題をクリアします"},
    {"mnuFListC", "選出された三つのお題をクリアします"},
    {"mnuPresent", "三つのお題を画面いっぱいに大きく表示します"},
};

// The topic column: a box's height and the gap under it, a heading line's
// height with its gap, and the place of the first box.
constexpr int kTopicRow = 34;
constexpr int kHeadingRow = 14;
constexpr int kFirstTopicTop = 117;
// The least room kept between the buttons and the caption over the topics.
constexpr int kButtonsToTopics = 4;

int topicAreaGrowth(TopicArea area) {
    const int rows = static_cast<int>(area.topics);
    return rows * (kTopicRow + (area.headings ? kHeadingRow : 0)) - 2 * kTopicRow;
}

// One axis: an edge anchored on both sides stretches, one anchored on the
// far side moves with it, one anchored on neither keeps its centre in
// proportion, as the original form designer does.
void placeAxis(int& pos, int& len, bool nearEdge, bool farEdge, int designExtent,
               int actualExtent) {
    const int grow = actualExtent - designExtent;
    if (nearEdge && farEdge) {
        len = std::max(0, len + grow);
    } else if (farEdge) {
        pos += grow;
    } else if (!nearEdge && designExtent > 0) {
        const int centre = pos + len / 2;
        pos = centre * actualExtent / designExtent - len / 2;
    }
}

}  // namespace

Bounds placeControl(Bounds b, unsigned anchors, Extent design, Extent actual) {
    placeAxis(b.left, b.width, anchors & AnchorLeft, anchors & AnchorRight, design.width,
              actual.width);
    placeAxis(b.top, b.height, anchors & AnchorTop, anchors & AnchorBottom, design.height,
              actual.height);
    return b;
}

void keepLabelsInside(std::span<Bounds> placed, std::span<const unsigned> anchors, int innerRight) {
    constexpr int kGap = 1;
    std::vector<std::size_t> labels;
    for (std::size_t k = 0; k < placed.size() && k < anchors.size(); ++k) {
        if (anchors[k] & AutoWidth) labels.push_back(k);
    }
    // Row by row, from the right.
    std::sort(labels.begin(), labels.end(), [&](std::size_t a, std::size_t b) {
        if (placed[a].top != placed[b].top) return placed[a].top < placed[b].top;
        return placed[a].left > placed[b].left;
    });
    int limit = innerRight;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        Bounds& r = placed[labels[i]];
        if (i > 0 && r.top != placed[labels[i - 1]].top) limit = innerRight;
        if (r.right() > limit) r.left = std::max(limit, r.width - 1) - r.width + 1;
        limit = r.left - kGap;
    }
}

std::span<const EditCommandText> editCommandTexts() { return kEditCommands; }

const EditCommandText* editCommandText(CommandId command) {
    for (const EditCommandText& text : kEditCommands) {
        if (text.command == command) return &text;
    }
    return nullptr;
}

std::span<const MenuItem> mainMenuItems() { return kMainMenu; }
std::span<const MenuItem> listMenuItems() { return kListMenu; }
std::span<const MenuItem> topicMenuItems() { return kTopicMenu; }

const char* shortcutOf(CommandId command) {
    switch (command) {
        case Present:
            return "F11";
        case CopyTopics:
            return "Ctrl+Shift+C";
        default:
            return nullptr;
    }
}

std::string_view captionOf(const MenuItem& item) {
    if (item.caption) return item.caption;
    const EditCommandText* command = editCommandText(item.command);
    return command ? command->caption : "";
}

std::string_view hintOf(const MenuItem& item, std::size_t topics) {
    if (topics == 3) {
        for (const ThreeTopicsHint& three : kThreeTopicsHints) {
            if (std::string_view(three.name) == item.name) return three.hint;
        }
    }
    if (item.hint) return item.hint;
    const EditCommandText* command = editCommandText(item.command);
    return command ? command->hint : "";
}

std::span<const ControlRow> groupBoxControls() { return kControls; }

const ControlRow& controlRow(std::string_view name) {
    for (const ControlRow& row : kControls) {
        if (name == row.name) return row;
    }
    throw std::logic_error("no control named " + std::string(name));
}

std::vector<PlacedControl> groupBoxControls(TopicArea area) {
    const int growth = topicAreaGrowth(area);
    const int heading = area.headings ? kHeadingRow : 0;
    std::vector<PlacedControl> placed;
    for (const ControlRow& row : kControls) {
        PlacedControl control{&row, row.bounds, true};
        const std::string_view name = row.name;
        // Which topic row a box or heading line belongs to (0 for none).
        const std::size_t topic = name == "Edit1st" || name == "LabelHeading1"   ? 1
                                  : name == "Edit2nd" || name == "LabelHeading2" ? 2
                                  : name == "Edit3rd" || name == "LabelHeading3" ? 3
                                                                                 : 0;
        if (row.kind == ControlKind::List) {
            control.bounds.height += growth;
        } else if (topic > 0) {
            const int rowTop = kFirstTopicTop + static_cast<int>(topic - 1) * (kTopicRow + heading);
            control.bounds.top = row.kind == ControlKind::Heading ? rowTop : rowTop + heading;
            control.shown =
                topic <= area.topics && (row.kind != ControlKind::Heading || area.headings);
        }
        placed.push_back(control);
    }
    return placed;
}

Extent clientDesignSize(TopicArea area) {
    return {kClientWidth, kClientHeight + topicAreaGrowth(area)};
}

Bounds groupBoxBounds(TopicArea area) {
    Bounds box = kGroupBoxBounds;
    box.height += topicAreaGrowth(area);
    return box;
}

Extent smallestClient(TopicArea area) {
    const int buttonsBottom =
        controlRow("ButtonListClear").bounds.top + controlRow("ButtonListClear").bounds.height;
    const int slack = controlRow("Label3").bounds.top - buttonsBottom - kButtonsToTopics;
    const Extent design = clientDesignSize(area);
    return {design.width, design.height - slack};
}

}  // namespace kivo
