#include "SuppliesText.h"

#include "SuppliesHost.h"
#include "TextBuilder.h"

namespace vendpost {

namespace {

constexpr char kUrlScheme[] = "http://";
constexpr char kUrlModel[] = "/genuine/redirect/index.aspx?model=";
constexpr char kUrlCountry[] = "&country=";
constexpr char kUrlLanguage[] = "&gengo=";
constexpr char kCommandKeySuffix[] = "\\shell\\open\\command";

// The longest URL, from the longest model, country and language that their
// buffers hold, must fit its own buffer while the model needs no escapes; a
// model whose escapes make the URL too long opens nothing, as any URL that
// does not fit.
static_assert(sizeof kUrlScheme - 1 + sizeof kSuppliesHost - 1 + sizeof kUrlModel - 1 + kModelNameSize - 1
                      + sizeof kUrlCountry - 1 + kLocaleTextSize - 1 + sizeof kUrlLanguage - 1 + kLocaleTextSize - 1
                  < kUrlSize,
              "VENDPOST_SUPPLIES_HOST is too long for the URL buffer");

unsigned long TextLength(const char* text)
{
    unsigned long length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares the at most three bytes after a dot with "exe", ignoring case,
// reading no more than the available bytes.
bool IsExeExtension(const char* afterDot, unsigned long available)
{
    constexpr char kExe[] = "exe";
    unsigned long i = 0;
    for (; i < sizeof kExe - 1 && i < available && afterDot[i] != '\0'; ++i) {
        if (LowerAscii(afterDot[i]) != kExe[i])
            return false;
    }
    return i == sizeof kExe - 1;
}

}

bool HasVendpostPrefix(const char* fileName)
{
    return (fileName[0] == 'v' || fileName[0] == 'V') && (fileName[1] == 'p' || fileName[1] == 'P')
           && (fileName[2] == 's' || fileName[2] == 'S') && fileName[3] == '_';
}

void GetModelName(char* modulePath, char* modelName, unsigned long capacity)
{
    if (capacity == 0)
        return;
    modelName[0] = '\0';
    for (unsigned long i = TextLength(modulePath); i-- > 0;) {
        if (modulePath[i] == '.')
            modulePath[i] = '\0';
        if (modulePath[i] == '\\') {
            const char* fileName = modulePath + i + 1;
            if (HasVendpostPrefix(fileName))
                TextBuilder(modelName, capacity).append(fileName + 4).finish();
            return;
        }
    }
}

bool BuildSuppliesUrl(const char* model, const char* country, const char* language, char* url, unsigned long capacity)
{
    return TextBuilder(url, capacity)
        .append(kUrlScheme)
        .append(kSuppliesHost)
        .append(kUrlModel)
        .appendQueryValue(model)
        .append(kUrlCountry)
        .append(country)
        .append(kUrlLanguage)
        .append(language)
        .finish();
}

bool BuildCommandKeyPath(const char* className, char* out, unsigned long capacity)
{
    return TextBuilder(out, capacity).append(className).append(kCommandKeySuffix).finish();
}

bool TerminateRegistryText(char* data, unsigned long size, unsigned long capacity)
{
    if (capacity == 0 || size > capacity)
        return false;
    if (size > 0 && data[size - 1] == '\0')
        return true;
    if (size == capacity)
        return false;
    data[size] = '\0';
    return true;
}

void TrimToExe(char* command, unsigned long reportedSize, unsigned long capacity)
{
    unsigned long n = reportedSize < capacity ? reportedSize : capacity;
    for (unsigned long i = n; i-- > 4;) {
        if (command[i] == '.' && IsExeExtension(command + i + 1, capacity - i - 1)) {
            // A match that ends the buffer lies past the text's terminator:
            // the text is already as short as the cut would make it.
            if (i + 4 < capacity)
                command[i + 4] = '\0';
            return;
        }
    }
}

const char* FileNamePart(const char* path)
{
    for (unsigned long i = TextLength(path); i-- > 0;) {
        if (path[i] == '\\' || path[i] == '/')
            return path + i + 1;
    }
    return path;
}

bool BuildBrowserCommandLine(const char* browserPath, const char* url, char* out, unsigned long capacity)
{
    return TextBuilder(out, capacity).append(FileNamePart(browserPath)).append(" ").append(url).finish();
}

}
