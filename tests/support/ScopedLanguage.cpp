#include "ScopedLanguage.h"

#include <cstdlib>

namespace docshelf::testing {

namespace {

constexpr const char* languageVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

void put(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
}

}

ScopedLanguage::ScopedLanguage(const std::map<std::string, std::string>& variables) {
    for (const char* name : languageVariables) {
        const char* old = std::getenv(name);
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        auto given = variables.find(name);
        put(name, given == variables.end() ? std::nullopt : std::optional<std::string>(given->second));
    }
}

ScopedLanguage::~ScopedLanguage() {
    for (const auto& [name, value] : saved_)
        put(name, value);
}

}
