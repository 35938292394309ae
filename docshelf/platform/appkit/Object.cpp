#include "Object.h"

#include "Outlet.h"

#include <algorithm>

namespace docshelf::appkit {

namespace {

template <class Table>
auto find(Table& table, std::string_view name) {
    return std::ranges::find_if(table, [name](const auto& entry) { return entry.first == name; });
}

// A subclass publishing a name again replaces what its base published.
template <class Table, class F>
void put(Table& table, std::string name, F value) {
    auto entry = find(table, name);
    if (entry != table.end())
        entry->second = std::move(value);
    else
        table.emplace_back(std::move(name), std::move(value));
}

template <class Table>
bool contains(const Table& table, std::string_view name) {
    return find(table, name) != table.end();
}

}

void Object::setValue(const foundation::Value& value, std::string_view key) {
    auto slot = find(values_, key);
    if (slot == values_.end())
        return;
    slot->second = value;
    // Copied first: an observer may add observers or set values itself.
    std::vector<std::function<void(const foundation::Value&)>> toCall;
    for (const auto& [observedKey, observer] : observers_)
        if (observedKey == key)
            toCall.push_back(observer);
    for (const auto& observer : toCall)
        observer(value);
}

foundation::Value Object::valueForKey(std::string_view key) const {
    auto slot = find(values_, key);
    return slot == values_.end() ? foundation::Value() : slot->second;
}

bool Object::publishesKey(std::string_view key) const {
    return contains(values_, key);
}

void Object::addObserver(std::string key, std::function<void(const foundation::Value&)> observer) {
    if (observer)
        observers_.emplace_back(std::move(key), std::move(observer));
}

bool Object::performAction(std::string_view action, const std::shared_ptr<Object>& sender) {
    auto entry = find(actions_, action);
    if (entry == actions_.end())
        return false;
    auto run = entry->second; // the action may publish more and move the table
    run(sender);
    return true;
}

bool Object::respondsToAction(std::string_view action) const {
    return contains(actions_, action);
}

bool Object::connectOutlet(std::string_view name, std::shared_ptr<Object> object) {
    auto entry = find(outlets_, name);
    return entry != outlets_.end() && entry->second->connect(std::move(object));
}

bool Object::hasOutlet(std::string_view name) const {
    return contains(outlets_, name);
}

bool Object::bind(std::string_view binding, const std::shared_ptr<Object>& observed, std::string key) {
    auto entry = find(bindings_, binding);
    std::weak_ptr<Object> self = weak_from_this();
    if (entry == bindings_.end() || !observed || self.expired())
        return false;
    auto show = entry->second;
    show(observed->valueForKey(key));
    observed->addObserver(std::move(key), [self, show](const foundation::Value& value) {
        if (auto alive = self.lock())
            show(value);
    });
    return true;
}

bool Object::hasBinding(std::string_view binding) const {
    return contains(bindings_, binding);
}

bool Object::setProperty(std::string_view name, const foundation::Value& value) {
    auto entry = find(properties_, name);
    return entry != properties_.end() && entry->second(value);
}

bool Object::hasProperty(std::string_view name) const {
    return contains(properties_, name);
}

void Object::publish(std::string key) {
    if (contains(values_, key))
        return;
    keys_.push_back(key);
    values_.emplace_back(std::move(key), foundation::Value());
}

void Object::publishAction(std::string name, std::function<void(const std::shared_ptr<Object>&)> action) {
    put(actions_, std::move(name), std::move(action));
}

void Object::publishOutlet(std::string name, OutletBase& outlet) {
    put(outlets_, std::move(name), &outlet);
}

void Object::publishBinding(std::string name, std::function<void(const foundation::Value&)> show) {
    put(bindings_, std::move(name), std::move(show));
}

void Object::publishProperty(std::string name, std::function<bool(const foundation::Value&)> apply) {
    put(properties_, std::move(name), std::move(apply));
}

void Object::publishBoolProperty(std::string name, std::function<void(bool)> set) {
    publishProperty(std::move(name), [set = std::move(set)](const foundation::Value& value) {
        if (value.kind() != foundation::Value::Kind::Boolean)
            return false;
        set(value.boolValue());
        return true;
    });
}

void Object::publishStringProperty(std::string name, std::function<void(std::string)> set) {
    publishProperty(std::move(name), [set = std::move(set)](const foundation::Value& value) {
        if (!value.isString())
            return false;
        set(std::string(value.text()));
        return true;
    });
}

void Object::publishNumberProperty(std::string name, std::function<void(double)> set) {
    publishProperty(std::move(name), [set = std::move(set)](const foundation::Value& value) {
        if (!value.isNumber() || value.kind() == foundation::Value::Kind::Boolean)
            return false;
        set(value.realValue());
        return true;
    });
}

}
