// Any bytes given to the PNG header reader that decides whether a picture may
// reach the decoder: a size within the format's bounds, or nothing, never a
// read past the bytes given.
#include "platform/appkit/Image.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto pixels = docshelf::appkit::Image::pngPixelSize(std::span<const std::uint8_t>(data, size));
    if (pixels && (size < 24 || pixels->width < 1 || pixels->height < 1 || pixels->width > 2147483647.0f ||
                   pixels->height > 2147483647.0f))
        __builtin_trap();
    return 0;
}
