#include "disc/LanguageFolders.h"

#include "disc/DiscKeys.h"

#include "platform/foundation/FileManager.h"
#include "platform/foundation/StringFormat.h"

namespace docshelf::disc {

using foundation::FileManager;
using foundation::stringWithFormat;
using foundation::Value;

std::vector<Value> LanguageFolders::scan(const Value& directory) {
    std::vector<Value> kept;
    for (const Value& name : FileManager::contentsOfDirectoryAtPath(directory).elements()) {
        bool isDirectory = false;
        if (FileManager::fileExistsAtPath(stringWithFormat(names::inFolderFormat, {directory, name}), isDirectory) &&
            isDirectory)
            kept.push_back(name);
    }
    return kept;
}

std::vector<LanguageFolders::Match> LanguageFolders::match(const Value& members, std::span<const Value> names) {
    std::vector<Match> matches;
    std::size_t index = 0;
    for (const Value& member : members.elements()) {
        Value folderName = member.objectForKey(keys::folderName);
        for (const Value& name : names)
            if (folderName.isEqualToString(name))
                matches.push_back({index, member, name});
        ++index;
    }
    return matches;
}

}
