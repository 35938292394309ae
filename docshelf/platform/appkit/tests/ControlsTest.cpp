#include "platform/appkit/Button.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"

#include "FreshApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

using foundation::Value;

class Recorder : public Object {
public:
    Recorder() {
        publishAction("chosen", [this](const std::shared_ptr<Object>& sender) { senders.push_back(sender); });
    }
    std::vector<std::shared_ptr<Object>> senders;
};

std::shared_ptr<Menu> menuOf(std::vector<std::string> titles, const std::string& action = "",
                             const std::shared_ptr<Object>& target = nullptr) {
    auto menu = Menu::init();
    for (std::size_t i = 0; i < titles.size(); ++i) {
        auto item = MenuItem::initWithTitle(titles[i], action, "");
        item->setTarget(target);
        menu->insertItem(item, i);
    }
    return menu;
}

std::vector<std::string> titlesOf(const Menu& menu) {
    std::vector<std::string> titles;
    for (const auto& item : menu.items())
        titles.emplace_back(item->title().text());
    return titles;
}

struct FitCase {
    const char* name;
    std::string text;
    float width;
};

class SizeToFit : public testing::FreshApplication, public ::testing::WithParamInterface<FitCase> {};

TEST_P(SizeToFit, WidthIsSevenPointsPerCodePointPlusFourAndTheRestStays) {
    auto field = TextField::initWithFrame({{168, 172}, {300, 20}});
    field->setStringValue(GetParam().text);
    field->sizeToFit();
    EXPECT_EQ(field->frame(), (Rect{{168, 172}, {GetParam().width, 20}}));
}

