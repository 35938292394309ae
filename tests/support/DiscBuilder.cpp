#include "DiscBuilder.h"

#include "platform/foundation/Bundle.h"

namespace docshelf::testing {

using foundation::Value;

DiscBuilder::DiscBuilder(PlistFormat format) : format_(format) {
    directory_.makeDirectory("Docshelf.app/Contents/Resources");
    directory_.makeDirectory("Docshelf.app/Contents/MacOS");
    foundation::Bundle::setMainBundlePath(appPath());
}

DiscBuilder::~DiscBuilder() {
    foundation::Bundle::setMainBundlePath(std::nullopt);
}

std::string DiscBuilder::writePlist(const std::string& relative, const Value& root) const {
    std::string full = path(relative);
    PropertyListWriter::writeFile(full, root, format_);
    return full;
}

void DiscBuilder::writeInfoPlist(const Value& info) const {
    writePlist("Docshelf.app/Contents/Info.plist", info);
}

void DiscBuilder::writeDocumentationPlist(const Value& plist) const {
    writePlist("Docshelf.app/Contents/Resources/Documentation.plist", plist);
}

void DiscBuilder::writeChain() const {
    writeInfoPlist(Value::dictionary(
        {{"CFBundleExecutable", "Docshelf"}, {"CommonResourcePath", path("MacResources/CommonResource.plist")}}));
    writePlist("MacResources/CommonResource.plist",
               Value::dictionary({{"CDInfo", path("MacResources/CDInfo.plist")},
                                  {"ModelInfo", path("MacResources/ModelInfo.plist")}}));
}

void DiscBuilder::writeCDInfo(const Value& cdInfo) const {
    writePlist("MacResources/CDInfo.plist", cdInfo);
}

void DiscBuilder::writeModelInfo(const Value& modelInfo) const {
    writePlist("MacResources/ModelInfo.plist", modelInfo);
}

void DiscBuilder::writeLanguageFolder(const std::string& directory, const std::string& folder,
                                      const std::vector<std::string>& files) const {
    directory_.makeDirectory(directory + "/" + folder);
    for (const auto& file : files)
        directory_.write(directory + "/" + folder + "/" + file, "document " + file);
}

Value DiscBuilder::member(const char* folder, const char* display, const char* code) {
    std::vector<Value::Entry> entries;
    if (folder)
        entries.emplace_back("Folder Name", folder);
    if (display)
        entries.emplace_back("Display Name", display);
    if (code)
        entries.emplace_back("KPS Code", code);
    return Value::dictionary(std::move(entries));
}

Value DiscBuilder::fiveLanguages() {
    return Value::dictionary({{"FolderInfoArray", Value::array({
                                                      member("English", "English", "en"),
                                                      member("German", "Deutsch", "de"),
                                                      member("French",
                                                             "Fran\xC3\xA7"
                                                             "ais",
                                                             "fr"),
                                                      member("Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "ja"),
                                                      member("Spanish", "Espa\xC3\xB1ol", "es"),
                                                  })}});
}

}
