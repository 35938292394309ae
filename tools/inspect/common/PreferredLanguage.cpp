#include "inspect/common/PreferredLanguage.h"

#include <cstdlib>

namespace docshelf::inspect {

PreferredLanguage::PreferredLanguage(const std::string& language) {
    if (const char* value = std::getenv("LANGUAGE"))
        saved_ = value;
    setenv("LANGUAGE", language.c_str(), 1);
}

PreferredLanguage::~PreferredLanguage() {
    if (saved_)
        setenv("LANGUAGE", saved_->c_str(), 1);
    else
        unsetenv("LANGUAGE");
}

}
