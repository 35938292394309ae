#include "CocoaMenuBar.h"

#include "ActionTarget.h"
#include "NativeNames.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/MenuItem.h"
#include "platform/foundation/ReadLimits.h"

namespace docshelf::cocoa {

CocoaMenuBar::CocoaMenuBar() : target_([[DSActionTarget alloc] initWithSink:this]) {}

CocoaMenuBar::~CocoaMenuBar() {
    [target_ detach];
    [target_ release];
}

void CocoaMenuBar::show(const appkit::Application& application) {
    const auto& mainMenu = application.mainMenu();
    if (!mainMenu)
        return;
    AutoreleasePool pool;
    items_.clear();
    NSMenu* menu = nativeMenu(*mainMenu, 1);
#ifdef GNUSTEP
    // GNUstep shows the main menu's title atop its menu window, where a Mac's
    // menu bar shows the application's name.
    [menu setTitle:nativeString(appkit::Application::name())];
#endif
    [NSApp setMainMenu:menu];
}

NSMenu* CocoaMenuBar::nativeMenu(const appkit::Menu& menu, std::size_t depth) {
    NSMenu* native = [[[NSMenu alloc] initWithTitle:nativeString(menu.title())] autorelease];
    // Items are enabled as the model says, not by AppKit's validation.
    [native setAutoenablesItems:NO];
    for (const auto& item : menu.items()) {
        if (item->isSeparatorItem()) {
            [native addItem:[NSMenuItem separatorItem]];
            continue;
        }
        auto title = item->title();
        NSMenuItem* nativeItem = [[[NSMenuItem alloc] initWithTitle:title.isString() ? nativeString(title.text()) : @""
                                                             action:item->action().empty() ? NULL : @selector(perform:)
                                                      keyEquivalent:nativeString(item->keyEquivalent())] autorelease];
        [nativeItem setTarget:target_];
        [nativeItem setTag:static_cast<NSInteger>(items_.size())];
        items_.push_back(item);
        if (item->submenu() && depth < foundation::ReadLimits::maximumMenuDepth)
            [nativeItem setSubmenu:nativeMenu(*item->submenu(), depth + 1)];
        [native addItem:nativeItem];
    }
    return native;
}

void CocoaMenuBar::nativeAction(long tag, id) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= items_.size())
        return;
    // Held here: the action may install the menu anew.
    auto item = items_[static_cast<std::size_t>(tag)];
    item->sendAction();
}

}
