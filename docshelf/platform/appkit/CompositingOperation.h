#pragma once

namespace docshelf::appkit {

// How drawn pixels combine with those beneath; the values are AppKit's.
enum class CompositingOperation { Clear = 0, Copy = 1, SourceOver = 2 };

}
