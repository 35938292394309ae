#pragma once

#include "StartwickSystem.h"

namespace startwick {

// The launcher's calls bound to KERNEL32 and SHELL32.
StartwickSystem Win32StartwickSystem();

}
