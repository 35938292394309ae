#include "CocoaWindow.h"

#include "ActionTarget.h"
#include "CocoaGraphicsContext.h"
#include "NativeFonts.h"
#include "NativeNames.h"

#include "platform/appkit/Button.h"
#include "platform/appkit/KeyEvent.h"
#include "platform/appkit/MenuTracker.h"
#include "platform/appkit/MouseEvent.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"

#include <chrono>
#include <cmath>
#include <sstream>

namespace docshelf::cocoa {

namespace {

NSRect nativeRect(appkit::Rect rect) {
    return NSMakeRect(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
}

// A row label reads "Model: "; a screen reader says "Model".
std::string withoutColon(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == ':'))
        text.pop_back();
    return text;
}

std::string popUpTitle(const appkit::PopUpButton& popUp) {
    auto title = popUp.titleOfSelectedItem();
    return title.isString() ? std::string(title.text()) : std::string();
}

std::string rectText(double x, double y, double width, double height) {
    std::ostringstream text;
    text << std::lround(x) << ' ' << std::lround(y) << ' ' << std::lround(width) << ' ' << std::lround(height);
    return text.str();
}

std::string nativeTitle(NSView* view) {
    if ([view isKindOfClass:[NSPopUpButton class]])
        return utf8([(NSPopUpButton*)view titleOfSelectedItem]);
    if ([view isKindOfClass:[NSButton class]])
        return utf8([(NSButton*)view title]);
    if ([view isKindOfClass:[NSTextField class]])
        return utf8([(NSTextField*)view stringValue]);
    return {};
}

// A key press in the model's terms.
appkit::KeyEvent keyEventOf(NSEvent* event) {
    appkit::KeyEvent key;
    NSUInteger flags = [event modifierFlags];
    key.shift = (flags & shiftModifier) != 0;
    key.command = (flags & commandModifier) != 0;
    key.option = (flags & optionModifier) != 0;
    // When it is handled: GNUstep's event timestamps are not in seconds, and
    // only the time between presses counts (type-ahead).
    key.timestamp = std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    NSString* characters = key.command ? [event charactersIgnoringModifiers] : [event characters];
    key.characters = utf8(characters);
    unichar first = [characters length] > 0 ? [characters characterAtIndex:0] : 0;
    switch (first) {
    case '\t':
    case 0x19: // Shift-Tab, as AppKit reports it
        key.key = appkit::Key::Tab;
        break;
    case '\r':
    case 0x03: // Enter
        key.key = appkit::Key::Return;
        break;
    case 0x1b:
        key.key = appkit::Key::Escape;
        break;
    case ' ':
        key.key = appkit::Key::Space;
        break;
    case NSUpArrowFunctionKey:
        key.key = appkit::Key::Up;
        break;
    case NSDownArrowFunctionKey:
        key.key = appkit::Key::Down;
        break;
    case NSHomeFunctionKey:
        key.key = appkit::Key::Home;
        break;
    case NSEndFunctionKey:
        key.key = appkit::Key::End;
        break;
    case NSPageUpFunctionKey:
        key.key = appkit::Key::PageUp;
        break;
    case NSPageDownFunctionKey:
        key.key = appkit::Key::PageDown;
        break;
    default:
        break;
    }
    if (key.key != appkit::Key::Other && key.key != appkit::Key::Space)
        key.characters.clear();
    return key;
}

// Where an event happened on the screen (origin lower left).
NSPoint screenLocation(NSEvent* event) {
    NSWindow* window = [event window];
    if (!window)
        return [NSEvent mouseLocation];
    NSRect frame = [window frame];
    NSPoint point = [event locationInWindow];
    return NSMakePoint(frame.origin.x + point.x, frame.origin.y + point.y);
}

}

CocoaWindow::CocoaWindow(const std::shared_ptr<appkit::Window>& model) : model_(model) {
    AutoreleasePool pool;
    target_ = [[DSActionTarget alloc] initWithSink:this];
    window_ = [[NSWindow alloc] initWithContentRect:nativeRect(model->frame())
                                          styleMask:documentWindowStyle
                                            backing:NSBackingStoreBuffered
                                              defer:NO];
    // The model decides when the window goes; it is released here, not on close.
    [window_ setReleasedWhenClosed:NO];
    [window_ setDelegate:(id)target_];
    [window_ setAcceptsMouseMovedEvents:YES];
    rebuild(*model);
}

