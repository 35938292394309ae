#pragma once

#include <filesystem>
#include <string>

namespace docshelf::testing {

// How this test run runs the Windows programs, as wine-architecture.sh chose
// it when ctest started: "win32", the deliverables of build/win32 under 32-bit
// Wine; "win64", their 64-bit twins of build/win64 under wine64; "none" (or a
// choice file that is missing) where neither can run, with the reason.
class WineArchitecture {
public:
    // The choice that the build names.
    WineArchitecture();
    explicit WineArchitecture(const std::filesystem::path& choiceFile);

    const std::string& name() const { return name_; }
    bool usable() const { return name_ == "win32" || name_ == "win64"; }
    // Why this architecture, or why none.
    const std::string& reason() const { return reason_; }
    const std::filesystem::path& loader() const { return loader_; }
    const std::filesystem::path& server() const { return server_; }

    // Where Vendpost.exe and Startwick.exe of this architecture are.
    std::filesystem::path programs() const;
    // The recorder program of this architecture.
    std::filesystem::path recorder() const;
    // The sample disc's Windows folder with the programs of this architecture.
    std::filesystem::path discWindows() const;

private:
    std::string name_ = "none";
    std::string reason_;
    std::filesystem::path loader_;
    std::filesystem::path server_;
};

}
