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

    // Bytes of strings and data in one property list, counted at every place a
    // value appears: a binary list's shared string counts at each reference, an
    // XML list's text once (so an XML list, bounded by the file size, never comes
    // near it). A 2,000-model CDInfo holds about 200 KB. A list of 16,777,216
    // such bytes is read; one of 16,777,217 reads as absent.
    static constexpr std::size_t maximumExpandedBytes = 16u * 1024u * 1024u;

    // Arrays and dictionaries inside one another in one property list: the root
    // dictionary is level 1.
    static constexpr std::size_t maximumNesting = 128;

    // Entries of one directory listing ("." and ".." not counted). A language
    // folder list or a bundle's resources hold tens; 4,096 entries are listed,
    // a directory of 4,097 reads as unreadable.
    static constexpr std::size_t maximumDirectoryEntries = 4'096;

    // Window descriptions: views inside views (a view in a window's content view
    // is at depth 1) and menus inside menus (the main menu is depth 1).
    static constexpr std::size_t maximumViewDepth = 64;
    static constexpr std::size_t maximumMenuDepth = 8;
};

}
