#pragma once

#include "CompositingOperation.h"
#include "Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace docshelf::appkit {

// A PNG picture on disc with the size at which it draws. Only the header is read
// here; the renderer loads the pixels from path() when it paints.
class Image {
public:
    Image(std::string path, Size pixelSize);

    // The resource of that file name in the main bundle (".png" is tried when the
    // name has no extension), shared by everyone who asks for the same file; null
    // when there is no such file or it is no PNG. Names with a "/" find nothing.
    static std::shared_ptr<Image> imageNamed(std::string_view name);
    // A new image of the PNG at the path; null when it can't be read as one.
    static std::shared_ptr<Image> imageWithContentsOfFile(const std::string& path);
    // The width and height in a PNG's header; nullopt for anything else.
    static std::optional<Size> pngPixelSize(std::span<const std::uint8_t> bytes);

    const std::string& path() const { return path_; }
    Size pixelSize() const { return pixelSize_; }
    // Starts as the pixel size; drawing scales the picture to it.
    Size size() const { return size_; }
    void setSize(Size size) { size_ = size; }

    // Draws the whole picture at its size with its lower left corner at the point
    // of the drawing view, into the current graphics context; nothing without one.
    void compositeToPoint(Point point, CompositingOperation operation) const;

private:
    std::string path_;
    Size pixelSize_;
    Size size_;
};

}
