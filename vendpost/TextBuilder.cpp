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
    for (; !overflowed_ && *text != '\0'; ++text) {
        if (length_ + 1 >= capacity_) {
            overflowed_ = true;
            break;
        }
        out_[length_++] = *text;
    }
    return *this;
}

bool TextBuilder::finish()
{
    if (capacity_ == 0)
        return false;
    out_[overflowed_ ? 0 : length_] = '\0';
    return !overflowed_;
}

}
