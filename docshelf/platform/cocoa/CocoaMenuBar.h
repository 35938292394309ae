#pragma once

#include "NativeSink.h"

#import <AppKit/AppKit.h>

#include <memory>
#include <vector>

@class DSActionTarget;

namespace docshelf::appkit {
class Application;
class Menu;
class MenuItem;
}

namespace docshelf::cocoa {

// The application's main menu as an NSMenu: on a Mac its first menu is the
// application menu, with our titles and key equivalents (Command with the key);
// GNUstep shows the same menu as its own menu window. Each native item sends
// the action of the model's item.
class CocoaMenuBar : public NativeSink {
public:
    CocoaMenuBar();
    ~CocoaMenuBar() override;
    CocoaMenuBar(const CocoaMenuBar&) = delete;
    CocoaMenuBar& operator=(const CocoaMenuBar&) = delete;

    // Installs the application's main menu as it is now; nothing without one.
    void show(const appkit::Application& application);

    void nativeAction(long tag, id sender) override;

private:
    NSMenu* nativeMenu(const appkit::Menu& menu, std::size_t depth);

    DSActionTarget* target_ = nil;
    // The model's items, by the tag of their native items.
    std::vector<std::shared_ptr<appkit::MenuItem>> items_;
};

}
