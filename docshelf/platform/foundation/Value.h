#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace docshelf::foundation {

// One immutable property-list value: string, integer, real, boolean, date, data,
// array or dictionary, or absent (nil). Every operation is defined for every kind:
// asked of an absent value, or of a value of another kind than the operation needs,
// it answers as nil would (absent, 0, false, empty), so callers chain lookups
// without testing at each step.
class Value {
public:
    enum class Kind { Absent, String, Integer, Real, Boolean, Date, Data, Array, Dictionary };
    using Entry = std::pair<std::string, Value>;

    Value() = default;
    Value(std::string text);
    Value(std::string_view text);
    Value(const char* text);

    static Value integer(std::int64_t number);
    static Value real(double number);
    static Value boolean(bool flag);
    // Seconds since 2001-01-01 00:00:00 UTC, as property lists count them.
    static Value date(double secondsSinceReferenceDate);
    static Value data(std::vector<std::uint8_t> bytes);
    static Value array(std::vector<Value> elements);
    // Keys keep the order given; a repeated key keeps its first place and takes the later value.
    static Value dictionary(std::vector<Entry> entries);

    Kind kind() const;
    bool isAbsent() const { return kind() == Kind::Absent; }
    bool isString() const { return kind() == Kind::String; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isNumber() const;

    // Strings. Anything but a string has no text and equals no string.
    // The view lives as long as some value holds this string.
    std::string_view text() const;
    bool isEqualToString(std::string_view other) const;
    bool isEqualToString(const Value& other) const;
    bool isEqualToString(const char* other) const { return other && isEqualToString(std::string_view(other)); }
    bool isEqualToString(const std::string& other) const { return isEqualToString(std::string_view(other)); }
    bool hasSuffix(std::string_view suffix) const;
    bool isNonEmptyString() const { return isString() && !text().empty(); }

    // Numbers, booleans and dates; 0 or false for anything else.
    bool boolValue() const;
    std::int64_t integerValue() const;
    double realValue() const;
    double dateValue() const;
    std::span<const std::uint8_t> bytes() const;

    // Arrays and dictionaries.
    std::size_t count() const;
    Value objectAtIndex(std::size_t index) const;
    // Asked of a temporary, elements() and entries() hand back copies, so that
    // `for (auto& e : f().elements())` never walks a value already gone.
    std::span<const Value> elements() const&;
    std::vector<Value> elements() const&& {
        auto all = elements();
        return {all.begin(), all.end()};
    }
    Value objectForKey(std::string_view key) const;
    Value objectForKey(const char* key) const { return key ? objectForKey(std::string_view(key)) : Value(); }
    Value objectForKey(const std::string& key) const { return objectForKey(std::string_view(key)); }
    // Absent unless the key is a string.
    Value objectForKey(const Value& key) const { return key.isString() ? objectForKey(key.text()) : Value(); }
    std::span<const Entry> entries() const&;
    std::vector<Entry> entries() const&& {
        auto all = entries();
        return {all.begin(), all.end()};
    }
    // The keys of a dictionary as an array of strings; absent for anything else.
    Value allKeys() const;
    // A new array of the strings ordered as caseInsensitiveCompare orders them;
    // names equal but for case keep a fixed order, by exact comparison.
    Value sortedCaseInsensitively() const;

    // The text that "%@" puts in a format: a string as it is, a number in decimal,
    // a boolean as 1 or 0, absent as "(null)".
    std::string description() const;

    friend bool operator==(const Value& a, const Value& b);

private:
    struct Node;
    explicit Value(std::shared_ptr<const Node> node);

    std::shared_ptr<const Node> node_;
};

}
