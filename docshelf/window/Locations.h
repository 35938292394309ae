#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace docshelf {

// Where the browser finds what lies outside its own bundle, and how it opens
// documents. On a Mac: the disc under /Volumes, the system's "open", the
// preferred PDF reader in /Applications. Elsewhere the disc's volume is read
// where it lies (mapVolumes) and documents open with xdg-open.
// DOCSHELF_MESSAGE_BUNDLE and DOCSHELF_PDF_READER name either location outright.
struct Locations {
    std::string messageBundle;
    std::string pdfReader;
    // "open" takes "-a APPLICATION"; any other opener is given the document alone.
    std::string opener;

    // Off the Mac the opener is given the path where the volume really lies; the
    // Mac's "open" (and any recording of it) gets the path as the lists write it.
    bool opensMappedPaths = false;

    bool openerTakesApplication() const { return opener == "open"; }
    std::string pathToOpen(std::string_view path) const;

    // Asked afresh on every call unless tests or tools have set their own; on a
    // Mac always macDefaults(), whatever the environment says.
    static Locations current();
    static void setOverride(std::optional<Locations> locations);

    static Locations macDefaults();
    static Locations fromEnvironment(const std::function<const char*(const char*)>& getenv);

    // Off the Mac, where the lists' "/Volumes/NAME/..." paths are read: under
    // DOCSHELF_VOLUMES ("$DOCSHELF_VOLUMES/NAME/..."), else the folder that holds
    // the application bundle is the volume its "CommonResourcePath" names. On a
    // Mac paths are read as written. Returns what it mapped, for a note; empty
    // when nothing.
    static std::string mapVolumes(const std::function<const char*(const char*)>& getenv, const std::string& app);
    // "/Volumes/ZORVANE" when the application's "CommonResourcePath" lies on that
    // volume; empty otherwise.
    static std::string volumeNamedBy(const std::string& app);
    // The folder that holds the application bundle, as a full path.
    static std::string folderHolding(const std::string& app);
};

}
