#include "Locations.h"

#include <cstdlib>

namespace docshelf {

namespace {

std::optional<Locations>& overridden() {
    static std::optional<Locations> locations;
    return locations;
}

constexpr const char* volumes = "/Volumes";
constexpr const char* messageBundleOnDisc = "/ZORVANE/MacResources/CDCommonMessage.bundle";
constexpr const char* preferredReader = "/Applications/Adobe Reader.app";

}

Locations Locations::macDefaults() {
    return {std::string(volumes) + messageBundleOnDisc, preferredReader, "open"};
}

Locations Locations::fromEnvironment(const std::function<const char*(const char*)>& getenv) {
    Locations result = macDefaults();
#ifndef __APPLE__
    result.opener = "xdg-open";
    if (const char* mounted = getenv("DOCSHELF_VOLUMES"); mounted && *mounted)
        result.messageBundle = std::string(mounted) + messageBundleOnDisc;
#endif
    if (const char* bundle = getenv("DOCSHELF_MESSAGE_BUNDLE"); bundle && *bundle)
        result.messageBundle = bundle;
    if (const char* reader = getenv("DOCSHELF_PDF_READER"); reader && *reader)
        result.pdfReader = reader;
    return result;
}

Locations Locations::current() {
    if (overridden())
        return *overridden();
#ifdef __APPLE__
    // A Mac always has its disc under /Volumes and its "open".
    return macDefaults();
#else
    return fromEnvironment([](const char* name) { return std::getenv(name); });
#endif
}

void Locations::setOverride(std::optional<Locations> locations) {
    overridden() = std::move(locations);
}

}
