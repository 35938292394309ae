#pragma once

#include <string>
#include <vector>

namespace docshelf::appkit {
class NibLoadResult;
}

namespace docshelf::inspect {

// Finds the texts of the window that do not fit as the renderer draws them: a
// static text, label, caption or pop-up title that is cut off at its frame (or,
// wrapped, below it), that runs outside the window, or that runs over another
// control or text. The window is drawn and its texts measured with the renderer's
// own fonts and layout (fltk::WindowPicture), as they stand now: after the
// set-up and the right-anchored fits.
//
//   "Dokumentation der Sprache: " in the language label (140 wide, right-aligned)
//     → {"languageLabelTitleTxtField", "Dokumentation der Sprache: ",
//        "is cut off: it needs 171 points across and has room for 140", ""}
class TextFit {
public:
    struct Misfit {
        std::string id;      // the window description's id of the view: "docButton"
        std::string text;    // the text as the view shows it
        std::string problem; // what is wrong, to follow the text's name in a sentence
        std::string over;    // with "runs over": the id of the control or text run over
    };

    // Needs the renderer's backend (fltk::WindowPicture::openBackend) as the shared
    // application's, so that the fits measured what is measured here.
    static std::vector<Misfit> find(const appkit::NibLoadResult& objects);
};

}
