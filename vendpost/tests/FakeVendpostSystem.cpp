#include "FakeVendpostSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr long kErrorFileNotFound = 2;
constexpr long kErrorMoreData = 234;

// Their addresses serve as the handles of the one process the fake starts.
char processObject;
char threadObject;

}

FakeVendpostSystem::FakeVendpostSystem()
{
    locale[vendpost::LocaleItem::AbbreviatedCountryName] = {"USA", 4};
    locale[vendpost::LocaleItem::AbbreviatedLanguageName] = {"ENU", 4};

    system_.context = this;
    system_.moduleFileName = [](void* context, char* path, unsigned long size) -> unsigned long {
        FakeVendpostSystem& fake = Of(context);
        // Like Windows, a path too long is cut to the buffer and then reported as its size.
        unsigned long copied = std::min<unsigned long>(fake.modulePath.size(), size - 1);
        std::memcpy(path, fake.modulePath.data(), copied);
        path[copied] = '\0';
        if (fake.moduleResultOverridden)
            return fake.moduleResult;
        return fake.modulePath.size() >= size ? size : copied;
    };
    system_.localeInfo = [](void* context, vendpost::LocaleItem item, char* text, int size) {
        const LocaleAnswer& answer = Of(context).locale[item];
        // Whatever the answer, write what fits, terminated or not, as a failing call may.
        std::size_t copied = std::min<std::size_t>(answer.text.size(), static_cast<std::size_t>(size));
        std::memcpy(text, answer.text.data(), copied);
        if (copied < static_cast<std::size_t>(size) && answer.result > 0)
            text[copied] = '\0';
        return answer.result;
    };
    system_.openClassesRootKey = [](void* context, const char* subKey, vendpost::VendpostSystem::Key* key) -> long {
        FakeVendpostSystem& fake = Of(context);
        fake.openedKeys.push_back(subKey);
        if (!fake.registry.count(subKey) && !fake.unreadableKeys.count(subKey))
            return kErrorFileNotFound;
        fake.openKeys_.push_back(subKey);
        *key = reinterpret_cast<vendpost::VendpostSystem::Key>(static_cast<std::uintptr_t>(fake.openKeys_.size()));
        return 0;
    };
    system_.queryDefaultValue = [](void* context, vendpost::VendpostSystem::Key key, char* data,
                                   unsigned long* size) -> long {
        FakeVendpostSystem& fake = Of(context);
        std::string path = fake.KeyPath(key);
        if (fake.unreadableKeys.count(path))
            return kErrorFileNotFound;
        const std::string& stored = fake.registry.at(path);
        if (stored.size() > *size) {
            *size = static_cast<unsigned long>(stored.size());
            return kErrorMoreData;
        }
        std::memcpy(data, stored.data(), stored.size());
        *size = static_cast<unsigned long>(stored.size());
        return 0;
    };
    system_.closeKey = [](void* context, vendpost::VendpostSystem::Key key) -> long {
        FakeVendpostSystem& fake = Of(context);
        fake.closedKeys.push_back(fake.KeyPath(key));
        return 0;
    };
    system_.fileExists = [](void* context, const char* path) {
        FakeVendpostSystem& fake = Of(context);
        fake.existenceChecks.push_back(path);
        return fake.existingFiles.count(path) > 0;
    };
    system_.createProcess = [](void* context, const char* application, char* commandLine,
                               vendpost::VendpostSystem::Handle* process, vendpost::VendpostSystem::Handle* thread) {
        FakeVendpostSystem& fake = Of(context);
        fake.processes.push_back({application, commandLine});
        if (!fake.processStarts)
            return false;
        *process = &processObject;
        *thread = &threadObject;
        return true;
    };
    system_.closeHandle = [](void* context, vendpost::VendpostSystem::Handle handle) {
        Of(context).closedHandles.push_back(handle == &processObject  ? "process"
                                            : handle == &threadObject ? "thread"
                                                                      : "unknown");
        return 1;
    };
}

std::string FakeVendpostSystem::KeyPath(vendpost::VendpostSystem::Key key) const
{
    auto index = reinterpret_cast<std::uintptr_t>(key);
    if (index == 0 || index > openKeys_.size())
        return "(not an open key)";
    return openKeys_[index - 1];
}
