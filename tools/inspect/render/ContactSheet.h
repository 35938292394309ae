#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::inspect {

// The pictures of one render run and the index.html that shows them: one section
// per localization, each picture captioned with its model and language.
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

    // The whole page, every text HTML-escaped and every file name percent-encoded.
    std::string html(const std::string& title) const;

    // "<a & b>" → "&lt;a &amp; b&gt;"
    static std::string escape(std::string_view text);

private:
    struct Picture {
        std::string file;
        std::string model;
        std::string language;
    };
    struct Section {
        std::string languageCode;
        std::string heading;
        std::vector<Picture> pictures;
    };
    std::vector<Section> sections_;
    std::set<std::string> names_;
};

}
