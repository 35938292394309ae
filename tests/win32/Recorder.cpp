#include <windows.h>

// Stands in for a browser or a setup program in the Wine tests: writes its own
// path, its command line and its current directory, one a line, to the file
// that DOCSHELF_RECORDER_OUTPUT names. The file appears whole or not at all,
// as it is written under another name first and then renamed.

namespace {

constexpr DWORD kTextSize = 4096;

void Append(char* out, DWORD capacity, DWORD* length, const char* text)
{
    for (; *text != '\0' && *length + 1 < capacity; ++text)
        out[(*length)++] = *text;
    out[*length] = '\0';
}

}

extern "C" void __stdcall RecorderEntry()
{
    char output[MAX_PATH] = {};
    char partial[MAX_PATH + 8] = {};
    DWORD outputLength = GetEnvironmentVariableA("DOCSHELF_RECORDER_OUTPUT", output, sizeof output);
    if (outputLength == 0 || outputLength >= sizeof output)
        ExitProcess(1);
    DWORD partialLength = 0;
    Append(partial, sizeof partial, &partialLength, output);
    Append(partial, sizeof partial, &partialLength, ".part");

    char record[kTextSize] = {};
    DWORD length = 0;
    char line[kTextSize] = {};
    DWORD lineLength = GetModuleFileNameA(nullptr, line, sizeof line);
    line[lineLength < sizeof line ? lineLength : sizeof line - 1] = '\0';
    Append(record, sizeof record, &length, line);
    Append(record, sizeof record, &length, "\n");
    Append(record, sizeof record, &length, GetCommandLineA());
    Append(record, sizeof record, &length, "\n");
    lineLength = GetCurrentDirectoryA(sizeof line, line);
    line[lineLength < sizeof line ? lineLength : 0] = '\0';
    Append(record, sizeof record, &length, line);
    Append(record, sizeof record, &length, "\n");

    HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ExitProcess(1);
    DWORD written = 0;
    BOOL wrote = WriteFile(file, record, length, &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != length || !MoveFileExA(partial, output, MOVEFILE_REPLACE_EXISTING))
        ExitProcess(1);
    ExitProcess(0);
}
