#include "MenuTracker.h"

#include <algorithm>
#include <cmath>

namespace docshelf::appkit {

namespace {

// ASCII letters compared without case; every other byte exactly.
bool beginsWith(const std::string& title, const std::string& prefix) {
    if (prefix.size() > title.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(title[i]) != lower(prefix[i]))
            return false;
    return true;
}

}

MenuTracker::MenuTracker(std::vector<Entry> entries, long marked)
    : entries_(std::move(entries)), marked_(marked >= 0 && marked < static_cast<long>(entries_.size()) ? marked : -1),
      highlighted_(marked_), rows_(static_cast<long>(entries_.size())) {}

void MenuTracker::layOut(float screenHeight) {
    auto fitting = static_cast<long>(std::floor((screenHeight - 2 * padding) / rowHeight));
    rows_ = std::min(count(), std::max(minimumRows, fitting));
    first_ = std::clamp(first_, 0L, lastFirst());
}

float MenuTracker::placeOver(float anchorTop, float anchorHeight, float screenTop, float screenHeight) {
    layOut(screenHeight);
    if (marked_ < 0)
        return placeAt(anchorTop, screenTop, screenHeight);
    float rowTop = anchorTop + std::floor((anchorHeight - rowHeight) / 2);
    // Where the whole list would lie with the marked item over the box.
    float wholeTop = rowTop - padding - static_cast<float>(marked_) * rowHeight;
    float screenBottom = screenTop + screenHeight;
    float top = std::clamp(wholeTop, screenTop, std::max(screenTop, screenBottom - height()));
    if (scrolls()) {
        // Too long for the screen: the part of it that the screen holds, so that
        // the marked item stays over the box as a Mac's does.
        float wholeBottom = wholeTop + 2 * padding + static_cast<float>(count()) * rowHeight;
        float bottom = std::min(wholeBottom, screenBottom);
        top = std::max(wholeTop, screenTop);
        layOut(bottom - top);
        top = bottom < screenBottom ? bottom - height() : top;
        top = std::clamp(top, screenTop, std::max(screenTop, screenBottom - height()));
    }
    // The row that lies over the box, and the first item that puts the marked one there.
    auto row = std::clamp(static_cast<long>(std::lround((rowTop - top - padding) / rowHeight)), 0L, rows_ - 1);
    first_ = std::clamp(marked_ > row ? marked_ - row + 1 : 0, 0L, lastFirst());
    scrollToShow(marked_);
    return top;
}

float MenuTracker::placeAt(float top, float screenTop, float screenHeight) {
    layOut(screenHeight);
    first_ = 0;
    scrollToShow(highlighted_);
    return std::clamp(top, screenTop, std::max(screenTop, screenTop + screenHeight - height()));
}

long MenuTracker::itemsShown() const {
    if (!scrolls())
        return count();
    long room = rows_ - (hasUpArrow() ? 1 : 0);
    return count() - first_ <= room ? count() - first_ : room - 1;
}

MenuTracker::Row MenuTracker::rowAt(long row) const {
    if (row < 0 || row >= rows_)
        return {};
    if (row == 0 && hasUpArrow())
        return {Part::ScrollUp, -1};
    if (row == rows_ - 1 && hasDownArrow())
        return {Part::ScrollDown, -1};
    long item = first_ + row - (hasUpArrow() ? 1 : 0);
    return item < count() ? Row{Part::Item, item} : Row{};
}

long MenuTracker::rowAtOffset(float y) const {
    // The padding beside an arrow belongs to it: the pointer pushed against the
    // screen's edge keeps scrolling.
    if (y < padding)
        return y >= 0 && hasUpArrow() ? 0 : -1;
    auto row = static_cast<long>(std::floor((y - padding) / rowHeight));
    if (row < rows_)
        return row;
    return y < height() && hasDownArrow() ? rows_ - 1 : -1;
}

bool MenuTracker::isItemVisible(long item) const {
    return item >= first_ && item < first_ + itemsShown();
}

void MenuTracker::scrollBy(long rows) {
    first_ = std::clamp(first_ + rows, 0L, lastFirst());
}

void MenuTracker::scrollToShow(long item) {
    if (!scrolls() || item < 0 || isItemVisible(item))
        return;
    if (item < first_)
        first_ = item;
    else if (item >= lastFirst())
        first_ = lastFirst();
    else
        // Below an up arrow, the item in the last row above the down arrow.
        first_ = std::max(0L, item - (rows_ - 3));
}

void MenuTracker::highlight(long item) {
    highlighted_ = item;
    scrollToShow(item);
}

long MenuTracker::choosableFrom(long item, long step) const {
    auto choosable = [this](long i) {
        return i >= 0 && i < count() && !entries_[static_cast<std::size_t>(i)].separator;
    };
    for (long i = std::clamp(item, 0L, count() - 1); i >= 0 && i < count(); i += step)
        if (choosable(i))
            return i;
    for (long i = std::clamp(item, 0L, count() - 1); i >= 0 && i < count(); i -= step)
        if (choosable(i))
            return i;
    return -1;
}

long MenuTracker::choosableAt(long row) const {
    Row at = rowAt(row);
    if (at.part != Part::Item || entries_[static_cast<std::size_t>(at.item)].separator)
        return -1;
    return at.item;
}

void MenuTracker::choose(long item) {
    chosen_ = item;
    finished_ = true;
}

void MenuTracker::typeAhead(const std::string& text, double at) {
    if (at - lastTyped_ > typeAheadPause)
        typed_.clear();
    lastTyped_ = at;
    typed_ += text;
    auto found = std::ranges::find_if(
        entries_, [this](const Entry& entry) { return !entry.separator && beginsWith(entry.title, typed_); });
    if (found != entries_.end())
        highlight(static_cast<long>(found - entries_.begin()));
}

void MenuTracker::keyDown(const KeyEvent& event) {
    if (finished_ || event.command || count() == 0)
        return;
    long page = std::max(1L, itemsShown() - 1);
    switch (event.key) {
    case Key::Escape:
        choose(-1);
        return;
    case Key::Up:
        highlight(highlighted_ > 0 ? choosableFrom(highlighted_ - 1, -1) : choosableFrom(0, 1));
        return;
    case Key::Down:
        highlight(choosableFrom(std::min(highlighted_ + 1, count() - 1), 1));
        return;
    case Key::Home:
        highlight(choosableFrom(0, 1));
        return;
    case Key::End:
        highlight(choosableFrom(count() - 1, -1));
        return;
    case Key::PageUp:
        highlight(choosableFrom(std::max(0L, highlighted_ - page), -1));
        return;
    case Key::PageDown:
        highlight(choosableFrom(std::min(std::max(highlighted_, 0L) + page, count() - 1), 1));
        return;
    case Key::Space:
        if (!typed_.empty() && event.timestamp - lastTyped_ <= typeAheadPause) {
            typeAhead(" ", event.timestamp);
            return;
        }
        choose(highlighted_);
        return;
    case Key::Return:
        choose(highlighted_);
        return;
    default:
        if (!event.option && !event.characters.empty() && static_cast<unsigned char>(event.characters[0]) >= ' ')
            typeAhead(event.characters, event.timestamp);
        return;
    }
}

void MenuTracker::mouseMoved(long row) {
    Row at = rowAt(row);
    hoveredArrow_ = at.part == Part::ScrollUp || at.part == Part::ScrollDown ? at.part : Part::None;
    long item = choosableAt(row);
    if (item != highlighted_)
        opening_ = false;
    highlighted_ = item;
}

void MenuTracker::mouseDown(long row) {
    opening_ = false;
    Row at = rowAt(row);
    if (row < 0 || row >= rows_)
        choose(-1);
    else if (at.part == Part::ScrollUp || at.part == Part::ScrollDown)
        scrollBy(at.part == Part::ScrollUp ? -1 : 1);
    else
        highlighted_ = choosableAt(row);
}

void MenuTracker::mouseUp(long row) {
    if (opening_) {
        opening_ = false;
        return;
    }
    if (long item = choosableAt(row); item >= 0)
        choose(item);
}

void MenuTracker::scrollWheel(long notches, long row) {
    scrollBy(notches * wheelRows);
    hoveredArrow_ = Part::None;
    long item = choosableAt(row);
    if (item != highlighted_)
        opening_ = false;
    highlighted_ = item;
}

bool MenuTracker::autoscroll() {
    long before = first_;
    if (hoveredArrow_ == Part::ScrollUp)
        scrollBy(-1);
    else if (hoveredArrow_ == Part::ScrollDown)
        scrollBy(1);
    return first_ != before;
}

}
