#include "HeadlessBackend.h"

#include "Window.h"

namespace docshelf::appkit {

namespace {

// How many bytes the sequence that starts with this byte has; 0 when none starts here.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        return 2;
    if (lead >= 0xe0 && lead <= 0xef)
        return 3;
    if (lead >= 0xf0 && lead <= 0xf4)
        return 4;
    return 0;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xc0) == 0x80;
}

}

Size HeadlessBackend::measureText(std::string_view text, const Font&) {
    return {static_cast<float>(codePointCount(text)) * pointsPerCharacter + textPadding, 0};
}

int HeadlessBackend::runEventLoop(Application&) {
    ++eventLoopRuns_;
    return 0;
}

void HeadlessBackend::displayWindow(Window& window) {
    window.display(drawing_);
}

std::size_t HeadlessBackend::codePointCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        std::size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
        bool whole = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k)
            whole = isContinuation(static_cast<unsigned char>(text[i + k]));
        i += whole ? length : 1;
    }
    return count;
}

}
