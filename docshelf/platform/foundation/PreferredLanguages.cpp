#include "PreferredLanguages.h"

#ifdef __APPLE__
#include <CoreFoundation/CoreFoundation.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

namespace docshelf::foundation {

namespace {

std::string_view variable(const PreferredLanguages::Environment& getenv, const char* name) {
    const char* value = getenv ? getenv(name) : nullptr;
    return value ? std::string_view(value) : std::string_view();
}

void addOnce(std::vector<std::string>& languages, std::string language) {
    if (std::find(languages.begin(), languages.end(), language) == languages.end())
        languages.push_back(std::move(language));
}

// language[_territory][.codeset][@modifier] as a tag and its language alone.
void addLocale(std::vector<std::string>& languages, std::string_view locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return;
    std::string tag(locale);
    std::replace(tag.begin(), tag.end(), '_', '-');
    std::string language = tag.substr(0, tag.find('-'));
    if (language.empty())
        return;
    addOnce(languages, tag);
    addOnce(languages, language);
}

}

std::vector<std::string> PreferredLanguages::fromEnvironment(const Environment& getenv) {
    std::vector<std::string> languages;
    std::string_view list = variable(getenv, "LANGUAGE");
    if (!list.empty()) {
        while (!list.empty()) {
            std::size_t colon = list.find(':');
            addLocale(languages, list.substr(0, colon));
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        }
        return languages;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::string_view locale = variable(getenv, name);
        if (!locale.empty()) {
            addLocale(languages, locale);
            break;
        }
    }
    return languages;
}

std::vector<std::string> PreferredLanguages::fromEnvironment() {
    return fromEnvironment([](const char* name) -> const char* { return std::getenv(name); });
}

std::vector<std::string> PreferredLanguages::ofUser() {
#ifdef __APPLE__
    std::vector<std::string> languages;
    CFArrayRef preferred = CFLocaleCopyPreferredLanguages();
    if (!preferred)
        return languages;
    for (CFIndex i = 0; i < CFArrayGetCount(preferred); ++i) {
        auto tag = static_cast<CFStringRef>(CFArrayGetValueAtIndex(preferred, i));
        std::array<char, 128> buffer{};
        if (tag && CFStringGetCString(tag, buffer.data(), buffer.size(), kCFStringEncodingUTF8))
            addLocale(languages, buffer.data());
    }
    CFRelease(preferred);
    return languages;
#else
    return fromEnvironment();
#endif
}

}
