#pragma once

#include <map>
#include <optional>
#include <string>

namespace docshelf::testing {

// Sets the process's language variables (LANGUAGE, LC_ALL, LC_MESSAGES, LANG)
// for the life of the object, clearing the ones not given, and puts back what
// was there before. ScopedLanguage("de_DE.UTF-8") sets LANG alone.
class ScopedLanguage {
public:
    explicit ScopedLanguage(const std::map<std::string, std::string>& variables);
    explicit ScopedLanguage(const std::string& lang)
        : ScopedLanguage(std::map<std::string, std::string>{{"LANG", lang}}) {}
    ~ScopedLanguage();
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

}
