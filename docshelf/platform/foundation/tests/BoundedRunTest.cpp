#include "platform/foundation/BoundedRun.h"

#include "CaseName.h"
#include "ProcessRunner.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace docshelf::foundation {
namespace {

using namespace std::chrono_literals;

struct RunCase {
    const char* name;
    std::string program;
    std::string script; // for /bin/sh -c; "LEFT" is the file the script's background child names itself in
    std::chrono::milliseconds limit;
    std::vector<std::string> environment;
    BoundedRun::Outcome outcome;
    int status;
    std::string out;
    std::string says; // in the failure line
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << c.name;
}

class BoundedRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(BoundedRunTest, EndsAsToldAndLeavesNothingRunning) {
    const auto& c = GetParam();
    testing::TemporaryDirectory scratch;
    std::string left = (scratch.path() / "left").string();
    std::string script = c.script;
    if (auto at = script.find("LEFT"); at != std::string::npos)
        script.replace(at, 4, left);
    auto run = BoundedRun::run(c.program, {"-c", script}, c.limit, c.environment);

    EXPECT_EQ(run.outcome(), c.outcome) << c.name << ": " << run.failure(c.program);
    if (c.outcome == BoundedRun::Outcome::Ended) {
        EXPECT_EQ(run.status(), c.status) << c.name;
    }
    EXPECT_EQ(run.out(), c.out) << c.name;
    EXPECT_NE(run.failure("it").find(c.says), std::string::npos) << c.name << ": " << run.failure("it");
    // A child the program started in the background ends with it.
    std::ifstream named(left);
    pid_t background = 0;
    if (named >> background) {
        EXPECT_TRUE(testing::processEnded(background)) << c.name << ": process " << background << " still runs";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, BoundedRunTest,
                         ::testing::Values(RunCase{"status and output",
                                                   "/bin/sh",
                                                   "echo out; echo why >&2; exit 3",
                                                   60s,
                                                   {},
                                                   BoundedRun::Outcome::Ended,
                                                   3,
                                                   "out\n",
                                                   "ended with status 3: why"},
                                           RunCase{"time limit ends the whole group",
                                                   "/bin/sh",
                                                   "sleep 300 & echo $! > LEFT; echo started; wait",
                                                   300ms,
                                                   {},
                                                   BoundedRun::Outcome::TimedOut,
                                                   -1,
                                                   "started\n",
                                                   "did not end within"},
                                           RunCase{"background child outliving its parent",
                                                   "/bin/sh",
                                                   "sleep 300 & echo $! > LEFT",
                                                   60s,
                                                   {},
                                                   BoundedRun::Outcome::Ended,
                                                   0,
                                                   "",
                                                   "ended with status 0"},
                                           RunCase{"killed by a signal",
                                                   "/bin/sh",
                                                   "kill -KILL $$",
                                                   60s,
                                                   {},
                                                   BoundedRun::Outcome::Killed,
                                                   -1,
                                                   "",
                                                   "killed by a signal"},
                                           RunCase{"given variable replaces the inherited one",
                                                   "sh",
                                                   "echo \"$HOME\"",
                                                   60s,
                                                   {"HOME=/given"},
                                                   BoundedRun::Outcome::Ended,
                                                   0,
                                                   "/given\n",
                                                   "status 0"},
                                           RunCase{"bare name leaves the variable out",
                                                   "sh",
                                                   "echo \"${HOME-none}\"",
                                                   60s,
                                                   {"HOME"},
                                                   BoundedRun::Outcome::Ended,
                                                   0,
                                                   "none\n",
                                                   "status 0"},
                                           RunCase{"program that does not exist",
                                                   "/nonexistent/program",
                                                   "",
                                                   60s,
                                                   {},
                                                   BoundedRun::Outcome::NotStarted,
                                                   -1,
                                                   "",
                                                   "could not be started (No such file or directory)"}),
                         [](const auto& testCase) { return testing::caseName(testCase.param.name); });

}
}
