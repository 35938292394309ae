#include "platform/appkit/MenuTracker.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

// "QX-0000", "QX-0001", ...: a disc's worth of models, sorted.
std::vector<MenuTracker::Entry> models(long count) {
    std::vector<MenuTracker::Entry> entries;
    for (long i = 0; i < count; ++i) {
        std::string digits = std::to_string(i);
        entries.push_back({"QX-" + std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits, ""});
    }
    return entries;
}

// A key at a time in seconds, so that type-ahead's pause is the test's to set.
KeyEvent press(Key key, double at = 0) {
    return {key, key == Key::Space ? " " : "", false, false, false, at};
}
KeyEvent typed(std::string text, double at = 0) {
    return {Key::Other, std::move(text), false, false, false, at};
}

constexpr float screenHeight = 900;

struct TrackCase {
    const char* name;
    long items;
    long marked;
    std::vector<KeyEvent> keys;
    long rows;
    long highlighted;
    long firstVisible;
    long chosen; // -2: still open
};

void PrintTo(const TrackCase& c, std::ostream* out) {
    *out << c.name;
}

class MenuTrackerKeys : public ::testing::TestWithParam<TrackCase> {};

// Opened over a pop-up in the middle of a 900 point screen.
TEST_P(MenuTrackerKeys, TheHighlightMovesAndStaysInViewOnAListThatFitsTheScreen) {
    const TrackCase& c = GetParam();
    MenuTracker tracker(models(c.items), c.marked);
    float top = tracker.placeOver(440, 21, 0, screenHeight);
    for (const auto& key : c.keys)
        tracker.keyDown(key);

    EXPECT_GE(top, 0) << c.name;
    EXPECT_LE(top + tracker.height(), screenHeight) << c.name;
    EXPECT_EQ(tracker.numberOfRows(), c.rows) << c.name;
    EXPECT_EQ(tracker.highlightedItem(), c.highlighted) << c.name;
    if (c.highlighted >= 0) {
        EXPECT_TRUE(tracker.isItemVisible(c.highlighted)) << c.name;
    }
    EXPECT_EQ(tracker.firstVisibleItem(), c.firstVisible) << c.name;
    EXPECT_EQ(tracker.isFinished() ? tracker.chosenItem() : -2, c.chosen) << c.name;
}

// The pop-up's row is at 440. Opened on the first of 3,000 models the list runs
// from there to the screen's bottom: 22 rows, 21 items and an arrow, until the
// end shows its last 21 below the up arrow (first 2,979). Opened in the middle
// it fills the screen's 44 rows.
INSTANTIATE_TEST_SUITE_P(
    Keys, MenuTrackerKeys,
    ::testing::Values(
        TrackCase{"a short list shows every item over the pop up", 3, 1, {}, 3, 1, 0, -2},
        TrackCase{"Down moves to the next item", 3, 1, {press(Key::Down)}, 3, 2, 0, -2},
        TrackCase{"Down stops at the last item", 3, 2, {press(Key::Down)}, 3, 2, 0, -2},
        TrackCase{"Up from nothing highlighted goes to the first", 3, -1, {press(Key::Up)}, 3, 0, 0, -2},
        TrackCase{"Return chooses the highlighted item", 3, 0, {press(Key::Down), press(Key::Return)}, 3, 1, 0, 1},
        TrackCase{"Escape closes without a choice", 3, 0, {press(Key::Escape)}, 3, 0, 0, -1},
        TrackCase{"3000 models open on the first, the rest below", 3000, 0, {}, 22, 0, 0, -2},
        TrackCase{"3000 models End shows the last", 3000, 0, {press(Key::End)}, 22, 2999, 2979, -2},
        TrackCase{
            "3000 models Home after End shows the first", 3000, 0, {press(Key::End), press(Key::Home)}, 22, 0, 0, -2},
        TrackCase{"3000 models Down past the last row scrolls one row", 3000, 0,
                  std::vector<KeyEvent>(21, press(Key::Down)), 22, 21, 2, -2},
        TrackCase{"3000 models Page Down moves to the last row shown", 3000, 0, {press(Key::PageDown)}, 22, 20, 0, -2},
        TrackCase{"3000 models typing goes to the first item with that prefix",
                  3000,
                  0,
                  {typed("q", 1), typed("x", 1.2), typed("-", 1.4), typed("2", 1.6), typed("5", 1.8)},
                  22,
                  2500,
                  2481,
                  -2},
        TrackCase{"3000 models after a pause typing starts anew and scrolls up",
                  3000,
                  0,
                  {typed("qx-25", 1), typed("z", 3), typed("qx-01", 5)},
                  22,
                  100,
                  100,
                  -2},
        TrackCase{
            "3000 models reopened in the middle fills the screen over the pop up", 3000, 2500, {}, 44, 2500, 2479, -2},
        TrackCase{"3000 models reopened on the last item ends at the pop up", 3000, 2999, {}, 22, 2999, 2979, -2},
        TrackCase{"3000 models typed then Return chooses",
                  3000,
                  0,
                  {typed("qx-1234", 1), press(Key::Return, 1.5)},
                  22,
                  1234,
                  1215,
                  1234},
        TrackCase{"60000 models End still fits the screen", 60000, 0, {press(Key::End)}, 22, 59999, 59979, -2}),
    [](const auto& testCase) { return docshelf::testing::caseName(testCase.param.name); });

