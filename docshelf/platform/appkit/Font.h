#pragma once

namespace docshelf::appkit {

// The font a text is set in: the system font at a size in points, regular or
// bold. Renderers measure and draw a text in exactly this font, so that a field
// fitted to its text holds it on every screen.
struct Font {
    float size = 13;
    bool bold = false;

    friend bool operator==(const Font&, const Font&) = default;
};

}
