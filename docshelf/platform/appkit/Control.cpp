#include "Control.h"

#include "Application.h"
#include "GraphicsContext.h"

#include <algorithm>
#include <cmath>

namespace docshelf::appkit {

Control::Control() {
    publishNames();
}

Control::Control(Rect frame) : View(frame) {
    publishNames();
}

void Control::publishNames() {
    publishBoolProperty("enabled", [this](bool enabled) { setEnabled(enabled); });
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    changed();
}

bool Control::sendAction() {
    return Application::shared().sendAction(action_, target(), weak_from_this().lock());
}

void Control::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    changed();
}

void Control::setShowsFocus(bool shows) {
    if (shows == showsFocus_)
        return;
    showsFocus_ = shows;
    changed();
}

Rect Control::bezelRect(float insetX) const {
    constexpr float regularHeight = 21;
    Rect area = bounds();
    float height = std::min(regularHeight, area.size.height);
    return {{insetX, std::ceil((area.size.height - height) / 2)}, {area.size.width - 2 * insetX, height}};
}

void Control::drawBezel(GraphicsContext& context, Rect bezel, Color face, bool outlined) {
    Rect shadow = bezel;
    shadow.origin.y -= 1;
    context.fillRoundedRect(shadow, bezelRadius, Color::controlShadowColor());
    if (!outlined) {
        context.fillRoundedRect(bezel, bezelRadius, face);
        return;
    }
    context.fillRoundedRect(bezel, bezelRadius, Color::controlBorderColor());
    Rect inner{{bezel.origin.x + 1, bezel.origin.y + 1}, {bezel.size.width - 2, bezel.size.height - 2}};
    context.fillRoundedRect(inner, bezelRadius - 1, face);
}

void Control::drawFocusRing(Rect bezel, float radius) const {
    auto* context = GraphicsContext::current();
    if (!context || !showsFocus_)
        return;
    constexpr float width = 3;
    Rect ring{{bezel.origin.x - width / 2, bezel.origin.y - width / 2},
              {bezel.size.width + width, bezel.size.height + width}};
    context->strokeRoundedRect(ring, radius + width / 2, Color::keyboardFocusIndicatorColor(), width);
}

}
