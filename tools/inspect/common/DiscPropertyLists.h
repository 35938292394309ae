#pragma once

#include "platform/foundation/Dictionary.h"

#include <string>

namespace docshelf::inspect {

// One property-list file of the disc as the browser reads it.
struct PropertyListFile {
    std::string path; // empty when nothing names the file
    bool exists = false;
    foundation::Value root;            // whatever the file holds; absent when unreadable
    std::string error;                 // the reader's message when it could not be read
    std::size_t replacedCharacters = 0; // lone UTF-16 surrogates, read as U+FFFD
    std::string form;                   // how it is written when not XML in UTF-8 or binary
    foundation::Dictionary dictionary; // the root when it is a dictionary: what the browser sees
};

// The disc's property lists, each read once: the application's Info.plist, the
// common resource list that its "CommonResourcePath" names, the CDInfo and
// ModelInfo lists that one names, and Documentation.plist in the application's
// resources. The main bundle must point at the application bundle.
//
// The browser reads the same files afresh for every model; giving these
// dictionaries to ZVModelDocumentation's four-argument initWithName yields the
// same model documentation dictionary without reading them again.
struct DiscPropertyLists {
    PropertyListFile info;
    PropertyListFile common;
    PropertyListFile cdInfo;
    PropertyListFile modelInfo;
    PropertyListFile documentation;

    static DiscPropertyLists read();
    // A path value as the browser uses it: a string, else nothing is read.
    static PropertyListFile readFile(const foundation::Value& path);
};

}
