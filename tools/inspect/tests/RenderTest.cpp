#include "ProcessRunner.h"
#include "TemporaryDirectory.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace docshelf {
namespace {

namespace fs = std::filesystem;
using testing::XvfbServer;

const std::string sampleApp = SAMPLE_APP_PATH;
const std::string sampleBundle = fs::path(sampleApp).parent_path() / "MacResources/CDCommonMessage.bundle";

// The sample disc: three models offering 5, 3 and 4 languages, texts in six
// localizations (English, Japanese, Spanish, de, fr, it) that users all get.
constexpr std::size_t sampleWindows = 6 * (5 + 3 + 4);

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Width and height from a PNG file's header; 0 × 0 when it is not one.
std::pair<unsigned, unsigned> pngSize(const fs::path& file) {
    std::string bytes = contents(file);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    auto number = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[i]);
        return value;
    };
    return {number(16), number(20)};
}

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::installed())
            GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
    }

    testing::ProcessResult render(const std::string& messageBundle) const {
        return testing::runProcess(
            INSPECTOR_PATH, {"render", "--app", sampleApp, "--out", out.path(), "--message-bundle", messageBundle},
            {"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=en"});
    }

    std::vector<fs::path> pictures() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(out.path()))
            if (entry.path().extension() == ".png")
                found.push_back(entry.path());
        return found;
    }

    testing::TemporaryDirectory out;
};

