#pragma once

// The build sets the real host name through the CMake cache variable
// VENDPOST_SUPPLIES_HOST; the default names no real server.
#ifndef VENDPOST_SUPPLIES_HOST
#define VENDPOST_SUPPLIES_HOST "supplies.example.com"
#endif

namespace vendpost {

inline constexpr char kSuppliesHost[] = VENDPOST_SUPPLIES_HOST;

}
