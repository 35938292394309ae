#pragma once

#include "disc/DocumentationSettings.h"
#include "disc/KeyPlaces.h"

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Result.h"

#include <memory>
#include <string>
#include <vector>

namespace docshelf::disc {

// One property-list file of the disc as the browser reads it.
struct PropertyListFile {
    std::string path; // empty when nothing names the file
    bool exists = false;
    // Whatever the file holds, or why it cannot be read (the reader's message and byte offset).
    foundation::Result<foundation::Value> root = foundation::Problem{"nothing names the file", {}};
    std::size_t replacedCharacters = 0; // lone UTF-16 surrogates, read as U+FFFD
    std::string form;                   // how it is written when not XML in UTF-8 or binary
    foundation::Dictionary dictionary;  // the root when it is a dictionary: what the browser sees

    // A path value as the browser uses it: a string, else nothing is read.
    static PropertyListFile read(const foundation::Value& path);

    // Where a value lies: this file, the line and byte offset of its key in an
    // XML list (0 and noOffset in a binary one), and the key path. The file is
    // parsed for places once, on the first question.
    foundation::Position origin(const std::vector<std::string>& keys) const;

private:
    mutable std::shared_ptr<const KeyPlaces> places_;
};

// One contained model as the browser reads it, each value with where it came from.
struct ModelRecord {
    std::string name;
    foundation::Value record; // CDInfo's [ContainedModel][name]
    foundation::Position recordAt;
    foundation::Value identification; // ModelInfo's [Model][name]; absent when there is none
    foundation::Position identificationAt;
    DocumentationSettings settings;  // the settings the model uses
    foundation::Position settingsAt; // the record's [Documentation], or CDInfo's
};

// The disc, read once for one question: the application's Info.plist (found
// through the main bundle), the common resource list that its
// "CommonResourcePath" names, the CDInfo and ModelInfo lists that one names, and
// Documentation.plist in the application's resources. Nothing is kept between
// readings: each question of the browser makes its own.
struct Disc {
    PropertyListFile info;
    PropertyListFile common;
    PropertyListFile cdInfo;
    PropertyListFile modelInfo;
    PropertyListFile documentation;

    // Reads the chain from the main bundle, which must point at the application bundle.
    static Disc read();

    // The contained models in the order of the model pop-up (letter case ignored).
    std::vector<ModelRecord> models() const;
    ModelRecord model(const std::string& name) const;
};

}
