#include "LauncherText.h"

namespace startwick {

namespace {

unsigned long TextLength(const char* text)
{
    unsigned long length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Appends text at *length, keeping room for the terminator; false when it does not fit.
bool Append(char* out, unsigned long capacity, unsigned long* length, const char* text)
{
    for (; *text != '\0'; ++text) {
        if (*length + 1 >= capacity)
            return false;
        out[(*length)++] = *text;
    }
    out[*length] = '\0';
    return true;
}

}

void ClearText(char* text, unsigned long capacity)
{
    for (unsigned long i = 0; i < capacity; ++i)
        text[i] = '\0';
}

void CopyBounded(char* out, unsigned long capacity, const char* text)
{
    unsigned long i = 0;
    for (; i + 1 < capacity && text[i] != '\0'; ++i)
        out[i] = text[i];
    for (; i < capacity; ++i)
        out[i] = '\0';
}

void CutToFolder(char* path)
{
    for (unsigned long i = TextLength(path); i-- > 0;) {
        if (IsSeparator(path[i])) {
            path[i] = '\0';
            return;
        }
    }
}

char* CutToBaseName(char* path)
{
    bool dotCut = false;
    for (unsigned long i = TextLength(path); i-- > 0;) {
        if (!dotCut && path[i] == '.') {
            path[i] = '\0';
            dotCut = true;
        }
        if (IsSeparator(path[i]) || path[i] == ':')
            return path + i + 1;
    }
    return path;
}

bool BuildIniPath(const char* folder, char* out, unsigned long capacity)
{
    if (capacity == 0)
        return false;
    unsigned long length = 0;
    out[0] = '\0';
    if (Append(out, capacity, &length, folder) && Append(out, capacity, &length, "\\")
        && Append(out, capacity, &length, "inst") && Append(out, capacity, &length, ".")
        && Append(out, capacity, &length, "ini"))
        return true;
    out[0] = '\0';
    return false;
}

}
