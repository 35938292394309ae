// A push button whose action prints "action" and ends the program. Clicked with
// press and release at the same instant (xdotool mousedown 1 mouseup 1), GNUstep
// delivers the release before the press, so the button is left highlighted and
// waits in its tracking loop for a release that has already come: the action
// never runs, and the program stays in that loop. A Mac completes the click.
#import <AppKit/AppKit.h>

@interface Quitter : NSObject
- (void)quit:(id)sender;
@end

@implementation Quitter
- (void)quit:(id)sender {
    (void)sender;
    printf("action\n");
    fflush(stdout);
    _exit(0);
}
@end

int main(void) {
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    [NSApplication sharedApplication];
    NSWindow* window = [[NSWindow alloc] initWithContentRect:NSMakeRect(100, 100, 200, 100)
                                                   styleMask:NSTitledWindowMask
                                                     backing:NSBackingStoreBuffered
                                                       defer:NO];
    NSButton* button = [[NSButton alloc] initWithFrame:NSMakeRect(50, 30, 100, 32)];
    [button setTitle:@"Close"];
    [button setTarget:[Quitter new]];
    [button setAction:@selector(quit:)];
    [[window contentView] addSubview:button];
    [window makeKeyAndOrderFront:nil];
    [NSApp run];
    [pool release];
    return 0;
}
