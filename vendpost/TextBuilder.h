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
    // True when everything appended fits with its terminator.
    bool finish();

private:
    char* out_ = nullptr;
    unsigned long capacity_ = 0;
    unsigned long length_ = 0;
    bool overflowed_ = false;
};

}
