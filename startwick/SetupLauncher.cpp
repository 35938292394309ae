#include "SetupLauncher.h"

namespace startwick {

SetupLauncher::SetupLauncher(const StartwickSystem& system) : system_(system) {}

void SetupLauncher::Run()
{
    SetIniLocation();
    char program[kProgramTextSize];
    char parameters[kParametersSize];
    ReadExeprog(program, sizeof program);
    ReadArgv(parameters, sizeof parameters);
    if (program[0] == '\0')
        return;

    char folder[kLauncherFolderSize];
    GetLauncherFolder(folder, sizeof folder);

    char saved[kSavedDirectorySize] = {};
    unsigned long savedLength = system_.currentDirectory(system_.context, sizeof saved, saved);
    // Without the whole previous directory there is nothing sound to go back to.
    const bool canRestore = savedLength > 0 && savedLength < sizeof saved;

    system_.setCurrentDirectory(system_.context, folder);
    system_.shellOpen(system_.context, program, parameters, folder);
    if (canRestore)
        system_.setCurrentDirectory(system_.context, saved);
}

SetupLauncher::ModulePath SetupLauncher::ReadModulePath(char* scratch, unsigned long capacity)
{
    unsigned long length = system_.moduleFileName(system_.context, scratch, capacity);
    scratch[capacity - 1] = '\0';
    if (length > 0 && length < capacity)
        return ModulePath::Whole;
    scratch[0] = '\0';
    // A path cut to the buffer names some other file or folder, possibly one a
    // disc does not own, so it must not fall back to the current drive's \inst.ini.
    return length == 0 ? ModulePath::Unavailable : ModulePath::CutShort;
}

bool SetupLauncher::GetLauncherFolder(char* out, unsigned long capacity)
{
    ClearText(out, capacity);
    char scratch[kModulePathSize];
    ModulePath read = ReadModulePath(scratch, sizeof scratch);
    if (read != ModulePath::Whole)
        return read == ModulePath::Unavailable;
    CutToFolder(scratch);
    CopyBounded(out, capacity, scratch);
    return true;
}

void SetupLauncher::GetLauncherBaseName(char* out, unsigned long capacity)
{
    ClearText(out, capacity);
    char scratch[kModulePathSize];
    ModulePath read = ReadModulePath(scratch, sizeof scratch);
    if (read == ModulePath::Unavailable)
        CopyBounded(out, capacity, "inst");
    if (read != ModulePath::Whole)
        return;
    CopyBounded(out, capacity, CutToBaseName(scratch));
}

void SetupLauncher::SetIniLocation()
{
    char folder[kLauncherFolderSize];
    const bool folderKnown = GetLauncherFolder(folder, sizeof folder);
    ClearText(iniPath_, sizeof iniPath_);
    // A launcher whose own path was cut short, or whose folder is too long for
    // the INI path, leaves it empty; then no key is read and nothing starts.
    if (folderKnown)
        BuildIniPath(folder, iniPath_, sizeof iniPath_);
    GetLauncherBaseName(sectionName_, sizeof sectionName_);
}

void SetupLauncher::ReadExeprog(char* out, unsigned long capacity)
{
    ReadKey("Exeprog", out, capacity);
}

void SetupLauncher::ReadArgv(char* out, unsigned long capacity)
{
    ReadKey("Argv", out, capacity);
}

void SetupLauncher::ReadKey(const char* key, char* out, unsigned long capacity)
{
    ClearText(out, capacity);
    if (iniPath_[0] == '\0')
        return;
    system_.privateProfileString(system_.context, sectionName_, key, "", out, capacity, iniPath_);
    out[capacity - 1] = '\0';
}

}
