#include "OnScreenTest.h"
#include "XvfbServer.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/Window.h"
#include "platform/fltk/DecodedPictures.h"
#include "platform/fltk/FltkBackend.h"
#include "platform/fltk/FltkGraphicsContext.h"
#include "platform/fltk/FltkWindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Image_Surface.H>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace docshelf::fltk {
namespace {

using docshelf::testing::XvfbServer;

using FltkBackendTest = testing::OnScreenTest;

TEST_F(FltkBackendTest, MeasuredTextIsPositiveAndGrowsWithTheText) {
    float previous = 0;
    for (const char* text : {"Q", "QX", "QX-500", "QX-750 Duo documentation"}) {
        appkit::Size size = backend->measureText(text, {13});
        EXPECT_GT(size.width, previous) << text;
        EXPECT_GT(size.height, 0) << text;
        previous = size.width;
    }
    EXPECT_GT(backend->measureText("QX-500", {18}).width, backend->measureText("QX-500", {13}).width);
    EXPECT_GT(backend->measureText("QX-500", {18}).height, backend->measureText("QX-500", {13}).height);
    // A bold field is fitted to its bold text, which is wider.
    EXPECT_GT(backend->measureText("QX-500 Duo", {13, true}).width, backend->measureText("QX-500 Duo", {13}).width);
}

// render draws one background in every window it pictures.
TEST_F(FltkBackendTest, APictureDrawnInManyWindowsIsDecodedOnce) {
    auto image = appkit::Image::readPicture(std::string(DOCSHELF_APP_DIR) + "/Contents/Resources/Background.png").image;
    ASSERT_NE(image, nullptr);
    std::size_t before = DecodedPictures::decodeCount();
    for (int window = 0; window < 3; ++window) {
        Fl_Image_Surface surface(52, 34);
        surface.set_current();
        FltkGraphicsContext context;
        context.setWindowHeight(34);
        context.drawImage(*image, appkit::zeroPoint, {52, 34}, appkit::CompositingOperation::SourceOver);
        Fl_Display_Device::display_device()->set_current();
    }
    EXPECT_EQ(DecodedPictures::decodeCount() - before, 1u);
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
    Fl::add_timeout(
        0.3,
        [](void* data) {
            auto* state = static_cast<Seen*>(data);
            FltkWindow* shown = state->backend->windowFor(*state->window);
            state->shown = shown && shown->shown();
            appkit::Application::shared().terminate(nullptr);
        },
        &seen);
    EXPECT_EQ(appkit::Application::shared().run(), 0);
    EXPECT_TRUE(seen.shown);
}

}
}
