#pragma once

namespace docshelf::appkit {

// A colour with components from 0 to 1 in the device's RGB space.
struct Color {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 1;

    static constexpr Color whiteColor() { return {1, 1, 1, 1}; }
    static constexpr Color blackColor() { return {0, 0, 0, 1}; }
    static constexpr Color clearColor() { return {0, 0, 0, 0}; }
    static constexpr Color windowBackgroundColor() { return {0.93f, 0.93f, 0.93f, 1}; }

    friend bool operator==(const Color&, const Color&) = default;
};

}
