#include "FltkInput.h"

#include <FL/Fl.H>

#include <cctype>
#include <chrono>

namespace docshelf::fltk {

namespace {

appkit::Key keyOf(int key) {
    switch (key) {
    case FL_Tab:
        return appkit::Key::Tab;
    case FL_Enter:
    case FL_KP_Enter:
        return appkit::Key::Return;
    case FL_Escape:
        return appkit::Key::Escape;
    case ' ':
        return appkit::Key::Space;
    case FL_Up:
        return appkit::Key::Up;
    case FL_Down:
        return appkit::Key::Down;
    case FL_Home:
        return appkit::Key::Home;
    case FL_End:
        return appkit::Key::End;
    case FL_Page_Up:
        return appkit::Key::PageUp;
    case FL_Page_Down:
        return appkit::Key::PageDown;
    default:
        return appkit::Key::Other;
    }
}

}

appkit::KeyEvent currentKeyEvent() {
    appkit::KeyEvent event;
    int key = Fl::event_key();
    int state = Fl::event_state();
    event.key = keyOf(key);
    event.shift = (state & FL_SHIFT) != 0;
    event.command = (state & (FL_CTRL | FL_META)) != 0;
    event.option = (state & FL_ALT) != 0;
    using namespace std::chrono;
    event.timestamp = duration<double>(steady_clock::now().time_since_epoch()).count();
    if (event.command) {
        // The text of Ctrl+Q is a control character; the key is what matters.
        if (key >= 0 && key < 0x80 && std::isalnum(key))
            event.characters = std::string(1, static_cast<char>(std::tolower(key)));
    } else if (Fl::event_length() > 0) {
        event.characters.assign(Fl::event_text(), static_cast<std::size_t>(Fl::event_length()));
    }
    return event;
}

appkit::MouseEvent currentMouseEvent(int windowHeight) {
    // The middle of the pixel, so that an edge belongs to one side only.
    return {{static_cast<float>(Fl::event_x()) + 0.5f, static_cast<float>(windowHeight - Fl::event_y()) - 0.5f},
            Fl::event_button() == FL_RIGHT_MOUSE ? appkit::MouseButton::Right : appkit::MouseButton::Left};
}

}
