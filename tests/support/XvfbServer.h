#pragma once

#include "platform/foundation/BoundedRun.h"

#include <memory>
#include <string>

namespace docshelf::testing {

// A private X server for the tests, started on the first free display and ended
// with the test program.
class XvfbServer {
public:
    // The one server of this test program; started on first use.
    static XvfbServer& shared();
    ~XvfbServer();

    static bool installed();
    bool running() const { return server_ != nullptr; }
    // ":N"; empty when the server did not start.
    const std::string& display() const { return display_; }
    // Sends every mapped top-level window what a window manager sends when the
    // user clicks its close box; how many windows got it.
    int closeTopLevelWindows() const;

private:
    XvfbServer();
    // One server, display_ set once it told its display; stop ends it.
    void start();
    void stop();

    std::unique_ptr<foundation::BoundedRun> server_;
    std::string display_;
};

} // namespace docshelf::testing