TEST(MenuTrackerTest, ARowIsAnArrowOnlyWhileItemsLieThatWay) {
    // Over a pop-up at the screen's top, the list has all 44 rows.
    MenuTracker tracker(models(3000), 0);
    tracker.placeOver(5, 21, 0, screenHeight);
    EXPECT_EQ(tracker.rowAt(0), (MenuTracker::Row{MenuTracker::Part::Item, 0}));
    EXPECT_EQ(tracker.rowAt(43).part, MenuTracker::Part::ScrollDown);
    EXPECT_EQ(tracker.rowAt(44).part, MenuTracker::Part::None);
    EXPECT_EQ(tracker.rowAtOffset(4), -1) << "the padding by an item is no row";
    EXPECT_EQ(tracker.rowAtOffset(5 + 20 * 44 + 2), 43) << "the padding by an arrow is the arrow's";

    // The pointer resting on the down arrow scrolls a row at a time.
    tracker.mouseMoved(43);
    EXPECT_TRUE(tracker.autoscroll());
    EXPECT_EQ(tracker.rowAt(0).part, MenuTracker::Part::ScrollUp);
    EXPECT_EQ(tracker.rowAt(1), (MenuTracker::Row{MenuTracker::Part::Item, 1}));
    tracker.scrollWheel(10000, -1);
    EXPECT_EQ(tracker.rowAt(43), (MenuTracker::Row{MenuTracker::Part::Item, 2999}));
    EXPECT_FALSE(tracker.autoscroll()) << "scrolled past the end";
    tracker.mouseDown(0);
    EXPECT_EQ(tracker.rowAt(1), (MenuTracker::Row{MenuTracker::Part::Item, 2956}));
    EXPECT_EQ(tracker.rowAtOffset(4), 0) << "the padding by an arrow is the arrow's";
}

struct WheelCase {
    const char* name;
    long pointerRow;
    long notches;
    long firstVisible;
    long highlighted;
};

void PrintTo(const WheelCase& c, std::ostream* out) {
    *out << c.name;
}

class MenuTrackerWheel : public ::testing::TestWithParam<WheelCase> {};

// 3,000 models over a pop-up at the screen's top: 44 rows, items 0 to 42 and a
// down arrow. Once scrolled, row 0 is the up arrow and row r shows item first + r - 1.
TEST_P(MenuTrackerWheel, ANotchScrollsThreeRowsFromAnyRowAndTheRestingPointerStartsNoArrow) {
    const WheelCase& c = GetParam();
    MenuTracker tracker(models(3000), 0);
    tracker.placeOver(5, 21, 0, screenHeight);
    tracker.mouseMoved(c.pointerRow);
    tracker.scrollWheel(c.notches, c.pointerRow);
    EXPECT_EQ(tracker.firstVisibleItem(), c.firstVisible) << c.name;
    EXPECT_EQ(tracker.highlightedItem(), c.highlighted) << c.name;
    EXPECT_FALSE(tracker.autoscroll()) << c.name << ": the arrow under the resting pointer scrolled back";
    EXPECT_EQ(tracker.firstVisibleItem(), c.firstVisible) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Rows, MenuTrackerWheel,
                         ::testing::Values(WheelCase{"a notch down on the first row", 0, 1, 3, -1},
                                           WheelCase{"a notch down in the middle highlights the item now there", 10, 1,
                                                     3, 12},
                                           WheelCase{"two notches down on the first row", 0, 2, 6, -1},
                                           WheelCase{"a notch up at the top stays", 5, -1, 0, 5},
                                           WheelCase{"many notches down end at the last item", 43, 10000, 2957, 2999}),
                         [](const auto& wheel) { return docshelf::testing::caseName(wheel.param.name); });

TEST(MenuTrackerTest, ASeparatorIsNeverHighlightedOrChosen) {
    // About, a line, Hide, a line, Quit: an application menu opened at the pointer.
    MenuTracker tracker({{"About", ""}, {"", "", true}, {"Hide", "h"}, {"", "", true}, {"Quit", "q"}}, -1);
    tracker.placeAt(100, 0, screenHeight);
    tracker.mouseMoved(1);
    EXPECT_EQ(tracker.highlightedItem(), -1) << "the pointer on a line highlights it";
    tracker.mouseUp(1);
    EXPECT_FALSE(tracker.isFinished()) << "a release on a line chose it";
    tracker.keyDown(press(Key::End));
    EXPECT_EQ(tracker.highlightedItem(), 4);
    tracker.keyDown(press(Key::Up));
    EXPECT_EQ(tracker.highlightedItem(), 2) << "Up stopped on the line";
    tracker.keyDown(press(Key::Up));
    tracker.keyDown(press(Key::Up));
    EXPECT_EQ(tracker.highlightedItem(), 0) << "Up went past the first item";
    tracker.mouseMoved(3);
    tracker.mouseUp(3);
    tracker.keyDown(press(Key::Return));
    EXPECT_EQ(tracker.chosenItem(), -1) << "the line under the pointer was chosen";
}

TEST(MenuTrackerTest, TheClickThatOpenedTheListDoesNotChooseButAReleaseOnAnotherItemDoes) {
    MenuTracker tracker(models(3), 1);
    tracker.placeOver(100, 21, 0, screenHeight);
    tracker.mouseMoved(1);
    tracker.mouseUp(1);
    EXPECT_FALSE(tracker.isFinished()) << "the opening click chose";
    tracker.mouseMoved(2);
    tracker.mouseUp(2);
    EXPECT_EQ(tracker.chosenItem(), 2);

    MenuTracker outside(models(3), 1);
    outside.mouseDown(-1);
    EXPECT_TRUE(outside.isFinished());
    EXPECT_EQ(outside.chosenItem(), -1);
}

}
}
