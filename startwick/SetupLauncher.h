#pragma once

#include "LauncherText.h"
#include "StartwickSystem.h"

namespace startwick {

// One run of Startwick: the program and parameters of the launcher's own
// section in the inst.ini beside it, opened by the shell in the launcher's folder.
class SetupLauncher {
public:
    explicit SetupLauncher(const StartwickSystem& system);

    void Run();

    // The launcher's folder without a trailing separator, or "".
    void GetLauncherFolder(char* out, unsigned long capacity);
    // The launcher's file name without its last extension; "inst" when its path cannot be had.
    void GetLauncherBaseName(char* out, unsigned long capacity);
    void SetIniLocation();
    void ReadExeprog(char* out, unsigned long capacity);
    void ReadArgv(char* out, unsigned long capacity);

    const char* iniPath() const { return iniPath_; }
    const char* sectionName() const { return sectionName_; }

private:
    // The module path, or "" when it cannot be had whole.
    void ReadModulePath(char* scratch, unsigned long capacity);
    void ReadKey(const char* key, char* out, unsigned long capacity);

    const StartwickSystem& system_;
    char iniPath_[kIniPathSize] = {};
    char sectionName_[kSectionNameSize] = {};
};

}
