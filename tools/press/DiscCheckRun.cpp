#include "DiscCheckRun.h"

#include "platform/foundation/BoundedRun.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace docshelf::press {

using foundation::BoundedRun;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    if (from.empty() || from == to)
        return text;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}

DiscCheckRun DiscCheckRun::run(const std::string& inspector, const std::string& disc, const std::string& app,
                               const std::string& volume, const std::string& shownAs, std::chrono::seconds limit) {
    DiscCheckRun result;
    auto check = BoundedRun::run(inspector,
                                 {"check", "--json", "--app", disc + "/" + app, "--message-bundle",
                                  disc + "/MacResources/CDCommonMessage.bundle", "--windows", disc + "/Windows",
                                  "--volume", "/Volumes/" + volume + "=" + disc},
                                 limit);
    // 0: nothing to complain of, 1: errors found; anything else is the inspector's own failure.
    if (check.outcome() != BoundedRun::Outcome::Ended || (check.status() != 0 && check.status() != 1)) {
        result.failure_ = check.failure("the check (" + inspector + ")");
        return result;
    }
    auto findings = nlohmann::json::parse(check.out(), nullptr, false);
    if (!findings.is_array()) {
        result.failure_ = "the check (" + inspector + ") printed no list of findings";
        return result;
    }
    for (const auto& finding : findings) {
        std::string severity = finding.value("severity", "");
        std::string line = severity + " " + finding.value("code", "") + " " + finding.value("location", "") + ": " +
                           finding.value("message", "");
        result.findings_.push_back({severity, replaced(line, disc, shownAs)});
    }
    return result;
}

std::size_t DiscCheckRun::count(const std::string& severity) const {
    return static_cast<std::size_t>(
        std::count_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.severity == severity; }));
}

}
