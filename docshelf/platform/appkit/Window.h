#pragma once

#include "Color.h"
#include "Geometry.h"
#include "KeyEvent.h"
#include "MouseEvent.h"
#include "Object.h"
#include "View.h"

#include <memory>
#include <string>
#include <vector>

namespace docshelf::appkit {

class Button;
class Control;
class GraphicsContext;
class Menu;
class MenuTracker;
class PopUpButton;

// A window on the screen. Its frame is the content rectangle in screen
// coordinates: the title bar and border are the renderer's business. A window
// takes part in the application (key window, closing the last window) once it
// has been added with Application::addWindow, as the window description does.
class Window : public Object {
public:
    Window();
    explicit Window(Rect contentRect);
    static std::shared_ptr<Window> initWithContentRect(Rect contentRect);

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    Color backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(Color color);
    bool showsResizeIndicator() const { return showsResizeIndicator_; }
    void setShowsResizeIndicator(bool shows);

    Rect frame() const { return frame_; }
    // The content view takes the new size.
    void setFrame(Rect frame);
    // Centred across the backend's screen and placed a little above the middle,
    // a third of the spare height above it and two thirds below, as AppKit does.
    void center();
    // Always present; fills the window.
    const std::shared_ptr<View>& contentView() const { return contentView_; }

    void makeKeyAndOrderFront(const std::shared_ptr<Object>& sender);
    void orderOut(const std::shared_ptr<Object>& sender);
    bool isVisible() const { return visible_; }
    bool isKeyWindow() const { return key_; }

    // What the close box does. A visible window closes; when it was the
    // application's last visible window, the application asks its delegate
    // whether to end and ends when told so.
    void performClose(const std::shared_ptr<Object>& sender = nullptr);
    void close();

    // Paints the background colour, then the content view and its subviews.
    void display(GraphicsContext& context);

    // The frontmost view at a point of the window's content (origin lower left),
    // or null outside it.
    std::shared_ptr<View> hitTest(Point point) const;

    // Keyboard focus. The key view loop: the controls that accept focus and can
    // be worked (not hidden themselves or by a superview, enabled), in reading
    // order: rows from the top down, each from left to right. Controls whose
    // vertical middle lies within the first control of a row share its row.
    std::vector<std::shared_ptr<Control>> keyViewLoop() const;
    // The control with keyboard focus, while it still is in the loop; else null.
    std::shared_ptr<Control> firstResponder() const;
    // Null takes focus away; false, with nothing changed, for a control outside
    // the loop.
    bool makeFirstResponder(const std::shared_ptr<Control>& control);
    // Tab and Shift-Tab: the next or previous control of the loop, round the end;
    // from no focus, the first or the last.
    void selectNextKeyView();
    void selectPreviousKeyView();
    // What Return presses: the first button in drawing order whose key equivalent
    // is "\r" and which can be worked; null when none can.
    std::shared_ptr<Button> defaultButton() const;

    // A panel (the About panel) closes on Escape and does not keep the
    // application running when the last other window closes.
    bool isPanel() const { return panel_; }
    void setPanel(bool panel) { panel_ = panel; }
    // What Escape does: a panel closes; any other window ignores it.
    void cancelOperation();

    // The user's input, in the window's terms. Each answers whether the window
    // used the event; a renderer passes on what it did not use.
    //
    // Keys: with command, a key equivalent of the main menu (Ctrl+Q, Ctrl+W).
    // Tab and Shift-Tab move the focus; Return presses the default button;
    // Escape is cancelOperation; Space presses the focused button or opens the
    // focused pop-up, which Up and Down open too. While a menu is open every key
    // goes to it, and the choice it ends with is acted on at once.
    bool keyDown(const KeyEvent& event);
    // The left button on a pop-up opens its list; on a button it presses it,
    // which only a release over the same button completes. The right button
    // away from every control opens the application menu at the point.
    bool mouseDown(const MouseEvent& event);
    // A pressed button is drawn pressed only while the pointer is over it.
    bool mouseDragged(const MouseEvent& event);
    bool mouseUp(const MouseEvent& event);
    // The control that a click at the point would work: under it, accepting
    // focus, enabled and shown; null otherwise.
    std::shared_ptr<Control> controlAt(Point point) const;
    // The button under a pressed mouse; null when none is.
    std::shared_ptr<Control> pressedControl() const { return pressed_.lock(); }

    // The open menu, or null: a pop-up's list or the application menu. A
    // renderer shows it, opened over menuAnchor, and feeds it events; once it is
    // finished, endMenuTracking acts on its choice.
    const std::shared_ptr<MenuTracker>& menuTracker() const { return tracker_; }
    // Where the open menu belongs, in the window: the pop-up's frame, or an empty
    // rectangle at the point of the right click.
    Rect menuAnchor() const { return menuAnchor_; }
    // Closes the open menu: a pop-up chooses the item chosen in it (and sends its
    // action), an application menu's item sends its action.
    void endMenuTracking();

    // For the application: another window became key.
    void resignKeyWindow() { key_ = false; }

private:
    void publishNames();
    void changed();
    void openMenu(const std::shared_ptr<PopUpButton>& popUp);
    bool openApplicationMenu(Point at);
    // Works the button as the user's press: the busy pointer shows meanwhile.
    void press(const std::shared_ptr<Control>& control);

    std::string title_;
    Color backgroundColor_ = Color::windowBackgroundColor();
    bool showsResizeIndicator_ = true;
    Rect frame_;
    bool visible_ = false;
    bool key_ = false;
    bool panel_ = false;
    std::shared_ptr<View> contentView_;
    std::weak_ptr<Control> firstResponder_;
    std::weak_ptr<Control> pressed_;
    std::shared_ptr<MenuTracker> tracker_;
    Rect menuAnchor_;
    // What the open menu's choice goes to: a pop-up, or else the menu's item.
    std::weak_ptr<PopUpButton> trackedPopUp_;
    std::shared_ptr<Menu> trackedMenu_;
};

}
