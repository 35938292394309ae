#include "window/Locations.h"
#include "window/OpenCommand.h"

#include "platform/foundation/ShellRunner.h"
#include "platform/foundation/VolumeMap.h"

#include "window/session/WindowSession.h"

#include "CaseName.h"
#include "ProcessRunner.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <map>
#include <unistd.h>

namespace docshelf {
namespace {

struct CommandCase {
    const char* name;
    const char* target;
    const char* expected;
};

class OpenCommandText : public ::testing::TestWithParam<CommandCase> {};

TEST_P(OpenCommandText, QuotesOnlyWhatTheShellReads) {
    EXPECT_EQ(OpenCommand::document(GetParam().target, "open"), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, OpenCommandText,
                         ::testing::Values(CommandCase{"ordinary path", "/Volumes/ZORVANE/Docs/English/top.pdf",
                                                       "open \"/Volumes/ZORVANE/Docs/English/top.pdf\""},
                                           CommandCase{"spaces", "/Volumes/ZORVANE/QX 750 Duo/top.html",
                                                       "open \"/Volumes/ZORVANE/QX 750 Duo/top.html\""},
                                           CommandCase{"address", "http://s/?MDL=X1&LNG=en&SRC=DOC",
                                                       "open \"http://s/?MDL=X1&LNG=en&SRC=DOC\""},
                                           CommandCase{"double quote", "/d/\"x\"", "open \"/d/\\\"x\\\"\""},
                                           CommandCase{"dollar", "/d/$HOME", "open \"/d/\\$HOME\""},
                                           CommandCase{"backquote", "/d/`reboot`", "open \"/d/\\`reboot\\`\""},
                                           CommandCase{"backslash", "/d/a\\b", "open \"/d/a\\\\b\""},
                                           CommandCase{"single quote and glob stay", "/d/it's *", "open \"/d/it's *\""},
                                           CommandCase{"empty", "", "open \"\""}),
                         [](const auto& testCase) { return testing::caseName(testCase.param.name); });

TEST(OpenCommand, PdfWithApplicationAndOtherOpeners) {
    EXPECT_EQ(OpenCommand::documentWithApplication("/d/top.pdf", "/Applications/Adobe Reader.app"),
              "open \"/d/top.pdf\" -a \"/Applications/Adobe Reader.app\"");
    EXPECT_EQ(OpenCommand::document("/d/a b.pdf", "xdg-open"), "xdg-open \"/d/a b.pdf\"");
}

// The shell itself must hand the opener exactly one argument, the value unchanged.
TEST(OpenCommand, RealShellSeesOneUnchangedArgument) {
    testing::TemporaryDirectory dir;
    std::string recorder = dir / "opener";
    dir.write("opener", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/seen\"\n");
    std::filesystem::permissions(recorder, std::filesystem::perms::owner_all);
    for (std::string value :
         {"/d/plain", "/d/a b", "/d/\"q\"", "/d/$HOME and $(id)", "/d/`id`", "/d/x\\y\\", "/d/'s' *"}) {
        std::string command = OpenCommand::document(value, recorder);
        auto result = testing::runProcess("/bin/sh", {"-c", command});
        ASSERT_EQ(result.exitStatus, 0) << command << result.err;
        std::ifstream seen(dir / "seen");
        std::string count, argument;
        std::getline(seen, count);
        std::getline(seen, argument);
        EXPECT_EQ(count, "1") << command;
        EXPECT_EQ(argument, value) << command;
    }
}

// In Shift JIS, 0x95 0x5C is one character: a shell reading the command line in
// that locale takes the backslash before a quote for half of it, and the quote
// then ends the argument early.
TEST(OpenCommand, ShellInADoubleByteLocaleSeesOneUnchangedArgument) {
    const char* sjis = "ja_JP.SJIS";
    locale_t available = newlocale(LC_ALL_MASK, sjis, nullptr);
    if (!available || access("/bin/bash", X_OK) != 0)
        GTEST_SKIP() << "needs bash and the ja_JP.SJIS locale (scripts/install-deps makes it)";
    freelocale(available);
    testing::TemporaryDirectory dir;
    std::string recorder = dir / "opener";
    dir.write("opener", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/seen\"\n");
    std::filesystem::permissions(recorder, std::filesystem::perms::owner_all);
    std::string value = dir / "a\x95\"; touch broken; : \x95\"";
    const char* previous = std::getenv("LC_ALL");
    std::string saved = previous ? previous : "";
    setenv("LC_ALL", sjis, 1);
    int status = foundation::ShellRunner::run("/bin/bash", "cd '" + dir.path().string() + "' && " +
                                                               OpenCommand::document(value, recorder));
    previous ? setenv("LC_ALL", saved.c_str(), 1) : unsetenv("LC_ALL");
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "broken")) << "the path ran a command";
    std::ifstream seen(dir / "seen");
    std::string count, argument;
    std::getline(seen, count);
    std::getline(seen, argument);
    EXPECT_EQ(count, "1");
    EXPECT_EQ(argument, value);
}

TEST(Locations, EnvironmentChoosesTheDisc) {
    std::map<std::string, std::string> env;
    auto getenv = [&](const char* name) -> const char* {
        auto found = env.find(name);
        return found == env.end() ? nullptr : found->second.c_str();
    };
    Locations plain = Locations::fromEnvironment(getenv);
    EXPECT_EQ(plain.messageBundle, "/Volumes/ZORVANE/MacResources/CDCommonMessage.bundle");
    EXPECT_EQ(plain.pdfReader, "/Applications/Adobe Reader.app");
    EXPECT_EQ(plain.opener, "xdg-open");
    EXPECT_FALSE(plain.openerTakesApplication());

    env["DOCSHELF_VOLUMES"] = "/media/alice";
    EXPECT_EQ(Locations::fromEnvironment(getenv).messageBundle, "/Volumes/ZORVANE/MacResources/CDCommonMessage.bundle")
        << "the path stays as the Mac has it; the volume map says where it is read";
    env["DOCSHELF_MESSAGE_BUNDLE"] = "/elsewhere/M.bundle";
    env["DOCSHELF_PDF_READER"] = "/opt/Reader.app";
    Locations named = Locations::fromEnvironment(getenv);
    EXPECT_EQ(named.messageBundle, "/elsewhere/M.bundle");
    EXPECT_EQ(named.pdfReader, "/opt/Reader.app");

    EXPECT_TRUE(Locations::macDefaults().openerTakesApplication());
}

}
}

