#pragma once

#include "NibLoadResult.h"

#include "platform/foundation/Value.h"

#include <string>

namespace docshelf::appkit {

class Application;

// Loads a window description: a property list that names the objects of a window
// and how they connect. The format (docshelf/resources/README.md has an example):
//
//   objects   array of {id, class, frame?, superview?, properties?}
//             id: unique string ("NSApp" is taken: it names the application);
//             class: a name of the ClassRegistry; frame: [x, y, width, height]
//             in the superview (screen for a window); superview: id of a view,
//             or of a window to mean its content view, listed order being the
//             drawing order; properties: a dictionary of what the class publishes
//             (title, stringValue, alignment, fontSize, hidden, editable, ...)
//   outlets   array of {object, outlet, destination}
//   bindings  array of {object, binding ("value", "title", "hidden"), observed, key}
//   actions   array of {control, action, target?}; no target: the application
//   mainMenu  {title?, items: [{title, action?, keyEquivalent?, target?, submenu?}]}
//   delegate  id of the application's delegate
//
// Any entry may hold a "comment". Anything else that is unknown or of the wrong
// type fails the load with the entry named, and then nothing is created. Loading
// creates the objects, connects outlets, bindings (which show the current value
// at once) and actions, adds the windows to the application, makes it the
// delegate's and installs the main menu, then sends awakeFromNib to every object once.
class NibLoader {
public:
    static NibLoadResult load(const foundation::Value& description, Application& application);
    static NibLoadResult load(const foundation::Value& description);
    // An XML or binary property list.
    static NibLoadResult loadFile(const std::string& path, Application& application);
    static NibLoadResult loadFile(const std::string& path);
    // The main bundle's description that Info.plist names under "NSMainNibFile":
    // "MainMenu" is Resources/MainMenu.plist.
    static NibLoadResult loadMainWindowDescription(Application& application);
    static NibLoadResult loadMainWindowDescription();
};

}
