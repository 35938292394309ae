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

    // The launcher's folder without a trailing separator, or "" when its path cannot be had.
    // False, out "", when the path was cut short by the buffer: the folder is then unknown.
    //   "C:\\Disc\\Start.exe" -> "C:\\Disc", true   call fails -> "", true   cut short -> "", false
    bool GetLauncherFolder(char* out, unsigned long capacity);
    // The launcher's file name without its last extension; "inst" when its path cannot
    // be had, "" when it was cut short.
    void GetLauncherBaseName(char* out, unsigned long capacity);
    void SetIniLocation();
    void ReadExeprog(char* out, unsigned long capacity);
    void ReadArgv(char* out, unsigned long capacity);

    const char* iniPath() const { return iniPath_; }
    const char* sectionName() const { return sectionName_; }

private:
    enum class ModulePath { Whole, Unavailable, CutShort };

    // The module path in scratch; "" unless it is Whole.
    ModulePath ReadModulePath(char* scratch, unsigned long capacity);
    void ReadKey(const char* key, char* out, unsigned long capacity);

    const StartwickSystem& system_;
    char iniPath_[kIniPathSize] = {};
    char sectionName_[kSectionNameSize] = {};
};

}
