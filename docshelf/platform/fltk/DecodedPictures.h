#pragma once

#include "platform/appkit/Image.h"

#include <FL/Fl_RGB_Image.H>

namespace docshelf::fltk {

// Pictures decoded by FLTK from the bytes their Image read, once per picture for
// as long as the Image lives, so that neither a redraw nor another window of the
// same picture reads or decodes it again (render draws one background for every
// window). FLTK sees only pictures that the Image's header check let through.
class DecodedPictures {
public:
    // The picture at its pixel size; null without bytes or when FLTK cannot decode them.
    static const Fl_RGB_Image* original(const appkit::Image& image);
    // The picture scaled to w × h (smoothly), kept for the last size asked; null as original.
    static Fl_RGB_Image* scaled(const appkit::Image& image, int w, int h);
};

}
