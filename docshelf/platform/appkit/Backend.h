#pragma once

#include "Font.h"
#include "Geometry.h"

#include <string_view>

namespace docshelf::appkit {

class Application;
class View;
class Window;

// What the model needs of whatever shows it: text metrics, the screen, the event
// loop, and word when something should be shown anew. The model stays the source
// of truth; a renderer reads it back when told. Hooks must not keep the objects
// they are given: an outlet's inert stand-in may be among them.
class Backend {
public:
    virtual ~Backend() = default;

    // The size that the text needs in one line in that font. A height of 0
    // means the backend has no line metrics and leaves heights as they are.
    virtual Size measureText(std::string_view text, const Font& font) = 0;
    virtual Size screenSize() = 0;
    // Runs until stopEventLoop; returns the exit status.
    virtual int runEventLoop(Application& application) = 0;
    virtual void stopEventLoop() {}

    // A view asked to be redrawn (setNeedsDisplay).
    virtual void viewNeedsDisplay(View&) {}
    // A view's frame, visibility or contents changed.
    virtual void viewDidChange(View&) {}
    // A window's title, frame, colour or visibility changed.
    virtual void windowDidChange(Window&) {}
    // The main menu was installed, or the application was hidden or shown.
    virtual void applicationDidChange(Application&) {}
    virtual void orderFrontAboutPanel(Application&) {}
    // Around the action of a button the user pressed in the window: an action
    // may wait for a command, so a screen shows the busy pointer meanwhile.
    virtual void actionWillRun(Window&) {}
    virtual void actionDidRun(Window&) {}
};

}
