#pragma once

#include "VendpostSystem.h"

namespace vendpost {

// One run of Vendpost: the model from the program's file name, the user's
// country and language, the supplies page URL, and the default browser
// started with it. Every failure ends the run quietly.
class SuppliesLauncher {
public:
    explicit SuppliesLauncher(const VendpostSystem& system);

    void Run();

    // The executable of the ".html" file type's open command, or "".
    void FindDefaultBrowser(char* browserPath, unsigned long capacity);
    bool CheckFileExists(const char* path);
    void LaunchBrowser(const char* url);

private:
    void QueryLocale(LocaleItem item, char* text, unsigned long capacity);
    // The default value of an open key as a terminated text.
    bool ReadDefaultValue(VendpostSystem::Key key, char* value, unsigned long capacity, unsigned long* size);
    void CopyBrowserPath(const char* command, char* browserPath, unsigned long capacity);

    const VendpostSystem& system_;
};

}
