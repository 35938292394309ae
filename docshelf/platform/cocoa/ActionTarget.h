#pragma once

#include "NativeSink.h"

#import <AppKit/AppKit.h>

// The target of native controls and menu items, and a window's delegate: it
// passes what happened to its sink with the sender's tag. An object that makes
// it calls detach before it goes, since AppKit may still hold the target.
@interface DSActionTarget : NSObject {
    docshelf::cocoa::NativeSink* sink_;
}
- (id)initWithSink:(docshelf::cocoa::NativeSink*)sink;
- (void)detach;
- (void)perform:(id)sender;
- (BOOL)windowShouldClose:(id)window;
- (void)applicationDidUnhide:(NSNotification*)notification;
// A timer's tick, passed on with tag -2.
- (void)tick:(NSTimer*)timer;
@end

// A view whose model view paints it: the background picture and plain containers.
@interface DSModelView : NSView {
    docshelf::cocoa::NativeSink* sink_;
    long tag_;
}
- (id)initWithFrame:(NSRect)frame sink:(docshelf::cocoa::NativeSink*)sink tag:(long)tag;
- (void)detach;
@end
