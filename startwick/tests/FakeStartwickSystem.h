#pragma once

#include "StartwickSystem.h"

#include <map>
#include <string>
#include <vector>

// A scripted Windows for the launcher's flow: the module path, the INI files
// and the current directory are set up by the test, and every call is recorded.
class FakeStartwickSystem {
public:
    struct ShellCall {
        std::string file;
        std::string parameters;
        std::string directory;
        std::string currentDirectory;  // the process's current directory at the call
    };
    struct ProfileRead {
        std::string section;
        std::string key;
        std::string iniPath;
        unsigned long size = 0;
    };
    // Orders ASCII text without regard to letter case: "SETUP" and "Setup" are one name.
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    // As GetPrivateProfileStringA finds them, sections and keys without regard to letter case.
    using Section = std::map<std::string, std::string, NoCaseLess>;
    using Sections = std::map<std::string, Section, NoCaseLess>;
    // INI path -> section -> key -> value.
    using IniFiles = std::map<std::string, Sections>;

    FakeStartwickSystem();
    FakeStartwickSystem(const FakeStartwickSystem&) = delete;
    FakeStartwickSystem& operator=(const FakeStartwickSystem&) = delete;

    const startwick::StartwickSystem& system() const { return system_; }

    // Script.
    std::string modulePath = "C:\\Disc\\Start.exe";
    bool moduleResultOverridden = false;
    unsigned long moduleResult = 0;
    IniFiles iniFiles;
    std::string currentDirectory = "C:\\Users\\Someone";
    bool currentDirectoryFails = false;

    // Record.
    std::vector<ProfileRead> profileReads;
    std::vector<std::string> directoryChanges;
    int directoryQueries = 0;
    std::vector<ShellCall> shellCalls;

private:
    static FakeStartwickSystem& Of(void* context) { return *static_cast<FakeStartwickSystem*>(context); }

    startwick::StartwickSystem system_;
};
