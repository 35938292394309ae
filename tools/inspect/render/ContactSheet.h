#pragma once

#include "inspect/catalogue/LanguageMatrix.h"

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::inspect {

// The pictures of one render run and the index.html that shows them, the one
// page a disc's author reads: the findings at the top, each linked to the
// windows it concerns; then one section per localization, its failing windows
// first and marked, small pictures in a grid, each a link to its full size.
class ContactSheet {
public:
    // A file name for the picture of one window that no other picture of the sheet
    // has: the names joined by "_", each character that is not a letter, digit, "-"
    // or "." (or a letter beyond ASCII) as "-", each cut after 64 bytes, and ".png".
    //   "de", "QX-750 Duo", "Français" → "de_QX-750-Duo_Français.png"
    //   "en", "A/B", "English" → "en_A-B_English.png"; a second such name → "en_A-B_English-2.png"
    std::string fileNameFor(const std::string& localization, const std::string& model, const std::string& language);

    // Starts the section of a localization, with its language code ("de", "ja";
    // empty when unknown) for the page's lang attribute; pictures go into the
    // latest section.
    void beginSection(const std::string& languageCode, const std::string& heading);
    void add(const std::string& file, const std::string& model, const std::string& language);

    // A finding shown at the top of the page; the number to link windows to it.
    std::size_t addFinding(const std::string& severity, const std::string& code, const std::string& place,
                           const std::string& message);
    // The window in `file` shows what finding `finding` says: the finding links to
    // it, and the window is marked failing with the reason.
    void link(std::size_t finding, const std::string& file, const std::string& reason);

    // The models × languages table shown below the findings: where each model's
    // guide opens in each language.
    void setMatrix(LanguageMatrix matrix) { matrix_ = std::move(matrix); }

    // The whole page, every text HTML-escaped and every file name percent-encoded.
    std::string html(const std::string& title) const;

    // "<a & b>" → "&lt;a &amp; b&gt;"
    static std::string escape(std::string_view text);

private:
    struct Picture {
        std::string file;
        std::string model;
        std::string language;
        std::vector<std::string> reasons; // why it fails; empty when it does not
    };
    struct ShownFinding {
        std::string severity;
        std::string code;
        std::string place;
        std::string message;
        std::vector<std::string> files; // the windows it concerns
    };
    Picture* picture(const std::string& file);
    std::string caption(const std::string& file) const;
    std::string matrixTable() const;
    std::vector<ShownFinding> findings_;
    LanguageMatrix matrix_;
    struct Section {
        std::string languageCode;
        std::string heading;
        std::vector<Picture> pictures;
    };
    std::vector<Section> sections_;
    std::set<std::string> names_;
};

}
