#pragma once

#include "Color.h"
#include "View.h"

#include <memory>
#include <string>

namespace docshelf::appkit {

class GraphicsContext;

// A view that sends an action, by name, to a target when the user works it.
class Control : public View {
public:
    Control();
    explicit Control(Rect frame);

    std::shared_ptr<Object> target() const { return target_.lock(); }
    // Held weakly, as AppKit does; without a target the application and then its
    // delegate are asked.
    void setTarget(const std::shared_ptr<Object>& target) { target_ = target; }
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Sends the action to the target with this control as sender; false when
    // there is no action or nobody handled it.
    bool sendAction();

    // Drawn pressed: while the mouse is down on it, or its list is open.
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // Set by its window while the control has keyboard focus; drawn with a ring.
    bool showsFocus() const { return showsFocus_; }
    void setShowsFocus(bool shows);

protected:
    // The rounded area a regular-size push button (inset 6) or pop-up (inset 3)
    // draws in: 21 points high, in the middle of the frame's height.
    Rect bezelRect(float insetX) const;
    // A bezel: the shadow one point lower, the border when outlined, the face.
    static void drawBezel(GraphicsContext& context, Rect bezel, Color face, bool outlined);
    // The ring around a focused control's bezel, in the current context.
    void drawFocusRing(Rect bezel, float radius) const;

    static constexpr float bezelRadius = 6;
    static constexpr float labelFontSize = 13;

private:
    void publishNames();

    std::weak_ptr<Object> target_;
    std::string action_;
    bool enabled_ = true;
    bool highlighted_ = false;
    bool showsFocus_ = false;
};

}
