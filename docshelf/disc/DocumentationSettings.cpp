#include "disc/DocumentationSettings.h"

namespace docshelf::disc {

DocumentationSettings DocumentationSettings::choose(const foundation::Value& own, const foundation::Value& discWide) {
    if (own.isAbsent())
        return {discWide, false};
    return {own, true};
}

}
