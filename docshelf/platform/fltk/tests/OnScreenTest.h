#pragma once

#include "XvfbServer.h"

#include "platform/appkit/Application.h"
#include "platform/fltk/FltkBackend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace docshelf::fltk::testing {

using docshelf::testing::XvfbServer;

// A test whose application draws with the FLTK backend on the shared private X
// server, so that windows are really shown and texts really measured.
class OnScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!XvfbServer::installed())
            GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(XvfbServer::shared().running()) << "Xvfb did not start";
        setenv("DISPLAY", XvfbServer::shared().display().c_str(), 1);
        ASSERT_TRUE(FltkBackend::openDisplay());
        backend = std::make_shared<FltkBackend>();
        appkit::Application::reset(backend);
    }
    void TearDown() override { appkit::Application::reset(); }

    std::shared_ptr<FltkBackend> backend;
};

}
