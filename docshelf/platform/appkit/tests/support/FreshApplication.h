#pragma once

#include "platform/appkit/Application.h"
#include "platform/appkit/HeadlessBackend.h"
#include "platform/foundation/Bundle.h"

#include "GeometryPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace docshelf::testing {

// Each test starts with a new shared application on a headless backend, and
// leaves the main bundle as it found it.
class FreshApplication : public ::testing::Test {
protected:
    void SetUp() override {
        backend_ = std::make_shared<appkit::HeadlessBackend>();
        appkit::Application::reset(backend_);
    }
    void TearDown() override {
        foundation::Bundle::setMainBundlePath(std::nullopt);
        appkit::Application::reset();
    }

    appkit::Application& application() { return appkit::Application::shared(); }
    appkit::HeadlessBackend& backend() { return *backend_; }

private:
    std::shared_ptr<appkit::HeadlessBackend> backend_;
};

}
