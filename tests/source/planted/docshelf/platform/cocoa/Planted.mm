// A picture read by AppKit from its path: the scan must name this line.
NSImage* image = [[NSImage alloc] initWithContentsOfFile:path];
