#include "HeadlessBackend.h"

#include "Window.h"

#include "platform/foundation/Utf8.h"

namespace docshelf::appkit {

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
    for (std::size_t i = 0; i < text.size(); ++count)
        if (!foundation::decodeUtf8(text, i))
            ++i;
    return count;
}

}
