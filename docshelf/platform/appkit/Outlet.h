#pragma once

#include "Object.h"

#include <memory>

namespace docshelf::appkit {

// What Object needs to connect an outlet without knowing its class.
class OutletBase {
public:
    virtual ~OutletBase() = default;
    virtual bool connect(std::shared_ptr<Object> object) = 0;
    virtual bool isConnected() const = 0;
};

// A reference to an object of the window, or nothing. Operations through an
// unconnected outlet reach a fresh inert T that lives for that one expression, so
// they change nothing and read as a default T does (frames as empty rectangles),
// as messages to nil do in Cocoa.
template <class T>
class Outlet : public OutletBase {
    class Arrow {
    public:
        T* operator->() const { return held_.get(); }
        std::shared_ptr<T> held_;
    };

public:
    Outlet() = default;

    // An object of another class leaves the outlet unconnected.
    Outlet& operator=(std::shared_ptr<Object> object) {
        connect(std::move(object));
        return *this;
    }
    bool connect(std::shared_ptr<Object> object) override {
        object_ = std::dynamic_pointer_cast<T>(std::move(object));
        return object_ != nullptr;
    }
    bool isConnected() const override { return object_ != nullptr; }

    T* get() const { return object_.get(); }
    const std::shared_ptr<T>& shared() const { return object_; }
    Arrow operator->() const { return Arrow{object_ ? object_ : std::make_shared<T>()}; }

private:
    std::shared_ptr<T> object_;
};

}
