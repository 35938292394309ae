#include <windows.h>

#include "SuppliesLauncher.h"
#include "Win32VendpostSystem.h"

// The program's bare entry point: there is no C runtime to call a WinMain, and
// the command line and show state are of no interest. The exit code is 0 whatever happened.
extern "C" void __stdcall VendpostEntry()
{
    const vendpost::VendpostSystem system = vendpost::Win32VendpostSystem();
    vendpost::SuppliesLauncher(system).Run();
    ExitProcess(0);
}