#ifndef __APPLE__
namespace docshelf {
namespace {

// The browser off the Mac on the repository's disc, its lists naming
// /Volumes/ZORVANE: mounted under DOCSHELF_VOLUMES, or copied anywhere with the
// browser's bundle in it. It lists the models and opens the path where the disc lies.
TEST(BrowserOffTheMac, ReadsAndOpensTheDiscWhereItLies) {
    namespace fs = std::filesystem;
    for (bool underVolumes : {true, false}) {
        SCOPED_TRACE(underVolumes ? "DOCSHELF_VOLUMES" : "the folder holding the bundle");
        testing::TemporaryDirectory folder;
        fs::path disc = folder.path() / (underVolumes ? "ZORVANE" : "draft");
        fs::copy(SAMPLE_DISC_SOURCE, disc, fs::copy_options::recursive);
        fs::copy(BUILT_APP_PATH, disc / "Docshelf.app", fs::copy_options::recursive);
        std::string volumes = folder.path().string();
        auto getenv = [&](const char* name) -> const char* {
            return underVolumes && std::string(name) == "DOCSHELF_VOLUMES" ? volumes.c_str() : nullptr;
        };
        Locations::mapVolumes(getenv, disc / "Docshelf.app");
        std::string error;
        auto session = WindowSession::start({disc / "Docshelf.app", std::nullopt, std::nullopt}, error);
        ASSERT_TRUE(session) << error;
        Locations::setOverride(Locations::fromEnvironment(getenv));
        session->apply("press:documentation");
        auto state = session->state();
        EXPECT_EQ(state["modelPopUp"]["items"].size(), 3u) << state.dump(2);
        EXPECT_NE(state["published"]["modelLabelTitle"], "TXT_MODEL: ") << "the disc's texts, not their keys";
        EXPECT_EQ(
            state["commands"],
            nlohmann::ordered_json({"xdg-open \"" + (disc / "Documentation/Manuals/English/top.pdf").string() + "\""}));
        session.reset();
        foundation::VolumeMap::clear();
    }
}

}
}
#endif