CocoaWindow::~CocoaWindow() {
    AutoreleasePool pool;
    list_.reset();
    clearMirrors();
    [window_ setDelegate:nil];
    [window_ orderOut:nil];
    [window_ release];
    [target_ detach];
    [target_ release];
}

std::vector<const appkit::View*> CocoaWindow::modelTree(const appkit::Window& model) const {
    std::vector<const appkit::View*> tree;
    std::vector<const appkit::View*> pending{model.contentView().get()};
    while (!pending.empty()) {
        const appkit::View* view = pending.back();
        pending.pop_back();
        tree.push_back(view);
        for (auto child = view->subviews().rbegin(); child != view->subviews().rend(); ++child)
            pending.push_back(child->get());
    }
    return tree;
}

void CocoaWindow::clearMirrors() {
    for (auto& mirror : mirrors_) {
        if ([mirror.native isKindOfClass:[DSModelView class]])
            [(DSModelView*)mirror.native detach];
        [mirror.native removeFromSuperview];
        [mirror.native release];
    }
    mirrors_.clear();
}

void CocoaWindow::rebuild(const appkit::Window& model) {
    clearMirrors();
    tree_ = modelTree(model);
    for (const auto& view : model.contentView()->subviews())
        addMirrors(view, [window_ contentView]);
}

void CocoaWindow::addMirrors(const std::shared_ptr<appkit::View>& view, NSView* parent) {
    long tag = static_cast<long>(mirrors_.size());
    NSRect frame = nativeRect(view->frame());
    Mirror mirror;
    mirror.model = view;
    if (std::dynamic_pointer_cast<appkit::PopUpButton>(view)) {
        NSPopUpButton* popUp = [[NSPopUpButton alloc] initWithFrame:frame pullsDown:NO];
        [popUp setTarget:target_];
        [popUp setAction:@selector(perform:)];
        [popUp setTag:tag];
        mirror.native = popUp;
        mirror.kind = Kind::PopUp;
    } else if (std::dynamic_pointer_cast<appkit::Button>(view)) {
        NSButton* button = [[NSButton alloc] initWithFrame:frame];
        [button setButtonType:pushButton];
        [button setBezelStyle:roundedBezel];
        [button setTarget:target_];
        [button setAction:@selector(perform:)];
        [button setTag:tag];
        mirror.native = button;
        mirror.kind = Kind::Button;
    } else if (auto text = std::dynamic_pointer_cast<appkit::TextField>(view)) {
        NSTextField* field = [[NSTextField alloc] initWithFrame:frame];
        [field setEditable:text->isEditable()];
        [field setSelectable:text->isSelectable()];
        [field setBezeled:text->isBezeled()];
        [field setDrawsBackground:text->drawsBackground()];
        [field setAlignment:nativeAlignment(text->alignment(), text->stringValue())];
        [field setFont:NativeFonts::fontFor(text->stringValue(), text->fontSize(), text->isBold())];
        [[field cell] setWraps:text->wraps()];
        mirror.native = field;
        mirror.kind = Kind::TextField;
    } else {
        mirror.native = [[DSModelView alloc] initWithFrame:frame sink:this tag:tag];
        mirror.kind = Kind::Custom;
    }
    [parent addSubview:mirror.native];
    mirrors_.push_back(mirror);
    NSView* native = mirror.native;
    for (const auto& child : view->subviews())
        addMirrors(child, native);
}

void CocoaWindow::synchronize() {
    auto model = model_.lock();
    if (!model)
        return;
    AutoreleasePool pool;
    if (modelTree(*model) != tree_)
        rebuild(*model);

    NSString* title = nativeString(model->title());
    if (![[window_ title] isEqualToString:title])
        [window_ setTitle:title];
    appkit::Color color = model->backgroundColor();
    [window_ setBackgroundColor:[NSColor colorWithCalibratedRed:color.red
                                                          green:color.green
                                                           blue:color.blue
                                                          alpha:color.alpha]];
    NSRect content = nativeRect(model->frame());
    if (!NSEqualRects([window_ contentRectForFrameRect:[window_ frame]], content))
        [window_ setFrame:[window_ frameRectForContentRect:content] display:YES];

    for (auto& mirror : mirrors_)
        update(mirror);

    // Return presses the button the model names as the default one.
    NSButtonCell* defaultCell = nil;
    if (auto button = model->defaultButton())
        defaultCell = [(NSButton*)nativeViewOf(button.get()) cell];
    [window_ setDefaultButtonCell:defaultCell];

    // Tab follows the model's key view loop (reading order), where AppKit would
    // follow the order the views were added in. Which controls Tab reaches at
    // all is AppKit's choice (on a Mac, Full Keyboard Access).
    NSView* previous = nil;
    NSView* first = nil;
    for (const auto& control : model->keyViewLoop()) {
        NSView* native = nativeViewOf(control.get());
        if (!native)
            continue;
        if (previous)
            [previous setNextKeyView:native];
        else
            first = native;
        previous = native;
    }
    if (previous)
        [previous setNextKeyView:first];
    [window_ setInitialFirstResponder:first];

    // AppKit takes the windows of a hidden application off the screen and brings
    // them back when it unhides it; they are not shown again meanwhile.
    if ([NSApp isHidden]) {
        showList(*model);
        return;
    }
    if (model->isVisible() && ![window_ isVisible]) {
        if (model->isKeyWindow())
            [window_ makeKeyAndOrderFront:nil];
        else
            [window_ orderFront:nil];
    } else if (!model->isVisible() && [window_ isVisible]) {
        [window_ orderOut:nil];
    }
    showList(*model);
}

