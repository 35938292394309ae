#include "inspect/check/VolumeNameCheck.h"

#include "inspect/common/Wording.h"

#include "catalogue/DocumentationKeys.h"
#include "window/Locations.h"

#include "platform/foundation/VolumeMap.h"

#include <filesystem>

namespace docshelf::inspect {

using foundation::Value;
using foundation::VolumeMap;

namespace {

std::string keyOf(std::string_view key) {
    return std::string(key);
}

// What the user of such a disc sees, said once for both findings.
std::string consequence() {
    return "the browser reads its texts from " + inQuotes(Locations::macDefaults().messageBundle) +
           " alone, so on this disc every caption, label and menu item shows its key (\"UG_TXT_LANGUAGE\", "
           "\"UG_BTN_README\", \"BTN_CLOSE\") and the model label reads \"Model\"";
}

}

std::string VolumeNameCheck::textVolume() {
    return VolumeMap::volumeOf(Locations::macDefaults().messageBundle);
}

std::optional<VolumeNameCheck::Named> VolumeNameCheck::otherVolume(const disc::Disc& lists) {
    // Every path of the chain, in the order the browser follows it.
    std::vector<std::pair<Value, Place>> paths{
        {lists.info.dictionary.objectForKey(keys::commonResourcePath),
         Findings::keyPath(lists.info.path, {keyOf(keys::commonResourcePath)})},
        {lists.common.dictionary.objectForKey(keys::cdInfo),
         Findings::keyPath(lists.common.path, {keyOf(keys::cdInfo)})},
        {lists.common.dictionary.objectForKey(keys::modelInfo),
         Findings::keyPath(lists.common.path, {keyOf(keys::modelInfo)})},
        {lists.cdInfo.dictionary.objectForKey(keys::documentation).objectForKey(keys::path),
         Findings::keyPath(lists.cdInfo.path, {keyOf(keys::documentation), keyOf(keys::path)})}};
    for (const auto& [model, record] : lists.cdInfo.dictionary.objectForKey(keys::containedModel).entries())
        paths.emplace_back(record.objectForKey(keys::documentation).objectForKey(keys::path),
                           Findings::keyPath(lists.cdInfo.path, {keyOf(keys::containedModel), model,
                                                                 keyOf(keys::documentation), keyOf(keys::path)}));
    std::string expected = textVolume();
    for (const auto& [path, location] : paths) {
        if (!path.isString())
            continue;
        std::string volume = VolumeMap::volumeOf(path.text());
        if (!volume.empty() && volume != expected)
            return Named{volume, location};
    }
    return std::nullopt;
}

void VolumeNameCheck::run(const Input& input, Findings& findings) {
    std::string expected = textVolume();
    std::string expectedName = expected.substr(expected.rfind('/') + 1);
    std::string folderName;
    if (input.discFolder)
        folderName = std::filesystem::path(*input.discFolder).lexically_normal().filename().string();
    if (folderName.empty() && input.discFolder)
        folderName = std::filesystem::path(*input.discFolder).lexically_normal().parent_path().filename().string();

    if (auto other = otherVolume(input.lists)) {
        std::string name = other->volume.substr(other->volume.rfind('/') + 1);
        // A disc folder of that name is the cause: the volume takes the folder's name.
        bool byFolder = input.discFolder && folderName == name;
        findings.error("volume-name-differs", byFolder ? *input.discFolder : other->location,
                       (byFolder ? "the disc folder is named " + inQuotes(name) + " and its lists name "
                                 : "the lists name the volume ") +
                           inQuotes(other->volume) + ", not " + inQuotes(expected) + "; " + consequence() +
                           "; name the disc " + inQuotes(expectedName));
        return;
    }
    // Lists that name the browser's volume, in a folder of another name: pressed
    // as it is, the volume takes the folder's name and nothing is found.
    if (input.discFolder && !folderName.empty() && folderName != expectedName &&
        !VolumeMap::volumeOf(input.lists.info.dictionary.objectForKey(keys::commonResourcePath).text()).empty())
        findings.warning("volume-name-differs", *input.discFolder,
                         "the disc folder is named " + inQuotes(folderName) + "; a disc pressed from it mounts as " +
                             inQuotes("/Volumes/" + folderName) + ", where its lists find nothing, and " +
                             consequence() + "; press it as " + inQuotes(expectedName));
}

}
