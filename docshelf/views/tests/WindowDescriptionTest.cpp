#include "views/BackgroundFilterView.h"

#include "platform/appkit/ApplicationDelegate.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/ClassRegistry.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/NibLoader.h"
#include "platform/appkit/Outlet.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"

#include "FreshApplication.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace docshelf::views {
namespace {

using namespace appkit;
using foundation::Value;

const std::string resources = DOCSHELF_RESOURCES_DIR;

// Stands in for the application's window controller: the same published keys,
// outlets and actions, and nothing else, so that the description is checked
// against what the controller declares.
class ControllerStandIn : public Object, public ApplicationDelegate {
public:
    ControllerStandIn() {
        publishOutlet("window", window);
        publishOutlet("mainView", mainView);
        publishOutlet("buttonView", buttonView);
        for (const char* key : {"documentationTitle", "rightButtonTitle", "modelLabelTitle"})
            publish(key);
        publishOutlet("modelLabelTitleTxtField", modelLabel);
        publishOutlet("supportModelPUButton", modelPopUp);
        publish("supportModelStaticTitle");
        publish("supportModelStaticTxtHidden");
        publishOutlet("supportModelStaticTitleTxtField", modelStatic);
        publish("languageLabelTitle");
        publishOutlet("languageLabelTitleTxtField", languageLabel);
        publishOutlet("languagePUButton", languagePopUp);
        publish("languageStaticTitle");
        publish("languageStaticTxtHidden");
        publishOutlet("languageStaticTitleTxtField", languageStatic);
        for (const char* key :
             {"languageStaticDescriptionTxt", "docButtonTitle", "readMeButtonTitle", "readMeButtonHidden"})
            publish(key);
        for (const char* action : {"openDocumentation", "openReadMe", "colseApp"})
            publishAction(action, [this, action](const std::shared_ptr<Object>&) { actions.emplace_back(action); });
    }
    bool applicationShouldTerminateAfterLastWindowClosed(Application&) override { return true; }

    Outlet<Window> window;
    Outlet<View> mainView, buttonView;
    Outlet<TextField> modelLabel, modelStatic, languageLabel, languageStatic;
    Outlet<PopUpButton> modelPopUp, languagePopUp;
    std::vector<std::string> actions;
};

class WindowDescriptionTest : public testing::FreshApplication {
protected:
    void SetUp() override {
        FreshApplication::SetUp();
        ClassRegistry::registerClass("DocumentationAppDelegate", [] { return std::make_shared<ControllerStandIn>(); });
        ClassRegistry::registerClass("BackgroundFilterView", [] { return std::make_shared<BackgroundFilterView>(); });
        bundle_.makeDirectory("Docshelf.app/Contents/Resources");
        std::filesystem::copy_file(resources + "/Background.png",
                                   bundle_ / "Docshelf.app/Contents/Resources/Background.png");
        foundation::Bundle::setMainBundlePath(bundle_ / "Docshelf.app");
        result_ = NibLoader::loadFile(resources + "/MainMenu.plist");
        ASSERT_TRUE(result_.ok()) << result_.error();
        controller_ = result_.objectAs<ControllerStandIn>("delegate");
        ASSERT_NE(controller_, nullptr);
    }

    template <class T>
    std::shared_ptr<T> get(const std::string& id) {
        auto object = result_.objectAs<T>(id);
        EXPECT_NE(object, nullptr) << id;
        return object;
    }

    static float rightEdge(const Rect& rect) { return rect.origin.x + rect.size.width; }