void CocoaWindow::showList(const appkit::Window& model) {
    const auto& tracker = model.menuTracker();
    if (!tracker || !model.isVisible()) {
        list_.reset();
        return;
    }
    if (list_ && list_->tracker() == tracker) {
        list_->redraw();
        return;
    }
    list_.reset();
    NSRect content = [window_ contentRectForFrameRect:[window_ frame]];
    appkit::Rect anchor = model.menuAnchor();
    list_ = std::make_unique<CocoaMenuList>(tracker, NSMakeRect(content.origin.x + anchor.origin.x,
                                                                content.origin.y + anchor.origin.y, anchor.size.width,
                                                                anchor.size.height));
}

bool CocoaWindow::autoscroll() {
    return list_ && list_->tracker()->autoscroll();
}

bool CocoaWindow::handleEvent(NSEvent* event) {
    auto model = model_.lock();
    if (!model)
        return false;
    if (list_)
        return handleListEvent(*model, event);
    if ([event window] != window_)
        return false;
    NSEventType type = [event type];
    if (type == keyDownEvent) {
        appkit::KeyEvent key = keyEventOf(event);
        // A panel takes its keys from the model: Escape, Return and Command-W close it.
        if (model->isPanel()) {
            model->keyDown(key);
            return true;
        }
        if (key.command ||
            (key.key != appkit::Key::Space && key.key != appkit::Key::Up && key.key != appkit::Key::Down))
            return false;
        NSResponder* responder = [window_ firstResponder];
        for (const auto& mirror : mirrors_) {
            auto control = std::dynamic_pointer_cast<appkit::PopUpButton>(mirror.model.lock());
            if (control && mirror.native == responder && model->makeFirstResponder(control))
                return model->keyDown(key);
        }
        return false;
    }
    NSPoint point = [[window_ contentView] convertPoint:[event locationInWindow] fromView:nil];
    appkit::MouseEvent mouse{{static_cast<float>(point.x), static_cast<float>(point.y)}, appkit::MouseButton::Left};
    if (type == leftMouseDownEvent) {
        auto control = model->controlAt(mouse.location);
        bool ours = std::dynamic_pointer_cast<appkit::PopUpButton>(control) ||
                    std::dynamic_pointer_cast<appkit::Button>(control);
        if (!ours || !model->mouseDown(mouse))
            return false;
        // GNUstep delivers the release of a click whose press and release came
        // at the same instant before the press: that release completes it.
        if (strayRelease_ >= 0 && strayRelease_ >= [event timestamp] && model->pressedControl())
            model->mouseUp(mouse);
        strayRelease_ = -1;
        return true;
    }
    if (type == rightMouseDownEvent) {
        // Away from the controls: the application menu, at the pointer.
        mouse.button = appkit::MouseButton::Right;
        return model->mouseDown(mouse);
    }
    if (type == leftMouseDraggedEvent)
        return model->mouseDragged(mouse);
    if (type == leftMouseUpEvent) {
        if (model->mouseUp(mouse))
            return true;
        strayRelease_ = [event timestamp];
        return false;
    }
    return false;
}

