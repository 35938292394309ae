#include "platform/appkit/Button.h"
#include "platform/appkit/Outlet.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"

#include "FreshApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

using foundation::Value;

// A controller as the application writes them: published keys, outlets, actions.
class Controller : public Object {
public:
    Controller() {
        publish("title");
        publish("hiddenFlag");
        publish("title"); // published twice still counts once
        publishOutlet("field", field);
        publishOutlet("window", window);
        publishAction("press", [this](const std::shared_ptr<Object>& sender) { senders.push_back(sender); });
    }

    Outlet<TextField> field;
    Outlet<Window> window;
    std::vector<std::shared_ptr<Object>> senders;
};

using ObjectTest = testing::FreshApplication;

TEST_F(ObjectTest, PublishedKeysKeepDeclarationOrderAndUnknownKeysAreIgnored) {
    Controller controller;
    EXPECT_EQ(controller.publishedKeys(), (std::vector<std::string>{"title", "hiddenFlag"}));
    controller.setValue("Docshelf", "title");
    controller.setValue("stray", "notPublished");
    EXPECT_TRUE(controller.valueForKey("title").isEqualToString("Docshelf"));
    EXPECT_TRUE(controller.valueForKey("notPublished").isAbsent());
    EXPECT_EQ(controller.publishedKeys().size(), 2u);
}

TEST_F(ObjectTest, ObserversSeeTheNewValueBeforeSetValueReturns) {
    Controller controller;
    std::vector<std::string> seen;
    controller.addObserver("title", [&](const Value& value) {
        // The stored value is already the new one when observers run.
        EXPECT_TRUE(controller.valueForKey("title").isEqualToString(value));
        seen.emplace_back(value.text());
    });
    controller.addObserver("hiddenFlag", [&](const Value&) { seen.emplace_back("wrong key"); });
    controller.setValue("first", "title");
    controller.setValue("first", "title"); // the same value again still notifies
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "first"}));
}

TEST_F(ObjectTest, AnObserverMaySetValuesAndAddObserversWhileBeingNotified) {
    Controller controller;
    int later = 0;
    controller.addObserver("title", [&](const Value&) {
        controller.setValue(Value::boolean(true), "hiddenFlag");
        controller.addObserver("title", [&](const Value&) { ++later; });
    });
    controller.setValue("x", "title");
    EXPECT_TRUE(controller.valueForKey("hiddenFlag").boolValue());
    EXPECT_EQ(later, 0);
    controller.setValue("y", "title");
    EXPECT_EQ(later, 1);
}

TEST_F(ObjectTest, ActionsAreFoundByExactName) {
    auto controller = std::make_shared<Controller>();
    auto sender = std::make_shared<Button>();
    EXPECT_TRUE(controller->performAction("press", sender));
    EXPECT_FALSE(controller->performAction("Press", sender));
    EXPECT_FALSE(controller->performAction("press:", sender));
    ASSERT_EQ(controller->senders.size(), 1u);
    EXPECT_EQ(controller->senders[0], sender);
}

TEST_F(ObjectTest, OutletsConnectByNameAndRefuseAnotherClass) {
    Controller controller;
    auto field = std::make_shared<TextField>();
    EXPECT_TRUE(controller.connectOutlet("field", field));
    EXPECT_EQ(controller.field.get(), field.get());
    EXPECT_FALSE(controller.connectOutlet("nothing", field));

    EXPECT_FALSE(controller.connectOutlet("window", std::make_shared<Button>()));
    EXPECT_FALSE(controller.window.isConnected());
    // A wrong class also drops what was connected before.
    EXPECT_FALSE(controller.connectOutlet("field", std::make_shared<Button>()));
    EXPECT_FALSE(controller.field.isConnected());
}

TEST_F(ObjectTest, AnUnconnectedOutletIsInertAndReadsAsEmpty) {
    Outlet<TextField> field;
    Outlet<PopUpButton> popUp;
    Outlet<Window> window;
    field->setFrame({{10, 20}, {30, 40}});
    field->setStringValue("lost");
    field->sizeToFit();
    EXPECT_EQ(field->frame(), Rect{});
    EXPECT_EQ(field->stringValue(), "");
    EXPECT_EQ(field->displayRequests(), 0);

    popUp->setMenu(Menu::init());
    popUp->selectItemWithTitle("anything");
    EXPECT_TRUE(popUp->titleOfSelectedItem().isAbsent());
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
    EXPECT_FALSE(popUp->isHidden());

    window->makeKeyAndOrderFront(nullptr);
    window->performClose();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(application().isTerminated());
    EXPECT_TRUE(application().windows().empty());
}

TEST_F(ObjectTest, ABindingShowsTheValueAtOnceAndOnEverySetValue) {
    auto controller = std::make_shared<Controller>();
    controller->setValue("before", "title");
    auto field = std::make_shared<TextField>();
    ASSERT_TRUE(field->bind("value", controller, "title"));
    EXPECT_EQ(field->stringValue(), "before");
    controller->setValue("after", "title");
    EXPECT_EQ(field->stringValue(), "after");
    controller->setValue(Value(), "title");
    EXPECT_EQ(field->stringValue(), "");
}

TEST_F(ObjectTest, BindingsOfEachKindShowTheirValue) {
    auto controller = std::make_shared<Controller>();
    auto button = std::make_shared<Button>();
    auto window = std::make_shared<Window>();
    ASSERT_TRUE(button->bind("title", controller, "title"));
    ASSERT_TRUE(button->bind("hidden", controller, "hiddenFlag"));
    ASSERT_TRUE(window->bind("title", controller, "title"));
    EXPECT_FALSE(button->bind("value", controller, "title"));
    EXPECT_FALSE(window->bind("hidden", controller, "hiddenFlag"));

    controller->setValue("Close", "title");
    controller->setValue(Value::boolean(true), "hiddenFlag");
    EXPECT_EQ(button->title(), "Close");
    EXPECT_EQ(window->title(), "Close");
    EXPECT_TRUE(button->isHidden());
    controller->setValue(Value::boolean(false), "hiddenFlag");
    EXPECT_FALSE(button->isHidden());
}

TEST_F(ObjectTest, ABoundControlThatWentAwayIsNoLongerUpdated) {
    auto controller = std::make_shared<Controller>();
    std::weak_ptr<TextField> gone;
    {
        auto field = std::make_shared<TextField>();
        ASSERT_TRUE(field->bind("value", controller, "title"));
        gone = field;
    }
    EXPECT_TRUE(gone.expired());
    controller->setValue("no one listens", "title");
    EXPECT_TRUE(controller->valueForKey("title").isEqualToString("no one listens"));
}

TEST_F(ObjectTest, AnObjectNotOwnedBySharedPointerCannotBeBound) {
    auto controller = std::make_shared<Controller>();
    TextField onStack;
    EXPECT_FALSE(onStack.bind("value", controller, "title"));
}

}
}
