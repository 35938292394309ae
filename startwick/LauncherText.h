#pragma once

// Text work of the setup launcher on its own module path. Every text is a
// zero-terminated ANSI string in a fixed buffer, scanned byte by byte;
// nothing here calls Windows.
namespace startwick {

inline constexpr unsigned long kModulePathSize = 260;
inline constexpr unsigned long kIniPathSize = 260;
inline constexpr unsigned long kSectionNameSize = 260;
inline constexpr unsigned long kProgramTextSize = 260;
inline constexpr unsigned long kParametersSize = 1000;
inline constexpr unsigned long kLauncherFolderSize = 260;
inline constexpr unsigned long kSavedDirectorySize = 260;

// Zero bytes over the whole capacity.
void ClearText(char* text, unsigned long capacity);

// Copies text up to its terminator or capacity minus one bytes, whichever
// comes first, and fills the rest of out with zero bytes, so out is always terminated.
//   ("Start", capacity 8) -> "Start\0\0\0"   ("Start", capacity 3) -> "St\0"
void CopyBounded(char* out, unsigned long capacity, const char* text);

// Cuts a path at its last separator, leaving its folder.
//   "C:\\Disc\\Start.exe" -> "C:\\Disc"   "D:\\Start.exe" -> "D:"   "C:/Disc/Start.exe" -> "C:/Disc"
//   "Start.exe" -> "Start.exe" (no separator: the whole text stays)
void CutToFolder(char* path);

// Cuts the file name's last dot and gives where the file name starts.
//   "C:\\Disc\\Start.exe" -> "Start"   "C:\\Disc\\Start.Here.exe" -> "Start.Here"
//   "C:\\Disc.1\\Start" -> "Start"     "D:Start.exe" -> "Start"   "Start.exe" -> "Start"
char* CutToBaseName(char* path);

// "C:\\Disc" -> "C:\\Disc\\inst.ini"   "D:" -> "D:\\inst.ini"   "" -> "\\inst.ini"
// False, out empty, when the path does not fit.
bool BuildIniPath(const char* folder, char* out, unsigned long capacity);

}
