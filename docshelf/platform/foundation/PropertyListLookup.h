#pragma once

#include "ReadOutcome.h"
#include "Value.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace docshelf::foundation {

// One question asked of a property list: the value at a key path, each key a
// member of the dictionary reached so far, from the root (no keys: the root);
// with keysOnly, the keys of the dictionary there, as allKeys gives them.
struct KeyPath {
    std::vector<std::string> keys;
    bool keysOnly = false;
};

struct KeyPathAnswers : ReadOutcome {
    std::vector<Value> values; // one per question, in order; all absent when the list cannot be read
};

// Answers key paths of an XML or binary property list without building what was
// not asked for: a binary list is followed through its offset table from the
// root to each answer, an XML list is checked whole in one pass that allocates
// nothing and skips what is not asked. The answers are exactly what
// PropertyListReader's whole tree gives (objectForKey at each step, allKeys),
// absent cases included: a list damaged or past a limit anywhere is absent, a
// repeated key keeps its last value. A list in a form that writers of property
// lists do not produce (comments, character references, attributes, unusual
// markers) is answered from the whole tree, which judges it the same way.
// Nothing is kept between calls.
class PropertyListLookup {
public:
    static KeyPathAnswers lookUp(std::span<const std::uint8_t> bytes, std::span<const KeyPath> questions);
    static KeyPathAnswers readFile(const std::string& path, std::span<const KeyPath> questions);
    // One question of the file at the path; absent when the path is not a string.
    static Value valueInFile(const Value& path, const KeyPath& question);
};

}
