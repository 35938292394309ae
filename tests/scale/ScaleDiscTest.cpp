#include "window/session/WindowSession.h"

#include "CaseName.h"
#include "ProcessRunner.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

namespace docshelf {
namespace {

using nlohmann::ordered_json;

// A smaller instance of the scale disc (scripts/make-scale-disc): 120 models,
// 18 languages, 8 of them on the disc per model. Every model is listed, every
// model shows all its languages, the buttons open what the disc holds, and the
// disc check finds nothing to report.
constexpr int models = 120;
constexpr int languages = 18;
constexpr int onDisc = 8;

struct ScaleCase {
    std::string description;
    std::string format;
};

// Names the case in failure messages.
void PrintTo(const ScaleCase& scale, std::ostream* out) {
    *out << scale.description;
}

class ScaleDisc : public ::testing::TestWithParam<ScaleCase> {};

// The model's number on the scale disc: "Ämber-0042 Duo" -> 42.
int numberOf(const std::string& model) {
    return std::stoi(model.substr(model.rfind('-') + 1, 4));
}

TEST_P(ScaleDisc, StartsSwitchesEveryModelAndOpensWithNothingDropped) {
    testing::TemporaryDirectory dir;
    auto made = testing::runProcess(
        SCALE_DISC_SCRIPT, {dir.path().string(), "--app", DOCSHELF_APP_PATH, "--message-bundle", MESSAGE_BUNDLE_PATH,
                            "--models", std::to_string(models), "--languages", std::to_string(languages), "--on-disc",
                            std::to_string(onDisc), "--format", GetParam().format});
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    std::string disc = dir / "ZORVANE";

    std::string error;
    auto session = WindowSession::start(
        {disc + "/Docshelf.app", disc + "/MacResources/CDCommonMessage.bundle", std::nullopt}, error);
    ASSERT_TRUE(session) << error;
    ordered_json start = session->state();
    std::vector<std::string> listed = start["modelPopUp"]["items"];
    ASSERT_EQ(std::set<std::string>(listed.begin(), listed.end()).size(), static_cast<std::size_t>(models));

    for (const std::string& model : listed) {
        session->apply("model:" + model);
        ordered_json state = session->state();
        bool online = numberOf(model) % 50 == 49;
        std::size_t expected = online ? (languages + 1) / 2 : onDisc;
        EXPECT_EQ(state["modelPopUp"]["selected"], model);
        EXPECT_EQ(state["languagePopUp"]["items"].size(), expected) << model;
    }

    // Buttons on a model with its own folder, then on an online model.
    std::string own = listed.front();
    for (const std::string& model : listed)
        if (numberOf(model) == 6)
            own = model;
    session->apply("model:" + own);
    session->apply("press:documentation");
    session->apply("press:readme");
    std::vector<std::string> commands = session->state()["commands"];
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_NE(commands[0].find(disc + "/Documentation/" + own + "/"), std::string::npos) << commands[0];
    EXPECT_NE(commands[1].find("/MacOS_X_readme.rtf\""), std::string::npos) << commands[1];

    for (const std::string& model : listed)
        if (numberOf(model) == 49)
            session->apply("model:" + model);
    session->apply("press:documentation");
    commands = session->state()["commands"];
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_NE(commands[0].find("MDL=K00049&LNG="), std::string::npos) << commands[0];

    session->apply("press:close");
    EXPECT_TRUE(session->state()["terminated"]);

    auto checked = testing::runProcess(INSPECTOR_PATH, {"check", "--app", disc + "/Docshelf.app", "--message-bundle",
                                                        disc + "/MacResources/CDCommonMessage.bundle"});
    EXPECT_EQ(checked.exitStatus, 0) << checked.err;
    EXPECT_EQ(checked.out, "") << "the scale disc has findings";
}

INSTANTIATE_TEST_SUITE_P(Forms, ScaleDisc,
                         ::testing::Values(ScaleCase{"XML property lists", "xml"},
                                           ScaleCase{"binary property lists", "binary"}),
                         [](const auto& testCase) { return testing::caseName(testCase.param.description); });

}
}
