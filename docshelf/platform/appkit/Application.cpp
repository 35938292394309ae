#include "Application.h"

#include "AboutPanel.h"
#include "ApplicationDelegate.h"
#include "Backend.h"
#include "HeadlessBackend.h"
#include "Menu.h"
#include "MenuItem.h"
#include "Window.h"

#include "platform/foundation/Bundle.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace docshelf::appkit {

namespace {

Application::BackendFactory& defaultBackendFactory() {
    static Application::BackendFactory factory;
    return factory;
}

std::map<std::string, Application::BackendFactory, std::less<>>& namedBackendFactories() {
    static std::map<std::string, Application::BackendFactory, std::less<>> factories;
    return factories;
}

std::shared_ptr<Backend> firstBackend() {
    const char* chosen = std::getenv("DOCSHELF_BACKEND");
    if (chosen && *chosen) {
        auto found = namedBackendFactories().find(std::string_view(chosen));
        if (found != namedBackendFactories().end())
            if (auto backend = found->second())
                return backend;
    }
    return defaultBackendFactory() ? defaultBackendFactory()() : nullptr;
}

std::shared_ptr<Application>& sharedSlot() {
    static std::shared_ptr<Application> application = std::make_shared<Application>(firstBackend());
    return application;
}

}

Application::Application(std::shared_ptr<Backend> backend)
    : backend_(backend ? std::move(backend) : std::make_shared<HeadlessBackend>()) {
    publishAction("terminate", [this](const std::shared_ptr<Object>& sender) { terminate(sender); });
    publishAction("hide", [this](const std::shared_ptr<Object>& sender) { hide(sender); });
    publishAction("unhideAllApplications",
                  [this](const std::shared_ptr<Object>& sender) { unhideAllApplications(sender); });
    publishAction("hideOtherApplications",
                  [this](const std::shared_ptr<Object>& sender) { hideOtherApplications(sender); });
    publishAction("orderFrontStandardAboutPanel",
                  [this](const std::shared_ptr<Object>& sender) { orderFrontStandardAboutPanel(sender); });
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

void Application::setNamedBackendFactory(std::string name, BackendFactory factory) {
    namedBackendFactories()[std::move(name)] = std::move(factory);
}

void Application::setMainMenu(std::shared_ptr<Menu> menu) {
    mainMenu_ = std::move(menu);
    backend_->applicationDidChange(*this);
}

std::shared_ptr<Menu> Application::applicationMenu() const {
    auto first = mainMenu_ ? mainMenu_->itemAtIndex(0) : nullptr;
    return first ? first->submenu() : nullptr;
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

void Application::orderFrontStandardAboutPanel(const std::shared_ptr<Object>&) {
    if (!aboutPanel_) {
        aboutPanel_ = AboutPanel::panelWith(AboutPanel::contentsOf(foundation::Bundle::mainBundle()));
        addWindow(aboutPanel_);
    }
    aboutPanel_->center();
    aboutPanel_->makeKeyAndOrderFront(nullptr);
    backend_->orderFrontAboutPanel(*this);
}

std::string Application::name() {
    auto bundle = foundation::Bundle::mainBundle();
    for (const char* key : {"CFBundleName", "CFBundleExecutable"}) {
        foundation::Value value = bundle.infoDictionary().objectForKey(key);
        if (value.isNonEmptyString())
            return std::string(value.text());
    }
    return "Application";
}

void Application::hideOtherApplications(const std::shared_ptr<Object>&) {}

void Application::hide(const std::shared_ptr<Object>&) {
    hidden_ = true;
    backend_->applicationDidChange(*this);
}

void Application::unhideAllApplications(const std::shared_ptr<Object>&) {
    hidden_ = false;
    backend_->applicationDidChange(*this);
}

namespace {

std::shared_ptr<MenuItem> itemWithKeyEquivalent(const Menu& menu, std::string_view key) {
    for (const auto& item : menu.items()) {
        if (!item->action().empty() && item->keyEquivalent() == key)
            return item;
        if (item->submenu())
            if (auto found = itemWithKeyEquivalent(*item->submenu(), key))
                return found;
    }
    return nullptr;
}

}

bool Application::performKeyEquivalent(std::string_view key) {
    if (!mainMenu_ || key.empty())
        return false;
    auto item = itemWithKeyEquivalent(*mainMenu_, key);
    return item && item->sendAction();
}

bool Application::sendAction(std::string_view action, const std::shared_ptr<Object>& target,
                             const std::shared_ptr<Object>& sender) {
    if (action.empty())
        return false;
    if (target)
        return target->performAction(action, sender);
    if (auto key = keyWindow(); key && key->performAction(action, sender))
        return true;
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
    // The key window went: the next visible one takes its place.
    if (!keyWindow()) {
        auto next = std::ranges::find_if(windows_, [](const auto& other) { return other->isVisible(); });
        if (next != windows_.end())
            (*next)->makeKeyAndOrderFront(nullptr);
    }
    if (window.isPanel())
        return;
    bool anyVisible =
        std::ranges::any_of(windows_, [](const auto& other) { return other->isVisible() && !other->isPanel(); });
    if (!anyVisible && delegate_ && delegate_->applicationShouldTerminateAfterLastWindowClosed(*this))
        terminate(nullptr);
}

bool Application::owns(const Window& window) const {
    return std::ranges::any_of(windows_, [&window](const auto& owned) { return owned.get() == &window; });
}

}
