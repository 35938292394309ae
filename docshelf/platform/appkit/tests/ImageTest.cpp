#include "platform/appkit/Image.h"
#include "platform/appkit/RecordingGraphicsContext.h"

#include "FreshApplication.h"
#include "PngFile.h"
#include "TemporaryDirectory.h"

#include "platform/foundation/ReadLimits.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace docshelf::appkit {
namespace {

using testing::PngFile;

class ImageTest : public testing::FreshApplication {
protected:
    void SetUp() override {
        FreshApplication::SetUp();
        disc_.makeDirectory("Docshelf.app/Contents/Resources");
        foundation::Bundle::setMainBundlePath(disc_ / "Docshelf.app");
    }
    std::string resource(const std::string& name) const { return disc_ / ("Docshelf.app/Contents/Resources/" + name); }

    testing::TemporaryDirectory disc_;
};

TEST_F(ImageTest, ImageNamedReadsTheResourceAndItsPixelSize) {
    PngFile::write(resource("Background.png"), 1040, 680);
    auto image = Image::imageNamed("Background.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->path(), resource("Background.png"));
    EXPECT_EQ(image->pixelSize(), (Size{1040, 680}));
    EXPECT_EQ(image->size(), (Size{1040, 680}));
}

TEST_F(ImageTest, ImageNamedWithoutExtensionTriesPng) {
    PngFile::write(resource("Background.png"), 2, 3);
    auto image = Image::imageNamed("Background");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->path(), resource("Background.png"));
}

TEST_F(ImageTest, TheSameNameGivesTheSameSharedImage) {
    PngFile::write(resource("Background.png"), 2, 3);
    auto first = Image::imageNamed("Background.png");
    auto second = Image::imageNamed("Background.png");
    EXPECT_EQ(first, second);
}

TEST_F(ImageTest, WhatIsNoImageResourceGivesNull) {
    disc_.write("Docshelf.app/Contents/Resources/Notes.png", "not a picture");
    disc_.makeDirectory("Docshelf.app/Contents/Resources/Folder.png");
    PngFile::write(disc_ / "Outside.png", 2, 2);
    for (const char* name : {"Background.png", "Notes.png", "Folder.png", "", "../../../Outside.png", "Outside"})
        EXPECT_EQ(Image::imageNamed(name), nullptr) << name;
}

TEST_F(ImageTest, ARemovedResourceIsNoLongerFound) {
    PngFile::write(resource("Background.png"), 2, 3);
    ASSERT_NE(Image::imageNamed("Background.png"), nullptr);
    std::filesystem::remove(resource("Background.png"));
    EXPECT_EQ(Image::imageNamed("Background.png"), nullptr);
}

TEST_F(ImageTest, EachMainBundleFindsItsOwnPictures) {
    PngFile::write(resource("Background.png"), 2, 3);
    ASSERT_NE(Image::imageNamed("Background.png"), nullptr);
    testing::TemporaryDirectory other;
    other.makeDirectory("Other.app/Contents/Resources");
    foundation::Bundle::setMainBundlePath(other / "Other.app");
    EXPECT_EQ(Image::imageNamed("Background.png"), nullptr);
}

struct HeaderCase {
    const char* name;
    std::size_t keep;    // bytes of a real 300x200 PNG kept; 0 keeps all
    std::size_t corrupt; // index of a byte to flip; SIZE_MAX none
    bool readable;
};

class PngHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(PngHeader, IsReadWithinTheBytesThereAre) {
    auto bytes = PngFile::encode(300, 200);
    if (GetParam().keep)
        bytes.resize(GetParam().keep);
    if (GetParam().corrupt != SIZE_MAX)
        bytes[GetParam().corrupt] ^= 0xff;
    auto size = Image::pngPixelSize(bytes);
    ASSERT_EQ(size.has_value(), GetParam().readable);
    if (size) {
        EXPECT_EQ(*size, (Size{300, 200}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PngHeader,
    ::testing::Values(HeaderCase{"whole", 0, SIZE_MAX, true}, HeaderCase{"headerOnly", 24, SIZE_MAX, true},
                      HeaderCase{"oneByte", 1, SIZE_MAX, false}, HeaderCase{"signatureOnly", 8, SIZE_MAX, false},
                      HeaderCase{"widthOnly", 20, SIZE_MAX, false}, HeaderCase{"heightCut", 23, SIZE_MAX, false},
                      HeaderCase{"badSignature", 0, 1, false}, HeaderCase{"badChunkLength", 0, 11, false},
                      HeaderCase{"notIhdrFirst", 0, 12, false}, HeaderCase{"hugeWidth", 0, 16, false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(PngHeaderEdges, ZeroSizeIsNoPicture) {
    auto bytes = PngFile::encode(0, 5);
    EXPECT_FALSE(Image::pngPixelSize(bytes).has_value());
    EXPECT_FALSE(Image::pngPixelSize({}).has_value());
}

// --- Pictures past the limits are refused before anything is decoded -------------

constexpr std::size_t side = foundation::ReadLimits::maximumPictureSide;
constexpr std::size_t fileBytes = foundation::ReadLimits::maximumPictureFileSize;

// A real 1 × 1 PNG whose header declares another size (its checksum then fails,
// as in a picture bomb; the header is all that is looked at before decoding).
std::vector<std::uint8_t> declaring(std::uint32_t width, std::uint32_t height) {
    auto bytes = PngFile::encode(1, 1);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        bytes[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    return bytes;
}

struct LimitCase {
    const char* name;
    std::vector<std::uint8_t> bytes; // written as Background.png, padded to `size` bytes
    std::size_t size;                // 0: as encoded; SIZE_MAX: a named pipe instead
    const char* refusal;             // part of the reason; "" when the picture is read
};

class PictureLimits : public ImageTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(PictureLimits, AreCheckedOnTheHeaderAndTheFileSize) {
    const auto& c = GetParam();
    std::string path = resource("Background.png");
    if (c.size == SIZE_MAX) {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << c.name;
    } else {
        auto bytes = c.bytes;
        bytes.resize(std::max(bytes.size(), c.size)); // a PNG reader ignores what follows its end
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    auto reading = Image::readPicture(path);
    EXPECT_EQ(reading.image == nullptr, *c.refusal != 0) << c.name;
    EXPECT_NE(reading.refusal.find(c.refusal), std::string::npos) << c.name << ": " << reading.refusal;
    EXPECT_EQ(Image::imageNamed("Background.png") == nullptr, *c.refusal != 0) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureLimits,
    ::testing::Values(LimitCase{"sideAtTheLimit", PngFile::encode(side, 1), 0, ""},
                      LimitCase{"widthOnePast", declaring(side + 1, 1), 0, "declares 4097 × 1 pixels"},
                      LimitCase{"heightOnePast", declaring(1, side + 1), 0, "declares 1 × 4097 pixels"},
                      LimitCase{"pictureBomb", declaring(65536, 65536), 0, "declares 65536 × 65536 pixels"},
                      LimitCase{"bytesAtTheLimit", PngFile::encode(2, 2), fileBytes, ""},
                      LimitCase{"oneBytePast", PngFile::encode(2, 2), fileBytes + 1, "larger than 8388608 bytes"},
                      LimitCase{"namedPipe", {}, SIZE_MAX, "not a regular file"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ImageTest, CompositeDrawsAtTheSizeSetIntoTheCurrentContextOnly) {
    Image image("/pictures/p.png", {10, 20});
    image.compositeToPoint(zeroPoint, CompositingOperation::SourceOver); // no context: nothing happens

    RecordingGraphicsContext context;
    GraphicsContext::setCurrent(&context);
    image.setSize({400, 300});
    image.compositeToPoint({5, 6}, CompositingOperation::Copy);
    GraphicsContext::setCurrent(nullptr);

    ASSERT_EQ(context.calls().size(), 1u);
    const DrawCall& call = context.calls()[0];
    EXPECT_EQ(call.kind, DrawCall::Kind::Image);
    EXPECT_EQ(call.imagePath, "/pictures/p.png");
    EXPECT_EQ(call.rect, (Rect{{5, 6}, {400, 300}}));
    EXPECT_EQ(call.operation, CompositingOperation::Copy);
    EXPECT_EQ(image.pixelSize(), (Size{10, 20}));
}

}
}
