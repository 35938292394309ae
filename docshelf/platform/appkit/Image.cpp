#include "Image.h"

#include "ByteCursor.h"
#include "GraphicsContext.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"

#include <array>
#include <map>
#include <mutex>

namespace docshelf::appkit {

namespace {

constexpr std::array<std::uint8_t, 8> pngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// The format allows no more (2^31 - 1).
constexpr std::uint32_t largestDimension = 0x7fffffff;

struct NamedImages {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<Image>, std::less<>> byPath;
};

NamedImages& namedImages() {
    static NamedImages table;
    return table;
}

bool isRegularFile(const std::string& path) {
    bool isDirectory = false;
    return foundation::FileManager::fileExistsAtPath(foundation::Value(path), isDirectory) && !isDirectory;
}

}

Image::Image(std::string path, Size pixelSize, Bytes bytes)
    : path_(std::move(path)), bytes_(std::move(bytes)), pixelSize_(pixelSize), size_(pixelSize) {}

std::shared_ptr<Image> Image::imageNamed(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos)
        return nullptr;
    foundation::Value resources = foundation::Bundle::mainBundle().resourcePath();
    if (!resources.isString())
        return nullptr;
    std::string path = std::string(resources.text()) + "/" + std::string(name);
    if (!isRegularFile(path) && name.find('.') == std::string_view::npos)
        path += ".png";
    if (!isRegularFile(path))
        return nullptr;

    // Keyed by full path, so that another main bundle finds its own pictures.
    auto& table = namedImages();
    std::lock_guard lock(table.mutex);
    if (auto found = table.byPath.find(path); found != table.byPath.end())
        return found->second;
    auto image = imageWithContentsOfFile(path);
    if (image)
        table.byPath.emplace(path, image);
    return image;
}

std::shared_ptr<Image> Image::imageWithContentsOfFile(const std::string& path) {
    return readPicture(path).image;
}

PictureReading Image::readPicture(const std::string& path) {
    using foundation::ReadLimits;
    auto read = foundation::RegularFile::read(path, ReadLimits::maximumPictureFileSize);
    if (!read.bytes)
        return {nullptr, read.error};
    auto size = pngPixelSize(*read.bytes);
    if (!size)
        return {nullptr, path + " is not a PNG picture"};
    auto width = static_cast<std::size_t>(size->width);
    auto height = static_cast<std::size_t>(size->height);
    if (width > ReadLimits::maximumPictureSide || height > ReadLimits::maximumPictureSide)
        return {nullptr, path + " declares " + std::to_string(width) + " × " + std::to_string(height) +
                             " pixels; at most " + std::to_string(ReadLimits::maximumPictureSide) +
                             " a side are drawn"};
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(*read.bytes));
    return {std::make_shared<Image>(path, *size, std::move(bytes)), {}};
}

std::optional<Size> Image::pngPixelSize(std::span<const std::uint8_t> bytes) {
    ByteCursor cursor(bytes);
    if (!cursor.expect(pngSignature))
        return std::nullopt;
    auto length = cursor.readBigEndian32();
    if (length != 13u || !cursor.expect("IHDR"))
        return std::nullopt;
    auto width = cursor.readBigEndian32();
    auto height = cursor.readBigEndian32();
    if (!width || !height || *width == 0 || *height == 0 || *width > largestDimension || *height > largestDimension)
        return std::nullopt;
    return Size{static_cast<float>(*width), static_cast<float>(*height)};
}

void Image::compositeToPoint(Point point, CompositingOperation operation) const {
    if (auto* context = GraphicsContext::current())
        context->drawImage(*this, point, size_, operation);
}

}
