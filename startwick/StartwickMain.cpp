#include <windows.h>

#include "SetupLauncher.h"
#include "Win32StartwickSystem.h"

// The program's bare entry point: there is no C runtime to call a WinMain, and
// the command line is of no interest. The exit code is 0 whatever happened.
extern "C" void __stdcall StartwickEntry()
{
    const startwick::StartwickSystem system = startwick::Win32StartwickSystem();
    startwick::SetupLauncher(system).Run();
    ExitProcess(0);
}
