// One label a script, in the system font at 20 points, as AppKit draws a text
// field. GNUstep draws the Japanese and Korean characters that its system font
// lacks as "?" (a Mac substitutes a font that has them), the Hebrew left to
// right (a Mac lays it out right to left) and the Arabic letters unjoined (a
// Mac joins them). Run it and look, or take a screenshot.
#import <AppKit/AppKit.h>

int main(void) {
    NSAutoreleasePool* pool = [NSAutoreleasePool new];
    [NSApplication sharedApplication];
    NSWindow* window = [[NSWindow alloc] initWithContentRect:NSMakeRect(100, 100, 420, 240)
                                                   styleMask:NSTitledWindowMask
                                                     backing:NSBackingStoreBuffered
                                                       defer:NO];
    const char* texts[] = {"English", "日本語", "한국어", "עברית", "العربية"};
    for (int i = 0; i < 5; ++i) {
        NSTextField* field = [[NSTextField alloc] initWithFrame:NSMakeRect(10, 195 - 45 * i, 400, 36)];
        [field setFont:[NSFont systemFontOfSize:20]];
        [field setStringValue:[NSString stringWithUTF8String:texts[i]]];
        [field setBezeled:NO];
        [field setEditable:NO];
        [[window contentView] addSubview:field];
    }
    NSFont* font = [NSFont systemFontOfSize:20];
    printf("system font %s has U+65E5 (日): %s\n", [[font fontName] UTF8String],
           [[font coveredCharacterSet] characterIsMember:0x65E5] ? "yes" : "no");
    fflush(stdout);
    [window makeKeyAndOrderFront:nil];
    [NSApp run];
    [pool release];
    return 0;
}
