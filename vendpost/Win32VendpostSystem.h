#pragma once

#include "VendpostSystem.h"

namespace vendpost {

// The launcher's calls bound to KERNEL32 and ADVAPI32.
VendpostSystem Win32VendpostSystem();

}
