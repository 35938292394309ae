#pragma once

#include "FltkGraphicsContext.h"

#include <FL/Fl_Menu_Window.H>

#include <string>
#include <vector>

namespace docshelf::fltk {

// The open list of a pop-up button or of the application menu, drawn by us so
// that every title shows exactly as it is ("R&D @ Home/2" stays that, where
// FLTK's own menus read & @ / as markup).
//
// A Mac pop-up opens with its selected item lying over the button and marked.
// The mouse: the click that opened the list leaves it open; a click on an item,
// or a press dragged onto another item and released, chooses it; a click
// outside closes it. The keyboard: Up, Down, Home and End move the
// highlight, Return, Enter and Space choose, Escape closes, and typed letters
// move to the first item whose title begins with them ("qx-7" -> "QX-750 Duo").
class PopUpList : public Fl_Menu_Window {
public:
    struct Entry {
        std::string title;
        // Shown at the right, dimmed: "Ctrl+Q".
        std::string keyEquivalent;
    };

    // Shows the list and waits for the user. anchor is the control's box on the
    // screen; marked (or -1) is the item shown over it with a check mark, the
    // list's top left lies at the anchor's when none is. The chosen index, or
    // -1 when the list was closed without a choice.
    static int choose(const std::vector<Entry>& entries, int marked, FltkGraphicsContext::Box anchor);

    void draw() override;
    int handle(int event) override;

private:
    PopUpList(const std::vector<Entry>& entries, int marked, int width);

    int rowAt(int y) const;
    void highlight(int row);
    void typeAhead(const char* text);

    std::vector<Entry> entries_;
    int marked_;
    int highlighted_;
    // The release that ends the opening click does not choose.
    bool opening_ = true;
    bool done_ = false;
    int chosen_ = -1;
    std::string typed_;
    double lastTyped_ = 0;
    FltkGraphicsContext context_;
};

}