INSTANTIATE_TEST_SUITE_P(
    HeadlessMetric, SizeToFit,
    ::testing::Values(FitCase{"empty", "", 4}, FitCase{"ascii", "QX-500", 46}, FitCase{"label", "Modell: ", 60},
                      FitCase{"latin1",
                              "Fran\xc3\xa7"
                              "ais",
                              60},                                                     // 8 code points, 9 bytes
                      FitCase{"japanese", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", 25}, // 3 code points, 9 bytes
                      FitCase{"astral", "\xf0\x9f\x93\x98", 11},
                      FitCase{"strayContinuation",
                              "a\x80"
                              "b",
                              25}, // each bad byte counts once
                      FitCase{"truncatedSequence", "a\xe6\x97", 25}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

using ControlsTest = testing::FreshApplication;

TEST_F(ControlsTest, SizeToFitTakesTheBackendsLineHeightWhenTheFieldIsLower) {
    class TallText : public HeadlessBackend {
    public:
        Size measureText(std::string_view text, const Font& font) override {
            return {HeadlessBackend::measureText(text, font).width, font.size + 4};
        }
    };
    Application::reset(std::make_shared<TallText>());
    auto field = TextField::initWithFrame({{1, 2}, {100, 20}});
    field->setFontSize(20);
    field->setStringValue("ab");
    field->sizeToFit();
    EXPECT_EQ(field->frame(), (Rect{{1, 2}, {18, 24}}));
    // A field a line high already keeps its height, level with its label.
    field->setFontSize(13);
    field->setFrame({{1, 2}, {100, 20}});
    field->sizeToFit();
    EXPECT_EQ(field->frame(), (Rect{{1, 2}, {18, 20}}));
}

TEST_F(ControlsTest, DisplayRequestsAreCountedPerView) {
    auto field = std::make_shared<TextField>();
    auto other = std::make_shared<TextField>();
    field->setNeedsDisplay();
    field->setNeedsDisplay();
    field->setFrame({{1, 1}, {1, 1}}); // moving is no request to redraw
    EXPECT_EQ(field->displayRequests(), 2);
    EXPECT_EQ(other->displayRequests(), 0);
    EXPECT_EQ(backend().displayRequests(), 2);
}

TEST_F(ControlsTest, AButtonClickSendsItsActionToItsTargetUnlessItCannotBeClicked) {
    auto target = std::make_shared<Recorder>();
    auto button = std::make_shared<Button>();
    button->setTarget(target);
    button->setAction("chosen");
    button->performClick();
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], button);

    button->setHidden(true);
    button->performClick();
    button->setHidden(false);
    button->setEnabled(false);
    button->performClick();
    EXPECT_EQ(target->senders.size(), 1u);
}

TEST_F(ControlsTest, AControlHoldsItsTargetWeakly) {
    auto button = std::make_shared<Button>();
    button->setAction("chosen");
    {
        auto target = std::make_shared<Recorder>();
        button->setTarget(target);
    }
    EXPECT_EQ(button->target(), nullptr);
    EXPECT_FALSE(button->sendAction());
}

TEST_F(ControlsTest, InsertItemClampsTheIndexAndIgnoresNull) {
    auto menu = Menu::init();
    menu->insertItem(MenuItem::initWithTitle("b", "", ""), 0);
    menu->insertItem(MenuItem::initWithTitle("a", "", ""), 0);
    menu->insertItem(MenuItem::initWithTitle("z", "", ""), 99);
    menu->insertItem(nullptr, 1);
    menu->addItem(MenuItem::initWithTitle("end", "", ""));
    EXPECT_EQ(titlesOf(*menu), (std::vector<std::string>{"a", "b", "z", "end"}));
    EXPECT_EQ(menu->itemAtIndex(4), nullptr);
}

TEST_F(ControlsTest, ItemWithTitleFindsTheFirstExactMatch) {
    auto menu = menuOf({"English", "english", "Deutsch", "English"});
    EXPECT_EQ(menu->itemWithTitle("English"), menu->itemAtIndex(0));
    EXPECT_EQ(menu->itemWithTitle("english"), menu->itemAtIndex(1));
    EXPECT_EQ(menu->itemWithTitle("ENGLISH"), nullptr);
    EXPECT_EQ(menu->itemWithTitle("Deutsch "), nullptr);
    EXPECT_EQ(menu->itemWithTitle(Value()), nullptr);
}

TEST_F(ControlsTest, AnItemWithoutTitleMatchesNoTitle) {
    auto menu = Menu::init();
    menu->addItem(MenuItem::initWithTitle(Value(), "", ""));
    EXPECT_EQ(menu->itemWithTitle(""), nullptr);
    EXPECT_EQ(menu->itemWithTitle(Value()), nullptr);
}

struct PopUpCase {
    const char* name;
    std::vector<std::string> titles;
    std::string select; // selectItemWithTitle after setMenu; empty: none
    long expectedIndex;
};

class PopUpSelection : public testing::FreshApplication, public ::testing::WithParamInterface<PopUpCase> {};

TEST_P(PopUpSelection, SelectsAsAppKitDoes) {
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf(GetParam().titles));
    if (!GetParam().select.empty())
        popUp->selectItemWithTitle(GetParam().select);
    EXPECT_EQ(popUp->indexOfSelectedItem(), GetParam().expectedIndex);
    if (GetParam().expectedIndex < 0) {
        EXPECT_TRUE(popUp->titleOfSelectedItem().isAbsent());
        EXPECT_TRUE(popUp->title().isAbsent());
        EXPECT_EQ(popUp->selectedItem(), nullptr);
    } else {
        auto expected = GetParam().titles[static_cast<std::size_t>(GetParam().expectedIndex)];
        EXPECT_TRUE(popUp->titleOfSelectedItem().isEqualToString(std::string_view(expected)));
        EXPECT_TRUE(popUp->title().isEqualToString(std::string_view(expected)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopUpSelection,
    ::testing::Values(PopUpCase{"setMenuSelectsTheFirst", {"QX-500", "QX-750 Duo", "RT-20"}, "", 0},
                      PopUpCase{"emptyMenuSelectsNone", {}, "", -1},
                      PopUpCase{"exactTitle", {"QX-500", "QX-750 Duo", "RT-20"}, "RT-20", 2},
                      PopUpCase{"firstOfTwoEqual", {"English", "Deutsch", "Deutsch"}, "Deutsch", 1},
                      PopUpCase{"caseCounts", {"English", "Deutsch"}, "deutsch", -1},
                      PopUpCase{"noMatchDeselects",
                                {"English", "Deutsch"},
                                "Fran\xc3\xa7"
                                "ais",
                                -1}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ControlsTest, SetMenuReplacesAllItemsAndTheOldSelection) {
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf({"a", "b", "c"}));
    popUp->selectItemAtIndex(2);
    popUp->setMenu(menuOf({"x", "y"}));
    EXPECT_EQ(titlesOf(*popUp->menu()), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(popUp->indexOfSelectedItem(), 0);
    popUp->setMenu(nullptr);
    EXPECT_EQ(popUp->numberOfItems(), 0u);
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
}

TEST_F(ControlsTest, SelectItemAtIndexOutOfRangeDeselects) {
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf({"a", "b"}));
    popUp->selectItemAtIndex(1);
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);
    popUp->selectItemAtIndex(2);
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
    popUp->selectItemAtIndex(0);
    popUp->selectItemAtIndex(-1);
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
}

TEST_F(ControlsTest, ASelectedItemRemovedFromTheMenuIsNoLongerSelected) {
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf({"a", "b"}));
    popUp->menu()->removeItemAtIndex(0);
    EXPECT_EQ(popUp->indexOfSelectedItem(), -1);
    EXPECT_TRUE(popUp->title().isAbsent());
}

TEST_F(ControlsTest, ChoosingAnItemSelectsItBeforeItsActionRuns) {
    auto popUp = std::make_shared<PopUpButton>();
    class SelectionReader : public Object {
    public:
        explicit SelectionReader(PopUpButton& popUp) {
            publishAction("chosen", [this, &popUp](const std::shared_ptr<Object>& from) {
                sender = from;
                titleWhenSent = popUp.titleOfSelectedItem();
            });
        }
        std::shared_ptr<Object> sender;
        Value titleWhenSent;
    };
    auto target = std::make_shared<SelectionReader>(*popUp);
    popUp->setMenu(menuOf({"QX-500", "RT-20"}, "chosen", target));
    ASSERT_TRUE(popUp->performClickOnItemWithTitle("RT-20"));
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);
    EXPECT_TRUE(target->titleWhenSent.isEqualToString("RT-20"));
    EXPECT_EQ(target->sender, popUp->itemAtIndex(1));
}

