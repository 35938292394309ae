#include "platform/appkit/AboutPanel.h"
#include "platform/appkit/ApplicationDelegate.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/HeadlessBackend.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/MenuItem.h"
#include "platform/appkit/MenuTracker.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"

#include "CaseName.h"
#include "FreshApplication.h"
#include "PngFile.h"
#include "PropertyListWriter.h"
#include "ScopedLanguage.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace docshelf::appkit {
namespace {

using foundation::Value;

// A 400 x 300 window: a panel of controls from y 100 up, a row of buttons at the
// bottom whose default button sits two points higher than its neighbour.
struct ControlsWindow {
    std::shared_ptr<Window> window = Window::initWithContentRect({{0, 0}, {400, 300}});
    std::shared_ptr<View> panel = View::initWithFrame({{0, 100}, {400, 200}});
    std::shared_ptr<Button> top = Button::initWithFrame({{20, 150}, {100, 30}});
    std::shared_ptr<PopUpButton> popUp = PopUpButton::initWithFrame({{200, 150}, {150, 30}});
    std::shared_ptr<TextField> label = TextField::initWithFrame({{20, 100}, {100, 20}});
    std::shared_ptr<Button> left = Button::initWithFrame({{20, 10}, {100, 30}});
    std::shared_ptr<Button> hidden = Button::initWithFrame({{130, 10}, {100, 30}});
    std::shared_ptr<Button> right = Button::initWithFrame({{250, 12}, {100, 30}});

