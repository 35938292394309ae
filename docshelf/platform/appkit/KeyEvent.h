#pragma once

#include <string>

namespace docshelf::appkit {

// The keys the window and an open menu answer; every other key is Other and
// may still type characters.
enum class Key { Other, Tab, Return, Escape, Space, Up, Down, Home, End, PageUp, PageDown };

// One key press as the renderer reports it.
struct KeyEvent {
    Key key = Key::Other;
    // What the key types, UTF-8. With command held, the key's own letter or digit
    // ("q" for Ctrl+Q), which is what a key equivalent is matched against.
    std::string characters;
    bool shift = false;
    // Cmd on a Mac, Ctrl elsewhere.
    bool command = false;
    // Option or Alt: a typed character with it is no type-ahead.
    bool option = false;
    // Seconds from any fixed origin: only the time between presses counts.
    double timestamp = 0;
};

}
