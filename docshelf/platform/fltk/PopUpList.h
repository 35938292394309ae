#pragma once

#include "FltkGraphicsContext.h"

#include <FL/Fl_Menu_Window.H>

namespace docshelf::appkit {
class MenuTracker;
}

namespace docshelf::fltk {

// The open list of a pop-up button or of the application menu: draws the rows
// that the model's MenuTracker shows and passes it the pointer, the wheel and
// the keys. Drawn by us so that every title shows exactly as it is ("R&D @
// Home/2" stays that, where FLTK's own menus read & @ / as markup). Only the
// visible rows are drawn, and the list is never taller than the screen.
class PopUpList : public Fl_Menu_Window {
public:
    // Shows the menu at the anchor (the pop-up's box on the screen, or an empty
    // box at the pointer) and waits until the tracker is finished or the list
    // went away.
    static void track(appkit::MenuTracker& tracker, FltkGraphicsContext::Box anchor);

    void draw() override;
    int handle(int event) override;

private:
    PopUpList(appkit::MenuTracker& tracker, int width);

    // The tracker's row under the pointer; -1 outside the rows.
    long rowAt(int x, int y) const;
    // While the pointer rests on a scroll arrow, the list keeps scrolling.
    static void autoscroll(void* list);

    appkit::MenuTracker& tracker_;
    FltkGraphicsContext context_;
};

}
