#pragma once

#include "platform/appkit/GraphicsContext.h"

#include <FL/Enumerations.H>
#include <FL/Fl_RGB_Image.H>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace docshelf::fltk {

// Draws with fl_draw into the FLTK window being drawn. Positions arrive in AppKit
// terms, origin at the lower left; the window's height turns them over.
class FltkGraphicsContext : public appkit::GraphicsContext {
public:
    void setWindowHeight(int height) { windowHeight_ = height; }
    // The model's text has no colour of its own; the painter of a control sets it.
    void setTextColor(Fl_Color color) { textColor_ = color; }

    void drawImage(const appkit::Image& image, appkit::Point at, appkit::Size size,
                   appkit::CompositingOperation operation) override;
    void fillRect(appkit::Rect rect, appkit::Color color) override;
    void drawText(std::string_view text, appkit::Rect box, const appkit::Font& font, appkit::TextAlignment alignment,
                  bool wraps) override;

    // Shapes and the model's text colour. Colours that are not opaque are mixed
    // with white, what the windows' backgrounds are.
    void fillRoundedRect(appkit::Rect rect, float radius, appkit::Color color) override;
    void strokeRoundedRect(appkit::Rect rect, float radius, appkit::Color color, float lineWidth) override;
    void strokePolyline(const std::vector<appkit::Point>& points, appkit::Color color, float lineWidth) override;
    void setTextColor(appkit::Color color) override;

    // The rectangle in the window's FLTK coordinates (origin top left).
    struct Box {
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
    };
    Box toWindow(appkit::Rect rect) const;

    // Text in any script is measured and drawn piece by piece in the fonts that
    // have its characters (FontFallback), so that a text measured here takes
    // exactly that width on screen. Needs the display to be open.
    //
    // The width of the text on one line.
    static float textWidth(std::string_view text, Fl_Font font, Fl_Fontsize size);
    // The height of one line: from the highest ascent to the lowest descent of
    // the fonts the text is drawn in.
    static float lineHeight(std::string_view text, Fl_Font font, Fl_Fontsize size);
    // One line of a text as layOut places it, before the box clips it: its
    // left end, top, width, height and baseline in the window's FLTK coordinates.
    struct Line {
        std::string_view text;
        double x = 0;
        int top = 0;
        float width = 0;
        int height = 0;
        int baseline = 0;
    };
    // Every line of the text, also those that fall below the box.
    //   "Benutzerhandbuch" in a 60 × 20 box, left → one line at x 0, wider than 60
    static std::vector<Line> layOut(std::string_view text, Box box, Fl_Font font, Fl_Fontsize size, Fl_Align align,
                                    bool wrap);

    // The FLTK face and size of a model font: Helvetica, bold or regular.
    static Fl_Font faceOf(const appkit::Font& font) { return font.bold ? FL_HELVETICA_BOLD : FL_HELVETICA; }
    static Fl_Fontsize sizeOf(const appkit::Font& font);

    // How drawText sets a model text: its font and its lines.
    struct Placement {
        Box box;
        Fl_Font font = FL_HELVETICA;
        Fl_Fontsize size = 13;
        std::vector<Line> lines;
    };
    static Placement place(std::string_view text, Box box, const appkit::Font& font, appkit::TextAlignment alignment,
                           bool wraps);

private:
    // Draws lines that layOut placed, clipped to the box they were placed in.
    static void drawLines(const std::vector<Line>& lines, Box box, Fl_Font font, Fl_Fontsize size);

    int windowHeight_ = 0;
    Fl_Color textColor_ = FL_BLACK;
};

}
