#pragma once

#include <functional>
#include <string>
#include <vector>

namespace docshelf::foundation {

// The user's preferred languages, most preferred first, read from the
// environment the way gettext reads it:
//   1. LANGUAGE, when set and not empty: a colon-separated list, each tried in turn;
//   2. otherwise the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty.
// Each locale name loses its codeset and modifier and becomes a language tag,
// followed by its language alone: "de_DE.UTF-8@euro" gives "de-DE" then "de",
// "pt_BR" gives "pt-BR" then "pt". "C" and "POSIX" name no language. Repeats are
// dropped, so "de_AT:de" gives "de-AT", "de".
class PreferredLanguages {
public:
    // Answers like getenv: the variable's value, or nullptr when it is not set.
    using Environment = std::function<const char*(const char*)>;

    static std::vector<std::string> fromEnvironment(const Environment& getenv);
    // From the process environment, read afresh on every call.
    static std::vector<std::string> fromEnvironment();
    // The user's own: on a Mac the languages of the user's settings
    // (["ja-JP", "en-US"] gives "ja-JP", "ja", "en-US", "en"), elsewhere
    // fromEnvironment(). Read afresh on every call.
    static std::vector<std::string> ofUser();
};

}