    testing::TemporaryDirectory bundle_;
    NibLoadResult result_;
    std::shared_ptr<ControllerStandIn> controller_;
};

TEST_F(WindowDescriptionTest, EveryOutletOfTheControllerIsConnected) {
    for (const OutletBase* outlet : std::vector<const OutletBase*>{
             &controller_->window, &controller_->mainView, &controller_->buttonView, &controller_->modelLabel,
             &controller_->modelPopUp, &controller_->modelStatic, &controller_->languageLabel,
             &controller_->languagePopUp, &controller_->languageStatic})
        EXPECT_TRUE(outlet->isConnected());
    EXPECT_EQ(std::dynamic_pointer_cast<ControllerStandIn>(application().delegate()), controller_);
    EXPECT_EQ(application().windows(), (std::vector<std::shared_ptr<Window>>{controller_->window.shared()}));
}

struct Shown {
    const char* key;
    const char* control;
    enum { Text, Title, Hidden } as;
};

class EveryPublishedValue : public WindowDescriptionTest, public ::testing::WithParamInterface<Shown> {};

TEST_P(EveryPublishedValue, ReachesItsControlBeforeSetValueReturns) {
    const Shown& shown = GetParam();
    auto object = result_.object(shown.control);
    ASSERT_NE(object, nullptr);
    switch (shown.as) {
    case Shown::Text:
        controller_->setValue("Some text", shown.key);
        EXPECT_EQ(std::dynamic_pointer_cast<TextField>(object)->stringValue(), "Some text");
        break;
    case Shown::Title: {
        controller_->setValue("Some title", shown.key);
        auto window = std::dynamic_pointer_cast<Window>(object);
        auto button = std::dynamic_pointer_cast<Button>(object);
        EXPECT_EQ(window ? window->title() : button->title(), "Some title");
        break;
    }
    case Shown::Hidden: {
        auto view = std::dynamic_pointer_cast<View>(object);
        controller_->setValue(Value::boolean(true), shown.key);
        EXPECT_TRUE(view->isHidden());
        controller_->setValue(Value::boolean(false), shown.key);
        EXPECT_FALSE(view->isHidden());
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bindings, EveryPublishedValue,
    ::testing::Values(Shown{"documentationTitle", "window", Shown::Title},
                      Shown{"documentationTitle", "titleText", Shown::Text},
                      Shown{"rightButtonTitle", "closeButton", Shown::Title},
                      Shown{"modelLabelTitle", "modelLabelTitleTxtField", Shown::Text},
                      Shown{"supportModelStaticTitle", "supportModelStaticTitleTxtField", Shown::Text},
                      Shown{"supportModelStaticTxtHidden", "supportModelStaticTitleTxtField", Shown::Hidden},
                      Shown{"languageLabelTitle", "languageLabelTitleTxtField", Shown::Text},
                      Shown{"languageStaticTitle", "languageStaticTitleTxtField", Shown::Text},
                      Shown{"languageStaticTxtHidden", "languageStaticTitleTxtField", Shown::Hidden},
                      Shown{"languageStaticDescriptionTxt", "descriptionText", Shown::Text},
                      Shown{"docButtonTitle", "docButton", Shown::Title},
                      Shown{"readMeButtonTitle", "readMeButton", Shown::Title},
                      Shown{"readMeButtonHidden", "readMeButton", Shown::Hidden}),
    [](const auto& testCase) { return std::string(testCase.param.key) + "_" + testCase.param.control; });

TEST_F(WindowDescriptionTest, TheThreeButtonsSendTheirActionsToTheController) {
    for (const char* id : {"docButton", "readMeButton", "closeButton"})
        get<Button>(id)->performClick();
    EXPECT_EQ(controller_->actions, (std::vector<std::string>{"openDocumentation", "openReadMe", "colseApp"}));
}

TEST_F(WindowDescriptionTest, StaticTextsShareTheirPopUpsSlotAndLabelsStandRightAlignedToTheLeft) {
    Rect modelSlot = controller_->modelPopUp->frame();
    Rect languageSlot = controller_->languagePopUp->frame();
    for (auto [staticText, slot] : {std::pair{controller_->modelStatic.shared(), modelSlot},
                                    std::pair{controller_->languageStatic.shared(), languageSlot}}) {
        EXPECT_EQ(staticText->frame().origin.x, slot.origin.x);
        EXPECT_EQ(staticText->frame().size.width, slot.size.width);
    }
    for (auto [label, slot] : {std::pair{controller_->modelLabel.shared(), modelSlot},
                               std::pair{controller_->languageLabel.shared(), languageSlot}}) {
        EXPECT_EQ(label->alignment(), TextAlignment::Right);
        EXPECT_FALSE(label->isEditable());
        EXPECT_FALSE(label->isBezeled());
        EXPECT_LE(rightEdge(label->frame()), slot.origin.x);
        EXPECT_GT(rightEdge(label->frame()), slot.origin.x - 12);
    }
    // The model row lies above the language row, both in the same view.
    EXPECT_GT(modelSlot.origin.y, languageSlot.origin.y + languageSlot.size.height);
    EXPECT_EQ(controller_->modelLabel->superview(), controller_->languageLabel->superview());
}

TEST_F(WindowDescriptionTest, TheBackgroundFillsTheWindowBehindEverythingWithItsPicture) {
    auto window = controller_->window.shared();
    EXPECT_EQ(window->frame().size, (Size{520, 340}));
    const auto& layers = window->contentView()->subviews();
    ASSERT_FALSE(layers.empty());
    auto background = std::dynamic_pointer_cast<BackgroundFilterView>(layers.front());
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->frame(), window->contentView()->bounds());
    ASSERT_NE(background->bgImage(), nullptr);
    EXPECT_EQ(background->bgImage()->pixelSize(), (Size{1040, 680}));

    // Every control lies inside the window.
    std::vector<std::shared_ptr<View>> pending(layers.begin(), layers.end());
    while (!pending.empty()) {
        auto view = pending.back();
        pending.pop_back();
        if (auto super = view->superview()) {
            EXPECT_GE(view->frame().origin.x, 0);
            EXPECT_GE(view->frame().origin.y, 0);
            EXPECT_LE(rightEdge(view->frame()), super->frame().size.width);
            EXPECT_LE(view->frame().origin.y + view->frame().size.height, super->frame().size.height);
        }
        pending.insert(pending.end(), view->subviews().begin(), view->subviews().end());
    }
}

TEST_F(WindowDescriptionTest, TheApplicationMenuHoldsTheFiveItemsInThreeGroupsAndQuitEndsTheApplication) {
    auto mainMenu = application().mainMenu();
    ASSERT_NE(mainMenu, nullptr);
    auto applicationItem = mainMenu->itemWithTitle("Documentation");
    ASSERT_NE(applicationItem, nullptr);
    auto applicationMenu = applicationItem->submenu();
    ASSERT_NE(applicationMenu, nullptr);
    std::vector<std::string> titles;
    for (const auto& item : applicationMenu->items())
        titles.emplace_back(item->title().text());
    // Separators, titled "" as AppKit's are, set About and Quit apart.
    EXPECT_EQ(titles, (std::vector<std::string>{"About", "", "Hide", "Hide Others", "Show All", "", "Quit"}));

    EXPECT_TRUE(applicationMenu->itemWithTitle("Hide Others")->sendAction()) << "Hide Others has no action";
    applicationMenu->itemWithTitle("Hide")->sendAction();
    EXPECT_TRUE(application().isHidden());
    applicationMenu->itemWithTitle("Show All")->sendAction();
    EXPECT_FALSE(application().isHidden());
    EXPECT_FALSE(application().isTerminated());
    applicationMenu->itemWithTitle("Quit")->sendAction();
    EXPECT_TRUE(application().isTerminated());
}

// Tab walks the controls a person can work in reading order; Return presses the
// documentation button; Ctrl+W (the Close item's key) closes the window.
TEST_F(WindowDescriptionTest, TheKeyboardReachesTheControlsInReadingOrderAndReturnOpensTheDocumentation) {
    auto& window = controller_->window;
    window->makeKeyAndOrderFront(controller_);
    controller_->setValue(Value::boolean(false), "readMeButtonHidden");
    auto button = [this](const char* id) { return result_.objectAs<Control>(id); };
    std::vector<std::shared_ptr<Control>> expected{button("supportModelPUButton"), button("languagePUButton"),
                                                   button("readMeButton"), button("docButton"), button("closeButton")};
    EXPECT_EQ(window->keyViewLoop(), expected);
    controller_->setValue(Value::boolean(true), "readMeButtonHidden");
    controller_->modelPopUp->setHidden(true);
    expected = {button("languagePUButton"), button("docButton"), button("closeButton")};
    EXPECT_EQ(window->keyViewLoop(), expected);

    ASSERT_EQ(window->defaultButton(), button("docButton"));
    window->defaultButton()->performClick();
    EXPECT_EQ(controller_->actions, (std::vector<std::string>{"openDocumentation"}));

    EXPECT_TRUE(application().performKeyEquivalent("w"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(application().isTerminated());
}

TEST_F(WindowDescriptionTest, ClosingTheWindowEndsTheApplication) {
    controller_->window->makeKeyAndOrderFront(controller_);
    controller_->window->performClose();
    EXPECT_TRUE(application().isTerminated());
}

}
}
