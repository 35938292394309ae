#pragma once

#include "CompositingOperation.h"
#include "Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::appkit {

class Image;

// A picture file read for drawing, or why it was refused.
struct PictureReading {
    std::shared_ptr<Image> image; // null when refused
    std::string refusal;          // why, for people checking a disc: "... declares 65536 × 65536 pixels; ..."
};

// A PNG picture read from disc, with the size at which it draws. The file is read
// whole through the bounded reader and only its header is looked at here; the
// renderer decodes the bytes when it paints. A picture past the limits of
// ReadLimits (bytes, pixels a side) is refused before anything is decoded.
class Image {
public:
    using Bytes = std::shared_ptr<const std::vector<std::uint8_t>>;

    // A picture without its file's bytes draws nothing on screen.
    Image(std::string path, Size pixelSize, Bytes bytes = nullptr);

    // The resource of that file name in the main bundle (".png" is tried when the
    // name has no extension), shared by everyone who asks for the same file; null
    // when there is no such file or it is no PNG. Names with a "/" find nothing.
    static std::shared_ptr<Image> imageNamed(std::string_view name);
    // A new image of the PNG at the path; null when it can't be read as one or is
    // refused (readPicture says why).
    static std::shared_ptr<Image> imageWithContentsOfFile(const std::string& path);
    // Only a regular file is read, without waiting (a named pipe is refused at once).
    //   a 65,536 × 65,536 header → refused: "declares 65536 × 65536 pixels; at most 4096 a side are drawn"
    static PictureReading readPicture(const std::string& path);
    // The width and height in a PNG's header; nullopt for anything else.
    static std::optional<Size> pngPixelSize(std::span<const std::uint8_t> bytes);

    const std::string& path() const { return path_; }
    // The file's bytes as read, the same object for every draw; null without them.
    const Bytes& bytes() const { return bytes_; }
    Size pixelSize() const { return pixelSize_; }
    // Starts as the pixel size; drawing scales the picture to it.
    Size size() const { return size_; }
    void setSize(Size size) { size_ = size; }

    // Draws the whole picture at its size with its lower left corner at the point
    // of the drawing view, into the current graphics context; nothing without one.
    void compositeToPoint(Point point, CompositingOperation operation) const;

private:
    std::string path_;
    Bytes bytes_;
    Size pixelSize_;
    Size size_;
};

}
