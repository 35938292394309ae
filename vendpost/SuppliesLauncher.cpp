#include "SuppliesLauncher.h"

#include "SuppliesText.h"
#include "TextBuilder.h"

namespace vendpost {

SuppliesLauncher::SuppliesLauncher(const VendpostSystem& system) : system_(system) {}

void SuppliesLauncher::Run()
{
    char modulePath[kModulePathSize] = {};
    unsigned long length = system_.moduleFileName(system_.context, modulePath, sizeof modulePath);
    // A path cut to the buffer is no path of this program's file.
    if (length == 0 || length >= sizeof modulePath)
        modulePath[0] = '\0';
    modulePath[sizeof modulePath - 1] = '\0';

    char modelName[kModelNameSize] = {};
    GetModelName(modulePath, modelName, sizeof modelName);

    char country[kLocaleTextSize] = {};
    char language[kLocaleTextSize] = {};
    QueryLocale(LocaleItem::AbbreviatedCountryName, country, sizeof country);
    QueryLocale(LocaleItem::AbbreviatedLanguageName, language, sizeof language);

    char url[kUrlSize] = {};
    if (BuildSuppliesUrl(modelName, country, language, url, sizeof url))
        LaunchBrowser(url);
}

void SuppliesLauncher::QueryLocale(LocaleItem item, char* text, unsigned long capacity)
{
    text[0] = '\0';
    int written = system_.localeInfo(system_.context, item, text, static_cast<int>(capacity));
    // A failed call may still have left bytes behind.
    if (written <= 0 || static_cast<unsigned long>(written) > capacity)
        text[0] = '\0';
    text[capacity - 1] = '\0';
}

bool SuppliesLauncher::ReadDefaultValue(VendpostSystem::Key key, char* value, unsigned long capacity,
                                        unsigned long* size)
{
    *size = capacity;
    if (system_.queryDefaultValue(system_.context, key, value, size) != 0)
        return false;
    return TerminateRegistryText(value, *size, capacity);
}

void SuppliesLauncher::FindDefaultBrowser(char* browserPath, unsigned long capacity)
{
    browserPath[0] = '\0';
    VendpostSystem::Key typeKey = nullptr;
    if (system_.openClassesRootKey(system_.context, ".html", &typeKey) != 0)
        return;

    char value[kRegistryValueSize] = {};
    unsigned long size = 0;
    char commandKeyPath[kCommandKeyPathSize] = {};
    VendpostSystem::Key commandKey = nullptr;
    if (ReadDefaultValue(typeKey, value, sizeof value, &size)
        && BuildCommandKeyPath(value, commandKeyPath, sizeof commandKeyPath)
        && system_.openClassesRootKey(system_.context, commandKeyPath, &commandKey) == 0) {
        if (ReadDefaultValue(commandKey, value, sizeof value, &size)) {
            TrimToExe(value, size, sizeof value);
            CopyBrowserPath(value, browserPath, capacity);
        }
        system_.closeKey(system_.context, commandKey);
    }
    system_.closeKey(system_.context, typeKey);
}

void SuppliesLauncher::CopyBrowserPath(const char* command, char* browserPath, unsigned long capacity)
{
    const char* start = command[0] == '"' ? command + 1 : command;
    TextBuilder(browserPath, capacity).append(start).finish();
}

bool SuppliesLauncher::CheckFileExists(const char* path)
{
    return system_.fileExists(system_.context, path);
}

void SuppliesLauncher::LaunchBrowser(const char* url)
{
    char browserPath[kBrowserPathSize] = {};
    FindDefaultBrowser(browserPath, sizeof browserPath);
    if (browserPath[0] == '\0' || !CheckFileExists(browserPath))
        return;

    char commandLine[kCommandLineSize] = {};
    if (!BuildBrowserCommandLine(browserPath, url, commandLine, sizeof commandLine))
        return;

    VendpostSystem::Handle process = nullptr;
    VendpostSystem::Handle thread = nullptr;
    if (system_.createProcess(system_.context, browserPath, commandLine, &process, &thread)) {
        system_.closeHandle(system_.context, process);
        system_.closeHandle(system_.context, thread);
    }
}

}
