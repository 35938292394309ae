#include "platform/appkit/ApplicationDelegate.h"
#include "platform/appkit/ApplicationMain.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/ClassRegistry.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/NibLoader.h"
#include "platform/appkit/Outlet.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"

#include "FreshApplication.h"
#include "PropertyListWriter.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

using foundation::Value;
using testing::PlistFormat;
using testing::PropertyListWriter;

// What every test object writes down, in order, across objects.
std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

class TestDelegate : public Object, public ApplicationDelegate {
public:
    TestDelegate() {
        publish("title");
        publish("text");
        publish("flag");
        publishOutlet("window", window);
        publishOutlet("field", field);
        publishOutlet("popUp", popUp);
        publishAction("press", [this](const std::shared_ptr<Object>& sender) { pressedBy = sender; });
    }
    void awakeFromNib() override {
        auto menu = Application::shared().mainMenu();
        journal().push_back(std::string("delegate awake, menu ") + (menu ? "installed" : "missing") + ", field " +
                            (field.isConnected() ? field->stringValue() : "unconnected"));
        setValue("Loaded", "title");
    }
    void applicationDidFinishLaunching(const Value&) override { journal().emplace_back("delegate launched"); }
    bool applicationShouldTerminateAfterLastWindowClosed(Application&) override { return true; }

    Outlet<Window> window;
    Outlet<TextField> field;
    Outlet<PopUpButton> popUp;
    std::shared_ptr<Object> pressedBy;
};

class CountingView : public View {
public:
    void awakeFromNib() override { journal().emplace_back("view awake"); }
};

Value dict(std::vector<Value::Entry> entries) {
    return Value::dictionary(std::move(entries));
}

Value array(std::vector<Value> elements) {
    return Value::array(std::move(elements));
}

Value frame(double x, double y, double width, double height) {
    return array({Value::real(x), Value::real(y), Value::real(width), Value::real(height)});
}

Value object(std::string id, std::string className, std::vector<Value::Entry> more = {}) {
    more.insert(more.begin(), {{"id", Value(id)}, {"class", Value(className)}});
    return dict(std::move(more));
}

// A small but complete description; each broken case below changes one part.
struct Parts {
    std::vector<Value> objects{
        object("delegate", "TestDelegate"),
        object(
            "window", "NSWindow",
            {{"frame", frame(0, 0, 400, 300)}, {"properties", dict({{"showsResizeIndicator", Value::boolean(true)}})}}),
        object("field", "NSTextField",
               {{"superview", "window"},
                {"frame", frame(10, 250, 100, 20)},
                {"properties", dict({{"stringValue", "initial"},
                                     {"alignment", "right"},
                                     {"fontSize", Value::integer(12)},
                                     {"editable", Value::boolean(false)},
                                     {"bezeled", Value::boolean(false)},
                                     {"bold", Value::boolean(true)},
                                     {"wraps", Value::boolean(true)}})}}),
        object("button", "NSButton",
               {{"superview", "window"}, {"frame", frame(300, 10, 80, 32)}, {"comment", "the only button"}}),
        object("popUp", "NSPopUpButton", {{"superview", "window"}, {"frame", frame(120, 248, 200, 26)}}),
        object("counter", "CountingView", {{"superview", "field"}}),
    };
    std::vector<Value> outlets{
        dict({{"object", "delegate"}, {"outlet", "window"}, {"destination", "window"}}),
        dict({{"object", "delegate"}, {"outlet", "field"}, {"destination", "field"}}),
    };
    std::vector<Value> bindings{
        dict({{"object", "window"}, {"binding", "title"}, {"observed", "delegate"}, {"key", "title"}}),
        dict({{"object", "field"}, {"binding", "value"}, {"observed", "delegate"}, {"key", "text"}}),
        dict({{"object", "button"}, {"binding", "hidden"}, {"observed", "delegate"}, {"key", "flag"}}),
    };
    std::vector<Value> actions{
        dict({{"control", "button"}, {"action", "press"}, {"target", "delegate"}}),
    };
    Value mainMenu =
        dict({{"title", "MainMenu"},
              {"items", array({dict({{"title", "Documentation"},
                                     {"submenu", dict({{"title", "Documentation"},
                                                       {"items", array({dict({{"separator", Value::boolean(true)}}),
                                                                        dict({{"title", "Quit"},
                                                                              {"action", "terminate"},
                                                                              {"keyEquivalent", "q"},
                                                                              {"target", "NSApp"}})})}})}})})}});
    Value delegate = "delegate";
    std::vector<Value::Entry> extra;

