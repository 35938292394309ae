// A pop-up button with 3,000 items. Opened, GNUstep makes one menu window tall
// enough for every item (about 60,000 pixels on a screen of a few hundred) and
// does not scroll it; on an X server it is not painted for minutes. A Mac shows
// as many items as the screen holds, with scroll arrows, at once. The program
// prints the height of the menu window that opening makes.
#import <AppKit/AppKit.h>

@interface Opener : NSObject {
@public
    NSPopUpButton* popUp;
}
- (void)open:(id)sender;
- (void)report:(id)sender;
@end

@implementation Opener
- (void)open:(id)sender {
    (void)sender;
    // Reported from within the menu's own tracking loop, which this mode reaches.
    NSTimer* timer = [NSTimer timerWithTimeInterval:1 target:self selector:@selector(report:) userInfo:nil repeats:NO];
    [[NSRunLoop currentRunLoop] addTimer:timer forMode:NSEventTrackingRunLoopMode];
    [[NSRunLoop currentRunLoop] addTimer:timer forMode:NSDefaultRunLoopMode];
    [popUp performClick:nil];
}
- (void)report:(id)sender {
    (void)sender;
    NSWindow* menuWindow = [[[popUp menu] menuRepresentation] window];
    printf("items: %ld, menu window height: %.0f, screen height: %.0f\n", (long)[popUp numberOfItems],
           [menuWindow frame].size.height, [[NSScreen mainScreen] frame].size.height);
    fflush(stdout);
    _exit(0);
}
@end

int main(void) {
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    [NSApplication sharedApplication];
    NSWindow* window = [[NSWindow alloc] initWithContentRect:NSMakeRect(100, 100, 300, 100)
                                                   styleMask:NSTitledWindowMask
                                                     backing:NSBackingStoreBuffered
                                                       defer:NO];
    NSPopUpButton* popUp = [[NSPopUpButton alloc] initWithFrame:NSMakeRect(20, 40, 260, 26) pullsDown:NO];
    for (int i = 0; i < 3000; ++i)
        [[popUp menu] addItemWithTitle:[NSString stringWithFormat:@"Model %04d", i] action:NULL keyEquivalent:@""];
    [[window contentView] addSubview:popUp];
    [window makeKeyAndOrderFront:nil];
    Opener* opener = [Opener new];
    opener->popUp = popUp;
    [opener performSelector:@selector(open:) withObject:nil afterDelay:1];
    [NSApp run];
    [pool release];
    return 0;
}
