#include "ActionTarget.h"

@implementation DSActionTarget

- (id)initWithSink:(docshelf::cocoa::NativeSink*)sink {
    self = [super init];
    if (self)
        sink_ = sink;
    return self;
}

- (void)detach {
    sink_ = nullptr;
}

- (void)perform:(id)sender {
    if (sink_)
        sink_->nativeAction([sender tag], sender);
}

- (BOOL)windowShouldClose:(id)window {
    (void)window;
    // The model decides whether and how the window closes; the next
    // synchronization takes the native window off the screen.
    if (sink_)
        sink_->nativeWindowShouldClose();
    return NO;
}

- (void)applicationDidUnhide:(NSNotification*)notification {
    (void)notification;
    if (sink_)
        sink_->nativeAction(-1, nil);
}

- (void)tick:(NSTimer*)timer {
    if (sink_)
        sink_->nativeAction(-2, timer);
}

@end

@implementation DSModelView

- (id)initWithFrame:(NSRect)frame sink:(docshelf::cocoa::NativeSink*)sink tag:(long)tag {
    self = [super initWithFrame:frame];
    if (self) {
        sink_ = sink;
        tag_ = tag;
    }
    return self;
}

- (void)detach {
    sink_ = nullptr;
}

- (void)drawRect:(NSRect)dirty {
    (void)dirty;
    if (sink_)
        sink_->drawNativeView(tag_);
}

@end
