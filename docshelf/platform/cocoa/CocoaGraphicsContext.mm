#include "CocoaGraphicsContext.h"

#include "NativeFonts.h"
#include "NativeImage.h"
#include "NativeNames.h"

#include "platform/appkit/Image.h"

namespace docshelf::cocoa {

namespace {

NSRect nativeRect(appkit::Rect rect) {
    return NSMakeRect(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

NSColor* nativeColor(appkit::Color color) {
    return [NSColor colorWithCalibratedRed:color.red green:color.green blue:color.blue alpha:color.alpha];
}

}

void CocoaGraphicsContext::drawImage(const appkit::Image& image, appkit::Point at, appkit::Size size,
                                     appkit::CompositingOperation operation) {
    if (operation == appkit::CompositingOperation::Clear)
        return;
    NSImage* picture = NativeImage::imageAtPath(image.path());
    if (!picture)
        return;
    [picture drawInRect:nativeRect({at, size}) fromRect:NSZeroRect operation:sourceOver fraction:1.0];
}

void CocoaGraphicsContext::fillRect(appkit::Rect rect, appkit::Color color) {
    [nativeColor(color) set];
    NSRectFillUsingOperation(nativeRect(rect), sourceOver);
}

void CocoaGraphicsContext::drawText(std::string_view text, appkit::Rect box, const appkit::Font& font,
                                    appkit::TextAlignment alignment, bool wraps) {
    NSMutableParagraphStyle* style = [[[NSMutableParagraphStyle alloc] init] autorelease];
    [style setAlignment:nativeAlignment(alignment, text)];
    [style setLineBreakMode:wraps ? NSLineBreakByWordWrapping : NSLineBreakByClipping];
    NSFont* native = NativeFonts::fontFor(text, font.size, font.bold);
    NSMutableDictionary* attributes = [NSMutableDictionary dictionary];
    [attributes setObject:native forKey:NSFontAttributeName];
    [attributes setObject:style forKey:NSParagraphStyleAttributeName];
    [attributes setObject:nativeColor(textColor()) forKey:NSForegroundColorAttributeName];
    [nativeString(text) drawInRect:nativeRect(box) withAttributes:attributes];
}

void CocoaGraphicsContext::fillRoundedRect(appkit::Rect rect, float radius, appkit::Color color) {
    [nativeColor(color) set];
    [[NSBezierPath bezierPathWithRoundedRect:nativeRect(rect) xRadius:radius yRadius:radius] fill];
}

void CocoaGraphicsContext::strokeRoundedRect(appkit::Rect rect, float radius, appkit::Color color, float lineWidth) {
    [nativeColor(color) set];
    NSBezierPath* path = [NSBezierPath bezierPathWithRoundedRect:nativeRect(rect) xRadius:radius yRadius:radius];
    [path setLineWidth:lineWidth];
    [path stroke];
}

void CocoaGraphicsContext::strokePolyline(const std::vector<appkit::Point>& points, appkit::Color color,
                                          float lineWidth) {
    if (points.size() < 2)
        return;
    [nativeColor(color) set];
    NSBezierPath* path = [NSBezierPath bezierPath];
    [path setLineWidth:lineWidth];
    [path setLineCapStyle:roundCap];
    [path setLineJoinStyle:roundJoin];
    [path moveToPoint:NSMakePoint(points.front().x, points.front().y)];
    for (std::size_t i = 1; i < points.size(); ++i)
        [path lineToPoint:NSMakePoint(points[i].x, points[i].y)];
    [path stroke];
}

}
