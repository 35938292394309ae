#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace docshelf::testing {

// Runs Windows programs and reg.exe under Wine in the test prefix that the
// wine_prefix fixture set up, with a wineserver that stays for the whole run.
// Wine's output goes to a log file: its background services keep inherited
// pipes open, so nothing of it may be read through one.
class WineSession {
public:
    using Environment = std::map<std::string, std::string>;

    // The prefix and log named by the build.
    WineSession();
    WineSession(std::filesystem::path prefix, std::filesystem::path log);

    // Runs the program to its end in the given folder; its exit code, or -1
    // when it could not be started or did not end within the timeout.
    int run(const std::filesystem::path& program, const Environment& environment = {},
            const std::filesystem::path& workingDirectory = {},
            std::chrono::seconds timeout = std::chrono::seconds(60)) const;

    // Sets the default value of a registry key, as "HKCR\\.html"; true on success.
    bool setDefaultValue(const std::string& key, const std::string& value) const;

    // "/tmp/a b/x.exe" -> "Z:\\tmp\\a b\\x.exe", the path Wine gives a Unix file.
    static std::string windowsPath(const std::filesystem::path& unixPath);

private:
    // Runs "wine" with the arguments and waits, bounded, for it to end.
    int spawn(const std::vector<std::string>& arguments, const Environment& environment,
              const std::filesystem::path& workingDirectory, std::chrono::seconds timeout) const;

    std::filesystem::path prefix_;
    std::filesystem::path log_;
};

}
