#pragma once

#include "inspect/common/Findings.h"

#include "disc/LauncherLimits.h"

#include <string>
#include <vector>

namespace docshelf::inspect {

// Checks the disc's Windows folder: each copy of the setup launcher (an .exe
// whose version resource names Startwick) against its section of inst.ini, and
// each copy of the supplies launcher (vps_MODEL.exe) against the contained models.
class WindowsFolderCheck {
public:
    // Longest texts the launchers read, terminator not counted.
    static constexpr std::size_t maximumExeprog = launcherLimits::maximumExeprog;
    static constexpr std::size_t maximumArgv = launcherLimits::maximumArgv;
    static constexpr std::size_t maximumModelName = launcherLimits::maximumModelName;

    static void run(const std::string& folder, const std::vector<std::string>& models, Findings& findings);

    // The model name that a copy of the supplies launcher carries in its file
    // name, as the launcher reads it: "vps_QX-500.exe" → "QX-500", "VpS_QX.500.exe"
    // → "QX"; nullopt without the prefix ("vps-QX.exe").
    static std::optional<std::string> suppliesModel(const std::string& fileName);
    // Bytes of an executable's resource section that are read at most: a
    // launcher's is a few kilobytes, its icons and version texts.
    static constexpr std::size_t maximumResourceBytes = 1024 * 1024;

    // Whether the file is a copy of the setup launcher: a Windows executable whose
    // resources name Startwick. Reads only its headers and at most
    // maximumResourceBytes of its resource section, whatever the file's size.
    static bool isSetupLauncher(const std::string& path);
};

}
