#pragma once

#include "Value.h"

#include <initializer_list>
#include <string_view>

namespace docshelf::foundation {

// Replaces each "%@" of the format, in order, by the description of the next
// argument, unescaped; "%%" stands for one "%". A "%@" without an argument
// left gives nothing.
// stringWithFormat("%@/%@", {"/disc/Docs", "English"}) gives "/disc/Docs/English".
Value stringWithFormat(std::string_view format, std::initializer_list<Value> arguments);

}
