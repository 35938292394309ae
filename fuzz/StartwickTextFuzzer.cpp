// Startwick's text operations on any module path in its fixed buffers: the
// launcher folder, the base name and the INI path.
#include "LauncherText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace startwick;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    unsigned long capacity = input.ConsumeIntegralInRange<unsigned long>(1, kIniPathSize);
    std::string path = input.ConsumeRemainingBytesAsString();

    std::vector<char> modulePath(kModulePathSize);
    CopyBounded(modulePath.data(), static_cast<unsigned long>(modulePath.size()), path.c_str());
    std::vector<char> folder = modulePath;
    CutToFolder(folder.data());
    std::vector<char> name = modulePath;
    char* base = CutToBaseName(name.data());
    if (base < name.data() || base >= name.data() + name.size())
        __builtin_trap();

    std::vector<char> iniPath(capacity);
    if (!BuildIniPath(folder.data(), iniPath.data(), static_cast<unsigned long>(iniPath.size())) && iniPath[0] != '\0')
        __builtin_trap();
    std::vector<char> section(kSectionNameSize);
    CopyBounded(section.data(), static_cast<unsigned long>(section.size()), base);
    return 0;
}
