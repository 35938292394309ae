#pragma once

namespace startwick {

// The Windows calls the launcher makes, one entry each, so that the whole flow
// runs against the real system in Startwick.exe and against a scripted one in tests.
// Every entry gets context as its first argument.
struct StartwickSystem {
    void* context = nullptr;
    // GetModuleFileNameA for the program's own file: the length copied, 0 on failure,
    // the buffer's size when the path was cut short to fit it.
    unsigned long (*moduleFileName)(void* context, char* path, unsigned long size) = nullptr;
    // GetPrivateProfileStringA: the length copied.
    unsigned long (*privateProfileString)(void* context, const char* section, const char* key, const char* fallback,
                                          char* out, unsigned long size, const char* iniPath) = nullptr;
    // GetCurrentDirectoryA: the length copied, 0 on failure, the size needed when too small.
    unsigned long (*currentDirectory)(void* context, unsigned long size, char* path) = nullptr;
    bool (*setCurrentDirectory)(void* context, const char* path) = nullptr;
    // ShellExecuteA with no owner window, the verb "open" and SW_SHOW.
    void (*shellOpen)(void* context, const char* file, const char* parameters, const char* directory) = nullptr;
};

}
