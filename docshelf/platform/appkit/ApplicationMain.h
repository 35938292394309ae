#pragma once

namespace docshelf::appkit {

// The application's start-up and run, as NSApplicationMain does it: loads the
// main bundle's window description (which makes the delegate, connects the
// window and installs the main menu, then wakes every object), finishes
// launching, which tells the delegate, and runs the shared application's event
// loop until the application terminates. Returns the loop's exit status, 0 for
// a normal end. A description that can't be loaded (no main bundle, no
// NSMainNibFile, a faulty file) is noted on the standard error stream and gives
// 0 as well: the application reports no failure. The arguments are not read.
int applicationMain(int argc, char** argv);

}
