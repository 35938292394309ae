#pragma once

#include "platform/appkit/Font.h"
#include "platform/appkit/Geometry.h"
#include "platform/appkit/TextAlignment.h"

#include <memory>
#include <string>
#include <string_view>

namespace docshelf::appkit {
class Backend;
class Window;
}

namespace docshelf::fltk {

// The renderer for tools: pictures of model windows and the room their texts
// take, drawn and measured exactly as the on-screen window draws them, without
// showing anything. FLTK stays behind this class.
class WindowPicture {
public:
    // The renderer's backend, whose text measurement the window's fits use, when
    // a display can be opened (DISPLAY set and answering; a Mac always has one);
    // null otherwise.
    static std::shared_ptr<appkit::Backend> openBackend();

    // Draws the window off the screen at its size, as its on-screen form draws it
    // (white, then every view), and writes it to a PNG file. False with the reason
    // in error when the file cannot be written. Needs openBackend's display.
    static bool writePng(appkit::Window& window, const std::string& path, std::string& error);

    // Where a text that a view draws with drawText into box (window coordinates,
    // origin lower left) lands before the box clips it: one line in the box's
    // middle placed by its alignment, or, when the text wraps, its lines from
    // the box's top. Empty for an empty text.
    //   "Close" at 13 points, centred in {{404, 16}, {96, 32}} → about {{432, 25}, {39, 15}}
    //   "Schließen und alle Fenster zumachen" in that box → wider than 96: it is cut off
    static appkit::Rect textExtent(std::string_view text, appkit::Rect box, const appkit::Font& font,
                                   appkit::TextAlignment alignment, bool wraps);
};

}
