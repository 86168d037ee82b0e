// The small rules the windows share: the error box's text, the list's count
// from what a control reports, and labels kept inside their row.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "commands/CommandErrors.h"
#include "commands/WindowLayout.h"
#include "commands/ListContract.h"
#include "core/Errors.h"

namespace kivo {
namespace {

TEST(SharedRules, ErrorTextGetsAStopOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(errorBoxText("ファイルが見つかりません"), "ファイルが見つかりません.");
    EXPECT_EQ(errorBoxText("I/O エラー (5)"), "I/O エラー (5)");  // ")" sorts before "."
    EXPECT_EQ(errorBoxText("done."), "done.");
    EXPECT_EQ(errorBoxText("a-"), "a-");
    EXPECT_EQ(errorBoxText("a/"), "a/.");
    EXPECT_EQ(commandErrorText(std::make_exception_ptr(UserError("abc"))), "abc.");
    EXPECT_EQ(commandErrorText(std::make_exception_ptr(SilentCancel())), std::nullopt);
}

TEST(SharedRules, ALastEmptyLineIsNoEntry) {
    EXPECT_EQ(listCount(1, 0), 0u);  // an empty control still reports a line
    EXPECT_EQ(listCount(3, 0), 2u);
    EXPECT_EQ(listCount(3, 4), 3u);
    std::u16string text = u"a\vb\u2028c";
    breakLinesAsShown(text, u'\r');
    EXPECT_EQ(text, u"a\rb\rc");
}

TEST(SharedRules, ALabelGrowingPastTheEdgePushesItsRowLeft) {
    // Two labels on one row, the right one grown to 40 pixels.
    std::vector<Bounds> placed{{320, 101, 30, 12}, {352, 101, 40, 12}};
    const std::vector<unsigned> anchors{AutoWidth, AutoWidth};
    keepLabelsInside(placed, anchors, 385);
    EXPECT_EQ(placed[1].right(), 385);
    EXPECT_LT(placed[0].right(), placed[1].left);
}

}  // namespace
}  // namespace kivo
