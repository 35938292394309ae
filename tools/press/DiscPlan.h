#pragma once

#include "LanguageTable.h"
#include "ModelsTable.h"

#include "platform/foundation/PropertyListWriter.h"
#include "platform/foundation/Value.h"

#include <optional>
#include <string>
#include <vector>

namespace docshelf::press {

// Settings that hold for every model whose row gives none of its own.
struct DiscWideSettings {
    std::optional<std::string> documentation; // a folder of the manuals folder
    std::optional<std::string> url;
    std::vector<std::string> languages;
};

// What a disc will hold, worked out from the models table, the folders of
// manuals and the language table before anything is written: the property
// lists with their /Volumes/NAME paths, the documentation folders to copy and
// the supplies launcher copies. Faults come back as errors, each naming the
// file (and line) to mend.
class DiscPlan {
public:
    // The lists are measured in `format` as the browser's reader would take
    // them: a table that makes one larger than it reads is an error at once.
    static DiscPlan make(const ModelsTable& models, const std::string& manuals, const DiscWideSettings& discWide,
                         const LanguageTable& languages, const std::string& volume,
                         foundation::PropertyListFormat format = foundation::PropertyListFormat::Xml);

    const std::vector<std::string>& errors() const { return errors_; }
    const std::vector<std::string>& warnings() const { return warnings_; }

    const foundation::Value& commonResource() const { return commonResource_; }
    const foundation::Value& cdInfo() const { return cdInfo_; }
    const foundation::Value& modelInfo() const { return modelInfo_; }
    // Folders of the manuals folder to copy into Documentation/.
    const std::vector<std::string>& documentationFolders() const { return folders_; }
    // The file names "vps_MODEL.exe" of the models that can have a copy.
    const std::vector<std::string>& suppliesCopies() const { return copies_; }

    static std::string volumePath(const std::string& volume, const std::string& relative);

private:
    void useFolder(const std::string& folder, const std::string& where, const std::string& manuals,
                   const LanguageTable& languages);
    void checkSize(const ModelsTable& models, const std::string& name, const foundation::Value& root,
                   foundation::PropertyListFormat format);
    void checkOnline(const std::vector<std::string>& online, const std::string& where, const LanguageTable& languages);

    std::vector<std::string> errors_;
    std::vector<std::string> warnings_;
    foundation::Value commonResource_;
    foundation::Value cdInfo_;
    foundation::Value modelInfo_;
    std::vector<std::string> folders_;
    std::vector<std::string> copies_;
};

}