TEST_F(ControlsTest, ChoosingAnItemWithoutActionOnlySelects) {
    auto target = std::make_shared<Recorder>();
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf({"English", "Deutsch"}, "", target));
    ASSERT_TRUE(popUp->performClickOnItemAtIndex(1));
    EXPECT_EQ(popUp->indexOfSelectedItem(), 1);
    EXPECT_TRUE(target->senders.empty());
}

TEST_F(ControlsTest, AnItemWithoutActionSendsThePopUpsOwnAction) {
    auto target = std::make_shared<Recorder>();
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf({"English", "Deutsch"}));
    popUp->setTarget(target);
    popUp->setAction("chosen");
    popUp->performClickOnItemAtIndex(1);
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], popUp);
}

TEST_F(ControlsTest, AHiddenPopUpOrAMissingItemCannotBeChosen) {
    auto target = std::make_shared<Recorder>();
    auto popUp = std::make_shared<PopUpButton>();
    popUp->setMenu(menuOf({"QX-500", "RT-20"}, "chosen", target));
    EXPECT_FALSE(popUp->performClickOnItemWithTitle("QX-750 Duo"));
    EXPECT_FALSE(popUp->performClickOnItemAtIndex(5));
    popUp->setHidden(true);
    EXPECT_FALSE(popUp->performClickOnItemWithTitle("RT-20"));
    EXPECT_EQ(popUp->indexOfSelectedItem(), 0);
    EXPECT_TRUE(target->senders.empty());
}

}
}
