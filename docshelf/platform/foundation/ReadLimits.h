#pragma once

#include <cstddef>

namespace docshelf::foundation {

// What the readers take from files and folders that other people write: property
// lists, strings tables, window descriptions and directory listings. Past a limit
// the file reads as absent and a listing as unreadable, exactly as a missing one,
// so that a hostile disc can neither crash the browser nor make it run out of
// memory or time. Every reader is linear in what it takes. The README's
// "Limits on what the programs read" lists the same numbers.
class ReadLimits {
public:
    // Bytes in one file. A 2,000-model CDInfo is about 83 KB.
    // A file of 4,194,304 bytes is read; one of 4,194,305 reads as absent.
    static constexpr std::size_t maximumFileSize = 4u * 1024u * 1024u;

    // Values in one property list, keys counted, XML and binary alike. In a binary
    // list an object shared by several containers counts at every place it
    // appears, since the reader copies it there: this also caps the expansion of
    // shared objects. A list of 262,144 values is read; one of 262,145 is absent.
    static constexpr std::size_t maximumValues = 262'144;

    // Bytes of strings (keys included, as UTF-8 once read) and data in one
    // property list, counted at every place a value appears: a binary list's
    // shared string counts at each reference, since the reader copies it there;
    // XML counts each value once, as it appears. A 4 MiB binary list could
    // otherwise name one 3 MB string 250,000 times (about 750 GB once copied).
    // 16,777,216 bytes are read; one more and the list reads as absent.
    static constexpr std::size_t maximumExpandedBytes = 16u * 1024u * 1024u;

    // Arrays and dictionaries inside one another in one property list: the root
    // dictionary is level 1. An array or dictionary at level 129 makes the list
    // absent even when it is empty, in XML and binary alike.
    static constexpr std::size_t maximumNesting = 128;

    // Entries of one directory listing ("." and ".." not counted). A language
    // folder list or a bundle's resources hold tens; 4,096 entries are listed,
    // a directory of 4,097 reads as unreadable.
    static constexpr std::size_t maximumDirectoryEntries = 4'096;

    // Window descriptions: views inside views (a view in a window's content view
    // is at depth 1) and menus inside menus (the main menu is depth 1).
    static constexpr std::size_t maximumViewDepth = 64;
    static constexpr std::size_t maximumMenuDepth = 8;

    // Window descriptions: a text's font size, in points. The window's texts are
    // 11 to 20 points; 1 and 288 load, 0.5, 289, a negative or a NaN size fails
    // the load (a huge size finds no font, a tiny one draws specks).
    static constexpr double minimumFontSize = 1;
    static constexpr double maximumFontSize = 288;

    // Window descriptions: a frame's width and height, in points, from 0 to
    // 4,096 (the window is 520 across; a 20,000-point square would take gigabytes
    // to draw), and its origin within 16,384 points of 0 either way. 4,096 loads,
    // 4,097 fails the load; so does any number that is not finite.
    static constexpr double maximumFrameSide = 4'096;
    static constexpr double maximumFrameOrigin = 16'384;

    // --- Pictures: the window's background and the application's icon ---
    // Past these a picture is refused and not drawn: the window shows its white
    // background, a window without an icon the desktop's own.
    //
    // Bytes in one picture file. The background of a 520 × 340 window at two
    // pixels to the point is about 1 MB; 8,388,608 bytes are read, 8,388,609 refused.
    static constexpr std::size_t maximumPictureFileSize = 8u * 1024u * 1024u;
    // Pixels on either side, as the picture's header declares them, checked before
    // anything is decoded: 4,096 is drawn, 4,097 refused. A 4,096 × 4,096 picture
    // takes 64 MiB decoded; the window needs 1,040 × 680.
    static constexpr std::size_t maximumPictureSide = 4'096;
};

}
