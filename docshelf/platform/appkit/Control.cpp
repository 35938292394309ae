#include "Control.h"

#include "Application.h"

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
    enabled_ = enabled;
    changed();
}

bool Control::sendAction() {
    return Application::shared().sendAction(action_, target(), weak_from_this().lock());
}

}
