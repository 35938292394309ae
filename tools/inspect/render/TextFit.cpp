#include "inspect/render/TextFit.h"

#include "platform/appkit/Control.h"
#include "platform/appkit/NibLoadResult.h"
#include "platform/appkit/RecordingGraphicsContext.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"
#include "platform/fltk/WindowPicture.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace docshelf::inspect {

using appkit::Rect;

namespace {

// Rounding of the renderer's pixel grid, in points: a text may touch its box's edge.
constexpr float tolerance = 1.0f;

float right(Rect r) {
    return r.origin.x + r.size.width;
}

float top(Rect r) {
    return r.origin.y + r.size.height;
}

Rect intersection(Rect a, Rect b) {
    float x = std::max(a.origin.x, b.origin.x);
    float y = std::max(a.origin.y, b.origin.y);
    float w = std::min(right(a), right(b)) - x;
    float h = std::min(top(a), top(b)) - y;
    if (w <= 0 || h <= 0)
        return {};
    return {{x, y}, {w, h}};
}

// By more than the tolerance in both directions.
bool overlaps(Rect a, Rect b) {
    Rect common = intersection(a, b);
    return common.size.width > tolerance && common.size.height > tolerance;
}

int points(float value) {
    return static_cast<int>(std::lround(value));
}

// A control of the window as it is drawn: where it is, and where its text shows.
struct Drawn {
    std::string id;
    std::shared_ptr<appkit::Control> control;
    Rect frame;          // in the window
    std::string text;    // empty when it draws none
    Rect box;            // where the text is drawn, in the window; it clips the text
    Rect ink;            // where the text lands before the box clips it
    bool isText = false; // a text field: only its text counts as something to run over
};

// Where the visible text leaves the window; empty when it stays inside.
std::string outsideWindow(Rect visible, Rect window) {
    if (visible.origin.x < window.origin.x - tolerance)
        return "on the left by " + std::to_string(points(window.origin.x - visible.origin.x)) + " points";
    if (right(visible) > right(window) + tolerance)
        return "on the right by " + std::to_string(points(right(visible) - right(window))) + " points";
    if (visible.origin.y < window.origin.y - tolerance)
        return "at the bottom";
    if (top(visible) > top(window) + tolerance)
        return "at the top";
    return "";
}

}

std::vector<TextFit::Misfit> TextFit::find(const appkit::NibLoadResult& objects) {
    auto window = objects.objectAs<appkit::Window>("window");
    if (!window)
        return {};
    appkit::RecordingGraphicsContext recorder;
    window->display(recorder);

    std::vector<Drawn> drawn;
    for (const auto& [id, object] : objects.objects()) {
        auto control = std::dynamic_pointer_cast<appkit::Control>(object);
        if (!control || control->isHiddenOrHasHiddenAncestor())
            continue;
        Drawn d{id, control, control->convertRectToWindow(control->bounds()), {}, {}, {}, false};
        d.isText = std::dynamic_pointer_cast<appkit::TextField>(control) != nullptr;
        drawn.push_back(std::move(d));
    }
    // Each view draws with its own origin in the window as the context's translation.
    for (const auto& call : recorder.calls()) {
        if (call.kind != appkit::DrawCall::Kind::Text || call.text.empty())
            continue;
        for (auto& d : drawn) {
            if (std::abs(d.frame.origin.x - call.translation.x) > 0.01f ||
                std::abs(d.frame.origin.y - call.translation.y) > 0.01f || !d.text.empty())
                continue;
            d.text = call.text;
            d.box = {{call.translation.x + call.rect.origin.x, call.translation.y + call.rect.origin.y},
                     call.rect.size};
            d.ink = fltk::WindowPicture::textExtent(call.text, d.box, call.font, call.alignment, call.wraps);
            break;
        }
    }

    Rect bounds{{0, 0}, window->frame().size};
    std::vector<Misfit> misfits;
    for (const auto& d : drawn) {
        if (d.text.empty())
            continue;
        Rect visible = intersection(d.ink, d.box);
        std::string problem;
        if (d.ink.size.width > d.box.size.width + tolerance)
            problem = "is cut off: it needs " + std::to_string(points(d.ink.size.width)) +
                      " points across and has room for " + std::to_string(points(d.box.size.width));
        // Wrapped lines start at the box's top; one line sits in its middle and only
        // its leading may reach past a low box.
        else if (d.ink.origin.y < d.box.origin.y - tolerance && top(d.ink) <= top(d.box) + tolerance)
            problem = "is cut off at the bottom: it needs " + std::to_string(points(d.ink.size.height)) +
                      " points down and has room for " + std::to_string(points(d.box.size.height));
        else if (std::string side = outsideWindow(visible, bounds); !side.empty())
            problem = "runs out of the window " + side;
        std::string over;
        for (const auto& other : drawn) {
            if (!problem.empty())
                break;
            Rect occupied = other.isText ? intersection(other.ink, other.box) : other.frame;
            if (&other != &d && overlaps(visible, occupied)) {
                problem = "runs over";
                over = other.id;
            }
        }
        if (!problem.empty())
            misfits.push_back({d.id, d.text, problem, over});
    }
    return misfits;
}

}
