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
    // The accent blue of default buttons, pop-up caps and chosen items.
    static constexpr Color controlAccentColor() { return {0, 0.478f, 1, 1}; }
    // The parts of a bezel: its hairline border, the shadow below it, the face of
    // a pressed control, and label texts, enabled and not.
    static constexpr Color controlBorderColor() { return {0.769f, 0.769f, 0.769f, 1}; }
    static constexpr Color controlShadowColor() { return {0.69f, 0.69f, 0.69f, 1}; }
    static constexpr Color pressedControlColor() { return {0.863f, 0.863f, 0.863f, 1}; }
    static constexpr Color pressedAccentColor() { return {0, 0.32f, 0.67f, 1}; }
    static constexpr Color controlTextColor() { return {0.114f, 0.114f, 0.122f, 1}; }
    static constexpr Color disabledControlTextColor() { return {0.62f, 0.62f, 0.62f, 1}; }
    // The accent at half strength: the ring around the control with keyboard focus.
    static constexpr Color keyboardFocusIndicatorColor() { return {0, 0.478f, 1, 0.5f}; }

    friend bool operator==(const Color&, const Color&) = default;
};

}
