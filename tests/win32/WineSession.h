#pragma once

#include "WineArchitecture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace docshelf::testing {

// Runs Windows programs and reg.exe under Wine in the test prefix that the
// wine_prefix fixture set up, with the loader and the wineserver of the
// architecture chosen for this run; the server stays for the whole run.
// Wine's output goes to a log file: its background services keep inherited
// pipes open, so nothing of it may be read through one.
class WineSession {
public:
    using Environment = std::map<std::string, std::string>;

    // The prefix, log and architecture named by the build.
    WineSession();
    WineSession(std::filesystem::path prefix, std::filesystem::path log, WineArchitecture architecture);

    const WineArchitecture& architecture() const { return architecture_; }
    // Success when Wine can run here; else a failure that says why, for tests
    // to assert first: a machine without a working Wine fails them, never skips them.
    ::testing::AssertionResult ready() const;

    // Runs the program in the given folder and waits until it and every process
    // that it started have ended, so that a program started late is caught too.
    // The program's exit code, or -1 when it could not be started or when it or
    // what it started had not ended within the timeout.
    int run(const std::filesystem::path& program, const Environment& environment = {},
            const std::filesystem::path& workingDirectory = {},
            std::chrono::seconds timeout = std::chrono::seconds(60)) const;

    // Sets the default value of a registry key, as "HKCR\\.html"; true on success.
    bool setDefaultValue(const std::string& key, const std::string& value) const;
    // Removes the default value of a registry key, leaving the key; true on success.
    bool deleteDefaultValue(const std::string& key) const;

    // "/tmp/a b/x.exe" -> "Z:\\tmp\\a b\\x.exe", the path Wine gives a Unix file.
    static std::string windowsPath(const std::filesystem::path& unixPath);

private:
    // Runs the loader with the arguments and waits, bounded, for it and its descendants to end.
    int spawn(const std::vector<std::string>& arguments, const Environment& environment,
              const std::filesystem::path& workingDirectory, std::chrono::seconds timeout) const;

    std::filesystem::path prefix_;
    std::filesystem::path log_;
    WineArchitecture architecture_;
};

}
