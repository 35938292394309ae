#pragma once

// Text work of the supplies page launcher. Every text is a zero-terminated
// ANSI string in a fixed buffer, scanned byte by byte; nothing here calls Windows.
namespace vendpost {

inline constexpr unsigned long kModulePathSize = 512;
inline constexpr unsigned long kModelNameSize = 128;
inline constexpr unsigned long kLocaleTextSize = 48;
inline constexpr unsigned long kUrlSize = 512;
inline constexpr unsigned long kRegistryValueSize = 260;
inline constexpr unsigned long kCommandKeyPathSize = 260;
inline constexpr unsigned long kBrowserPathSize = 260;
inline constexpr unsigned long kCommandLineSize = 512;

// "vps_QX.exe" -> true, "VpS_QX.exe" -> true, "vps-QX.exe" -> false, "vp" -> false
bool HasVendpostPrefix(const char* fileName);

// Cuts every dot of the file name (so modulePath is changed) and copies what
// follows the "vps_" prefix into modelName.
//   "C:\disc.1\vps_QX.500.exe" -> "QX"     "C:\supplies.exe" -> ""     "vps_QX.exe" -> ""
// A name that does not fit modelName yields "" rather than a shortened model.
void GetModelName(char* modulePath, char* modelName, unsigned long capacity);

// ("QX-500", "USA", "ENU") ->
//   "http://<host>/genuine/redirect/index.aspx?model=QX-500&country=USA&gengo=ENU"
// The model goes in with the bytes that would change the address or split the
// browser's command line escaped (see TextBuilder::appendQueryValue), so the
// server reads the model the file is named after:
//   ("LX-100 Plus", "USA", "ENU") -> "...?model=LX-100%20Plus&country=USA&gengo=ENU"
// Returns false, url empty, when it does not fit.
bool BuildSuppliesUrl(const char* model, const char* country, const char* language, char* url, unsigned long capacity);

// "htmlfile" -> "htmlfile\shell\open\command"; false, out empty, when it does not fit.
bool BuildCommandKeyPath(const char* className, char* out, unsigned long capacity);

// Makes a registry value of size bytes (as the registry reported them) a
// terminated text. A value stored without its terminator gets one; false when
// there is no room left for it.
//   "abc\0" size 4 -> "abc"   "abc" size 3 (capacity 4) -> "abc"   "abcd" size 4 (capacity 4) -> false
bool TerminateRegistryText(char* data, unsigned long size, unsigned long capacity);

// Cuts an open command after the last ".exe" (any case) that starts at byte 4
// or later, looking at the first reportedSize bytes.
//   "\"C:\\Web\\viewer.exe\" -url %1" -> "\"C:\\Web\\viewer.exe"
//   "C:\\WEB\\VIEWER.EXE %1"         -> "C:\\WEB\\VIEWER.EXE"
//   "C:\\x.EXEC y"                    -> "C:\\x.EXE"
//   "a.exe %1"                        -> "a.exe %1" (a dot in bytes 0 to 3 is never taken)
void TrimToExe(char* command, unsigned long reportedSize, unsigned long capacity);

// "C:\\Web\\viewer.exe" -> "viewer.exe"   "C:/Web/viewer.exe" -> "viewer.exe"   "viewer" -> "viewer"
const char* FileNamePart(const char* path);

// ("C:\\Web\\viewer.exe", "http://h/x") -> "viewer.exe http://h/x"; false, out empty, when it does not fit.
bool BuildBrowserCommandLine(const char* browserPath, const char* url, char* out, unsigned long capacity);

}
