#include "platform/appkit/RecordingGraphicsContext.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/View.h"
#include "platform/appkit/Window.h"

#include "FreshApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

class Marker : public View {
public:
    explicit Marker(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void drawRect(Rect dirty) override {
        log_.push_back(name_);
        if (auto* context = GraphicsContext::current())
            context->fillRect(dirty, Color::blackColor());
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

using ViewTest = testing::FreshApplication;

TEST_F(ViewTest, SubviewsDrawAfterTheirSuperviewInOrderAndHiddenOnesAreSkipped) {
    std::vector<std::string> log;
    auto root = std::make_shared<Marker>("root", log);
    auto back = std::make_shared<Marker>("back", log);
    auto front = std::make_shared<Marker>("front", log);
    auto hidden = std::make_shared<Marker>("hidden", log);
    auto insideHidden = std::make_shared<Marker>("insideHidden", log);
    root->setFrame({{0, 0}, {520, 340}});
    back->setFrame({{0, 64}, {520, 276}});
    front->setFrame({{24, 172}, {140, 20}});
    ASSERT_TRUE(root->addSubview(back));
    ASSERT_TRUE(back->addSubview(front));
    ASSERT_TRUE(root->addSubview(hidden));
    ASSERT_TRUE(hidden->addSubview(insideHidden));
    hidden->setHidden(true);

    RecordingGraphicsContext context;
    root->display(context);
    EXPECT_EQ(log, (std::vector<std::string>{"root", "back", "front"}));
    ASSERT_EQ(context.calls().size(), 3u);
    // Each view draws in its own coordinates; the translation places it in the window.
    EXPECT_EQ(context.calls()[2].rect, (Rect{{0, 0}, {140, 20}}));
    EXPECT_EQ(context.calls()[2].translation, (Point{24, 236}));
    EXPECT_EQ(GraphicsContext::current(), nullptr);
}

TEST_F(ViewTest, AViewCannotContainItselfOrItsAncestors) {
    auto outer = std::make_shared<View>();
    auto inner = std::make_shared<View>();
    ASSERT_TRUE(outer->addSubview(inner));
    EXPECT_FALSE(inner->addSubview(outer));
    EXPECT_FALSE(inner->addSubview(inner));
    EXPECT_FALSE(inner->addSubview(nullptr));
    EXPECT_EQ(inner->superview(), outer);
    EXPECT_TRUE(inner->subviews().empty());
}

TEST_F(ViewTest, AddingAViewElsewhereMovesIt) {
    auto first = std::make_shared<View>();
    auto second = std::make_shared<View>();
    auto child = std::make_shared<View>();
    first->addSubview(child);
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    ASSERT_EQ(second->subviews().size(), 1u);
    EXPECT_EQ(child->superview(), second);
    child->removeFromSuperview();
    EXPECT_TRUE(second->subviews().empty());
    EXPECT_EQ(child->superview(), nullptr);
}

TEST_F(ViewTest, AWindowPaintsItsBackgroundThenItsContent) {
    auto window = Window::initWithContentRect({{100, 100}, {520, 340}});
    window->setBackgroundColor(Color::whiteColor());
    auto label = TextField::initWithFrame({{24, 172}, {140, 20}});
    label->setDrawsBackground(false);
    label->setStringValue("Model: ");
    label->setAlignment(TextAlignment::Right);
    window->contentView()->addSubview(label);
    backend().displayWindow(*window);

    const auto& calls = backend().drawing().calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, DrawCall::Kind::Fill);
    EXPECT_EQ(calls[0].rect, (Rect{{0, 0}, {520, 340}}));
    EXPECT_EQ(calls[0].color, Color::whiteColor());
    EXPECT_EQ(calls[1].kind, DrawCall::Kind::Text);
    EXPECT_EQ(calls[1].text, "Model: ");
    EXPECT_EQ(calls[1].alignment, TextAlignment::Right);
    EXPECT_EQ(calls[1].translation, (Point{24, 172}));
}

}
}
