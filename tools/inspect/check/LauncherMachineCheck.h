#pragma once

#include "inspect/common/Findings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace docshelf::inspect {

// The launchers of the Windows folder (copies of the setup launcher and
// vps_MODEL.exe) are shipped as 32-bit programs, which every Windows starts. The
// 64-bit twins are built for testing under wine64 only: a disc that carries them
// is never for shipping. Only the headers are read.
class LauncherMachineCheck {
public:
    static void run(const std::string& folder, Findings& findings);

    // The PE header's machine field (0x14C for x86, 0x8664 for x86-64); nullopt
    // for a file that is no Windows executable.
    static std::optional<std::uint16_t> machine(const std::string& path);
};

}
