#pragma once

#include "startwick/LauncherText.h"
#include "vendpost/SuppliesText.h"

#include <cstddef>

// The longest texts the Windows launchers read, in bytes without the
// terminator: taken from the buffers the launchers themselves declare, so a
// change there changes what the disc tools allow.
namespace docshelf::launcherLimits {

inline constexpr std::size_t maximumExeprog = startwick::kProgramTextSize - 1;
inline constexpr std::size_t maximumArgv = startwick::kParametersSize - 1;
inline constexpr std::size_t maximumModelName = vendpost::kModelNameSize - 1;

}
