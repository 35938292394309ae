#include "Win32VendpostSystem.h"

#include <windows.h>

namespace vendpost {

namespace {

unsigned long ModuleFileName(void*, char* path, unsigned long size)
{
    return GetModuleFileNameA(nullptr, path, size);
}

int LocaleInfo(void*, LocaleItem item, char* text, int size)
{
    LCTYPE type = item == LocaleItem::AbbreviatedCountryName ? LOCALE_SABBREVCTRYNAME : LOCALE_SABBREVLANGNAME;
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, size);
}

long OpenClassesRootKey(void*, const char* subKey, VendpostSystem::Key* key)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyA(HKEY_CLASSES_ROOT, subKey, &opened);
    *key = opened;
    return result;
}

long QueryDefaultValue(void*, VendpostSystem::Key key, char* data, unsigned long* size)
{
    DWORD type = 0;
    DWORD bytes = *size;
    LONG result = RegQueryValueExA(static_cast<HKEY>(key), "", nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
    *size = bytes;
    return result;
}

long CloseKey(void*, VendpostSystem::Key key)
{
    return RegCloseKey(static_cast<HKEY>(key));
}

bool FileExists(void*, const char* path)
{
    OFSTRUCT info = {};
    info.cBytes = sizeof info;
    return OpenFile(path, &info, OF_EXIST) != HFILE_ERROR;
}

bool CreateBrowserProcess(void*, const char* application, char* commandLine, VendpostSystem::Handle* process,
                          VendpostSystem::Handle* thread)
{
    PROCESS_INFORMATION processInfo = {};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (!CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &processInfo))
        return false;
    *process = processInfo.hProcess;
    *thread = processInfo.hThread;
    return true;
}

int CloseHandleOf(void*, VendpostSystem::Handle handle)
{
    return CloseHandle(handle);
}

}

VendpostSystem Win32VendpostSystem()
{
    VendpostSystem system;
    system.moduleFileName = ModuleFileName;
    system.localeInfo = LocaleInfo;
    system.openClassesRootKey = OpenClassesRootKey;
    system.queryDefaultValue = QueryDefaultValue;
    system.closeKey = CloseKey;
    system.fileExists = FileExists;
    system.createProcess = CreateBrowserProcess;
    system.closeHandle = CloseHandleOf;
    return system;
}

}
