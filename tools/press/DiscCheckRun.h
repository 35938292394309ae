#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace docshelf::press {

// Runs the inspector's check on a disc folder whose property lists name
// /Volumes/NAME/...: the application bundle is the folder's `app`, the volume
// is mapped to the folder, the message bundle
// and the Windows folder are the folder's own. Findings come back as the
// inspector prints them, with the folder's path shown as another (a staging
// folder as the place the disc is moved to).
class DiscCheckRun {
public:
    struct Finding {
        std::string severity;
        std::string line; // "severity code location: message"
    };

    static DiscCheckRun run(const std::string& inspector, const std::string& disc, const std::string& app,
                            const std::string& volume, const std::string& shownAs, std::chrono::seconds limit);

    // Empty when the check ran; else why it could not, in one line.
    const std::string& failure() const { return failure_; }
    const std::vector<Finding>& findings() const { return findings_; }
    std::size_t count(const std::string& severity) const;

private:
    std::string failure_;
    std::vector<Finding> findings_;
};

}