    ControlsWindow() {
        window->contentView()->addSubview(panel);
        panel->addSubview(top);
        panel->addSubview(popUp);
        panel->addSubview(label);
        for (const auto& button : {left, hidden, right})
            window->contentView()->addSubview(button);
        hidden->setHidden(true);
        hidden->setKeyEquivalent("\r");
        right->setKeyEquivalent("\r");
    }
};

struct HitCase {
    const char* name;
    Point point; // in the window
    const char* expected;
};

void PrintTo(const HitCase& c, std::ostream* out) {
    *out << c.name;
}

class HitTest : public testing::FreshApplication, public ::testing::WithParamInterface<HitCase> {};

TEST_P(HitTest, FindsTheFrontmostVisibleView) {
    ControlsWindow w;
    std::map<std::string, std::shared_ptr<View>> names{{"top", w.top},     {"popUp", w.popUp},
                                                       {"label", w.label}, {"panel", w.panel},
                                                       {"left", w.left},   {"content", w.window->contentView()},
                                                       {"none", nullptr}};
    EXPECT_EQ(w.window->hitTest(GetParam().point), names.at(GetParam().expected)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Points, HitTest,
                         ::testing::Values(HitCase{"a button inside a subview", {30, 260}, "top"},
                                           HitCase{"the lower left corner belongs to the view", {20, 250}, "top"},
                                           HitCase{"the right edge does not", {120, 260}, "panel"},
                                           HitCase{"a pop up", {349, 279}, "popUp"},
                                           HitCase{"a label", {25, 205}, "label"},
                                           HitCase{"a button straight in the content", {21, 11}, "left"},
                                           HitCase{"a hidden button is passed over", {140, 20}, "content"},
                                           HitCase{"outside the window", {401, 20}, "none"}),
                         [](const auto& testCase) { return testing::caseName(testCase.param.name); });

using WindowModelTest = testing::FreshApplication;

TEST_F(WindowModelTest, RectanglesConvertToWindowCoordinatesThroughEverySuperview) {
    ControlsWindow w;
    EXPECT_EQ(w.popUp->convertRectToWindow(w.popUp->bounds()), (Rect{{200, 250}, {150, 30}}));
    EXPECT_EQ(w.popUp->convertRectToWindow({{3, 2}, {10, 5}}), (Rect{{203, 252}, {10, 5}}));
}

TEST_F(WindowModelTest, TabWalksTheWorkableControlsInReadingOrderRoundTheEnds) {
    ControlsWindow w;
    std::vector<std::shared_ptr<Control>> loop{w.top, w.popUp, w.left, w.right};
    EXPECT_EQ(w.window->keyViewLoop(), loop);

    EXPECT_EQ(w.window->firstResponder(), nullptr);
    std::vector<std::shared_ptr<Control>> visited;
    for (int i = 0; i < 5; ++i) {
        w.window->selectNextKeyView();
        visited.push_back(w.window->firstResponder());
    }
    EXPECT_EQ(visited, (std::vector<std::shared_ptr<Control>>{w.top, w.popUp, w.left, w.right, w.top}));
    EXPECT_TRUE(w.top->showsFocus());
    w.window->selectPreviousKeyView();
    EXPECT_EQ(w.window->firstResponder(), w.right);
    EXPECT_FALSE(w.top->showsFocus());

    EXPECT_FALSE(w.window->makeFirstResponder(w.label)) << "a label takes no focus";
    EXPECT_FALSE(w.window->makeFirstResponder(w.hidden));
    w.popUp->setEnabled(false);
    w.panel->setHidden(true);
    EXPECT_EQ(w.window->keyViewLoop(), (std::vector<std::shared_ptr<Control>>{w.left, w.right}));
}

TEST_F(WindowModelTest, TheDefaultButtonIsTheFirstWorkableOneWithReturnAsItsKey) {
    ControlsWindow w;
    EXPECT_EQ(w.window->defaultButton(), w.right);
    w.right->setEnabled(false);
    EXPECT_EQ(w.window->defaultButton(), nullptr);
    w.hidden->setHidden(false);
    EXPECT_EQ(w.window->defaultButton(), w.hidden);
}

// The screen and the headless recording share the controls' own drawing.
TEST_F(WindowModelTest, ControlsDrawTheirBezelsFocusRingAndExactTitlesIntoTheContext) {
    ControlsWindow w;
    auto menu = Menu::init();
    menu->addItem(MenuItem::initWithTitle("R&D @ Home/2\t\\x", "", ""));
    w.popUp->setMenu(menu);
    w.window->makeFirstResponder(w.popUp);
    backend().displayWindow(*w.window);
    auto drawnBy = [this](Point origin, DrawCall::Kind kind) {
        std::vector<DrawCall> found;
        for (const auto& call : backend().drawing().calls())
            if (call.translation == origin && call.kind == kind)
                found.push_back(call);
        return found;
    };
    auto popUpTexts = drawnBy({200, 250}, DrawCall::Kind::Text);
    ASSERT_EQ(popUpTexts.size(), 1u);
    EXPECT_EQ(popUpTexts[0].text, "R&D @ Home/2\t\\x");
    auto rings = drawnBy({200, 250}, DrawCall::Kind::RoundedStroke);
    ASSERT_EQ(rings.size(), 1u) << "the focused pop-up has no focus ring";
    EXPECT_EQ(rings[0].color, Color::keyboardFocusIndicatorColor());
    EXPECT_TRUE(drawnBy({20, 250}, DrawCall::Kind::RoundedStroke).empty()) << "an unfocused button has a ring";

    auto defaultFaces = drawnBy({250, 12}, DrawCall::Kind::RoundedFill);
    ASSERT_FALSE(defaultFaces.empty());
    EXPECT_EQ(defaultFaces.back().color, Color::controlAccentColor());
    auto defaultTitle = drawnBy({250, 12}, DrawCall::Kind::Text);
    ASSERT_EQ(defaultTitle.size(), 1u);
    EXPECT_EQ(defaultTitle[0].color, Color::whiteColor());
}

class Ender : public Object, public ApplicationDelegate {
public:
    bool applicationShouldTerminateAfterLastWindowClosed(Application&) override { return true; }
};

// What the user's actions reached: "top", "right", "model:Gamma", "about", "closed".
class ActionLog : public Object {
public:
    bool performAction(std::string_view action, const std::shared_ptr<Object>& sender) override {
        auto popUp = std::dynamic_pointer_cast<PopUpButton>(sender);
        log.push_back(popUp ? std::string(action) + ":" + std::string(popUp->titleOfSelectedItem().text())
                            : std::string(action));
        return true;
    }
    std::vector<std::string> log;
};

// One thing the user does; points are in the window, from its lower left.
struct Input {
    enum class Kind { Key, Down, Drag, Up } kind;
    KeyEvent key;
    MouseEvent mouse;
};
Input key(Key k, bool shift = false) {
    return {Input::Kind::Key, {k, k == Key::Space ? " " : "", shift, false, false, 0}, {}};
}
Input typed(const char* text) {
    return {Input::Kind::Key, {Key::Other, text, false, false, false, 0}, {}};
}
Input command(const char* letter) {
    return {Input::Kind::Key, {Key::Other, letter, false, true, false, 0}, {}};
}
Input mouse(Input::Kind kind, Point at, MouseButton button = MouseButton::Left) {
    return {kind, {}, {at, button}};
}

struct InputCase {
    const char* name;
    std::vector<Input> inputs;
    std::vector<std::string> actions;
    bool menuOpen = false;
    bool visible = true;
};

void PrintTo(const InputCase& c, std::ostream* out) {
    *out << c.name;
}

class WindowInput : public testing::FreshApplication, public ::testing::WithParamInterface<InputCase> {};

// The controls window with actions: the pop-up lists Alpha, Gamma and Zeta; the
// right button is the default one; Ctrl+W closes the window, Ctrl+Q has no item.
TEST_P(WindowInput, TheWindowDecidesWhatKeysAndClicksDo) {
    const InputCase& c = GetParam();
    auto log = std::make_shared<ActionLog>();
    ControlsWindow w;
    application().addWindow(w.window);
    w.window->makeKeyAndOrderFront(nullptr);
    for (const auto& [button, action] : {std::pair{w.top, "top"}, {w.left, "left"}, {w.right, "right"}}) {
        button->setAction(action);
        button->setTarget(log);
    }
    auto models = Menu::init();
    for (const char* title : {"Alpha", "Gamma", "Zeta"})
        models->addItem(MenuItem::initWithTitle(title, "", ""));
    w.popUp->setMenu(models);
    w.popUp->setAction("model");
    w.popUp->setTarget(log);
    auto applicationMenu = Menu::init();
    auto about = MenuItem::initWithTitle("About", "about", "");
    about->setTarget(log);
    applicationMenu->addItem(about);
    applicationMenu->addItem(MenuItem::separatorItem());
    auto close = MenuItem::initWithTitle("Close", "performClose", "w");
    applicationMenu->addItem(close);
    auto holder = MenuItem::initWithTitle("", "", "");
    holder->setSubmenu(applicationMenu);
    auto mainMenu = Menu::init();
    mainMenu->addItem(holder);
    application().setMainMenu(mainMenu);

    for (const auto& input : c.inputs) {
        switch (input.kind) {
        case Input::Kind::Key:
            w.window->keyDown(input.key);
            break;
        case Input::Kind::Down:
            w.window->mouseDown(input.mouse);
            // A click that opens a menu leaves it open over the control.
            if (w.window->menuTracker() && input.mouse.button == MouseButton::Left) {
                EXPECT_TRUE(w.popUp->isHighlighted()) << c.name;
            }
            break;
        case Input::Kind::Drag:
            w.window->mouseDragged(input.mouse);
            break;
        case Input::Kind::Up:
            w.window->mouseUp(input.mouse);
            break;
        }
    }
    EXPECT_EQ(log->log, c.actions) << c.name;
    EXPECT_EQ(w.window->menuTracker() != nullptr, c.menuOpen) << c.name;
    EXPECT_EQ(w.window->isVisible(), c.visible) << c.name;
    EXPECT_EQ(w.window->pressedControl(), nullptr) << c.name;
    if (!c.menuOpen) {
        EXPECT_FALSE(w.popUp->isHighlighted()) << c.name;
    }
}

// The top button spans x 20..120, y 250..280 in the window; the default button
// 250..350, 12..42; the pop-up 200..350, 250..280; the hidden button 130..230, 10..40.
constexpr Point onTop{60, 265};
constexpr Point onPopUp{300, 265};
constexpr Point onHidden{180, 25};
constexpr Point background{380, 150};
INSTANTIATE_TEST_SUITE_P(
    Inputs, WindowInput,
    ::testing::Values(
        InputCase{"a click works the button under it",
                  {mouse(Input::Kind::Down, onTop), mouse(Input::Kind::Up, onTop)},
                  {"top"}},
        InputCase{
            "a press dragged off the button and released does nothing",
            {mouse(Input::Kind::Down, onTop), mouse(Input::Kind::Drag, background), mouse(Input::Kind::Up, background)},
            {}},
        InputCase{"a press dragged off and back works the button",
                  {mouse(Input::Kind::Down, onTop), mouse(Input::Kind::Drag, background),
                   mouse(Input::Kind::Drag, onTop), mouse(Input::Kind::Up, onTop)},
                  {"top"}},
        InputCase{"a click on a hidden button does nothing",
                  {mouse(Input::Kind::Down, onHidden), mouse(Input::Kind::Up, onHidden)},
                  {}},
        InputCase{"a click on the pop up opens its list", {mouse(Input::Kind::Down, onPopUp)}, {}, true},
        InputCase{"Return presses the default button", {key(Key::Return)}, {"right"}},
        InputCase{"Tab then Space presses the focused button", {key(Key::Tab), key(Key::Space)}, {"top"}},
        InputCase{"Shift Tab goes round to the default button", {key(Key::Tab, true), key(Key::Space)}, {"right"}},
        InputCase{"the keyboard opens the pop up types a model and chooses it",
                  {key(Key::Tab), key(Key::Tab), key(Key::Space), typed("g"), typed("a"), key(Key::Return)},
                  {"model:Gamma"}},
        InputCase{"Down opens the focused pop up and moves in its list",
                  {key(Key::Tab), key(Key::Tab), key(Key::Down), key(Key::Down), key(Key::Return)},
                  {"model:Gamma"}},
        InputCase{"Escape closes an open list without a choice",
                  {key(Key::Tab), key(Key::Tab), key(Key::Space), key(Key::End), key(Key::Escape)},
                  {}},
        InputCase{"Escape leaves a main window open", {key(Key::Escape)}, {}},
        InputCase{"a right click on the background opens the application menu",
                  {mouse(Input::Kind::Down, background, MouseButton::Right)},
                  {},
                  true},
        InputCase{
            "a right click on a control opens nothing", {mouse(Input::Kind::Down, onTop, MouseButton::Right)}, {}},
        InputCase{"the application menus first item is About",
                  {mouse(Input::Kind::Down, background, MouseButton::Right), key(Key::Down), key(Key::Return)},
                  {"about"}},
        InputCase{"Down from About passes the separator to Close",
                  {mouse(Input::Kind::Down, background, MouseButton::Right), key(Key::Down), key(Key::Down),
                   key(Key::Return)},
                  {},
                  false,
                  false},
        InputCase{"Ctrl W is the menus key equivalent and closes the window", {command("w")}, {}, false, false},
        InputCase{"Ctrl Q without such an item does nothing", {command("q")}, {}}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

TEST_F(WindowModelTest, KeyEquivalentsSendTheMenuItemsActionsAndWithoutTargetTheKeyWindowAnswers) {
    auto delegate = std::make_shared<Ender>();
    application().setDelegate(delegate);
    auto app = Application::sharedPointer();
    auto applicationMenu = Menu::init();
    auto quit = MenuItem::initWithTitle("Quit", "terminate", "q");
    quit->setTarget(app);
    applicationMenu->addItem(quit);
    auto file = Menu::init();
    file->addItem(MenuItem::initWithTitle("Close", "performClose", "w"));
    auto mainMenu = Menu::init();
    for (const auto& submenu : {applicationMenu, file}) {
        auto holder = MenuItem::initWithTitle("", "", "");
        holder->setSubmenu(submenu);
        mainMenu->addItem(holder);
    }
    application().setMainMenu(mainMenu);
    ControlsWindow w;
    application().addWindow(w.window);
    w.window->makeKeyAndOrderFront(nullptr);

    EXPECT_FALSE(application().performKeyEquivalent("x"));
    EXPECT_FALSE(application().isTerminated());
    EXPECT_TRUE(application().performKeyEquivalent("w"));
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_TRUE(application().isTerminated()) << "the last window closed";

    Application::reset();
    Application::shared().setMainMenu(mainMenu);
    quit->setTarget(Application::sharedPointer());
    EXPECT_TRUE(Application::shared().performKeyEquivalent("q"));
    EXPECT_TRUE(Application::shared().isTerminated());
}

// The About panel reads the bundle the application runs from, in the user's language.
TEST_F(WindowModelTest, TheAboutPanelShowsTheBundlesLocalizedNameVersionCopyrightAndIcon) {
    testing::TemporaryDirectory dir;
    std::string app = dir / "Docshelf.app";
    dir.makeDirectory("Docshelf.app/Contents/Resources/ja.lproj");
    testing::PropertyListWriter::writeFile(app + "/Contents/Info.plist",
                                           Value::dictionary({{"CFBundleName", "Docshelf"},
                                                              {"CFBundleShortVersionString", "2.5"},
                                                              {"NSHumanReadableCopyright", "(c) Makers"},
                                                              {"CFBundleIconFile", "Shelf"}}),
                                           testing::PlistFormat::Xml);
    dir.write("Docshelf.app/Contents/Resources/ja.lproj/InfoPlist.strings",
              "\"CFBundleDisplayName\" = \"\xE6\x9B\xB8\xE6\x9E\xB6\";\n\"NSHumanReadableCopyright\" = \"(c) JA\";\n");
    testing::PngFile::write(app + "/Contents/Resources/Shelf.png", 8, 8);
    foundation::Bundle::setMainBundlePath(app);
    testing::ScopedLanguage japanese(std::map<std::string, std::string>{{"LANGUAGE", "ja"}});

    auto contents = AboutPanel::contentsOf(foundation::Bundle::mainBundle());
    EXPECT_EQ(contents.name, "\xE6\x9B\xB8\xE6\x9E\xB6");
    EXPECT_EQ(contents.version, "Version 2.5");
    EXPECT_EQ(contents.copyright, "(c) JA");
    ASSERT_NE(contents.icon, nullptr);
    EXPECT_EQ(contents.icon->path(), app + "/Contents/Resources/Shelf.png");
    EXPECT_EQ(Application::name(), "Docshelf");

    // Shown over a main window: Escape closes it, and the main window is key again.
    auto delegate = std::make_shared<Ender>();
    application().setDelegate(delegate);
    ControlsWindow w;
    application().addWindow(w.window);
    w.window->makeKeyAndOrderFront(nullptr);
    w.window->cancelOperation();
    EXPECT_TRUE(w.window->isVisible()) << "Escape closed the main window";
    EXPECT_TRUE(application().performAction("orderFrontStandardAboutPanel", nullptr));
    auto panel = application().aboutPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isKeyWindow());
    EXPECT_EQ(panel->title(), "About \xE6\x9B\xB8\xE6\x9E\xB6") << "titled as a Mac titles it";
    EXPECT_EQ(backend().aboutPanels(), 1);
    panel->cancelOperation();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(w.window->isKeyWindow());
    EXPECT_FALSE(application().isTerminated());

    // A panel left open keeps nothing running once the main window closes.
    application().performAction("orderFrontStandardAboutPanel", nullptr);
    w.window->performClose();
    EXPECT_TRUE(application().isTerminated());
}

struct AboutCase {
    const char* name;
    Input input;
};

void PrintTo(const AboutCase& c, std::ostream* out) {
    *out << c.name;
}

class AboutPanelKeys : public testing::FreshApplication, public ::testing::WithParamInterface<AboutCase> {};

// The About panel in front of the controls window, whose right button is the
// default one and whose File menu's Close (Ctrl+W) has no target: each key closes
// the panel, the main window is key again, and nothing behind the panel is pressed.
TEST_P(AboutPanelKeys, AKeyClosesThePanelInFrontAndPressesNothingBehindIt) {
    const AboutCase& c = GetParam();
    auto log = std::make_shared<ActionLog>();
    application().setDelegate(std::make_shared<Ender>());
    ControlsWindow w;
    w.right->setAction("right");
    w.right->setTarget(log);
    application().addWindow(w.window);
    w.window->makeKeyAndOrderFront(nullptr);
    auto file = Menu::init();
    file->addItem(MenuItem::initWithTitle("Close", "performClose", "w"));
    auto holder = MenuItem::initWithTitle("File", "", "");
    holder->setSubmenu(file);
    auto mainMenu = Menu::init();
    mainMenu->addItem(holder);
    application().setMainMenu(mainMenu);
    application().orderFrontStandardAboutPanel(nullptr);
    auto panel = application().aboutPanel();
    ASSERT_NE(panel, nullptr) << c.name;

    ASSERT_EQ(application().keyWindow(), panel) << c.name << ": keys go to the key window, the panel";
    application().keyWindow()->keyDown(c.input.key);
    EXPECT_FALSE(panel->isVisible()) << c.name;
    EXPECT_TRUE(w.window->isVisible()) << c.name;
    EXPECT_TRUE(w.window->isKeyWindow()) << c.name;
    EXPECT_TRUE(log->log.empty()) << c.name << ": pressed " << log->log.front();
    EXPECT_FALSE(application().isTerminated()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutPanelKeys,
                         ::testing::Values(AboutCase{"Escape", key(Key::Escape)},
                                           AboutCase{"Return presses its OK button", key(Key::Return)},
                                           AboutCase{"Ctrl W closes the key window", command("w")}),
                         [](const auto& about) { return testing::caseName(about.param.name); });

}
}
