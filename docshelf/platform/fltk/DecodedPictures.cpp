#include "DecodedPictures.h"

#include <FL/Fl_PNG_Image.H>

#include <map>
#include <memory>

namespace docshelf::fltk {

namespace {

struct Decoded {
    std::weak_ptr<const std::vector<std::uint8_t>> bytes; // tells a reused address from the same picture
    std::unique_ptr<Fl_RGB_Image> original;
    std::unique_ptr<Fl_RGB_Image> scaled;
};

std::size_t decodes = 0;

// By the address of the bytes, which every holder of the Image shares.
std::map<const void*, Decoded>& table() {
    static std::map<const void*, Decoded> decoded;
    return decoded;
}

Decoded* decodedFor(const appkit::Image& image) {
    const auto& bytes = image.bytes();
    if (!bytes || bytes->empty())
        return nullptr;
    auto& decoded = table();
    // Pictures whose Image has gone are let go, so the table holds only live ones.
    std::erase_if(decoded, [](const auto& entry) { return entry.second.bytes.expired(); });
    auto found = decoded.find(bytes.get());
    if (found == decoded.end()) {
        Decoded entry{bytes, nullptr, nullptr};
        ++decodes;
        auto png = std::make_unique<Fl_PNG_Image>(image.path().c_str(), bytes->data(), static_cast<int>(bytes->size()));
        if (png->w() > 0 && png->h() > 0 && png->d() > 0)
            entry.original = std::move(png);
        found = decoded.emplace(bytes.get(), std::move(entry)).first;
    }
    return found->second.original ? &found->second : nullptr;
}

}

const Fl_RGB_Image* DecodedPictures::original(const appkit::Image& image) {
    Decoded* decoded = decodedFor(image);
    return decoded ? decoded->original.get() : nullptr;
}

Fl_RGB_Image* DecodedPictures::scaled(const appkit::Image& image, int w, int h) {
    Decoded* decoded = decodedFor(image);
    if (!decoded || w <= 0 || h <= 0)
        return nullptr;
    if (!decoded->scaled || decoded->scaled->w() != w || decoded->scaled->h() != h) {
        // Smooth scaling: the picture is usually drawn at half its pixel size, for
        // screens with two pixels to the point.
        Fl_Image::RGB_scaling(FL_RGB_SCALING_BILINEAR);
        decoded->scaled.reset(static_cast<Fl_RGB_Image*>(decoded->original->copy(w, h)));
    }
    return decoded->scaled.get();
}

}

namespace docshelf::fltk {

std::size_t DecodedPictures::decodeCount() {
    return decodes;
}

}
