#pragma once

#include <functional>
#include <optional>
#include <string>

namespace docshelf {

// Where the browser finds what lies outside its own bundle, and how it opens
// documents. On a Mac: the disc under /Volumes, the system's "open", the
// preferred PDF reader in /Applications. Elsewhere the disc is looked for where
// DOCSHELF_VOLUMES says volumes are mounted (for example /media/alice), and
// documents open with xdg-open. DOCSHELF_MESSAGE_BUNDLE and DOCSHELF_PDF_READER
// name either location outright.
struct Locations {
    std::string messageBundle;
    std::string pdfReader;
    // "open" takes "-a APPLICATION"; any other opener is given the document alone.
    std::string opener;

    bool openerTakesApplication() const { return opener == "open"; }

    // Asked afresh on every call unless tests or tools have set their own; on a
    // Mac always macDefaults(), whatever the environment says.
    static Locations current();
    static void setOverride(std::optional<Locations> locations);

    static Locations macDefaults();
    static Locations fromEnvironment(const std::function<const char*(const char*)>& getenv);
};

}
