#include "Win32StartwickSystem.h"

#include <windows.h>
#include <shellapi.h>

namespace startwick {

namespace {

unsigned long ModuleFileName(void*, char* path, unsigned long size)
{
    return GetModuleFileNameA(nullptr, path, size);
}

unsigned long PrivateProfileString(void*, const char* section, const char* key, const char* fallback, char* out,
                                   unsigned long size, const char* iniPath)
{
    return GetPrivateProfileStringA(section, key, fallback, out, size, iniPath);
}

unsigned long CurrentDirectory(void*, unsigned long size, char* path)
{
    return GetCurrentDirectoryA(size, path);
}

bool SetDirectory(void*, const char* path)
{
    return SetCurrentDirectoryA(path) != FALSE;
}

void ShellOpen(void*, const char* file, const char* parameters, const char* directory)
{
    ShellExecuteA(nullptr, "open", file, parameters, directory, SW_SHOW);
}

}

StartwickSystem Win32StartwickSystem()
{
    StartwickSystem system;
    system.moduleFileName = ModuleFileName;
    system.privateProfileString = PrivateProfileString;
    system.currentDirectory = CurrentDirectory;
    system.setCurrentDirectory = SetDirectory;
    system.shellOpen = ShellOpen;
    return system;
}

}
