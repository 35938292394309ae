#include "OnScreenTest.h"
#include "XvfbServer.h"

#include "CaseName.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/Window.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/fltk/FltkWindow.h"

#include <FL/Fl.H>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

namespace docshelf::fltk {
namespace {

using docshelf::testing::XvfbServer;

using FltkBackendTest = testing::OnScreenTest;

TEST_F(FltkBackendTest, MeasuredTextIsPositiveAndGrowsWithTheText) {
    float previous = 0;
    for (const char* text : {"Q", "QX", "QX-500", "QX-750 Duo documentation"}) {
        appkit::Size size = backend->measureText(text, 13);
        EXPECT_GT(size.width, previous) << text;
        EXPECT_GT(size.height, 0) << text;
        previous = size.width;
    }
    EXPECT_GT(backend->measureText("QX-500", 18).width, backend->measureText("QX-500", 13).width);
    EXPECT_GT(backend->measureText("QX-500", 18).height, backend->measureText("QX-500", 13).height);
}

TEST_F(FltkBackendTest, ScreenSizeIsTheDisplays) {
    EXPECT_EQ(backend->screenSize(), (appkit::Size{1280, 900}));
}

// A window with one button near its lower left corner that ends the application.
struct ClickWindow {
    std::shared_ptr<appkit::Window> window = appkit::Window::initWithContentRect({{100, 100}, {400, 300}});
    std::shared_ptr<appkit::Button> button = appkit::Button::initWithFrame({{20, 10}, {100, 32}});

    ClickWindow() {
        button->setTitle("Quit");
        button->setAction("terminate");
        window->contentView()->addSubview(button);
        appkit::Application::shared().addWindow(window);
        window->makeKeyAndOrderFront(nullptr);
    }
};

struct ClickCase {
    const char* name;
    int x;
    int y;  // FLTK's, from the top
    bool hidden;
    bool ends;
};

void PrintTo(const ClickCase& c, std::ostream* out) {
    *out << c.name;
}

class FltkClickTest : public FltkBackendTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(FltkClickTest, AClickWorksTheButtonUnderIt) {
    const ClickCase& c = GetParam();
    ClickWindow setup;
    setup.button->setHidden(c.hidden);
    auto& application = appkit::Application::shared();
    backend->synchronize(application);
    FltkWindow* shown = backend->windowFor(*setup.window);
    ASSERT_NE(shown, nullptr) << c.name;
    Fl::e_x = c.x;
    Fl::e_y = c.y;
    shown->handle(FL_PUSH);
    shown->handle(FL_RELEASE);
    EXPECT_EQ(application.isTerminated(), c.ends) << c.name;
}

// The button spans x 20..120 and, counted from the top of the 300 high window, y 258..290.
INSTANTIATE_TEST_SUITE_P(Clicks, FltkClickTest,
                         ::testing::Values(ClickCase{"on the button", 60, 275, false, true},
                                           ClickCase{"where the button would be upside down", 60, 25, false, false},
                                           ClickCase{"beside the button", 200, 275, false, false},
                                           ClickCase{"on a hidden button", 60, 275, true, false}),
                         [](const auto& info) { return docshelf::testing::caseName(info.param.name); });

struct KeyCase {
    const char* name;
    std::string keyEquivalent;
    bool hidden;
    bool ends;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class FltkKeyTest : public FltkBackendTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FltkKeyTest, ReturnPressesTheDefaultButton) {
    const KeyCase& c = GetParam();
    ClickWindow setup;
    setup.button->setKeyEquivalent(c.keyEquivalent);
    setup.button->setHidden(c.hidden);
    auto& application = appkit::Application::shared();
    backend->synchronize(application);
    FltkWindow* shown = backend->windowFor(*setup.window);
    ASSERT_NE(shown, nullptr) << c.name;
    Fl::e_keysym = FL_Enter;
    shown->handle(FL_KEYBOARD);
    EXPECT_EQ(application.isTerminated(), c.ends) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Keys, FltkKeyTest,
                         ::testing::Values(KeyCase{"default button", "\r", false, true},
                                           KeyCase{"plain button", "", false, false},
                                           KeyCase{"hidden default button", "\r", true, false}),
                         [](const auto& info) { return docshelf::testing::caseName(info.param.name); });

TEST_F(FltkBackendTest, TheCloseBoxClosesTheModelWindowAndTheScreenFollows) {
    ClickWindow setup;
    auto& application = appkit::Application::shared();
    backend->synchronize(application);
    FltkWindow* shown = backend->windowFor(*setup.window);
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->shown());
    EXPECT_EQ(std::string(shown->label()), "");

    setup.window->setTitle("Documentation");
    backend->synchronize(application);
    EXPECT_EQ(std::string(shown->label()), "Documentation");

    shown->do_callback();
    EXPECT_FALSE(setup.window->isVisible());
    backend->synchronize(application);
    EXPECT_FALSE(shown->shown());
}

TEST_F(FltkBackendTest, TheEventLoopShowsTheWindowsAndEndsWithTheApplication) {
    ClickWindow setup;
    struct Seen {
        FltkBackend* backend;
        appkit::Window* window;
        bool shown = false;
    } seen{backend.get(), setup.window.get()};
    Fl::add_timeout(0.3, [](void* data) {
        auto* seen = static_cast<Seen*>(data);
        FltkWindow* shown = seen->backend->windowFor(*seen->window);
        seen->shown = shown && shown->shown();
        appkit::Application::shared().terminate(nullptr);
    }, &seen);
    EXPECT_EQ(appkit::Application::shared().run(), 0);
    EXPECT_TRUE(seen.shown);
}

}
}
