#include "WindowPicture.h"

#include "FltkBackend.h"
#include "FltkGraphicsContext.h"

#include "platform/appkit/Window.h"

#include <FL/Fl_Image_Surface.H>
#include <FL/fl_draw.H>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

namespace docshelf::fltk {

namespace {

// Writes 8-bit RGB rows (depth 3, rows of w * 3 bytes) as a PNG file.
bool writeRgbPng(const std::string& path, const unsigned char* pixels, int w, int h, std::string& error) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory for " + path;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y)
        png_write_row(png, const_cast<png_bytep>(pixels + static_cast<std::ptrdiff_t>(y) * w * 3));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fflush(file.get()) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}

std::shared_ptr<appkit::Backend> WindowPicture::openBackend() {
    return FltkBackend::openIfDisplayed();
}

bool WindowPicture::writePng(appkit::Window& window, const std::string& path, std::string& error) {
    int w = static_cast<int>(std::lround(window.frame().size.width));
    int h = static_cast<int>(std::lround(window.frame().size.height));
    if (w <= 0 || h <= 0) {
        error = "the window has no size";
        return false;
    }
    Fl_Image_Surface surface(w, h);
    surface.set_current();
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w, h);
    FltkGraphicsContext context;
    context.setWindowHeight(h);
    window.display(context);
    std::unique_ptr<Fl_RGB_Image> image(surface.image());
    Fl_Display_Device::display_device()->set_current();
    if (!image || image->d() != 3 || image->w() != w || image->h() != h) {
        error = "the window could not be drawn";
        return false;
    }
    return writeRgbPng(path, reinterpret_cast<const unsigned char*>(image->data()[0]), w, h, error);
}

appkit::Rect WindowPicture::textExtent(std::string_view text, appkit::Rect box, const appkit::Font& font,
                                       appkit::TextAlignment alignment, bool wraps) {
    // A window 0 high: FLTK's y is then AppKit's turned over, y = -(bottom + height).
    FltkGraphicsContext geometry;
    auto placement = FltkGraphicsContext::place(text, geometry.toWindow(box), font, alignment, wraps);
    if (placement.lines.empty())
        return {};
    double left = std::numeric_limits<double>::max();
    double right = std::numeric_limits<double>::lowest();
    for (const auto& line : placement.lines) {
        left = std::min(left, line.x);
        right = std::max(right, line.x + line.width);
    }
    int top = placement.lines.front().top;
    int bottom = placement.lines.back().top + placement.lines.back().height;
    return {{static_cast<float>(left), static_cast<float>(-bottom)},
            {static_cast<float>(right - left), static_cast<float>(bottom - top)}};
}

}
