#pragma once

#include "platform/foundation/Value.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace docshelf::appkit {

class OutletBase;

// The base of everything a window description can create. A class says in its
// constructor what it offers by name: keys for key-value coding, actions, outlets,
// bindings and the properties a description may set. Everything else reaches it
// by name through the operations below, as Cocoa's runtime would.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // Stores the value under a published key (other keys are ignored) and calls
    // every observer of that key before returning.
    void setValue(const foundation::Value& value, std::string_view key);
    foundation::Value valueForKey(std::string_view key) const;
    // In the order the class published them.
    const std::vector<std::string>& publishedKeys() const { return keys_; }
    bool publishesKey(std::string_view key) const;
    void addObserver(std::string key, std::function<void(const foundation::Value&)> observer);

    // Runs the published action of that name; false when the class has none.
    virtual bool performAction(std::string_view action, const std::shared_ptr<Object>& sender);
    bool respondsToAction(std::string_view action) const;

    // False when there is no such outlet or it cannot hold an object of that class.
    virtual bool connectOutlet(std::string_view name, std::shared_ptr<Object> object);
    bool hasOutlet(std::string_view name) const;

    // Shows the observed object's value for the key through the named binding, at
    // once and after every setValue of that key. The binding holds this object
    // weakly, so it must be owned by a shared_ptr; false otherwise or when the
    // class has no such binding.
    bool bind(std::string_view binding, const std::shared_ptr<Object>& observed, std::string key);
    bool hasBinding(std::string_view binding) const;

    // A property as a window description gives it; false when the value has the wrong type.
    bool setProperty(std::string_view name, const foundation::Value& value);
    bool hasProperty(std::string_view name) const;

    // Sent once after a window description has created and connected everything.
    virtual void awakeFromNib() {}

protected:
    void publish(std::string key);
    void publishAction(std::string name, std::function<void(const std::shared_ptr<Object>&)> action);
    void publishOutlet(std::string name, OutletBase& outlet);
    void publishBinding(std::string name, std::function<void(const foundation::Value&)> show);
    void publishProperty(std::string name, std::function<bool(const foundation::Value&)> apply);
    // Properties of one kind: a value of another kind is refused.
    void publishBoolProperty(std::string name, std::function<void(bool)> set);
    void publishStringProperty(std::string name, std::function<void(std::string)> set);
    void publishNumberProperty(std::string name, std::function<void(double)> set);

private:
    template <class F>
    using Table = std::vector<std::pair<std::string, F>>;

    std::vector<std::string> keys_;
    Table<foundation::Value> values_;
    Table<std::function<void(const foundation::Value&)>> observers_;
    Table<std::function<void(const std::shared_ptr<Object>&)>> actions_;
    Table<OutletBase*> outlets_;
    Table<std::function<void(const foundation::Value&)>> bindings_;
    Table<std::function<bool(const foundation::Value&)>> properties_;
};

}