bool CocoaWindow::handleListEvent(appkit::Window& model, NSEvent* event) {
    auto tracker = list_->tracker();
    NSEventType type = [event type];
    if (type == keyDownEvent) {
        model.keyDown(keyEventOf(event));
        return true;
    }
    long row = list_->rowAt(screenLocation(event));
    if (type == mouseMovedEvent || type == leftMouseDraggedEvent || type == rightMouseDraggedEvent)
        tracker->mouseMoved(row);
    else if (type == leftMouseDownEvent || type == rightMouseDownEvent)
        tracker->mouseDown(row);
    else if (type == leftMouseUpEvent || type == rightMouseUpEvent)
        tracker->mouseUp(row);
    else if (type == scrollWheelEvent)
        // A notch turned towards the user scrolls towards the end.
        tracker->scrollWheel([event deltaY] > 0 ? -1 : [event deltaY] < 0 ? 1 : 0, row);
    else
        return false;
    if (tracker->isFinished())
        model.endMenuTracking();
    return true;
}

void CocoaWindow::update(Mirror& mirror) {
    auto view = mirror.model.lock();
    if (!view)
        return;
    NSView* native = mirror.native;
    NSRect frame = nativeRect(view->frame());
    if (!NSEqualRects([native frame], frame)) {
        [native setFrame:frame];
        [[native superview] setNeedsDisplay:YES];
    }
    if ([native isHidden] != static_cast<BOOL>(view->isHidden()))
        [native setHidden:view->isHidden()];

    switch (mirror.kind) {
    case Kind::PopUp: {
        auto& popUp = static_cast<appkit::PopUpButton&>(*view);
        NSPopUpButton* nativePopUp = (NSPopUpButton*)native;
        bool same = static_cast<std::size_t>([nativePopUp numberOfItems]) == popUp.numberOfItems();
        for (std::size_t i = 0; same && i < popUp.numberOfItems(); ++i) {
            auto title = popUp.itemAtIndex(i)->title();
            same = utf8([nativePopUp itemTitleAtIndex:static_cast<NSInteger>(i)]) ==
                   (title.isString() ? std::string(title.text()) : std::string());
        }
        if (!same) {
            [nativePopUp removeAllItems];
            // Through the menu: the pop-up's own addItemWithTitle: drops repeated titles.
            for (const auto& item : popUp.menu()->items()) {
                auto title = item->title();
                [[nativePopUp menu] addItemWithTitle:title.isString() ? nativeString(title.text()) : @""
                                              action:NULL
                                       keyEquivalent:@""];
            }
        }
        long selected = popUp.indexOfSelectedItem();
        if ([nativePopUp indexOfSelectedItem] != selected || !same)
            [nativePopUp selectItemAtIndex:selected];
        [nativePopUp setEnabled:popUp.isEnabled()];
        [nativePopUp
            setFont:NativeFonts::fontFor(popUpTitle(popUp), static_cast<float>([[nativePopUp font] pointSize]), false)];
        // The pop-up is named by the label of its row ("Model"), as VoiceOver
        // reads a pop-up: its name, then the chosen item.
        mirror.accessibilityLabel = rowLabelOf(popUp);
        if (mirror.accessibilityLabel.empty())
            mirror.accessibilityLabel = popUpTitle(popUp);
        break;
    }
    case Kind::Button: {
        auto& button = static_cast<appkit::Button&>(*view);
        NSButton* nativeButton = (NSButton*)native;
        NSString* title = nativeString(button.title());
        if (![[nativeButton title] isEqualToString:title])
            [nativeButton setTitle:title];
        NSString* key = nativeString(button.keyEquivalent());
        if (![[nativeButton keyEquivalent] isEqualToString:key])
            [nativeButton setKeyEquivalent:key];
        [nativeButton setEnabled:button.isEnabled()];
        [nativeButton
            setFont:NativeFonts::fontFor(button.title(), static_cast<float>([[nativeButton font] pointSize]), false)];
        // Pressed as the model holds it: the model tracks the click (handleEvent).
        if (static_cast<bool>([[nativeButton cell] isHighlighted]) != button.isHighlighted())
            [nativeButton highlight:button.isHighlighted()];
        mirror.accessibilityLabel = button.title();
        break;
    }
    case Kind::TextField: {
        auto& field = static_cast<appkit::TextField&>(*view);
        NSTextField* nativeField = (NSTextField*)native;
        NSString* text = nativeString(field.stringValue());
        if (![[nativeField stringValue] isEqualToString:text]) {
            [nativeField setFont:NativeFonts::fontFor(field.stringValue(), field.fontSize(), field.isBold())];
            [nativeField setAlignment:nativeAlignment(field.alignment(), field.stringValue())];
            [nativeField setStringValue:text];
        }
        mirror.accessibilityLabel = withoutColon(field.stringValue());
        break;
    }
    case Kind::Custom:
        [native setNeedsDisplay:YES];
        return;
    }
    setAccessibilityLabel(native, nativeString(mirror.accessibilityLabel));
}