// The repository's own folder, its lists naming /Volumes/ZORVANE, with the built application.
TEST_F(Render, SampleDiscFolderRendersEveryWindowWithoutFindings) {
    auto result = testing::runProcess(INSPECTOR_PATH,
                                      {"render", SAMPLE_DISC_SOURCE, "--app", BUILT_APP_PATH, "--out", out.path()},
                                      {"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=en"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.err.find("note: /Volumes/ZORVANE is read from "), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "") << "no text of the sample disc may be cut off";

    auto files = pictures();
    EXPECT_EQ(files.size(), sampleWindows);
    for (const auto& file : files)
        EXPECT_EQ(pngSize(file), std::make_pair(520u, 340u)) << file;
    std::string index = contents(out.path() / "index.html");
    EXPECT_EQ(occurrences(index, "<section"), 6u);
    EXPECT_EQ(occurrences(index, "<figure>"), sampleWindows);
    EXPECT_NE(index.find("<img src=\"de_QX-750-Duo_Italiano.png\""), std::string::npos) << index;
    EXPECT_NE(index.find("<figcaption>RT-20 \xE2\x80\x94 \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4</figcaption>"),
              std::string::npos)
        << "captions name model and language (RT-20 — 한국어)";
    EXPECT_TRUE(fs::exists(out.path() / "Japanese_RT-20_\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4.png"));
}

// A model name with a direction override, a line separator and NEL: the
// pictures' names keep only letters and digits (of any script), "-" and ".".
TEST_F(Render, PictureNamesKeepOnlyLettersDigitsDashAndDot) {
    testing::TemporaryDirectory copy;
    fs::copy(SAMPLE_DISC_SOURCE, copy.path(), fs::copy_options::recursive);
    for (const char* list : {"MacResources/CDInfo.plist", "MacResources/ModelInfo.plist"}) {
        fs::path file = copy.path() / list;
        std::string text = std::regex_replace(contents(file), std::regex(">QX-500<"),
                                              ">\xC3\x9C\xE2\x80\xAEQX\xE2\x80\xA8"
                                              "500\xC2\x85<");
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }
    auto result = testing::runProcess(INSPECTOR_PATH,
                                      {"render", copy.path().string(), "--app", BUILT_APP_PATH, "--out", out.path()},
                                      {"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=en"});
    EXPECT_EQ(pictures().size(), sampleWindows) << result.err;
    std::size_t renamed = 0;
    for (const auto& picture : pictures()) {
        renamed += picture.filename().string().starts_with("de_\xC3\x9C-QX-500-_") ? 1u : 0u;
        for (const char* hidden : {"\xE2\x80\xAE", "\xE2\x80\xA8", "\xC2\x85"})
            EXPECT_EQ(picture.filename().string().find(hidden), std::string::npos) << picture;
    }
    EXPECT_GT(renamed, 0u) << "the model's pictures are named de_\u00DC-QX-500-_...";
}

// One German caption too long for its button, in texts otherwise the sample's.
TEST_F(Render, OneGermanCaptionTooLongIsTheOneFinding) {
    testing::TemporaryDirectory texts;
    fs::path bundle = texts.path() / "CDCommonMessage.bundle";
    fs::copy(sampleBundle, bundle, fs::copy_options::recursive);
    fs::path german = bundle / "Contents/Resources/de.lproj/Localizable.strings";
    std::string table = std::regex_replace(contents(german), std::regex("\"UG_BTN_UG\" = \"[^\"]*\";"),
                                           "\"UG_BTN_UG\" = \"Benutzerhandbuch jetzt öffnen <b>\";");
    std::ofstream(german, std::ios::binary | std::ios::trunc) << table;

    auto result = render(bundle);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_EQ(occurrences(result.out, "\n"), 1u) << result.out;
    EXPECT_TRUE(result.out.starts_with(
        german.string() + ": error: [UG_BTN_UG] the documentation button's caption \"Benutzerhandbuch jetzt "
                          "öffnen <b>\" is cut off: it needs "))
        << result.out;
    EXPECT_EQ(pictures().size(), sampleWindows) << "the findings do not stop the pictures";

    // The report page: the finding on top, linked to each German window; those
    // windows marked and first; the disc's text escaped.
    std::string page = contents(out.path() / "index.html");
    auto finding = page.find("<code>text-does-not-fit</code>");
    auto germanSection = page.find("<section id=\"l-3\" lang=\"de\">");
    ASSERT_NE(finding, std::string::npos) << page;
    EXPECT_LT(finding, germanSection);
    EXPECT_LT(germanSection, page.find("<section id=\"l-0\"")) << "the failing localization first";
    EXPECT_EQ(occurrences(page, "<figure class=\"failing\">"), 12u);
    EXPECT_LT(page.find("<figure class=\"failing\"><a id=\"w-de_RT-20_"), page.find("<figure><a id=\"w-"));
    EXPECT_NE(page.find("<a href=\"#w-de_QX-750-Duo_Italiano.png\">"), std::string::npos);
    EXPECT_NE(page.find("öffnen &lt;b&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<b>"), std::string::npos);
}

// A disc made for the volume LXSERIES: the browser reads its texts from ZORVANE
// alone, so the windows are drawn with every caption as its key.
TEST_F(Render, DiscOfAnotherVolumeNameShowsTheKeys) {
    testing::TemporaryDirectory discs;
    fs::path disc = discs.path() / "LXSERIES";
    fs::copy(SAMPLE_DISC_SOURCE, disc, fs::copy_options::recursive);
    fs::copy(BUILT_APP_PATH, disc / "Docshelf.app", fs::copy_options::recursive);
    for (const auto& entry : fs::recursive_directory_iterator(disc))
        if (entry.path().extension() == ".plist") {
            std::string text =
                std::regex_replace(contents(entry.path()), std::regex("/Volumes/ZORVANE"), "/Volumes/LXSERIES");
            std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << text;
        }
    auto result = testing::runProcess(
        INSPECTOR_PATH, {"render", disc.string(), "--out", out.path(), "--model", "QX-500", "--language", "English"},
        {"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=en"});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_NE(result.out.find("[volume-name-differs]"), std::string::npos) << result.out;
    std::string page = contents(out.path() / "index.html");
    EXPECT_NE(page.find("Without the common message bundle"), std::string::npos) << page;
    EXPECT_EQ(pictures().size(), 1u);
}

// A volume mapped where the disc is not: every window lists no model, and render fails as check does.
TEST_F(Render, WindowsWithoutModelsAreAnError) {
    testing::TemporaryDirectory empty;
    auto result = testing::runProcess(INSPECTOR_PATH,
                                      {"render", "--app", BUILT_APP_PATH, "--volume",
                                       "/Volumes/ZORVANE=" + empty.path().string(), "--out", out.path()},
                                      {"DISPLAY=" + XvfbServer::shared().display(), "LANGUAGE=en"});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_EQ(occurrences(result.out, "[window-without-models]"), 1u) << result.out;
}

TEST(RenderWithoutDisplay, SaysHowToRunIt) {
    testing::TemporaryDirectory out;
    auto result =
        testing::runProcess(INSPECTOR_PATH, {"render", "--app", sampleApp, "--out", out.path()}, {"DISPLAY="});
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("xvfb-run docshelf-inspect render"), std::string::npos) << result.err;
    EXPECT_TRUE(fs::is_empty(out.path()));
}

}
}
