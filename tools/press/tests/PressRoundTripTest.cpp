#include "ProcessRunner.h"
#include "RecorderOutput.h"
#include "SuppliesHost.h"
#include "TemporaryDirectory.h"
#include "WineSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace docshelf::press {
namespace {

namespace fs = std::filesystem;
using testing::RecorderOutput;
using testing::TemporaryDirectory;
using testing::WineSession;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The sample disc made from its manuals, models table and the 32-bit Windows
// programs, pressed, and read
// back with readers we did not write: xorriso's Joliet tree (what Windows
// reads) and 7-Zip's HFS+ tree (what the Mac mounts), once for the suite.
class PressRoundTripTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new TemporaryDirectory;
        const std::string disc = *folder / "discs/ZORVANE";
        const std::string image = *folder / "discs/ZORVANE.iso";
        // clang-format off
        init = testing::runProcess(PRESS_PATH, {
            "init", "--models", SAMPLE_DISC_SOURCE "/models.csv", "--manuals", SAMPLE_DISC_SOURCE "/ZORVANE/Documentation",
            "--documentation", "Manuals", "--url", "http://support.example.com/manuals/redirect?",
            "--online-languages", "English", "--windows-file", SAMPLE_DISC_SOURCE "/ZORVANE/Windows/ReadMe.txt",
            "--setup", "ReadMe.txt", "--windows-programs", DOCSHELF_WIN32_DIR,
            "--out", disc});
        // clang-format on
        if (init.exitStatus != 0)
            return;
        pressed = testing::runProcess(PRESS_PATH, {"image", disc});
        testing::runProcess("/usr/bin/timeout", {"120", "xorriso", "-osirrox", "on", "-read_fs", "norock", "-indev",
                                                 image, "-extract", "/", *folder / "joliet"});
        testing::runProcess("/usr/bin/timeout", {"120", "7zz", "x", "-thfs", "-y", "-o" + *folder / "hfsplus", image});
        // Extracted Joliet files are read-only; the twins below take their places.
        std::error_code code;
        fs::permissions(*folder / "joliet", fs::perms::owner_write, fs::perm_options::add, code);
        for (auto it = fs::recursive_directory_iterator(*folder / "joliet", code);
             !code && it != fs::recursive_directory_iterator(); it.increment(code))
            fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, code);
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }

    void SetUp() override {
        ASSERT_EQ(init.exitStatus, 0) << init.err;
        ASSERT_EQ(pressed.exitStatus, 0) << pressed.err;
    }

    fs::path joliet(const std::string& relative) const { return fs::path(*folder / "joliet") / relative; }

    // An extracted launcher as this run's Wine runs it: the disc's own 32-bit
    // program, or where Wine runs no 32-bit program, the 64-bit twin under its name.
    fs::path launcher(const WineSession& wine, const std::string& relative, const char* program) const {
        if (wine.architecture().name() != "win32")
            fs::copy_file(wine.architecture().programs() / program, joliet(relative),
                          fs::copy_options::overwrite_existing);
        return joliet(relative);
    }
    fs::path mac() const { return fs::path(*folder / "hfsplus/ZORVANE"); }

    // The recorder, copied into the test folder, as the program that opens files of the extension.
    fs::path registerOpener(const WineSession& wine, const std::string& extension, const std::string& command) const {
        fs::path program = fs::path(*folder / "apps") / ("opener" + extension.substr(1) + ".exe");
        fs::create_directories(program.parent_path());
        fs::copy_file(wine.architecture().recorder(), program, fs::copy_options::overwrite_existing);
        std::string className = "ZvPress" + extension.substr(1);
        EXPECT_TRUE(wine.setDefaultValue("HKCR\\" + extension, className));
        EXPECT_TRUE(wine.setDefaultValue("HKCR\\" + className + "\\shell\\open\\command",
                                         "\"" + WineSession::windowsPath(program) + "\" " + command));
        return program;
    }

    static inline TemporaryDirectory* folder = nullptr;
    static inline testing::ProcessResult init;
    static inline testing::ProcessResult pressed;
};

TEST_F(PressRoundTripTest, WritesAndPressesTheSampleDiscWithoutAFinding) {
    // Not a terminal: no progress, so anything said is a finding or a fault.
    EXPECT_EQ(init.err, "");
    // The one word: the bundle built here is no Mac program.
    EXPECT_EQ(std::count(pressed.err.begin(), pressed.err.end(), '\n'), 1) << pressed.err;
    EXPECT_NE(pressed.err.find("[app-not-for-mac]"), std::string::npos) << pressed.err;
}

TEST_F(PressRoundTripTest, MacTreeReadBackChecksCleanAsTheMountedDisc) {
    auto check = testing::runProcess(INSPECTOR_PATH,
                                     {"check", "--app", mac() / "Docshelf.app", "--message-bundle",
                                      mac() / "MacResources/CDCommonMessage.bundle", "--windows",
                                      joliet("Windows").string(), "--volume", "/Volumes/ZORVANE=" + mac().string()});
    EXPECT_EQ(check.exitStatus, 0) << check.out << check.err;
    EXPECT_EQ(check.out, "");
    EXPECT_TRUE(fs::status(mac() / "Docshelf.app/Contents/MacOS/Docshelf").permissions() == fs::perms(0755));
}

TEST_F(PressRoundTripTest, ExtractedSetupOpensWhatItsIniNames) {
    WineSession wine;
    ASSERT_TRUE(wine.ready());
    fs::path opener = registerOpener(wine, ".txt", "\"%1\"");
    RecorderOutput recorder(*folder / "setup-recording.txt");
    auto [name, value] = recorder.environment();
    ASSERT_EQ(wine.run(launcher(wine, "Windows/setup.exe", "Startwick.exe"), {{name, value}}, folder->path()), 0);

    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "setup.exe opened nothing";
    EXPECT_EQ(lower(recording->modulePath), lower(WineSession::windowsPath(opener)));
    EXPECT_NE(lower(recording->commandLine).find(lower(WineSession::windowsPath(joliet("Windows/ReadMe.txt")))),
              std::string::npos)
        << recording->commandLine;
    EXPECT_EQ(lower(recording->currentDirectory), lower(WineSession::windowsPath(joliet("Windows"))));
}

TEST_F(PressRoundTripTest, ExtractedSuppliesCopyOpensThePageOfItsModel) {
    WineSession wine;
    ASSERT_TRUE(wine.ready());
    registerOpener(wine, ".html", "%1");
    RecorderOutput recorder(*folder / "supplies-recording.txt");
    auto [name, value] = recorder.environment();
    ASSERT_EQ(wine.run(launcher(wine, "Windows/vps_QX-500.exe", "Vendpost.exe"), {{name, value}}, folder->path()), 0);

    auto recording = recorder.recording();
    ASSERT_TRUE(recording) << "vps_QX-500.exe started no browser";
    EXPECT_EQ(recording->commandLine, std::string("openerhtml.exe http://") + vendpost::kSuppliesHost +
                                          "/genuine/redirect/index.aspx?model=QX-500&country=USA&gengo=ENU");
}

}
}
