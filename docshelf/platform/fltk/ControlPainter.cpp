#include "ControlPainter.h"

#include "platform/appkit/Button.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"

#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

namespace docshelf::fltk {

namespace {

constexpr Fl_Color accent = 0x007aff00;
constexpr Fl_Color border = 0xc4c4c400;
constexpr Fl_Color shadow = 0xb0b0b000;
constexpr Fl_Color face = FL_WHITE;
constexpr Fl_Color pressedFace = 0xdcdcdc00;
constexpr Fl_Color label = 0x1d1d1f00;
constexpr Fl_Color disabledLabel = 0x9e9e9e00;
constexpr int fontSize = 13;

void roundedPath(int x, int y, int w, int h, int r) {
    r = std::min({r, w / 2, h / 2});
    fl_arc(x + w - r, y + r, r, 0, 90);
    fl_arc(x + r, y + r, r, 90, 180);
    fl_arc(x + r, y + h - r, r, 180, 270);
    fl_arc(x + w - r, y + h - r, r, 270, 360);
}

void fillRounded(int x, int y, int w, int h, int r, Fl_Color color) {
    fl_color(color);
    fl_begin_polygon();
    roundedPath(x, y, w, h, r);
    fl_end_polygon();
}

// A bezel: the shadow one pixel lower, the border, then the face inside it.
void bezel(int x, int y, int w, int h, Fl_Color fill, bool outlined) {
    constexpr int radius = 6;
    if (outlined) {
        fillRounded(x, y + 1, w, h, radius, shadow);
        fillRounded(x, y, w, h, radius, border);
        fillRounded(x + 1, y + 1, w - 2, h - 2, radius - 1, fill);
    } else {
        fillRounded(x, y + 1, w, h, radius, shadow);
        fillRounded(x, y, w, h, radius, fill);
    }
}

// The area AppKit draws a regular-size push button or pop-up in, within its frame.
FltkGraphicsContext::Box bezelBox(FltkGraphicsContext::Box frame, int insetX) {
    constexpr int height = 21;
    int h = std::min(height, frame.h);
    return {frame.x + insetX, frame.y + (frame.h - h) / 2, frame.w - 2 * insetX, h};
}

// Keeps drawing inside a control's frame while it lives.
class ClipTo {
public:
    explicit ClipTo(FltkGraphicsContext::Box frame) { fl_push_clip(frame.x, frame.y, frame.w, frame.h); }
    ~ClipTo() { fl_pop_clip(); }
    ClipTo(const ClipTo&) = delete;
    ClipTo& operator=(const ClipTo&) = delete;
};

void drawLabel(const std::string& text, FltkGraphicsContext::Box box, Fl_Align align, Fl_Color color) {
    fl_color(color);
    FltkGraphicsContext::drawTextIn(text, box, FL_HELVETICA, fontSize, align, false);
}

}

void ControlPainter::drawButton(const appkit::Button& button, bool pressed) {
    ClipTo frame(context_.toWindow(button.bounds()));
    auto box = bezelBox(context_.toWindow(button.bounds()), 6);
    bool isDefault = button.keyEquivalent() == "\r" && button.isEnabled();
    Fl_Color fill = isDefault ? (pressed ? fl_darker(accent) : accent) : (pressed ? pressedFace : face);
    bezel(box.x, box.y, box.w, box.h, fill, !isDefault);
    Fl_Color text = !button.isEnabled() ? disabledLabel : isDefault ? FL_WHITE : label;
    drawLabel(button.title(), box, FL_ALIGN_CENTER, text);
}

void ControlPainter::drawPopUpButton(const appkit::PopUpButton& popUp, bool pressed) {
    ClipTo frame(context_.toWindow(popUp.bounds()));
    auto box = bezelBox(context_.toWindow(popUp.bounds()), 3);
    bezel(box.x, box.y, box.w, box.h, pressed ? pressedFace : face, true);

    // The cap on the right: a blue rounded square with the up and down chevrons.
    int cap = box.h - 4;
    int capX = box.x + box.w - cap - 2;
    int capY = box.y + 2;
    fillRounded(capX, capY, cap, cap, 4, popUp.isEnabled() ? accent : disabledLabel);
    fl_color(FL_WHITE);
    fl_line_style(FL_SOLID | FL_CAP_ROUND | FL_JOIN_ROUND, 2);
    int cx = capX + cap / 2;
    int cy = capY + cap / 2;
    fl_line(cx - 3, cy - 2, cx, cy - 5, cx + 3, cy - 2);
    fl_line(cx - 3, cy + 2, cx, cy + 5, cx + 3, cy + 2);
    fl_line_style(0);

    std::string title(popUp.titleOfSelectedItem().text());
    FltkGraphicsContext::Box text{box.x + 9, box.y, capX - box.x - 13, box.h};
    drawLabel(title, text, FL_ALIGN_LEFT, popUp.isEnabled() ? label : disabledLabel);
}

void ControlPainter::drawTextField(appkit::TextField& field) {
    auto box = context_.toWindow(field.bounds());
    ClipTo frame(box);
    if (field.isBezeled()) {
        fl_color(border);
        fl_rect(box.x, box.y, box.w, box.h);
        fl_color(FL_WHITE);
        fl_rectf(box.x + 1, box.y + 1, box.w - 2, box.h - 2);
    }
    context_.setTextColor(field.isEnabled() ? label : disabledLabel);
    // The field's own drawing lays out the text; colour and font come from here.
    auto* previous = appkit::GraphicsContext::setCurrent(&context_);
    field.drawRect(field.bounds());
    appkit::GraphicsContext::setCurrent(previous);
    context_.setTextColor(FL_BLACK);
}

}
