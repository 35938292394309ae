#include "Application.h"

#include "ApplicationDelegate.h"
#include "Backend.h"
#include "HeadlessBackend.h"
#include "Menu.h"
#include "Window.h"

#include <algorithm>

namespace docshelf::appkit {

namespace {

Application::BackendFactory& defaultBackendFactory() {
    static Application::BackendFactory factory;
    return factory;
}

std::shared_ptr<Application>& sharedSlot() {
    static std::shared_ptr<Application> application =
        std::make_shared<Application>(defaultBackendFactory() ? defaultBackendFactory()() : nullptr);
    return application;
}

}

Application::Application(std::shared_ptr<Backend> backend)
    : backend_(backend ? std::move(backend) : std::make_shared<HeadlessBackend>()) {
    publishAction("terminate", [this](const std::shared_ptr<Object>& sender) { terminate(sender); });
    publishAction("hide", [this](const std::shared_ptr<Object>& sender) { hide(sender); });
    publishAction("unhideAllApplications",
                  [this](const std::shared_ptr<Object>& sender) { unhideAllApplications(sender); });
    publishAction("orderFrontStandardAboutPanel",
                  [this](const std::shared_ptr<Object>&) { backend_->orderFrontAboutPanel(*this); });
}

Application& Application::shared() {
    return *sharedSlot();
}

std::shared_ptr<Application> Application::sharedPointer() {
    return sharedSlot();
}

void Application::reset(std::shared_ptr<Backend> backend) {
    sharedSlot() = std::make_shared<Application>(std::move(backend));
}

void Application::setDefaultBackendFactory(BackendFactory factory) {
    defaultBackendFactory() = std::move(factory);
}

void Application::setMainMenu(std::shared_ptr<Menu> menu) {
    mainMenu_ = std::move(menu);
    backend_->applicationDidChange(*this);
}

void Application::addWindow(std::shared_ptr<Window> window) {
    if (window && !owns(*window))
        windows_.push_back(std::move(window));
}

std::shared_ptr<Window> Application::keyWindow() const {
    auto found = std::ranges::find_if(windows_, [](const auto& window) { return window->isKeyWindow(); });
    return found == windows_.end() ? nullptr : *found;
}

void Application::finishLaunching() {
    if (launched_)
        return;
    launched_ = true;
    if (delegate_)
        delegate_->applicationDidFinishLaunching(foundation::Value::dictionary(
            {{"name", foundation::Value("NSApplicationDidFinishLaunchingNotification")}}));
}

int Application::run() {
    if (terminated_)
        return 0;
    return backend_->runEventLoop(*this);
}

void Application::terminate(const std::shared_ptr<Object>&) {
    if (terminated_)
        return;
    terminated_ = true;
    backend_->stopEventLoop();
}

void Application::hide(const std::shared_ptr<Object>&) {
    hidden_ = true;
    backend_->applicationDidChange(*this);
}

void Application::unhideAllApplications(const std::shared_ptr<Object>&) {
    hidden_ = false;
    backend_->applicationDidChange(*this);
}

bool Application::sendAction(std::string_view action, const std::shared_ptr<Object>& target,
                             const std::shared_ptr<Object>& sender) {
    if (action.empty())
        return false;
    if (target)
        return target->performAction(action, sender);
    if (performAction(action, sender))
        return true;
    auto delegateObject = std::dynamic_pointer_cast<Object>(delegate_);
    return delegateObject && delegateObject->performAction(action, sender);
}

void Application::windowDidBecomeKey(const Window& window) {
    if (!owns(window))
        return;
    for (const auto& other : windows_)
        if (other.get() != &window)
            other->resignKeyWindow();
}

void Application::windowDidClose(const Window& window) {
    if (!owns(window) || terminated_)
        return;
    bool anyVisible = std::ranges::any_of(windows_, [](const auto& other) { return other->isVisible(); });
    if (!anyVisible && delegate_ && delegate_->applicationShouldTerminateAfterLastWindowClosed(*this))
        terminate(nullptr);
}

bool Application::owns(const Window& window) const {
    return std::ranges::any_of(windows_, [&window](const auto& owned) { return owned.get() == &window; });
}

}
