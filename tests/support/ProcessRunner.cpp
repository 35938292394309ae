#include "ProcessRunner.h"

#include "platform/foundation/BoundedRun.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace docshelf::testing {

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
    // Far beyond any test's own time-out; what hangs is ended with its group.
    auto run = foundation::BoundedRun::run(program, arguments, std::chrono::minutes(30), environment);
    ProcessResult result;
    if (run.outcome() == foundation::BoundedRun::Outcome::Ended)
        result.exitStatus = run.status();
    result.out = run.out();
    result.err = run.err();
    return result;
}

bool processEnded(int pid) {
    for (int tries = 0; tries < 500; ++tries) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string fields;
        if (!std::getline(stat, fields) || fields.find(") Z ") != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}
