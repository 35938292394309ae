#include "PopUpList.h"

#include "FltkInput.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/MenuTracker.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace docshelf::fltk {

namespace {

using appkit::MenuTracker;

constexpr int rowHeight = static_cast<int>(MenuTracker::rowHeight);
constexpr int padding = static_cast<int>(MenuTracker::padding);
constexpr int markWidth = 22;
constexpr int rightMargin = 16;
constexpr int gap = 24;
constexpr float fontSize = 13;
constexpr double autoscrollInterval = 0.05;
constexpr Fl_Color accent = 0x007aff00;
constexpr Fl_Color listBorder = 0xb8b8b800;
constexpr Fl_Color dimmed = 0x8a8a8a00;

// As the backend measures a control's text, without the line height a list of
// thousands of titles would also pay for.
float textWidth(const std::string& text) {
    return FltkGraphicsContext::textWidth(text, FL_HELVETICA, static_cast<Fl_Fontsize>(fontSize));
}

// How a key equivalent reads in a menu here: "q" -> "Ctrl+Q".
std::string keyEquivalentLabel(const std::string& key) {
    if (key.size() != 1 || !std::isalnum(static_cast<unsigned char>(key[0])))
        return "";
#ifdef __APPLE__
    return std::string("\xE2\x8C\x98") + char(std::toupper(static_cast<unsigned char>(key[0])));
#else
    return std::string("Ctrl+") + char(std::toupper(static_cast<unsigned char>(key[0])));
#endif
}

}

PopUpList::PopUpList(MenuTracker& tracker, int width)
    : Fl_Menu_Window(width, static_cast<int>(tracker.height())), tracker_(tracker) {
    end();
    set_override();
    set_menu_window();
    clear_border();
}

void PopUpList::track(MenuTracker& tracker, FltkGraphicsContext::Box anchor) {
    if (tracker.entries().empty())
        return;
    float widest = 0;
    for (const auto& entry : tracker.entries()) {
        std::string key = keyEquivalentLabel(entry.keyEquivalent);
        float keyWidth = key.empty() ? 0 : gap + textWidth(key);
        widest = std::max(widest, textWidth(entry.title) + keyWidth);
    }
    int sx, sy, sw, sh;
    Fl::screen_xywh(sx, sy, sw, sh, anchor.x, anchor.y);
    int width = std::min(sw, std::max(anchor.w, markWidth + static_cast<int>(std::ceil(widest)) + rightMargin));
    float top = tracker.placeOver(static_cast<float>(anchor.y), static_cast<float>(anchor.h), static_cast<float>(sy),
                                  static_cast<float>(sh));
    PopUpList list(tracker, width);
    list.position(std::clamp(anchor.x, sx, std::max(sx, sx + sw - width)), static_cast<int>(top));

    list.show();
    Fl::grab(&list);
    Fl::add_timeout(autoscrollInterval, autoscroll, &list);
    // A quit signal closes the list too, so that the loop can end.
    while (!tracker.isFinished() && list.shown() && !appkit::Application::shared().isTerminated())
        Fl::wait();
    Fl::remove_timeout(autoscroll, &list);
    Fl::grab(nullptr);
    list.hide();
    Fl::flush();
}

void PopUpList::autoscroll(void* data) {
    auto* list = static_cast<PopUpList*>(data);
    if (list->tracker_.autoscroll()) {
        int x = 0;
        int y = 0;
        Fl::get_mouse(x, y);
        list->tracker_.mouseMoved(list->rowAt(x - list->x(), y - list->y()));
        list->redraw();
    }
    Fl::repeat_timeout(autoscrollInterval, autoscroll, data);
}

long PopUpList::rowAt(int x, int y) const {
    if (x < 0 || x >= w() || y < 0 || y >= h())
        return -1;
    return tracker_.rowAtOffset(static_cast<float>(y));
}

int PopUpList::handle(int event) {
    bool inside = Fl::event_x() >= 0 && Fl::event_x() < w() && Fl::event_y() >= 0 && Fl::event_y() < h();
    long row = rowAt(Fl::event_x(), Fl::event_y());
    switch (event) {
    case FL_PUSH:
        // A press in the list's padding does nothing; outside it closes the list.
        if (!inside || row >= 0)
            tracker_.mouseDown(row);
        break;
    case FL_MOVE:
    case FL_DRAG:
        tracker_.mouseMoved(row);
        break;
    case FL_RELEASE:
        tracker_.mouseUp(row);
        break;
    case FL_MOUSEWHEEL:
        tracker_.scrollWheel(Fl::event_dy(), row);
        break;
    case FL_KEYBOARD:
    case FL_SHORTCUT:
        tracker_.keyDown(currentKeyEvent());
        break;
    case FL_FOCUS:
    case FL_UNFOCUS:
    case FL_ENTER:
    case FL_LEAVE:
        return 1;
    default:
        return Fl_Menu_Window::handle(event);
    }
    redraw();
    return 1;
}

void PopUpList::draw() {
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w(), h());
    fl_color(listBorder);
    fl_rect(0, 0, w(), h());
    context_.setWindowHeight(h());
    context_.setTranslation(appkit::zeroPoint);
    float available = static_cast<float>(w() - markWidth - rightMargin);
    for (long row = 0; row < tracker_.numberOfRows(); ++row) {
        int top = padding + static_cast<int>(row) * rowHeight;
        MenuTracker::Row shown = tracker_.rowAt(row);
        if (shown.part == MenuTracker::Part::ScrollUp || shown.part == MenuTracker::Part::ScrollDown) {
            // A small solid triangle in the middle of the row, pointing the way it scrolls.
            int cx = w() / 2;
            int cy = top + rowHeight / 2;
            fl_color(FL_BLACK);
            if (shown.part == MenuTracker::Part::ScrollUp)
                fl_polygon(cx - 5, cy + 3, cx + 5, cy + 3, cx, cy - 3);
            else
                fl_polygon(cx - 5, cy - 3, cx + 5, cy - 3, cx, cy + 3);
            continue;
        }
        if (shown.part != MenuTracker::Part::Item)
            continue;
        if (tracker_.entries()[static_cast<std::size_t>(shown.item)].separator) {
            fl_color(listBorder);
            fl_xyline(markWidth / 2, top + rowHeight / 2, w() - markWidth / 2);
            continue;
        }
        bool lit = shown.item == tracker_.highlightedItem();
        if (lit) {
            fl_color(accent);
            fl_rectf(3, top, w() - 6, rowHeight);
        }
        if (shown.item == tracker_.markedItem()) {
            // A check mark in the margin.
            fl_color(lit ? FL_WHITE : FL_BLACK);
            fl_line_style(FL_SOLID | FL_CAP_ROUND | FL_JOIN_ROUND, 2);
            int cx = 11;
            int cy = top + rowHeight / 2;
            fl_line(cx - 4, cy, cx - 1, cy + 3, cx + 4, cy - 4);
            fl_line_style(0);
        }
        const auto& entry = tracker_.entries()[static_cast<std::size_t>(shown.item)];
        appkit::Rect box{{markWidth, static_cast<float>(h() - top - rowHeight)}, {available, rowHeight}};
        context_.setTextColor(lit ? FL_WHITE : FL_BLACK);
        context_.drawText(entry.title, box, {fontSize, false}, appkit::TextAlignment::Left, false);
        if (std::string key = keyEquivalentLabel(entry.keyEquivalent); !key.empty()) {
            context_.setTextColor(lit ? FL_WHITE : dimmed);
            context_.drawText(key, box, {fontSize, false}, appkit::TextAlignment::Right, false);
        }
    }
    context_.setTextColor(FL_BLACK);
}

}
