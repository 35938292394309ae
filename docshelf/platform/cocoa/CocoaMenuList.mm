#include "CocoaMenuList.h"

#include "ActionTarget.h"
#include "NativeFonts.h"
#include "NativeNames.h"

#include "platform/appkit/MenuTracker.h"

#include <algorithm>

namespace docshelf::cocoa {

namespace {

using appkit::MenuTracker;

// Room left of a title for the check mark, and right of it.
constexpr float markWidth = 20;
constexpr float margin = 12;

NSDictionary* textAttributes(NSFont* font, NSColor* color) {
    return [NSDictionary
        dictionaryWithObjectsAndKeys:font, NSFontAttributeName, color, NSForegroundColorAttributeName, nil];
}

}

CocoaMenuList::CocoaMenuList(std::shared_ptr<MenuTracker> tracker, NSRect anchor) : tracker_(std::move(tracker)) {
    AutoreleasePool pool;
    NSRect screen = [[NSScreen mainScreen] frame];
    auto screenHeight = static_cast<float>(screen.size.height);
    // The tracker counts from the top of the screen; AppKit from the bottom.
    float anchorTop = screenHeight - static_cast<float>(anchor.origin.y + anchor.size.height);
    // A pop-up's list lies over its box; a menu opened at the pointer hangs from it.
    float top = anchor.size.height > 0
                    ? tracker_->placeOver(anchorTop, static_cast<float>(anchor.size.height), 0, screenHeight)
                    : tracker_->placeAt(anchorTop, 0, screenHeight);
    float width = static_cast<float>(anchor.size.width);
    for (const auto& entry : tracker_->entries()) {
        // Measured only while it can still widen the list within the screen.
        if (width >= screen.size.width)
            break;
        NSFont* font = NativeFonts::fontFor(entry.title, fontSize, false);
        NSSize size = [nativeString(entry.title) sizeWithAttributes:textAttributes(font, [NSColor blackColor])];
        width = std::max(width, static_cast<float>(size.width) + markWidth + 2 * margin);
    }
    width = std::min(width, static_cast<float>(screen.size.width));
    float height = tracker_->height();
    NSRect frame =
        NSMakeRect(std::min(anchor.origin.x, screen.size.width - width), screenHeight - top - height, width, height);
    window_ = [[NSWindow alloc] initWithContentRect:frame
                                          styleMask:borderlessStyle
                                            backing:NSBackingStoreBuffered
                                              defer:NO];
    [window_ setReleasedWhenClosed:NO];
    [window_ setLevel:NSPopUpMenuWindowLevel];
    view_ = [[DSModelView alloc] initWithFrame:NSMakeRect(0, 0, width, height) sink:this tag:0];
    [window_ setContentView:view_];
    [window_ orderFront:nil];
}

CocoaMenuList::~CocoaMenuList() {
    AutoreleasePool pool;
    [view_ detach];
    [window_ orderOut:nil];
    [view_ release];
    [window_ release];
}

long CocoaMenuList::rowAt(NSPoint point) const {
    NSRect frame = [window_ frame];
    if (point.x < frame.origin.x || point.x >= frame.origin.x + frame.size.width)
        return -1;
    return tracker_->rowAtOffset(static_cast<float>(frame.origin.y + frame.size.height - point.y));
}

void CocoaMenuList::redraw() {
    [view_ setNeedsDisplay:YES];
}

void CocoaMenuList::drawNativeView(long) {
    NSRect bounds = [view_ bounds];
    [[NSColor colorWithCalibratedWhite:0.97f alpha:1] set];
    NSRectFill(bounds);
    [[NSColor grayColor] set];
    NSFrameRect(bounds);
    auto top = static_cast<float>(bounds.size.height) - MenuTracker::padding;
    for (long row = 0; row < tracker_->numberOfRows(); ++row) {
        NSRect box = NSMakeRect(1, top - static_cast<float>(row + 1) * MenuTracker::rowHeight, bounds.size.width - 2,
                                MenuTracker::rowHeight);
        MenuTracker::Row shown = tracker_->rowAt(row);
        if (shown.part == MenuTracker::Part::ScrollUp || shown.part == MenuTracker::Part::ScrollDown) {
            NSString* arrow = shown.part == MenuTracker::Part::ScrollUp ? @"\u25B2" : @"\u25BC";
            NSDictionary* attributes = textAttributes([NSFont systemFontOfSize:9], [NSColor darkGrayColor]);
            NSSize size = [arrow sizeWithAttributes:attributes];
            [arrow drawAtPoint:NSMakePoint(box.origin.x + (box.size.width - size.width) / 2,
                                           box.origin.y + (box.size.height - size.height) / 2)
                withAttributes:attributes];
            continue;
        }
        if (shown.part != MenuTracker::Part::Item)
            continue;
        const auto& entry = tracker_->entries()[static_cast<std::size_t>(shown.item)];
        bool highlighted = shown.item == tracker_->highlightedItem();
        if (highlighted) {
            [[NSColor colorWithCalibratedRed:0.2f green:0.45f blue:0.85f alpha:1] set];
            NSRectFill(box);
        }
        NSColor* color = highlighted ? [NSColor whiteColor] : [NSColor blackColor];
        NSFont* font = NativeFonts::fontFor(entry.title, fontSize, false);
        NSDictionary* attributes = textAttributes(font, color);
        NSString* title = nativeString(entry.title);
        NSSize size = [title sizeWithAttributes:attributes];
        CGFloat y = box.origin.y + (box.size.height - size.height) / 2;
        if (shown.item == tracker_->markedItem())
            [@"\u2713" drawAtPoint:NSMakePoint(box.origin.x + 4, y)
                    withAttributes:textAttributes(NativeFonts::fontFor("\u2713", fontSize, false), color)];
        [title drawAtPoint:NSMakePoint(box.origin.x + markWidth, y) withAttributes:attributes];
        if (!entry.keyEquivalent.empty()) {
            NSString* key = nativeString(entry.keyEquivalent);
            NSDictionary* dim =
                textAttributes([NSFont systemFontOfSize:fontSize], highlighted ? color : [NSColor grayColor]);
            NSSize keySize = [key sizeWithAttributes:dim];
            [key drawAtPoint:NSMakePoint(box.origin.x + box.size.width - margin - keySize.width, y) withAttributes:dim];
        }
    }
}

}
