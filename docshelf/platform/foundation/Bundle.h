#pragma once

#include "Dictionary.h"
#include "Value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::foundation {

// A bundle directory: an application (X.app/Contents/...) or a plain resource
// bundle whose localization folders lie in Contents/Resources or, for a flat
// bundle, directly inside it. A default-constructed Bundle is absent and answers
// every question as nil would. Nothing is cached: every answer reads the disc.
class Bundle {
public:
    Bundle() = default;

    // The running application's bundle: the one set with setMainBundlePath, else
    // the bundle that holds the executable (X.app/Contents/MacOS/exe).
    static Bundle mainBundle();
    // Points mainBundle at a bundle directory, for tests and tools; nullopt restores the default.
    static void setMainBundlePath(std::optional<std::string> path);
    // Absent unless a directory exists at the path.
    static Bundle bundleWithPath(const Value& path);

    bool isAbsent() const { return !path_; }
    Value bundlePath() const;
    Value resourcePath() const;
    // The path of Contents/Info.plist (Info.plist for a flat bundle), or absent.
    Value infoPlistPath() const;
    // Contents/Info.plist (Info.plist for a flat bundle), or absent.
    Dictionary infoDictionary() const;
    // One value of infoDictionary(), read without building the rest of the file.
    Value objectForInfoDictionaryKey(std::string_view key) const;

    // The text of the key in the strings table <table>.strings (absent or empty
    // table: "Localizable") of preferredLocalization(). When that folder has no
    // such file, the development region's table is used, then English's, then the
    // one directly in the resource path; the first table found answers. A key it
    // lacks, or a table that cannot be read, gives the value argument, or the key
    // when the value is absent or empty. Absent for an absent bundle.
    Value localizedStringForKey(const Value& key, const Value& value, const Value& table) const;
    // The bundle's localizations as its .lproj folders name them, sorted by name.
    std::vector<std::string> localizations() const;
    // The .lproj folder (without the extension) that lookups use now, or empty when
    // none fits. Preference order: each of the user's languages (PreferredLanguages)
    // exactly, then by its language part; then CFBundleDevelopmentRegion from the
    // Info.plist; then "en"/"English" (Localizations::choose).
    std::string preferredLocalization() const;

private:
    explicit Bundle(std::string path) : path_(std::move(path)) {}
    std::string contentsPath() const;

    std::optional<std::string> path_;
};

}
