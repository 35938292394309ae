#include "views/BackgroundFilterView.h"

#include "platform/appkit/ClassRegistry.h"
#include "platform/appkit/NibLoader.h"
#include "platform/appkit/RecordingGraphicsContext.h"
#include "platform/appkit/Window.h"

#include "FreshApplication.h"
#include "PngFile.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace docshelf::views {
namespace {

using appkit::CompositingOperation;
using appkit::DrawCall;
using appkit::Image;
using appkit::RecordingGraphicsContext;
using appkit::Rect;
using appkit::Size;
using foundation::Value;

class BackgroundFilterViewTest : public testing::FreshApplication {
protected:
    void SetUp() override {
        FreshApplication::SetUp();
        folder_.makeDirectory("Docshelf.app/Contents/Resources");
        foundation::Bundle::setMainBundlePath(folder_ / "Docshelf.app");
    }
    void writeBackground(std::uint32_t width, std::uint32_t height) {
        testing::PngFile::write(folder_ / "Docshelf.app/Contents/Resources/Background.png", width, height);
    }
    std::shared_ptr<Image> picture(const std::string& name, Size size) {
        testing::PngFile::write(folder_ / name, static_cast<std::uint32_t>(size.width),
                                static_cast<std::uint32_t>(size.height));
        return Image::imageWithContentsOfFile(folder_ / name);
    }
    static std::vector<DrawCall> draw(BackgroundFilterView& view, Rect dirty) {
        RecordingGraphicsContext context;
        auto* previous = appkit::GraphicsContext::setCurrent(&context);
        view.drawRect(dirty);
        appkit::GraphicsContext::setCurrent(previous);
        return context.calls();
    }

    testing::TemporaryDirectory folder_;
};

TEST_F(BackgroundFilterViewTest, AViewMadeWithAFrameDrawsNothingUntilItHasAPicture) {
    auto view = BackgroundFilterView::initWithFrame({{0, 0}, {400, 300}});
    EXPECT_EQ(view->bgImage(), nullptr);
    EXPECT_EQ(view->frame(), (Rect{{0, 0}, {400, 300}}));
    EXPECT_TRUE(draw(*view, view->bounds()).empty());
    RecordingGraphicsContext context;
    view->display(context);
    EXPECT_TRUE(context.calls().empty());
}

TEST_F(BackgroundFilterViewTest, DrawsThePictureStretchedToTheFrameAtTheOriginBlended) {
    auto view = BackgroundFilterView::initWithFrame({{0, 0}, {400, 300}});
    auto image = picture("wide.png", {1040, 680});
    ASSERT_NE(image, nullptr);
    view->setBgImage(image);

    auto calls = draw(*view, view->bounds());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, DrawCall::Kind::Image);
    EXPECT_EQ(calls[0].rect, (Rect{{0, 0}, {400, 300}}));
    EXPECT_EQ(calls[0].operation, CompositingOperation::SourceOver);
    EXPECT_EQ(calls[0].imagePath, image->path());

    view->setFrame({{0, 0}, {500, 300}});
    calls = draw(*view, view->bounds());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rect, (Rect{{0, 0}, {500, 300}}));
    // The picture itself keeps the size of the last draw; its pixels are untouched.
    EXPECT_EQ(image->size(), (Size{500, 300}));
    EXPECT_EQ(image->pixelSize(), (Size{1040, 680}));
}

TEST_F(BackgroundFilterViewTest, ADirtyRectangleSmallerThanTheViewStillDrawsThePictureWhole) {
    auto view = BackgroundFilterView::initWithFrame({{20, 30}, {400, 300}});
    view->setBgImage(picture("small.png", {8, 8}));
    auto calls = draw(*view, {{100, 100}, {10, 10}});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rect, (Rect{{0, 0}, {400, 300}}));
}

TEST_F(BackgroundFilterViewTest, SettingThePictureItAlreadyHoldsKeepsIt) {
    auto view = BackgroundFilterView::initWithFrame({{0, 0}, {400, 300}});
    std::weak_ptr<Image> watch;
    {
        auto image = picture("only.png", {4, 4});
        watch = image;
        view->setBgImage(image);
    }
    // The view holds the only reference now; handing it back must not drop it.
    ASSERT_EQ(watch.use_count(), 1);
    view->setBgImage(view->bgImage());
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(view->bgImage(), watch.lock());
    EXPECT_EQ(draw(*view, view->bounds()).size(), 1u);

    view->setBgImage(nullptr);
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(draw(*view, view->bounds()).empty());
}

TEST_F(BackgroundFilterViewTest, AwakeFromNibLoadsTheApplicationsBackgroundPicture) {
    writeBackground(1040, 680);
    auto view = BackgroundFilterView::initWithFrame({{0, 0}, {520, 340}});
    view->awakeFromNib();
    ASSERT_NE(view->bgImage(), nullptr);
    EXPECT_EQ(view->bgImage()->pixelSize(), (Size{1040, 680}));
    EXPECT_EQ(view->bgImage(), Image::imageNamed("Background.png"));
}

TEST_F(BackgroundFilterViewTest, WithoutTheResourceTheWindowShowsOnlyItsWhiteBackground) {
    appkit::ClassRegistry::registerClass("BackgroundFilterView",
                                         [] { return std::make_shared<BackgroundFilterView>(); });
    auto frame = Value::array({Value::integer(0), Value::integer(0), Value::integer(520), Value::integer(340)});
    auto description = Value::dictionary(
        {{"objects", Value::array({Value::dictionary({{"id", "window"}, {"class", "NSWindow"}, {"frame", frame}}),
                                   Value::dictionary({{"id", "background"},
                                                      {"class", "BackgroundFilterView"},
                                                      {"superview", "window"},
                                                      {"frame", frame}})})}});
    for (bool withPicture : {false, true}) {
        if (withPicture)
            writeBackground(16, 16);
        auto result = appkit::NibLoader::load(description);
        ASSERT_TRUE(result.ok()) << result.error();
        auto window = result.objectAs<appkit::Window>("window");
        window->setBackgroundColor(appkit::Color::whiteColor());
        backend().clearDrawing();
        backend().displayWindow(*window);
        const auto& calls = backend().drawing().calls();
        ASSERT_EQ(calls.size(), withPicture ? 2u : 1u);
        EXPECT_EQ(calls[0].kind, DrawCall::Kind::Fill);
        EXPECT_EQ(calls[0].color, appkit::Color::whiteColor());
        if (withPicture) {
            EXPECT_EQ(calls[1].kind, DrawCall::Kind::Image);
            EXPECT_EQ(calls[1].rect, (Rect{{0, 0}, {520, 340}}));
        }
    }
}

TEST_F(BackgroundFilterViewTest, ReadersOnOtherThreadsAlwaysGetAWholePicture) {
    auto view = BackgroundFilterView::initWithFrame({{0, 0}, {400, 300}});
    auto first = picture("first.png", {1, 1});
    auto second = picture("second.png", {2, 2});
    view->setBgImage(first);
    std::atomic<bool> done = false;
    std::atomic<int> bad = 0;
    std::thread reader([&] {
        while (!done)
            if (auto image = view->bgImage(); image != first && image != second)
                ++bad;
    });
    for (int i = 0; i < 20000; ++i)
        view->setBgImage(i % 2 ? first : second);
    done = true;
    reader.join();
    EXPECT_EQ(bad, 0);
}

}
}
