#pragma once

#include "platform/appkit/KeyEvent.h"
#include "platform/appkit/MouseEvent.h"

namespace docshelf::fltk {

// FLTK's current event in the model's terms, for windows and open menus to pass on.
// Ctrl and Meta both count as command; a command key carries its letter or digit.
appkit::KeyEvent currentKeyEvent();
// The pointer in a window of that height, in the window's model coordinates.
appkit::MouseEvent currentMouseEvent(int windowHeight);

}
