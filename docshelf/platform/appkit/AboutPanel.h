#pragma once

#include "Image.h"
#include "Window.h"

#include "platform/foundation/Bundle.h"

#include <memory>
#include <string>

namespace docshelf::appkit {

// The standard About panel, built from an application bundle as AppKit builds
// it, titled "About" and the name: the icon, the display name, the version and the copyright, and an OK
// button that closes it (as Escape does, the panel being a panel).
class AboutPanel {
public:
    struct Contents {
        // CFBundleDisplayName, else CFBundleName, else CFBundleExecutable.
        std::string name;
        // "Version 1.0" from CFBundleShortVersionString; empty without one.
        std::string version;
        // The bare CFBundleShortVersionString ("1.0"), for a native panel that words it itself.
        std::string shortVersion;
        // NSHumanReadableCopyright; may be empty.
        std::string copyright;
        // CFBundleIconFile in the resources (".png" tried without an extension); may be null.
        std::shared_ptr<Image> icon;
    };

    // Each text is the bundle's "InfoPlist" string of the key in the user's
    // language when it has one, the Info.plist value otherwise:
    // CFBundleDisplayName "Docshelf" in Info.plist and "Docshelf マニュアル" in
    // ja.lproj/InfoPlist.strings -> name "Docshelf マニュアル" for a Japanese user.
    static Contents contentsOf(const foundation::Bundle& bundle);
    // A new, unshown panel window with these contents.
    static std::shared_ptr<Window> panelWith(const Contents& contents);
};

}
