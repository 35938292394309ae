#include "PopUpList.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Backend.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace docshelf::fltk {

namespace {

constexpr int rowHeight = 20;
constexpr int padding = 5;
constexpr int markWidth = 22;
constexpr int rightMargin = 16;
constexpr int gap = 24;
constexpr float fontSize = 13;
constexpr Fl_Color accent = 0x007aff00;
constexpr Fl_Color listBorder = 0xb8b8b800;
constexpr Fl_Color dimmed = 0x8a8a8a00;
// Letters typed within this many seconds of each other make one prefix.
constexpr double typeAheadPause = 1.0;

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

float textWidth(const std::string& text) {
    return appkit::Application::shared().backend().measureText(text, fontSize).width;
}

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

PopUpList::PopUpList(const std::vector<Entry>& entries, int marked, int width)
    : Fl_Menu_Window(width, 2 * padding + rowHeight * static_cast<int>(entries.size())),
      entries_(entries),
      marked_(marked),
      highlighted_(marked) {
    end();
    set_override();
    set_menu_window();
    clear_border();
}

int PopUpList::choose(const std::vector<Entry>& entries, int marked, FltkGraphicsContext::Box anchor) {
    if (entries.empty())
        return -1;
    float widest = 0;
    for (const auto& entry : entries) {
        float keyWidth = entry.keyEquivalent.empty() ? 0 : gap + textWidth(entry.keyEquivalent);
        widest = std::max(widest, textWidth(entry.title) + keyWidth);
    }
    int width = std::max(anchor.w, markWidth + static_cast<int>(std::ceil(widest)) + rightMargin);
    PopUpList list(entries, marked, width);

    // The marked row over the control, its text where the control's is.
    int x = anchor.x;
    int y = anchor.y;
    if (marked >= 0)
        y = anchor.y + (anchor.h - rowHeight) / 2 - padding - marked * rowHeight;
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, anchor.x, anchor.y);
    x = std::clamp(x, sx, std::max(sx, sx + sw - list.w()));
    y = std::clamp(y, sy, std::max(sy, sy + sh - list.h()));
    list.position(x, y);

    list.show();
    Fl::grab(&list);
    while (!list.done_ && list.shown())
        Fl::wait();
    Fl::grab(nullptr);
    list.hide();
    Fl::flush();
    return list.chosen_;
}

int PopUpList::rowAt(int y) const {
    if (y < padding || Fl::event_x() < 0 || Fl::event_x() >= w())
        return -1;
    int row = (y - padding) / rowHeight;
    return row < static_cast<int>(entries_.size()) ? row : -1;
}

void PopUpList::highlight(int row) {
    if (row == highlighted_)
        return;
    highlighted_ = row;
    redraw();
}

void PopUpList::typeAhead(const char* text) {
    double at = now();
    if (at - lastTyped_ > typeAheadPause)
        typed_.clear();
    lastTyped_ = at;
    typed_ += text;
    auto found = std::ranges::find_if(entries_, [this](const Entry& entry) { return beginsWith(entry.title, typed_); });
    if (found != entries_.end())
        highlight(static_cast<int>(found - entries_.begin()));
}

int PopUpList::handle(int event) {
    int count = static_cast<int>(entries_.size());
    switch (event) {
    case FL_PUSH:
        opening_ = false;
        if (Fl::event_y() < 0 || Fl::event_y() >= h() || Fl::event_x() < 0 || Fl::event_x() >= w()) {
            done_ = true;
            return 1;
        }
        highlight(rowAt(Fl::event_y()));
        return 1;
    case FL_MOVE:
    case FL_DRAG: {
        int row = rowAt(Fl::event_y());
        if (row != highlighted_)
            opening_ = false;
        highlight(row);
        return 1;
    }
    case FL_RELEASE: {
        if (opening_) {
            opening_ = false;
            return 1;
        }
        int row = rowAt(Fl::event_y());
        if (row >= 0) {
            chosen_ = row;
            done_ = true;
        }
        return 1;
    }
    case FL_KEYBOARD:
    case FL_SHORTCUT:
        switch (Fl::event_key()) {
        case FL_Escape:
            done_ = true;
            return 1;
        case FL_Up:
            highlight(highlighted_ <= 0 ? 0 : highlighted_ - 1);
            return 1;
        case FL_Down:
            highlight(highlighted_ < 0 ? 0 : std::min(highlighted_ + 1, count - 1));
            return 1;
        case FL_Home:
            highlight(0);
            return 1;
        case FL_End:
            highlight(count - 1);
            return 1;
        case FL_Enter:
        case FL_KP_Enter:
        case ' ':
            if (Fl::event_key() == ' ' && !typed_.empty() && now() - lastTyped_ <= typeAheadPause) {
                typeAhead(" ");
                return 1;
            }
            chosen_ = highlighted_;
            done_ = true;
            return 1;
        default:
            if (Fl::event_length() > 0 && !(Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) &&
                static_cast<unsigned char>(Fl::event_text()[0]) >= ' ')
                typeAhead(Fl::event_text());
            return 1;
        }
    case FL_FOCUS:
    case FL_UNFOCUS:
    case FL_ENTER:
    case FL_LEAVE:
        return 1;
    default:
        return Fl_Menu_Window::handle(event);
    }
}

void PopUpList::draw() {
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w(), h());
    fl_color(listBorder);
    fl_rect(0, 0, w(), h());
    context_.setWindowHeight(h());
    context_.setTranslation(appkit::zeroPoint);
    for (int row = 0; row < static_cast<int>(entries_.size()); ++row) {
        int top = padding + row * rowHeight;
        bool lit = row == highlighted_;
        if (lit) {
            fl_color(accent);
            fl_rectf(3, top, w() - 6, rowHeight);
        }
        if (row == marked_) {
            // A check mark in the margin.
            fl_color(lit ? FL_WHITE : FL_BLACK);
            fl_line_style(FL_SOLID | FL_CAP_ROUND | FL_JOIN_ROUND, 2);
            int cx = 11;
            int cy = top + rowHeight / 2;
            fl_line(cx - 4, cy, cx - 1, cy + 3, cx + 4, cy - 4);
            fl_line_style(0);
        }
        float bottom = static_cast<float>(h() - top - rowHeight);
        const Entry& entry = entries_[static_cast<std::size_t>(row)];
        context_.setTextColor(lit ? FL_WHITE : FL_BLACK);
        float textWidthAvailable = static_cast<float>(w() - markWidth - rightMargin);
        context_.drawText(entry.title, {{markWidth, bottom}, {textWidthAvailable, rowHeight}}, fontSize, false,
                          appkit::TextAlignment::Left);
        if (!entry.keyEquivalent.empty()) {
            context_.setTextColor(lit ? FL_WHITE : dimmed);
            context_.drawText(entry.keyEquivalent, {{markWidth, bottom}, {textWidthAvailable, rowHeight}}, fontSize,
                              false, appkit::TextAlignment::Right);
        }
    }
    context_.setTextColor(FL_BLACK);
}

}
