#include "platform/appkit/ApplicationDelegate.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/Window.h"

#include "FreshApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

using foundation::Value;

class Delegate : public Object, public ApplicationDelegate {
public:
    explicit Delegate(bool terminate = true) : terminate_(terminate) {
        publishAction("fromNowhere", [this](const std::shared_ptr<Object>&) { calls.emplace_back("fromNowhere"); });
    }
    void applicationDidFinishLaunching(const Value& notification) override {
        calls.emplace_back("didFinishLaunching " + std::string(notification.objectForKey("name").text()));
    }
    bool applicationShouldTerminateAfterLastWindowClosed(Application& application) override {
        calls.emplace_back(application.isTerminated() ? "asked after the end" : "asked");
        return terminate_;
    }
    std::vector<std::string> calls;

private:
    bool terminate_;
};

std::shared_ptr<Window> shownWindow(Application& application) {
    auto window = Window::initWithContentRect({{0, 0}, {520, 340}});
    application.addWindow(window);
    window->makeKeyAndOrderFront(nullptr);
    return window;
}

using ApplicationTest = testing::FreshApplication;

TEST_F(ApplicationTest, ClosingTheLastWindowAsksTheDelegateAndEndsOnYes) {
    auto delegate = std::make_shared<Delegate>(true);
    application().setDelegate(delegate);
    auto window = shownWindow(application());
    window->performClose();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"asked"}));
    EXPECT_TRUE(application().isTerminated());
    EXPECT_EQ(backend().stopRequests(), 1);
}

TEST_F(ApplicationTest, ADelegateThatSaysNoKeepsTheApplicationRunning) {
    auto delegate = std::make_shared<Delegate>(false);
    application().setDelegate(delegate);
    shownWindow(application())->performClose();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"asked"}));
    EXPECT_FALSE(application().isTerminated());
}

TEST_F(ApplicationTest, WithoutDelegateClosingTheLastWindowEndsNothing) {
    shownWindow(application())->performClose();
    EXPECT_FALSE(application().isTerminated());
}

TEST_F(ApplicationTest, OnlyTheLastVisibleWindowLeadsToTheQuestion) {
    auto delegate = std::make_shared<Delegate>(true);
    application().setDelegate(delegate);
    auto first = shownWindow(application());
    auto second = shownWindow(application());
    first->performClose();
    EXPECT_TRUE(delegate->calls.empty());
    first->performClose(); // closing a closed window again asks nothing
    EXPECT_TRUE(delegate->calls.empty());
    second->performClose();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"asked"}));
    EXPECT_TRUE(application().isTerminated());
}

TEST_F(ApplicationTest, AWindowNeverAddedToTheApplicationEndsNothing) {
    auto delegate = std::make_shared<Delegate>(true);
    application().setDelegate(delegate);
    auto loose = Window::initWithContentRect({{0, 0}, {100, 100}});
    loose->makeKeyAndOrderFront(nullptr);
    loose->performClose();
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_FALSE(application().isTerminated());
}

TEST_F(ApplicationTest, OneWindowIsKeyAtATime) {
    auto first = shownWindow(application());
    auto second = shownWindow(application());
    EXPECT_FALSE(first->isKeyWindow());
    EXPECT_TRUE(second->isKeyWindow());
    EXPECT_EQ(application().keyWindow(), second);
    first->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(application().keyWindow(), first);
    EXPECT_TRUE(second->isVisible());
}

TEST_F(ApplicationTest, CenterPlacesTheWindowAcrossTheScreenAndALittleAboveTheMiddle) {
    Application::reset(std::make_shared<HeadlessBackend>(Size{1440, 900}));
    auto window = Window::initWithContentRect({{5, 5}, {520, 340}});
    window->center();
    // Spare height 560: a third above, two thirds below.
    EXPECT_EQ(window->frame(), (Rect{{460, 373}, {520, 340}}));
    EXPECT_EQ(window->contentView()->frame(), (Rect{{0, 0}, {520, 340}}));
}

TEST_F(ApplicationTest, TerminateEndsTheRunOnceAndTheLoopDoesNotStartAfterwards) {
    EXPECT_EQ(application().run(), 0);
    EXPECT_EQ(backend().eventLoopRuns(), 1);
    application().terminate(nullptr);
    application().terminate(nullptr);
    EXPECT_TRUE(application().isTerminated());
    EXPECT_EQ(backend().stopRequests(), 1);
    EXPECT_EQ(application().run(), 0);
    EXPECT_EQ(backend().eventLoopRuns(), 1);
}

TEST_F(ApplicationTest, FinishLaunchingTellsTheDelegateOnce) {
    auto delegate = std::make_shared<Delegate>();
    application().setDelegate(delegate);
    application().finishLaunching();
    application().finishLaunching();
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"didFinishLaunching NSApplicationDidFinishLaunchingNotification"}));
}

TEST_F(ApplicationTest, MenuItemsReachTheApplicationsActions) {
    auto app = Application::sharedPointer();
    auto quit = MenuItem::initWithTitle("Quit", "terminate", "q");
    auto hide = MenuItem::initWithTitle("Hide", "hide", "h");
    auto showAll = MenuItem::initWithTitle("Show All", "unhideAllApplications", "");
    auto about = MenuItem::initWithTitle("About", "orderFrontStandardAboutPanel", "");
    for (const auto& item : {quit, hide, showAll, about})
        item->setTarget(app);

    EXPECT_TRUE(hide->sendAction());
    EXPECT_TRUE(application().isHidden());
    EXPECT_TRUE(showAll->sendAction());
    EXPECT_FALSE(application().isHidden());
    EXPECT_TRUE(about->sendAction());
    EXPECT_EQ(backend().aboutPanels(), 1);
    EXPECT_FALSE(application().isTerminated());
    EXPECT_TRUE(quit->sendAction());
    EXPECT_TRUE(application().isTerminated());
}

TEST_F(ApplicationTest, AnActionWithoutTargetGoesToTheApplicationThenItsDelegate) {
    auto delegate = std::make_shared<Delegate>();
    application().setDelegate(delegate);
    auto button = std::make_shared<Button>();
    button->setAction("fromNowhere");
    EXPECT_TRUE(button->sendAction());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"fromNowhere"}));
    button->setAction("terminate");
    EXPECT_TRUE(button->sendAction());
    EXPECT_TRUE(application().isTerminated());
    button->setAction("nobodyHasThis");
    EXPECT_FALSE(button->sendAction());
    button->setAction("");
    EXPECT_FALSE(button->sendAction());
}

TEST_F(ApplicationTest, ResetGivesAFreshApplication) {
    application().terminate(nullptr);
    Application::reset();
    EXPECT_FALSE(application().isTerminated());
    EXPECT_TRUE(application().windows().empty());
    EXPECT_EQ(application().mainMenu(), nullptr);
}

}
}
