#pragma once

#include "View.h"

#include <memory>
#include <string>

namespace docshelf::appkit {

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

private:
    void publishNames();

    std::weak_ptr<Object> target_;
    std::string action_;
    bool enabled_ = true;
};

}
