#pragma once

#include <optional>
#include <string>

namespace docshelf::inspect {

// Makes one language the user's preferred language (LANGUAGE) while it lives,
// so that bundle lookups answer as they would for that user:
//   PreferredLanguage german("de"); bundle.preferredLocalization() → "de" (or "German")
// The variable's earlier value, or its absence, comes back afterwards.
class PreferredLanguage {
public:
    explicit PreferredLanguage(const std::string& language);
    ~PreferredLanguage();
    PreferredLanguage(const PreferredLanguage&) = delete;
    PreferredLanguage& operator=(const PreferredLanguage&) = delete;

private:
    std::optional<std::string> saved_;
};

}
