#pragma once

#include "KeyEvent.h"

#include <string>
#include <vector>

namespace docshelf::appkit {

// An open menu (a pop-up's list or the application menu) while the user works
// it: which item is highlighted, what has been typed, which item was chosen,
// and, for a menu taller than the screen, which rows it shows. A list that does
// not fit shows as many rows as the screen holds; a scroll arrow takes the first
// row while items lie above and the last while items lie below, as on a Mac.
// Rows are counted from the top of the list, from 0; -1 is outside it. The
// renderer draws exactly the rows rowAt describes and feeds events back here.
class MenuTracker {
public:
    struct Entry {
        std::string title;
        // The item's key equivalent ("q"), shown dimmed at the right; may be empty.
        std::string keyEquivalent;
        // A line between groups of items: a row that is never highlighted or chosen.
        bool separator = false;
    };
    enum class Part { None, Item, ScrollUp, ScrollDown };
    struct Row {
        Part part = Part::None;
        // The item's index for Part::Item, else -1.
        long item = -1;
        friend bool operator==(const Row&, const Row&) = default;
    };

    static constexpr float rowHeight = 20;
    // Blank space above the first row and below the last.
    static constexpr float padding = 5;
    // Letters typed within this many seconds of each other make one prefix.
    static constexpr double typeAheadPause = 1.0;
    // However short the screen: an arrow, an item, an arrow.
    static constexpr long minimumRows = 3;
    // Rows that one notch of the wheel scrolls, as a Mac's menus scroll.
    static constexpr long wheelRows = 3;

    // marked (or -1) is the item shown checked and first highlighted. Until
    // placed, the list shows every item.
    MenuTracker(std::vector<Entry> entries, long marked);

    // Places the list for a pop-up whose box is anchorTop..anchorTop+anchorHeight
    // on a screen whose usable height starts at screenTop: the marked item lies
    // over the box where the screen allows, and is always shown. A list too long
    // for the screen is cut to the screen's part of where it would lie, so it
    // runs from the box to the screen's edge when the marked item is near an
    // end. Coordinates count from the top of the screen; the list's top.
    float placeOver(float anchorTop, float anchorHeight, float screenTop, float screenHeight);
    // Places the list with its top at top (a menu opened at the pointer), moved
    // up as far as needed to stay on the screen; the list's top.
    float placeAt(float top, float screenTop, float screenHeight);

    const std::vector<Entry>& entries() const { return entries_; }
    long numberOfRows() const { return rows_; }
    // The list's height: the rows and the padding.
    float height() const { return 2 * padding + static_cast<float>(rows_) * rowHeight; }
    Row rowAt(long row) const;
    // The row at a distance from the list's top; -1 outside, and in the padding
    // except beside a scroll arrow.
    long rowAtOffset(float y) const;
    long firstVisibleItem() const { return first_; }
    bool isItemVisible(long item) const;

    long markedItem() const { return marked_; }
    long highlightedItem() const { return highlighted_; }

    // Up, Down, Home, End, Page Up and Page Down move the highlight, past
    // separators, and scroll it into view; Return, and Space unless it continues a typed prefix, choose;
    // Escape closes; typed text goes to the first item whose title begins with it
    // (ASCII letters in any case). Keys with command do nothing.
    void keyDown(const KeyEvent& event);
    // The pointer over a row: an item is highlighted, an arrow starts scrolling.
    void mouseMoved(long row);
    // A press outside closes the list; on an arrow it scrolls one row.
    void mouseDown(long row);
    // A release on an item chooses it, except the one that ends the click that
    // opened the list, while the pointer has not moved to another item.
    void mouseUp(long row);
    // The wheel turned by notches (positive towards the end) with the pointer
    // resting on row: the list scrolls wheelRows a notch and the item now under
    // the pointer is highlighted. An arrow that comes under the resting pointer
    // does not start scrolling back; only moving onto an arrow does.
    void scrollWheel(long notches, long row);
    // While the pointer rests on an arrow, each call scrolls one row; false when
    // it rests on none or the list cannot scroll that way any more.
    bool autoscroll();

    bool isFinished() const { return finished_; }
    // The chosen item, or -1 when the list closed without a choice.
    long chosenItem() const { return chosen_; }

private:
    void layOut(float screenHeight);
    bool scrolls() const { return rows_ < count(); }
    long count() const { return static_cast<long>(entries_.size()); }
    bool hasUpArrow() const { return scrolls() && first_ > 0; }
    long itemsShown() const;
    bool hasDownArrow() const { return scrolls() && first_ + itemsShown() < count(); }
    long lastFirst() const { return scrolls() ? count() - (rows_ - 1) : 0; }
    void scrollBy(long rows);
    void scrollToShow(long item);
    void highlight(long item);
    // The item, or the nearest one that can be chosen in the direction step (1
    // or -1), else in the other; -1 when there is none.
    long choosableFrom(long item, long step) const;
    // The item a row shows, when it can be chosen; else -1.
    long choosableAt(long row) const;
    void typeAhead(const std::string& text, double at);
    void choose(long item);

    std::vector<Entry> entries_;
    long marked_;
    long highlighted_;
    long rows_;
    long first_ = 0;
    Part hoveredArrow_ = Part::None;
    bool opening_ = true;
    std::string typed_;
    double lastTyped_ = 0;
    bool finished_ = false;
    long chosen_ = -1;
};

}
