#pragma once

#include <functional>
#include <string>

namespace docshelf::foundation {

// Runs a command line through the shell and waits for it, as system() does, but
// the shell reads the line in the C locale (LC_ALL=C). In a double-byte locale
// such as ja_JP.SJIS, bash takes the byte before an escaping backslash for the
// first half of a character: the value "a\x95\"; id; \x95\"" quoted as
// "a\x95\\\"; id; \x95\\\"" would end its quotes early and run id. Read byte by
// byte, it stays one argument.
class ShellRunner {
public:
    using Handler = std::function<int(const std::string& command)>;

    // Through /bin/sh, or the installed handler; the shell's wait status, -1 when
    // it could not be started.
    static int system(const std::string& command);
    // Through the given shell ("/bin/bash"), as "shell -c command".
    static int run(const std::string& shell, const std::string& command);
    // Tests and tools install a handler that records instead of running; an
    // empty one restores the real shell.
    static void setHandler(Handler handler);
};

}
