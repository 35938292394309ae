#include "TextBuilder.h"

namespace vendpost {

TextBuilder::TextBuilder(char* out, unsigned long capacity) : out_(out), capacity_(capacity)
{
    if (capacity_ == 0)
        overflowed_ = true;
    else
        out_[0] = '\0';
}

TextBuilder& TextBuilder::append(const char* text)
{
    for (; !overflowed_ && *text != '\0'; ++text)
        put(*text);
    return *this;
}

TextBuilder& TextBuilder::appendQueryValue(const char* text)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (; !overflowed_ && *text != '\0'; ++text) {
        unsigned char c = static_cast<unsigned char>(*text);
        bool escaped = c < 0x20 || c == 0x7F || c == ' ' || c == '"' || c == '#' || c == '%' || c == '&' || c == '+';
        if (!escaped) {
            put(*text);
            continue;
        }
        put('%');
        put(kHex[c >> 4]);
        put(kHex[c & 0x0F]);
    }
    return *this;
}

void TextBuilder::put(char c)
{
    if (overflowed_)
        return;
    if (length_ + 1 >= capacity_) {
        overflowed_ = true;
        return;
    }
    out_[length_++] = c;
}

bool TextBuilder::finish()
{
    if (capacity_ == 0)
        return false;
    out_[overflowed_ ? 0 : length_] = '\0';
    return !overflowed_;
}

}
