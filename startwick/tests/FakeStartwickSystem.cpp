#include "FakeStartwickSystem.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

void CopyCut(const std::string& text, char* out, unsigned long size)
{
    unsigned long copied = std::min<unsigned long>(text.size(), size - 1);
    std::memcpy(out, text.data(), copied);
    out[copied] = '\0';
}

}

bool FakeStartwickSystem::NoCaseLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) < std::tolower(y);
    });
}

FakeStartwickSystem::FakeStartwickSystem()
{
    system_.context = this;
    system_.moduleFileName = [](void* context, char* path, unsigned long size) -> unsigned long {
        FakeStartwickSystem& fake = Of(context);
        // Like Windows, a path too long is cut to the buffer and then reported as its size.
        CopyCut(fake.modulePath, path, size);
        if (fake.moduleResultOverridden)
            return fake.moduleResult;
        return fake.modulePath.size() >= size ? size : static_cast<unsigned long>(fake.modulePath.size());
    };
    system_.privateProfileString = [](void* context, const char* section, const char* key, const char* fallback,
                                      char* out, unsigned long size, const char* iniPath) -> unsigned long {
        FakeStartwickSystem& fake = Of(context);
        fake.profileReads.push_back({section, key, iniPath, size});
        std::string value = fallback;
        auto file = fake.iniFiles.find(iniPath);
        if (file != fake.iniFiles.end()) {
            auto found = file->second.find(section);
            if (found != file->second.end() && found->second.count(key) > 0)
                value = found->second.at(key);
        }
        CopyCut(value, out, size);
        return static_cast<unsigned long>(std::strlen(out));
    };
    system_.currentDirectory = [](void* context, unsigned long size, char* path) -> unsigned long {
        FakeStartwickSystem& fake = Of(context);
        ++fake.directoryQueries;
        if (fake.currentDirectoryFails)
            return 0;
        // Like Windows, a buffer too small gets nothing and the size needed is returned.
        if (fake.currentDirectory.size() + 1 > size)
            return static_cast<unsigned long>(fake.currentDirectory.size() + 1);
        CopyCut(fake.currentDirectory, path, size);
        return static_cast<unsigned long>(fake.currentDirectory.size());
    };
    system_.setCurrentDirectory = [](void* context, const char* path) {
        FakeStartwickSystem& fake = Of(context);
        fake.directoryChanges.push_back(path);
        fake.currentDirectory = path;
        return true;
    };
    system_.shellOpen = [](void* context, const char* file, const char* parameters, const char* directory) {
        FakeStartwickSystem& fake = Of(context);
        fake.shellCalls.push_back({file, parameters, directory, fake.currentDirectory});
    };
}
