#pragma once

#include "FltkGraphicsContext.h"

namespace docshelf::appkit {
class Button;
class PopUpButton;
class TextField;
}

namespace docshelf::fltk {

// Draws the standard controls the way a current Mac dialog shows them: white
// rounded buttons with a hairline border, the default button in the accent
// colour, pop-ups with the blue chevron cap. The context's translation must be
// the control's origin. Nothing is drawn outside the control's frame.
class ControlPainter {
public:
    explicit ControlPainter(FltkGraphicsContext& context) : context_(context) {}

    void drawButton(const appkit::Button& button, bool pressed);
    void drawPopUpButton(const appkit::PopUpButton& popUp, bool pressed);
    void drawTextField(appkit::TextField& field);

private:
    FltkGraphicsContext& context_;
};

}
