#pragma once

#include "platform/appkit/Geometry.h"

#include <ostream>

// So that failed comparisons show coordinates rather than bytes.
namespace docshelf::appkit {

inline void PrintTo(const Point& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

inline void PrintTo(const Size& size, std::ostream* out) {
    *out << size.width << " x " << size.height;
}

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << "[" << rect.origin.x << ", " << rect.origin.y << ", " << rect.size.width << ", " << rect.size.height << "]";
}

}
