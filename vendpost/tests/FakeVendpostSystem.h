#pragma once

#include "VendpostSystem.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// A scripted Windows for the launcher's flow: what the calls answer is set up
// by the test, and what the launcher asked for is recorded.
class FakeVendpostSystem {
public:
    struct LocaleAnswer {
        std::string text;
        int result = 0;
    };
    struct ProcessStart {
        std::string application;
        std::string commandLine;
    };

    FakeVendpostSystem();
    FakeVendpostSystem(const FakeVendpostSystem&) = delete;
    FakeVendpostSystem& operator=(const FakeVendpostSystem&) = delete;

    const vendpost::VendpostSystem& system() const { return system_; }

    // A registry default value stored with its terminator.
    static std::string Terminated(const std::string& text) { return text + '\0'; }

    // Script.
    std::string modulePath = "C:\\Disc\\Windows\\vps_QX-500.exe";
    bool moduleResultOverridden = false;
    unsigned long moduleResult = 0;
    std::map<vendpost::LocaleItem, LocaleAnswer> locale;
    // Key path under HKEY_CLASSES_ROOT -> the bytes of its default value as stored.
    std::map<std::string, std::string> registry;
    // Keys that open but whose default value cannot be read.
    std::set<std::string> unreadableKeys;
    std::set<std::string> existingFiles;
    bool processStarts = true;

    // Record.
    std::vector<std::string> openedKeys;
    std::vector<std::string> closedKeys;
    std::vector<std::string> existenceChecks;
    std::vector<ProcessStart> processes;
    std::vector<std::string> closedHandles;

private:
    static FakeVendpostSystem& Of(void* context) { return *static_cast<FakeVendpostSystem*>(context); }
    std::string KeyPath(vendpost::VendpostSystem::Key key) const;

    vendpost::VendpostSystem system_;
    std::vector<std::string> openKeys_;
};
