#include "Value.h"

#include "CaseInsensitive.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <variant>

namespace docshelf::foundation {

namespace {

struct DateTag {
    double seconds = 0;
    bool operator==(const DateTag&) const = default;
};

struct DictionaryStorage {
    std::vector<Value::Entry> entries;
    // Places in entries ordered by key: one allocation however many keys, where
    // a map took one node and a copy of the key for each.
    std::vector<std::uint32_t> index;
    bool operator==(const DictionaryStorage& other) const { return entries == other.entries; }
};

}

struct Value::Node {
    Kind kind = Kind::Absent;
    std::variant<std::monostate, std::string, std::int64_t, double, bool, DateTag, std::vector<std::uint8_t>,
                 std::vector<Value>, DictionaryStorage>
        payload;
};

Value::Value(std::shared_ptr<const Node> node) : node_(std::move(node)) {}

Value::Value(std::string text) : node_(std::make_shared<const Node>(Node{Kind::String, std::move(text)})) {}

Value::Value(std::string_view text) : Value(std::string(text)) {}

Value::Value(const char* text) : Value(text ? std::string(text) : std::string()) {
    if (!text)
        node_.reset();
}

Value Value::integer(std::int64_t number) {
    return Value(std::make_shared<const Node>(Node{Kind::Integer, number}));
}

Value Value::real(double number) {
    return Value(std::make_shared<const Node>(Node{Kind::Real, number}));
}

Value Value::boolean(bool flag) {
    return Value(std::make_shared<const Node>(Node{Kind::Boolean, flag}));
}

Value Value::date(double secondsSinceReferenceDate) {
    return Value(std::make_shared<const Node>(Node{Kind::Date, DateTag{secondsSinceReferenceDate}}));
}

Value Value::data(std::vector<std::uint8_t> bytes) {
    return Value(std::make_shared<const Node>(Node{Kind::Data, std::move(bytes)}));
}

Value Value::array(std::vector<Value> elements) {
    return Value(std::make_shared<const Node>(Node{Kind::Array, std::move(elements)}));
}

Value Value::dictionary(std::vector<Entry> entries) {
    // Order the places by key, each run of one key by place: the first place of
    // a run stays and takes the run's last value; the other places go.
    std::vector<std::uint32_t> order(entries.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&entries](std::uint32_t a, std::uint32_t b) { return entries[a].first < entries[b].first; });
    std::vector<bool> dropped(entries.size(), false);
    bool repeated = false;
    for (std::size_t run = 0; run < order.size();) {
        std::size_t end = run + 1;
        while (end < order.size() && entries[order[end]].first == entries[order[run]].first)
            ++end;
        if (end - run > 1) {
            repeated = true;
            entries[order[run]].second = std::move(entries[order[end - 1]].second);
            for (std::size_t later = run + 1; later < end; ++later)
                dropped[order[later]] = true;
        }
        run = end;
    }
    DictionaryStorage storage;
    if (!repeated) {
        storage.entries = std::move(entries);
        storage.index = std::move(order);
    } else {
        storage.entries.reserve(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (!dropped[i])
                storage.entries.push_back(std::move(entries[i]));
        storage.index.resize(storage.entries.size());
        for (std::uint32_t i = 0; i < storage.index.size(); ++i)
            storage.index[i] = i;
        std::sort(storage.index.begin(), storage.index.end(), [&storage](std::uint32_t a, std::uint32_t b) {
            return storage.entries[a].first < storage.entries[b].first;
        });
    }
    return Value(std::make_shared<const Node>(Node{Kind::Dictionary, std::move(storage)}));
}

Value::Kind Value::kind() const {
    return node_ ? node_->kind : Kind::Absent;
}

bool Value::isNumber() const {
    Kind k = kind();
    return k == Kind::Integer || k == Kind::Real || k == Kind::Boolean;
}

std::string_view Value::text() const {
    if (!isString())
        return {};
    return std::get<std::string>(node_->payload);
}

bool Value::isEqualToString(std::string_view other) const {
    return isString() && text() == other;
}

bool Value::isEqualToString(const Value& other) const {
    return isString() && other.isString() && text() == other.text();
}

bool Value::hasSuffix(std::string_view suffix) const {
    return isString() && text().ends_with(suffix);
}

bool Value::boolValue() const {
    switch (kind()) {
    case Kind::Boolean:
        return std::get<bool>(node_->payload);
    case Kind::Integer:
        return std::get<std::int64_t>(node_->payload) != 0;
    case Kind::Real:
        return std::get<double>(node_->payload) != 0;
    default:
        return false;
    }
}

std::int64_t Value::integerValue() const {
    switch (kind()) {
    case Kind::Boolean:
        return std::get<bool>(node_->payload) ? 1 : 0;
    case Kind::Integer:
        return std::get<std::int64_t>(node_->payload);
    case Kind::Real: {
        double d = std::get<double>(node_->payload);
        if (!(d == d) || d >= 9.2e18 || d <= -9.2e18)
            return 0;
        return static_cast<std::int64_t>(d);
    }
    default:
        return 0;
    }
}

double Value::realValue() const {
    switch (kind()) {
    case Kind::Boolean:
    case Kind::Integer:
        return static_cast<double>(integerValue());
    case Kind::Real:
        return std::get<double>(node_->payload);
    default:
        return 0;
    }
}

double Value::dateValue() const {
    return kind() == Kind::Date ? std::get<DateTag>(node_->payload).seconds : 0;
}

std::span<const std::uint8_t> Value::bytes() const {
    if (kind() != Kind::Data)
        return {};
    return std::get<std::vector<std::uint8_t>>(node_->payload);
}

std::size_t Value::count() const {
    if (isArray())
        return std::get<std::vector<Value>>(node_->payload).size();
    if (isDictionary())
        return std::get<DictionaryStorage>(node_->payload).entries.size();
    return 0;
}

Value Value::objectAtIndex(std::size_t index) const {
    auto all = elements();
    return index < all.size() ? all[index] : Value();
}

std::span<const Value> Value::elements() const& {
    if (!isArray())
        return {};
    return std::get<std::vector<Value>>(node_->payload);
}

Value Value::objectForKey(std::string_view key) const {
    if (!isDictionary())
        return {};
    const auto& storage = std::get<DictionaryStorage>(node_->payload);
    auto found = std::lower_bound(storage.index.begin(), storage.index.end(), key,
                                  [&storage](std::uint32_t place, std::string_view wanted) {
                                      return std::string_view(storage.entries[place].first) < wanted;
                                  });
    if (found == storage.index.end() || storage.entries[*found].first != key)
        return {};
    return storage.entries[*found].second;
}

std::span<const Value::Entry> Value::entries() const& {
    if (!isDictionary())
        return {};
    return std::get<DictionaryStorage>(node_->payload).entries;
}

Value Value::allKeys() const {
    if (!isDictionary())
        return {};
    std::vector<Value> keys;
    for (const auto& entry : entries())
        keys.emplace_back(entry.first);
    return array(std::move(keys));
}

Value Value::sortedCaseInsensitively() const {
    if (!isArray())
        return {};
    std::vector<Value> sorted(elements().begin(), elements().end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const Value& a, const Value& b) {
        int order = caseInsensitiveCompare(a.text(), b.text());
        return order != 0 ? order < 0 : a.text() < b.text();
    });
    return array(std::move(sorted));
}

std::string Value::description() const {
    switch (kind()) {
    case Kind::Absent:
        return "(null)";
    case Kind::String:
        return std::string(text());
    case Kind::Boolean:
    case Kind::Integer:
        return std::to_string(integerValue());
    case Kind::Real: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", realValue());
        return buffer;
    }
    case Kind::Date: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", dateValue());
        return buffer;
    }
    case Kind::Data:
        return "<" + std::to_string(bytes().size()) + " bytes>";
    case Kind::Array:
        return "(" + std::to_string(count()) + " elements)";
    case Kind::Dictionary:
        return "{" + std::to_string(count()) + " entries}";
    }
    return {};
}

bool operator==(const Value& a, const Value& b) {
    if (a.node_ == b.node_)
        return true;
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case Value::Kind::Absent:
        return true;
    case Value::Kind::Dictionary:
        return std::ranges::equal(a.entries(), b.entries());
    default:
        return a.node_->payload == b.node_->payload;
    }
}

}
