#pragma once

#import <AppKit/AppKit.h>

#include "platform/appkit/TextAlignment.h"

#include <string>
#include <string_view>

// The few AppKit names that GNUstep and a current macOS SDK spell differently.
// Everything else in this folder is the subset both take: manual retain and
// release, no blocks, no collection literals, NSAutoreleasePool objects.
namespace docshelf::cocoa {

#ifdef GNUSTEP
// GNUstep 0.29 has only the names that macOS 10.12 and 10.14 deprecated.
constexpr NSUInteger anyEvent = NSAnyEventMask;
constexpr NSCompositingOperation sourceOver = NSCompositeSourceOver;
constexpr NSBezelStyle roundedBezel = NSRoundedBezelStyle;
constexpr NSLineCapStyle roundCap = NSRoundLineCapStyle;
constexpr NSLineJoinStyle roundJoin = NSRoundLineJoinStyle;
constexpr NSButtonType pushButton = NSMomentaryPushInButton;
constexpr NSUInteger borderlessStyle = NSBorderlessWindowMask;
constexpr NSEventType keyDownEvent = NSKeyDown;
constexpr NSEventType leftMouseDownEvent = NSLeftMouseDown;
constexpr NSEventType leftMouseUpEvent = NSLeftMouseUp;
constexpr NSEventType leftMouseDraggedEvent = NSLeftMouseDragged;
constexpr NSEventType rightMouseDownEvent = NSRightMouseDown;
constexpr NSEventType rightMouseUpEvent = NSRightMouseUp;
constexpr NSEventType rightMouseDraggedEvent = NSRightMouseDragged;
constexpr NSEventType mouseMovedEvent = NSMouseMoved;
constexpr NSEventType scrollWheelEvent = NSScrollWheel;
constexpr NSEventType applicationDefinedEvent = NSApplicationDefined;
constexpr NSUInteger shiftModifier = NSShiftKeyMask;
constexpr NSUInteger optionModifier = NSAlternateKeyMask;
// GNUstep's Command is a key of its own setting (Alt by default); Ctrl stands
// for it off the Mac, as in the FLTK window.
constexpr NSUInteger commandModifier = NSCommandKeyMask | NSControlKeyMask;
#else
constexpr NSEventMask anyEvent = NSEventMaskAny;
constexpr NSCompositingOperation sourceOver = NSCompositingOperationSourceOver;
constexpr NSBezelStyle roundedBezel = NSBezelStyleRounded;
constexpr NSLineCapStyle roundCap = NSLineCapStyleRound;
constexpr NSLineJoinStyle roundJoin = NSLineJoinStyleRound;
constexpr NSButtonType pushButton = NSButtonTypeMomentaryPushIn;
constexpr NSUInteger borderlessStyle = NSWindowStyleMaskBorderless;
constexpr NSEventType keyDownEvent = NSEventTypeKeyDown;
constexpr NSEventType leftMouseDownEvent = NSEventTypeLeftMouseDown;
constexpr NSEventType leftMouseUpEvent = NSEventTypeLeftMouseUp;
constexpr NSEventType leftMouseDraggedEvent = NSEventTypeLeftMouseDragged;
constexpr NSEventType rightMouseDownEvent = NSEventTypeRightMouseDown;
constexpr NSEventType rightMouseUpEvent = NSEventTypeRightMouseUp;
constexpr NSEventType rightMouseDraggedEvent = NSEventTypeRightMouseDragged;
constexpr NSEventType mouseMovedEvent = NSEventTypeMouseMoved;
constexpr NSEventType scrollWheelEvent = NSEventTypeScrollWheel;
constexpr NSEventType applicationDefinedEvent = NSEventTypeApplicationDefined;
constexpr NSUInteger shiftModifier = NSEventModifierFlagShift;
constexpr NSUInteger optionModifier = NSEventModifierFlagOption;
constexpr NSUInteger commandModifier = NSEventModifierFlagCommand;
#endif

// Both know the NSWindowStyleMask names (GNUstep defines them as its older ones).
constexpr NSUInteger documentWindowStyle =
    NSWindowStyleMaskTitled | NSWindowStyleMaskClosable | NSWindowStyleMaskMiniaturizable;

// Our alignments as AppKit names them; drawing and the native text fields share it.
inline NSTextAlignment nativeAlignment(appkit::TextAlignment alignment) {
    switch (alignment) {
    case appkit::TextAlignment::Left:
        return NSTextAlignmentLeft;
    case appkit::TextAlignment::Right:
        return NSTextAlignmentRight;
    case appkit::TextAlignment::Center:
        return NSTextAlignmentCenter;
    case appkit::TextAlignment::Justified:
        return NSTextAlignmentJustified;
    case appkit::TextAlignment::Natural:
        break;
    }
    return NSTextAlignmentNatural;
}

// The alignment a text field shows a text with. AppKit sets a natural-aligned
// paragraph on the side its first strong character reads from (a Hebrew or
// Arabic one at the right); GNUstep always at the left, so there that side is
// named outright.
inline NSTextAlignment nativeAlignment(appkit::TextAlignment alignment, std::string_view text) {
#ifdef GNUSTEP
    if (alignment == appkit::TextAlignment::Natural) {
        for (std::size_t at = 0; at < text.size();) {
            auto first = static_cast<unsigned char>(text[at]);
            std::size_t length = first < 0x80 ? 1 : first >= 0xf0 ? 4 : first >= 0xe0 ? 3 : 2;
            char32_t c = first;
            if (length > 1 && at + length <= text.size()) {
                c = first & (0x7fu >> length);
                for (std::size_t i = 1; i < length; ++i)
                    c = c << 6 | (static_cast<unsigned char>(text[at + i]) & 0x3fu);
            }
            at += length;
            // Hebrew, Arabic, Syriac, Thaana, N'Ko and the like, and their presentation forms.
            if ((c >= 0x0590 && c <= 0x08ff) || (c >= 0xfb1d && c <= 0xfdff) || (c >= 0xfe70 && c <= 0xfeff))
                return NSTextAlignmentRight;
            bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xc0;
            if (letter)
                break;
        }
    }
#else
    (void)text;
#endif
    return nativeAlignment(alignment);
}

// What VoiceOver reads for a control. GNUstep has no accessibility API for it
// (nothing on X would read it); AppKit has had setAccessibilityLabel: since 10.10.
inline void setAccessibilityLabel(NSView* view, NSString* label) {
#ifdef GNUSTEP
    (void)view;
    (void)label;
#else
    [view setAccessibilityLabel:label];
#endif
}

// An NSString of UTF-8 text, autoreleased; invalid UTF-8 gives the empty string.
inline NSString* nativeString(std::string_view text) {
    NSString* string = [[NSString alloc] initWithBytes:text.data() length:text.size() encoding:NSUTF8StringEncoding];
    return string ? [string autorelease] : @"";
}

inline std::string utf8(NSString* string) {
    const char* text = string ? [string UTF8String] : nullptr;
    return text ? std::string(text) : std::string();
}

// One pool for a stretch of code that makes autoreleased objects outside the loop.
class AutoreleasePool {
public:
    AutoreleasePool() : pool_([[NSAutoreleasePool alloc] init]) {}
    ~AutoreleasePool() { [pool_ release]; }
    AutoreleasePool(const AutoreleasePool&) = delete;
    AutoreleasePool& operator=(const AutoreleasePool&) = delete;

private:
    NSAutoreleasePool* pool_;
};

}
