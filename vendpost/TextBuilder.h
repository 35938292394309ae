#pragma once

namespace vendpost {

// Fills a fixed buffer piece by piece and never writes past it. A text that
// does not fit leaves the buffer empty, so that no caller ever acts on a
// shortened URL, key path or command line.
//   TextBuilder b(out, 8); b.append("abc"); b.append("def"); b.finish() -> true,  out "abcdef"
//   TextBuilder b(out, 4); b.append("abcd"); b.finish()                 -> false, out ""
class TextBuilder {
public:
    TextBuilder(char* out, unsigned long capacity);

    TextBuilder& append(const char* text);
    // Appends the text with every byte that would end a query value, start a
    // fragment, read as an escape or a blank, or split a command line written
    // %XX: controls, space, '"', '#', '%', '&', '+' and DEL. Other bytes,
    // those past ASCII included, go in as they are.
    //   "LX-100 Plus" -> "LX-100%20Plus"     "A&B+C#1%" -> "A%26B%2BC%231%25"
    TextBuilder& appendQueryValue(const char* text);
    // True when everything appended fits with its terminator.
    bool finish();

private:
    void put(char c);

    char* out_ = nullptr;
    unsigned long capacity_ = 0;
    unsigned long length_ = 0;
    bool overflowed_ = false;
};

}
