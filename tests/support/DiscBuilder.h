#pragma once

#include "PropertyListWriter.h"
#include "TemporaryDirectory.h"

#include "platform/foundation/Value.h"

#include <string>
#include <vector>

namespace docshelf::testing {

// A disc in a temporary folder: an application bundle whose Info.plist leads to
// a common resource property list, CDInfo and ModelInfo, with language folders
// wherever a test puts them. Every property list is written in the chosen
// format. The application bundle is the main bundle while the builder lives.
class DiscBuilder {
public:
    explicit DiscBuilder(PlistFormat format = PlistFormat::Xml);
    ~DiscBuilder();
    DiscBuilder(const DiscBuilder&) = delete;
    DiscBuilder& operator=(const DiscBuilder&) = delete;

    std::string path(const std::string& relative) const { return directory_ / relative; }
    std::string appPath() const { return path("Docshelf.app"); }
    PlistFormat format() const { return format_; }

    // Writes a property list at a path relative to the disc; returns its full path.
    std::string writePlist(const std::string& relative, const foundation::Value& root) const;
    void writeFile(const std::string& relative, const std::string& contents = "x") const {
        directory_.write(relative, contents);
    }
    void makeDirectory(const std::string& relative) const { directory_.makeDirectory(relative); }

    void writeInfoPlist(const foundation::Value& info) const;
    void writeDocumentationPlist(const foundation::Value& plist) const;
    // Info.plist pointing at CommonResource.plist, which points at CDInfo.plist and ModelInfo.plist.
    void writeChain() const;
    void writeCDInfo(const foundation::Value& cdInfo) const;
    void writeModelInfo(const foundation::Value& modelInfo) const;

    // A language folder holding the given files (e.g. "top.pdf", "MacOS_X_readme.rtf").
    void writeLanguageFolder(const std::string& directory, const std::string& folder,
                             const std::vector<std::string>& files) const;

    // Documentation.plist members for English, German, French, Japanese and Spanish
    // (folder names as written, display names "English", "Deutsch", ..., codes "en", "de", ...).
    static foundation::Value fiveLanguages();
    static foundation::Value member(const char* folder, const char* display, const char* code);

private:
    TemporaryDirectory directory_;
    PlistFormat format_;
};

}
