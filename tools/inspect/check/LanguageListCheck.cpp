#include "inspect/check/LanguageListCheck.h"

#include "inspect/common/Wording.h"

#include "catalogue/DocumentationKeys.h"

#include <map>

namespace docshelf::inspect {

using foundation::Value;

void LanguageListCheck::run(const disc::PropertyListFile& documentation, Findings& findings) {
    Value members = documentation.dictionary.objectForKey(keys::folderInfoArray);
    std::map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < members.count(); ++i) {
        Value member = members.objectAtIndex(i);
        Value code = member.objectForKey(keys::kpsCode);
        if (code.isString() && code.text().empty())
            findings.warning("kps-code-empty",
                             Findings::keyPath(documentation.path, {std::string(keys::folderInfoArray),
                                                                    std::to_string(i), std::string(keys::kpsCode)}),
                             "member " + std::to_string(i) + " has an empty " + inQuotes(keys::kpsCode) +
                                 "; its online pages open with \"LNG=\" and no language, and the automatic "
                                 "language choice never picks it");
        Value display = member.objectForKey(keys::displayName);
        if (!display.isString())
            continue; // missing or of another type: reported with the member
        Place at = Findings::keyPath(documentation.path, {std::string(keys::folderInfoArray), std::to_string(i),
                                                          std::string(keys::displayName)});
        std::string name(display.text());
        if (name.empty()) {
            findings.warning("display-name-empty", at,
                             "member " + std::to_string(i) + " has an empty " + inQuotes(keys::displayName) +
                                 "; its language shows as an item without a title");
            continue;
        }
        auto [it, inserted] = first.emplace(name, i);
        // A member listed twice whole is reported with its "Folder Name".
        if (!inserted && !members.objectAtIndex(it->second)
                              .objectForKey(keys::folderName)
                              .isEqualToString(member.objectForKey(keys::folderName)))
            findings.error("display-name-duplicate", at,
                           inQuotes(keys::displayName) + " " + inQuotes(name) + " is also member " +
                               std::to_string(it->second) +
                               "'s; the browser finds a chosen language by this name, so choosing this one opens "
                               "the documents and read-me of member " +
                               std::to_string(it->second));
    }
}

}
