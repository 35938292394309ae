#pragma once

#include "platform/foundation/Value.h"

namespace docshelf::appkit {

class Application;

// What the application asks of its delegate. Both answers default to what
// AppKit does for a delegate that doesn't implement them.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual void applicationDidFinishLaunching(const foundation::Value& notification) { (void)notification; }
    virtual bool applicationShouldTerminateAfterLastWindowClosed(Application& application) {
        (void)application;
        return false;
    }
};

}
