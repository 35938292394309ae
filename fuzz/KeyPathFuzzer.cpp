// The key-path reader against the whole-tree reader on the same bytes: the
// catalogue's own questions, and questions made from the keys the whole tree
// holds (each key of the root and of its dictionaries, their keys alone, and
// one key that is missing). Any answer that differs stops the run.
#include "platform/foundation/PropertyListLookup.h"
#include "platform/foundation/PropertyListReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>

using docshelf::foundation::KeyPath;
using docshelf::foundation::PropertyListLookup;
using docshelf::foundation::PropertyListReader;
using docshelf::foundation::Value;

namespace {

// Value's equality, except that NaN equals NaN: both readers may read one.
bool same(const Value& a, const Value& b) {
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case Value::Kind::Real:
        return a.realValue() == b.realValue() || (std::isnan(a.realValue()) && std::isnan(b.realValue()));
    case Value::Kind::Array:
        for (std::size_t i = 0; i < a.count(); ++i)
            if (!same(a.elements()[i], b.elements()[i]))
                return false;
        return a.count() == b.count();
    case Value::Kind::Dictionary:
        if (a.count() != b.count())
            return false;
        for (std::size_t i = 0; i < a.count(); ++i)
            if (a.entries()[i].first != b.entries()[i].first || !same(a.entries()[i].second, b.entries()[i].second))
                return false;
        return true;
    default:
        return a == b;
    }
}

Value answerOf(const Value& root, const KeyPath& question) {
    Value value = root;
    for (const std::string& key : question.keys)
        value = value.objectForKey(key);
    return question.keysOnly ? value.allKeys() : value;
}

void ask(std::vector<KeyPath>& questions, std::vector<std::string> keys) {
    questions.push_back({keys, false});
    questions.push_back({std::move(keys), true});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Value root = PropertyListReader::parse({data, size}).root;

    std::vector<KeyPath> questions;
    ask(questions, {});
    for (const char* first : {"ContainedModel", "Model"})
        ask(questions, {first, "QX-0000 Duo"});
    for (const char* top : {"Documentation", "FolderInfoArray", "CommonResourcePath", "CDInfo", "ModelInfo"})
        ask(questions, {top});
    std::size_t made = 0;
    for (const auto& [key, value] : root.entries()) {
        if (++made > 6)
            break;
        ask(questions, {key});
        ask(questions, {key, "not a key"});
        std::size_t inner = 0;
        for (const auto& [second, deeper] : value.entries()) {
            if (++inner > 3)
                break;
            ask(questions, {key, second});
            for (const auto& entry : deeper.entries()) {
                ask(questions, {key, second, entry.first});
                break;
            }
        }
    }

    // At most 32 questions go in one call; more are asked in several.
    for (std::size_t start = 0; start < questions.size(); start += 32) {
        std::span<const KeyPath> some(questions.data() + start, std::min<std::size_t>(32, questions.size() - start));
        auto answers = PropertyListLookup::lookUp({data, size}, some);
        if (answers.values.size() != some.size())
            __builtin_trap();
        for (std::size_t i = 0; i < some.size(); ++i) {
            if (same(answers.values[i], answerOf(root, some[i])))
                continue;
            std::fprintf(stderr, "key path %zu (%zu keys%s) answered %s, the whole tree has %s\n", start + i,
                         some[i].keys.size(), some[i].keysOnly ? ", keys only" : "",
                         answers.values[i].description().c_str(), answerOf(root, some[i]).description().c_str());
            __builtin_trap();
        }
    }
    return 0;
}
