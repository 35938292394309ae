#include "window/OpenCommand.h"

#include "platform/foundation/ShellRunner.h"

#include "CaseName.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace docshelf {
namespace {

// Every byte but NUL, alone and in runs, in a document path and in an address,
// must reach the opener as exactly one unchanged argument: through /bin/sh, and
// through bash reading in Shift JIS, where 0x81..0x9F and 0xE0..0xFC begin a
// two-byte character whose second byte may be a backslash or a backquote.
struct ShellCase {
    std::string description;
    std::string shell;
    const char* locale; // the caller's LC_ALL, which the runner must not hand to the shell
};

std::string hex(unsigned byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// Named values: each byte alone, each byte three times, each Shift JIS lead byte
// before each character the shell reads inside double quotes, and all bytes in a row.
std::vector<std::pair<std::string, std::string>> hostileValues() {
    std::vector<std::pair<std::string, std::string>> values;
    std::string all;
    for (unsigned byte = 1; byte <= 255; ++byte) {
        char c = static_cast<char>(byte);
        values.emplace_back("byte " + hex(byte) + " alone", std::string(1, c));
        values.emplace_back("byte " + hex(byte) + " three times", std::string(3, c));
        all += c;
        bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        if (lead)
            for (char quoted : {'"', '$', '`', '\\'})
                values.emplace_back("lead byte " + hex(byte) + " before " + std::string(1, quoted),
                                    std::string{c, quoted, c, quoted, '"', ';', 'x'});
    }
    values.emplace_back("bytes 0x01 to 0xFF in a row", all);
    values.emplace_back("bytes 0xFF to 0x01 in a row", std::string(all.rbegin(), all.rend()));
    return values;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Puts an environment variable back as it was when the test ends.
struct SavedVariable {
    explicit SavedVariable(const char* variable) : name(variable) {
        if (const char* text = std::getenv(variable))
            value = text;
    }
    ~SavedVariable() { value ? setenv(name, value->c_str(), 1) : unsetenv(name); }
    const char* name;
    std::optional<std::string> value;
};

class ShellSafety : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ShellSafety, EveryByteReachesTheOpenerAsOneUnchangedArgument) {
    if (access(GetParam().shell.c_str(), X_OK) != 0 || !std::setlocale(LC_ALL, GetParam().locale))
        GTEST_SKIP() << "needs " << GetParam().shell << " and the " << GetParam().locale
                     << " locale (scripts/install-deps makes it)";
    std::setlocale(LC_ALL, "C");
    testing::TemporaryDirectory dir;
    // The opener: records how many arguments it got and each one, byte for byte.
    dir.write("bin/open", "#!/bin/sh\nd=$(dirname \"$0\")/..\nprintf '%s' \"$#\" > \"$d/count\"\ni=0\n"
                          "for a in \"$@\"; do i=$((i+1)); printf '%s' \"$a\" > \"$d/argument$i\"; done\n");
    std::filesystem::permissions(dir / "bin/open", std::filesystem::perms::owner_all);
    SavedVariable path("PATH"), localeAll("LC_ALL"), language("LANG");
    setenv("PATH", (dir / "bin" + ":" + path.value.value_or("/usr/bin:/bin")).c_str(), 1);
    setenv("LC_ALL", GetParam().locale, 1);
    setenv("LANG", GetParam().locale, 1);

    int failures = 0;
    for (const auto& [name, bytes] : hostileValues()) {
        std::string document = "/Volumes/ZORVANE/Doc" + bytes + "/top.pdf";
        std::string address = "http://support.example/?MDL=" + bytes + "&LNG=en";
        std::string reader = "/Applications/R" + bytes + ".app";
        struct Run {
            std::string form;
            std::string command;
            std::vector<std::string> expected;
        };
        for (const Run& run : {Run{"address", OpenCommand::document(address, "open"), {address}},
                               Run{"document with reader",
                                   OpenCommand::documentWithApplication(document, reader),
                                   {document, "-a", reader}}}) {
            std::filesystem::remove(dir / "count");
            int status = foundation::ShellRunner::run(GetParam().shell, run.command);
            std::vector<std::string> seen;
            for (std::size_t i = 1; i <= run.expected.size(); ++i)
                seen.push_back(contents(dir / ("argument" + std::to_string(i))));
            bool same =
                status == 0 && contents(dir / "count") == std::to_string(run.expected.size()) && seen == run.expected;
            EXPECT_TRUE(same) << name << ", " << run.form << ": status " << status << ", " << contents(dir / "count")
                              << " arguments";
            failures += same ? 0 : 1;
        }
        if (failures > 5)
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Shells, ShellSafety,
                         ::testing::Values(ShellCase{"sh", "/bin/sh", "C"},
                                           ShellCase{"bash in Shift JIS", "/bin/bash", "ja_JP.SJIS"}),
                         [](const auto& testCase) { return testing::caseName(testCase.param.description); });

}
}