    Value build() const {
        std::vector<Value::Entry> root{{"objects", array(objects)},   {"outlets", array(outlets)},
                                       {"bindings", array(bindings)}, {"actions", array(actions)},
                                       {"mainMenu", mainMenu},        {"delegate", delegate}};
        for (const auto& entry : extra)
            root.push_back(entry);
        return dict(std::move(root));
    }
};

class NibLoaderTest : public testing::FreshApplication {
protected:
    void SetUp() override {
        FreshApplication::SetUp();
        journal().clear();
        ClassRegistry::registerClass("TestDelegate", [] { return std::make_shared<TestDelegate>(); });
        ClassRegistry::registerClass("CountingView", [] { return std::make_shared<CountingView>(); });
    }
};

TEST_F(NibLoaderTest, LoadingCreatesConnectsInstallsAndWakesEachObjectOnce) {
    auto result = NibLoader::load(Parts().build());
    ASSERT_TRUE(result.ok()) << result.error();

    auto delegate = result.objectAs<TestDelegate>("delegate");
    auto window = result.objectAs<Window>("window");
    auto field = result.objectAs<TextField>("field");
    ASSERT_TRUE(delegate && window && field);
    EXPECT_EQ(delegate->window.get(), window.get());
    EXPECT_EQ(delegate->field.get(), field.get());
    EXPECT_FALSE(delegate->popUp.isConnected());
    EXPECT_EQ(delegate->popUp->frame(), Rect{});

    EXPECT_EQ(window->frame(), (Rect{{0, 0}, {400, 300}}));
    EXPECT_EQ(field->frame(), (Rect{{10, 250}, {100, 20}}));
    EXPECT_EQ(field->alignment(), TextAlignment::Right);
    EXPECT_EQ(field->font(), (Font{12, true}));
    EXPECT_TRUE(field->wraps());
    EXPECT_FALSE(field->isEditable());
    EXPECT_FALSE(field->isBezeled());
    ASSERT_EQ(window->contentView()->subviews().size(), 3u);
    EXPECT_EQ(window->contentView()->subviews()[0], field);
    EXPECT_EQ(field->subviews()[0], result.object("counter"));

    EXPECT_EQ(application().windows(), (std::vector<std::shared_ptr<Window>>{window}));
    EXPECT_EQ(std::dynamic_pointer_cast<TestDelegate>(application().delegate()), delegate);
    ASSERT_NE(application().mainMenu(), nullptr);
    EXPECT_EQ(application().mainMenu(), result.mainMenu());

    // The binding showed the absent text at once, replacing the initial string,
    // before any object woke; the delegate's awakeFromNib then set the title.
    EXPECT_EQ(journal(), (std::vector<std::string>{"delegate awake, menu installed, field ", "view awake"}));
    EXPECT_EQ(window->title(), "Loaded");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(NibLoaderTest, BindingsFollowEverySetValue) {
    auto result = NibLoader::load(Parts().build());
    ASSERT_TRUE(result.ok()) << result.error();
    auto delegate = result.objectAs<TestDelegate>("delegate");
    auto field = result.objectAs<TextField>("field");
    auto button = result.objectAs<Button>("button");
    delegate->setValue("Model: ", "text");
    EXPECT_EQ(field->stringValue(), "Model: ");
    delegate->setValue(Value::boolean(true), "flag");
    EXPECT_TRUE(button->isHidden());
}

TEST_F(NibLoaderTest, ActionsAndTheMainMenuReachTheirTargets) {
    auto result = NibLoader::load(Parts().build());
    ASSERT_TRUE(result.ok()) << result.error();
    auto button = result.objectAs<Button>("button");
    button->performClick();
    EXPECT_EQ(result.objectAs<TestDelegate>("delegate")->pressedBy, button);

    auto appMenu = application().mainMenu()->itemWithTitle("Documentation")->submenu();
    ASSERT_NE(appMenu, nullptr);
    ASSERT_EQ(appMenu->numberOfItems(), 2u);
    EXPECT_TRUE(appMenu->itemAtIndex(0)->isSeparatorItem());
    auto quit = appMenu->itemWithTitle("Quit");
    ASSERT_NE(quit, nullptr);
    EXPECT_FALSE(quit->isSeparatorItem());
    EXPECT_EQ(quit->keyEquivalent(), "q");
    EXPECT_TRUE(quit->sendAction());
    EXPECT_TRUE(application().isTerminated());
}

TEST_F(NibLoaderTest, ClosingTheLoadedWindowEndsTheApplication) {
    auto result = NibLoader::load(Parts().build());
    ASSERT_TRUE(result.ok()) << result.error();
    application().finishLaunching();
    auto window = result.objectAs<Window>("window");
    window->makeKeyAndOrderFront(nullptr);
    window->performClose();
    EXPECT_TRUE(application().isTerminated());
}

struct BrokenCase {
    const char* name;
    std::function<Value()> build;
    std::string entry;
    std::string message; // part of the message
};

Parts with(const std::function<void(Parts&)>& change) {
    Parts parts;
    change(parts);
    return parts;
}

std::vector<BrokenCase> brokenCases() {
    return {
        {"rootNotDictionary", [] { return array({}); }, "", "not a dictionary"},
        {"unknownTopLevelKey",
         [] {
             return with([](Parts& p) { p.extra.push_back({"windows", array({})}); }).build();
         },
         "", "unknown key \"windows\""},
        {"noObjects",
         [] {
             return dict({{"delegate", "x"}});
         },
         "objects", "needs an array of objects"},
        {"objectNotDictionary",
         [] { return with([](Parts& p) { p.objects.insert(p.objects.begin(), "window"); }).build(); }, "objects[0]",
         "must be a dictionary"},
        {"missingId",
         [] {
             return with([](Parts& p) { p.objects[1] = dict({{"class", "NSWindow"}}); }).build();
         },
         "objects[1]", "needs an \"id\""},
        {"duplicateId", [] { return with([](Parts& p) { p.objects.push_back(object("window", "NSView")); }).build(); },
         "objects[6] \"window\"", "taken"},
        {"reservedId", [] { return with([](Parts& p) { p.objects.push_back(object("NSApp", "NSView")); }).build(); },
         "objects[6] \"NSApp\"", "taken"},
        {"unknownClass", [] { return with([](Parts& p) { p.objects[4] = object("popUp", "NSTableView"); }).build(); },
         "objects[4] \"popUp\"", "unknown class \"NSTableView\""},
        {"unknownObjectKey",
         [] {
             return with([](Parts& p) {
                        p.objects[4] = object("popUp", "NSPopUpButton", {{"superveiw", "window"}});
                    })
                 .build();
         },
         "objects[4] \"popUp\"", "unknown key \"superveiw\""},
        {"frameOfThree",
         [] {
             return with([](Parts& p) {
                        p.objects[1] =
                            object("window", "NSWindow",
                                   {{"frame", array({Value::integer(1), Value::integer(2), Value::integer(3)})}});
                    })
                 .build();
         },
         "objects[1] \"window\"", "[x, y, width, height]"},
        {"frameNegativeWidth",
         [] {
             return with([](Parts& p) {
                        p.objects[1] = object("window", "NSWindow", {{"frame", frame(0, 0, -1, 10)}});
                    })
                 .build();
         },
         "objects[1] \"window\"", "[x, y, width, height]"},
        {"frameNotANumber",
         [] {
             return with([](Parts& p) {
                        p.objects[1] = object("window", "NSWindow", {{"frame", frame(0, 0, std::nan(""), 10)}});
                    })
                 .build();
         },
         "objects[1] \"window\"", "[x, y, width, height]"},
        {"frameOnePastTheLargestSide",
         [] {
             return with([](Parts& p) {
                        p.objects[1] = object("window", "NSWindow", {{"frame", frame(0, 0, 4097, 10)}});
                    })
                 .build();
         },
         "objects[1] \"window\"", "from 0 to 4096"},
        {"frameOriginFarOff",
         [] {
             return with([](Parts& p) {
                        p.objects[3] = object("button", "NSButton", {{"frame", frame(0, -16385, 10, 10)}});
                    })
                 .build();
         },
         "objects[3] \"button\"", "within 16384 of 0"},
        {"frameOfStrings",
         [] {
             return with([](Parts& p) {
                        p.objects[1] = object("window", "NSWindow", {{"frame", array({"0", "0", "1", "1"})}});
                    })
                 .build();
         },
         "objects[1] \"window\"", "[x, y, width, height]"},
        {"frameOnNonView",
         [] {
             return with([](Parts& p) {
                        p.objects[0] = object("delegate", "TestDelegate", {{"frame", frame(0, 0, 1, 1)}});
                    })
                 .build();
         },
         "objects[0] \"delegate\"", "only views and windows"},
        {"unknownProperty",
         [] {
             return with([](Parts& p) {
                        p.objects[3] = object("button", "NSButton", {{"properties", dict({{"colour", "red"}})}});
                    })
                 .build();
         },
         "objects[3] \"button\"", "no property \"colour\""},
        {"propertyOfWrongKind",
         [] {
             return with([](Parts& p) {
                        p.objects[2] = object("field", "NSTextField", {{"properties", dict({{"fontSize", "big"}})}});
                    })
                 .build();
         },
         "objects[2] \"field\"", "\"fontSize\" has a value of the wrong kind"},
        {"fontSizeHuge",
         [] {
             return with([](Parts& p) {
                        p.objects[2] =
                            object("field", "NSTextField", {{"properties", dict({{"fontSize", Value::real(1e9)}})}});
                    })
                 .build();
         },
         "objects[2] \"field\"", "\"fontSize\" must be from 1 to 288 points"},
        {"fontSizeNegative",
         [] {
             return with([](Parts& p) {
                        p.objects[2] =
                            object("field", "NSTextField", {{"properties", dict({{"fontSize", Value::integer(-13)}})}});
                    })
                 .build();
         },
         "objects[2] \"field\"", "\"fontSize\" must be from 1 to 288 points"},
        {"fontSizeNotANumber",
         [] {
             return with([](Parts& p) {
                        p.objects[2] = object("field", "NSTextField",
                                              {{"properties", dict({{"fontSize", Value::real(std::nan(""))}})}});
                    })
                 .build();
         },
         "objects[2] \"field\"", "\"fontSize\" must be from 1 to 288 points"},
        {"unknownAlignment",
         [] {
             return with([](Parts& p) {
                        p.objects[2] =
                            object("field", "NSTextField", {{"properties", dict({{"alignment", "middle"}})}});
                    })
                 .build();
         },
         "objects[2] \"field\"", "\"alignment\" has a value of the wrong kind"},
        {"hiddenAsNumber",
         [] {
             return with([](Parts& p) {
                        p.objects[3] =
                            object("button", "NSButton", {{"properties", dict({{"hidden", Value::integer(1)}})}});
                    })
                 .build();
         },
         "objects[3] \"button\"", "\"hidden\" has a value of the wrong kind"},
        {"unknownSuperview",
         [] {
             return with([](Parts& p) {
                        p.objects[3] = object("button", "NSButton", {{"superview", "panel"}});
                    })
                 .build();
         },
         "objects[3] \"button\"", "names no object: \"panel\""},
        {"superviewIsNoView",
         [] {
             return with([](Parts& p) {
                        p.objects[3] = object("button", "NSButton", {{"superview", "delegate"}});
                    })
                 .build();
         },
         "objects[3] \"button\"", "TestDelegate, not a view or window"},
        {"superviewLoop",
         [] {
             return with([](Parts& p) {
                        p.objects.push_back(object("a", "NSView", {{"superview", "b"}}));
                        p.objects.push_back(object("b", "NSView", {{"superview", "a"}}));
                    })
                 .build();
         },
         "objects[7] \"b\"", "contain itself"},
        {"viewsTooDeep",
         [] {
             return with([](Parts& p) {
                        p.objects.push_back(object("v0", "NSView", {{"superview", "window"}}));
                        for (int i = 1; i <= 70; ++i)
                            p.objects.push_back(object("v" + std::to_string(i), "NSView",
                                                       {{"superview", "v" + std::to_string(i - 1)}}));
                    })
                 .build();
         },
         "objects[70] \"v64\"", "deeper than 64"},
        {"viewsTooDeepListedInnermostFirst",
         [] {
             return with([](Parts& p) {
                        for (int i = 70; i >= 1; --i)
                            p.objects.push_back(object("v" + std::to_string(i), "NSView",
                                                       {{"superview", "v" + std::to_string(i - 1)}}));
                        p.objects.push_back(object("v0", "NSView", {{"superview", "window"}}));
                    })
                 .build();
         },
         "objects[6] \"v70\"", "deeper than 64"},
        {"windowWithSuperview",
         [] {
             return with([](Parts& p) {
                        p.objects[1] = object("window", "NSWindow", {{"superview", "field"}});
                    })
                 .build();
         },
         "objects[1] \"window\"", "only views have a superview"},
        {"outletsNotArray",
         [] {
             return dict({{"objects", array(Parts().objects)}, {"outlets", "window"}});
         },
         "outlets", "must be an array"},
        {"unknownOutlet",
         [] {
             return with([](Parts& p) {
                        p.outlets.push_back(
                            dict({{"object", "delegate"}, {"outlet", "windw"}, {"destination", "window"}}));
                    })
                 .build();
         },
         "outlets[2]", "a TestDelegate has no outlet \"windw\""},
        {"outletOfWrongClass",
         [] {
             return with([](Parts& p) {
                        p.outlets.push_back(
                            dict({{"object", "delegate"}, {"outlet", "popUp"}, {"destination", "button"}}));
                    })
                 .build();
         },
         "outlets[2]", "outlet \"popUp\" cannot hold a NSButton"},
        {"outletToNothing",
         [] {
             return with([](Parts& p) {
                        p.outlets.push_back(dict({{"object", "delegate"}, {"outlet", "popUp"}}));
                    })
                 .build();
         },
         "outlets[2]", "\"destination\" must name an object"},
        {"unknownBinding",
         [] {
             return with([](Parts& p) {
                        p.bindings.push_back(dict(
                            {{"object", "field"}, {"binding", "valu"}, {"observed", "delegate"}, {"key", "text"}}));
                    })
                 .build();
         },
         "bindings[3]", "a NSTextField has no binding \"valu\""},
        {"unpublishedKey",
         [] {
             return with([](Parts& p) {
                        p.bindings.push_back(dict(
                            {{"object", "field"}, {"binding", "value"}, {"observed", "delegate"}, {"key", "txt"}}));
                    })
                 .build();
         },
         "bindings[3]", "a TestDelegate publishes no key \"txt\""},
        {"bindingToApplication",
         [] {
             return with([](Parts& p) {
                        p.bindings.push_back(
                            dict({{"object", "field"}, {"binding", "value"}, {"observed", "NSApp"}, {"key", "text"}}));
                    })
                 .build();
         },
         "bindings[3]", "names no object: \"NSApp\""},
        {"targetWithoutTheAction",
         [] {
             return with([](Parts& p) {
                        p.actions.push_back(
                            dict({{"control", "button"}, {"action", "closeApp"}, {"target", "delegate"}}));
                    })
                 .build();
         },
         "actions[1]", "a TestDelegate has no action \"closeApp\""},
        {"actionOfNoControl",
         [] {
             return with([](Parts& p) {
                        p.actions.push_back(dict({{"control", "window"}, {"action", "press"}, {"target", "delegate"}}));
                    })
                 .build();
         },
         "actions[1]", "a NSWindow is not a control"},
        {"actionWithoutName",
         [] {
             return with([](Parts& p) {
                        p.actions.push_back(dict({{"control", "button"}, {"target", "delegate"}}));
                    })
                 .build();
         },
         "actions[1]", "needs an \"action\" name"},
        {"menuItemWithoutTitle",
         [] {
             return with([](Parts& p) {
                        p.mainMenu = dict({{"items", array({dict({{"action", "terminate"}})})}});
                    })
                 .build();
         },
         "mainMenu.items[0]", "needs a \"title\" string"},
        {"separatorNotTrue",
         [] {
             return with([](Parts& p) {
                        p.mainMenu = dict({{"items", array({dict({{"separator", Value::boolean(false)}})})}});
                    })
                 .build();
         },
         "mainMenu.items[0]", "\"separator\" must be true"},
        {"separatorWithTitle",
         [] {
             return with([](Parts& p) {
                        p.mainMenu =
                            dict({{"items", array({dict({{"separator", Value::boolean(true)}, {"title", "Quit"}})})}});
                    })
                 .build();
         },
         "mainMenu.items[0]", "unknown key \"title\""},
        {"menuWithoutItems",
         [] {
             return with([](Parts& p) { p.mainMenu = dict({{"title", "MainMenu"}}); }).build();
         },
         "mainMenu", "needs an \"items\" array"},
        {"menuTargetWithoutAction",
         [] {
             return with([](Parts& p) {
                        p.mainMenu = dict({{"items", array({dict({{"title", "Quit"}, {"target", "NSApp"}})})}});
                    })
                 .build();
         },
         "mainMenu.items[0]", "a target without an action"},
        {"menuTargetLacksAction",
         [] {
             return with([](Parts& p) {
                        p.mainMenu = dict(
                            {{"items", array({dict({{"title", "Quit"}, {"action", "quit"}, {"target", "NSApp"}})})}});
                    })
                 .build();
         },
         "mainMenu.items[0]", "a NSApplication has no action \"quit\""},
        {"menusTooDeep",
         [] {
             return with([](Parts& p) {
                        Value menu = dict({{"items", array({})}});
                        for (int i = 0; i < 9; ++i)
                            menu = dict({{"items", array({dict({{"title", "deeper"}, {"submenu", menu}})})}});
                        p.mainMenu = menu;
                    })
                 .build();
         },
         "mainMenu.items[0].submenu.items[0].submenu.items[0].submenu.items[0].submenu.items[0].submenu.items[0]."
         "submenu.items[0].submenu.items[0].submenu",
         "deeper than 8"},
        {"delegateOfWrongClass", [] { return with([](Parts& p) { p.delegate = "window"; }).build(); }, "delegate",
         "a NSWindow cannot be the application's delegate"},
        {"delegateUnknown", [] { return with([](Parts& p) { p.delegate = "controller"; }).build(); }, "delegate",
         "names no object: \"controller\""},
    };
}

TEST_F(NibLoaderTest, FontSizesAndFramesAtTheirBoundsLoad) {
    for (double fontSize : {1.0, 288.0}) {
        auto result = NibLoader::load(
            with([fontSize](Parts& p) {
                p.objects[1] = object("window", "NSWindow", {{"frame", frame(-16384, 16384, 4096, 4096)}});
                p.objects[2] = object("field", "NSTextField",
                                      {{"superview", "window"},
                                       {"frame", frame(0, 0, 0, 0)},
                                       {"properties", dict({{"fontSize", Value::real(fontSize)}})}});
            }).build());
        EXPECT_TRUE(result.ok()) << "font size " << fontSize << ": " << result.error();
    }
}

class BrokenDescription : public NibLoaderTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenDescription, GivesTheEntryAndWhatIsWrongAndChangesNothing) {
    auto result = NibLoader::load(GetParam().build());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.entry(), GetParam().entry);
    EXPECT_NE(result.message().find(GetParam().message), std::string::npos) << result.message();
    EXPECT_NE(result.error().find(GetParam().message), std::string::npos);
    EXPECT_TRUE(result.objects().empty());
    EXPECT_TRUE(application().windows().empty());
    EXPECT_EQ(application().delegate(), nullptr);
    EXPECT_EQ(application().mainMenu(), nullptr);
    EXPECT_TRUE(journal().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BrokenDescription, ::testing::ValuesIn(brokenCases()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ClassRegistryTest, MakesTheLayersClassesAndWhatTheApplicationRegisters) {
    EXPECT_NE(std::dynamic_pointer_cast<Window>(ClassRegistry::create("NSWindow")), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<PopUpButton>(ClassRegistry::create("NSPopUpButton")), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<TextField>(ClassRegistry::create("NSTextField")), nullptr);
    EXPECT_EQ(ClassRegistry::create("NSTableView"), nullptr);
    EXPECT_EQ(ClassRegistry::create("nswindow"), nullptr);

    ClassRegistry::registerClass("Replaced", [] { return std::make_shared<View>(); });
    ClassRegistry::registerClass("Replaced", [] { return std::make_shared<Button>(); });
    ClassRegistry::registerClass("Replaced", nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<Button>(ClassRegistry::create("Replaced")), nullptr);
    EXPECT_TRUE(ClassRegistry::isRegistered("Replaced"));
}

class DescriptionFile : public NibLoaderTest, public ::testing::WithParamInterface<PlistFormat> {};

TEST_P(DescriptionFile, LoadsFromEitherPropertyListForm) {
    testing::TemporaryDirectory folder;
    PropertyListWriter::writeFile(folder / "MainMenu.plist", Parts().build(), GetParam());
    auto result = NibLoader::loadFile(folder / "MainMenu.plist");
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_NE(result.objectAs<TestDelegate>("delegate"), nullptr);
    EXPECT_EQ(application().windows().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Forms, DescriptionFile, ::testing::Values(PlistFormat::Xml, PlistFormat::Binary),
                         [](const auto& testCase) { return std::string(testing::formatName(testCase.param)); });

TEST_F(NibLoaderTest, AFileThatIsMissingOrNoPropertyListGivesAnErrorNamingIt) {
    testing::TemporaryDirectory folder;
    folder.write("Broken.plist", "<?xml version=\"1.0\"?><plist><dict><key>objects</key>");
    for (const std::string& path : {folder / "Missing.plist", folder / "Broken.plist"}) {
        auto result = NibLoader::loadFile(path);
        EXPECT_FALSE(result.ok()) << path;
        EXPECT_EQ(result.entry(), path);
        EXPECT_FALSE(result.message().empty());
    }
}

TEST_F(NibLoaderTest, AFileWithAFaultNamesTheFileAndTheEntry) {
    testing::TemporaryDirectory folder;
    PropertyListWriter::writeFile(folder / "MainMenu.plist", with([](Parts& p) { p.delegate = "window"; }).build(),
                                  PlistFormat::Xml);
    auto result = NibLoader::loadFile(folder / "MainMenu.plist");
    EXPECT_EQ(result.entry(), folder / "MainMenu.plist" + ": delegate");
}

class ApplicationMainTest : public NibLoaderTest {
protected:
    void SetUp() override {
        NibLoaderTest::SetUp();
        folder_.makeDirectory("Docshelf.app/Contents/Resources");
        foundation::Bundle::setMainBundlePath(folder_ / "Docshelf.app");
    }
    void writeInfo(Value info) {
        PropertyListWriter::writeFile(folder_ / "Docshelf.app/Contents/Info.plist", info, PlistFormat::Xml);
    }
    void writeDescription(const std::string& name) {
        PropertyListWriter::writeFile(folder_ / ("Docshelf.app/Contents/Resources/" + name), Parts().build(),
                                      PlistFormat::Binary);
    }
    int runMain() {
        char name[] = "Docshelf";
        char* argv[] = {name, nullptr};
        return applicationMain(1, argv);
    }

    testing::TemporaryDirectory folder_;
};

TEST_F(ApplicationMainTest, LoadsTheNamedDescriptionWakesLaunchesAndRuns) {
    writeInfo(dict({{"NSMainNibFile", "MainMenu"}}));
    writeDescription("MainMenu.plist");
    EXPECT_EQ(runMain(), 0);
    EXPECT_EQ(journal(),
              (std::vector<std::string>{"delegate awake, menu installed, field ", "view awake", "delegate launched"}));
    EXPECT_EQ(backend().eventLoopRuns(), 1);
    EXPECT_TRUE(application().isLaunched());
}

TEST_F(ApplicationMainTest, TheStepsCanBeTakenOneByOneWithoutAnEventLoop) {
    writeInfo(dict({{"NSMainNibFile", "MainMenu.plist"}}));
    writeDescription("MainMenu.plist");
    auto result = NibLoader::loadMainWindowDescription();
    ASSERT_TRUE(result.ok()) << result.error();
    EXPECT_EQ(journal().size(), 2u);
    application().finishLaunching();
    EXPECT_EQ(journal().back(), "delegate launched");
    EXPECT_EQ(backend().eventLoopRuns(), 0);
}

// The application reports no failure: without its window it simply ends.
TEST_F(ApplicationMainTest, WithoutADescriptionItEndsWithStatusZeroAndWakesNothing) {
    writeInfo(dict({{"CFBundleExecutable", "Docshelf"}}));
    EXPECT_EQ(runMain(), 0);
    writeInfo(dict({{"NSMainNibFile", "MainMenu"}}));
    EXPECT_EQ(runMain(), 0);
    writeInfo(dict({{"NSMainNibFile", "../MainMenu"}}));
    writeDescription("MainMenu.plist");
    EXPECT_EQ(runMain(), 0);
    foundation::Bundle::setMainBundlePath(folder_ / "Missing.app");
    EXPECT_EQ(runMain(), 0) << "no main bundle";
    EXPECT_TRUE(journal().empty());
    EXPECT_EQ(backend().eventLoopRuns(), 0);
}

}
}