NSView* CocoaWindow::nativeViewOf(const appkit::View* view) const {
    for (const auto& mirror : mirrors_)
        if (mirror.model.lock().get() == view)
            return mirror.native;
    return nil;
}

std::string CocoaWindow::rowLabelOf(const appkit::View& popUp) const {
    auto superview = popUp.superview();
    if (!superview)
        return {};
    appkit::Rect row = popUp.frame();
    const appkit::TextField* nearest = nullptr;
    for (const auto& view : superview->subviews()) {
        auto* field = dynamic_cast<const appkit::TextField*>(view.get());
        if (!field || field->isEditable() || field->isHidden())
            continue;
        appkit::Rect frame = field->frame();
        float middle = frame.origin.y + frame.size.height / 2;
        float right = frame.origin.x + frame.size.width;
        bool inRow = middle >= row.origin.y && middle <= row.origin.y + row.size.height;
        if (inRow && right <= row.origin.x &&
            (!nearest || right > nearest->frame().origin.x + nearest->frame().size.width))
            nearest = field;
    }
    return nearest ? withoutColon(nearest->stringValue()) : std::string();
}

void CocoaWindow::describeControls(std::ostream& out) const {
    for (const auto& mirror : mirrors_) {
        auto view = mirror.model.lock();
        if (!view || mirror.kind == Kind::Custom)
            continue;
        std::string modelTitle;
        if (auto* popUp = dynamic_cast<const appkit::PopUpButton*>(view.get()))
            modelTitle = popUpTitle(*popUp);
        else if (auto* button = dynamic_cast<const appkit::Button*>(view.get()))
            modelTitle = button->title();
        else if (auto* field = dynamic_cast<const appkit::TextField*>(view.get()))
            modelTitle = field->stringValue();
        NSRect frame = [mirror.native frame];
        appkit::Rect modelFrame = view->frame();
        out << utf8(NSStringFromClass([mirror.native class])) << '\t' << mirror.accessibilityLabel << '\t'
            << nativeTitle(mirror.native) << '\t' << ([mirror.native isHidden] ? "hidden" : "shown") << '\t'
            << modelTitle << '\t' << (view->isHidden() ? "hidden" : "shown") << '\t'
            << rectText(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height) << '\t'
            << rectText(modelFrame.origin.x, modelFrame.origin.y, modelFrame.size.width, modelFrame.size.height)
            << '\n';
    }
}

void CocoaWindow::describeOpenList(std::ostream& out) const {
    if (!list_)
        return;
    const auto& tracker = *list_->tracker();
    auto titleOf = [&](long item) {
        return item >= 0 ? tracker.entries()[static_cast<std::size_t>(item)].title : std::string();
    };
    NSRect frame = [list_->nativeWindow() frame];
    std::string rect = rectText(frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
    // The highlighted item as its title, the first item shown as the model's.
    out << "DSMenuList\t\t" << titleOf(tracker.highlightedItem()) << "\tshown\t" << titleOf(tracker.firstVisibleItem())
        << "\tshown\t" << rect << '\t' << rect << '\n';
}

void CocoaWindow::nativeAction(long tag, id sender) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= mirrors_.size())
        return;
    auto view = mirrors_[static_cast<std::size_t>(tag)].model.lock();
    if (auto popUp = std::dynamic_pointer_cast<appkit::PopUpButton>(view)) {
        NSInteger index = [(NSPopUpButton*)sender indexOfSelectedItem];
        if (index >= 0)
            popUp->performClickOnItemAtIndex(static_cast<std::size_t>(index));
    } else if (auto button = std::dynamic_pointer_cast<appkit::Button>(view)) {
        button->performClick();
    }
}

void CocoaWindow::drawNativeView(long tag) {
    if (tag < 0 || static_cast<std::size_t>(tag) >= mirrors_.size())
        return;
    auto view = mirrors_[static_cast<std::size_t>(tag)].model.lock();
    if (!view)
        return;
    CocoaGraphicsContext context;
    appkit::GraphicsContext* previous = appkit::GraphicsContext::setCurrent(&context);
    view->drawRect(view->bounds());
    appkit::GraphicsContext::setCurrent(previous);
}

void CocoaWindow::nativeWindowShouldClose() {
    if (auto model = model_.lock())
        model->performClose(nullptr);
}

}
