#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace docshelf::press {

// Names that would be one name: equal once composed (NFC) and case folded, as
// "Café" in either normalization, or "QX-500" and "qx-500". Found by hashing,
// so a list of n names takes about n steps, not n².
class NameClashes {
public:
    struct Earlier {
        std::string name;
        std::size_t tag = 0; // what was given with it: a line, an index
    };

    NameClashes() = default;
    // The table counts into its own member: never copied.
    NameClashes(const NameClashes&) = delete;
    NameClashes& operator=(const NameClashes&) = delete;

    // The earlier name that this one clashes with; else nullopt, and the name is kept.
    std::optional<Earlier> add(std::string_view name, std::size_t tag);
    // The work done: each key hashed, and each time two keys were compared.
    std::size_t comparisons() const { return comparisons_; }

private:
    struct CountedHash {
        std::size_t* count;
        std::size_t operator()(const std::string& key) const {
            ++*count;
            return std::hash<std::string>{}(key);
        }
    };
    struct CountedEqual {
        std::size_t* count;
        bool operator()(const std::string& a, const std::string& b) const {
            ++*count;
            return a == b;
        }
    };

    std::size_t comparisons_ = 0;
    std::unordered_map<std::string, Earlier, CountedHash, CountedEqual> seen_{16, CountedHash{&comparisons_},
                                                                              CountedEqual{&comparisons_}};
};

}
