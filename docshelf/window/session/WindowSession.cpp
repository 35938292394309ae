#include "window/session/WindowSession.h"

#include "window/session/JsonExport.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/MenuItem.h"
#include "platform/appkit/NibLoader.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ShellRunner.h"
#include "window/DocumentationAppDelegate.h"
#include "window/Locations.h"

namespace docshelf {

using appkit::Application;
using appkit::PopUpButton;
using foundation::Value;
using nlohmann::ordered_json;

namespace {

constexpr const char* framedFields[] = {"modelLabelTitleTxtField", "supportModelStaticTitleTxtField",
                                        "languageLabelTitleTxtField", "languageStaticTitleTxtField",
                                        "languagePUButton"};

ordered_json popUpState(const std::shared_ptr<PopUpButton>& popUp) {
    ordered_json state;
    auto items = ordered_json::array();
    if (popUp) {
        for (std::size_t i = 0; i < popUp->numberOfItems(); ++i)
            items.push_back(toJson(popUp->itemAtIndex(i)->title()));
    }
    state["hidden"] = popUp ? popUp->isHidden() : false;
    state["items"] = std::move(items);
    state["selected"] = popUp ? toJson(popUp->titleOfSelectedItem()) : nullptr;
    return state;
}

}

std::unique_ptr<WindowSession> WindowSession::start(const WindowOptions& options, std::string& error) {
    std::unique_ptr<WindowSession> session(new WindowSession);
    foundation::Bundle::setMainBundlePath(options.app);

    Locations locations = Locations::macDefaults();
    if (options.messageBundle)
        locations.messageBundle = *options.messageBundle;
    if (options.reader)
        locations.pdfReader = *options.reader;
    Locations::setOverride(locations);

    foundation::ShellRunner::setHandler([commands = session->commands_](const std::string& command) {
        commands->push_back(command);
        return 0;
    });

    Application::reset(options.backend);
    session->loaded_ = appkit::NibLoader::loadMainWindowDescription();
    if (!session->loaded_.ok()) {
        error = session->loaded_.error();
        return nullptr;
    }
    Application::shared().finishLaunching();
    return session;
}

WindowSession::~WindowSession() {
    Application::reset();
    foundation::ShellRunner::setHandler({});
    Locations::setOverride(std::nullopt);
    foundation::Bundle::setMainBundlePath(std::nullopt);
}

std::shared_ptr<DocumentationAppDelegate> WindowSession::delegate() const {
    return loaded_.objectAs<DocumentationAppDelegate>("delegate");
}

void WindowSession::apply(const std::string& step) {
    auto press = [&](const char* id) {
        if (auto button = loaded_.objectAs<appkit::Button>(id))
            button->performClick();
    };
    if (step.starts_with("model:")) {
        if (auto popUp = loaded_.objectAs<PopUpButton>("supportModelPUButton"))
            popUp->performClickOnItemWithTitle(Value(step.substr(6)));
    } else if (step.starts_with("language:")) {
        if (auto popUp = loaded_.objectAs<PopUpButton>("languagePUButton"))
            popUp->performClickOnItemWithTitle(Value(step.substr(9)));
    } else if (step == "press:documentation") {
        press("docButton");
    } else if (step == "press:readme") {
        press("readMeButton");
    } else if (step == "press:close") {
        press("closeButton");
    } else if (step == "close-window") {
        if (auto window = loaded_.objectAs<appkit::Window>("window"))
            window->performClose();
    }
}

ordered_json WindowSession::state() {
    ordered_json state;
    auto published = ordered_json::object();
    if (auto d = delegate())
        for (const auto& key : d->publishedKeys())
            published[key] = toJson(d->valueForKey(key));
    state["published"] = std::move(published);

    auto window = loaded_.objectAs<appkit::Window>("window");
    state["window"] = {{"title", window ? window->title() : ""}, {"key", window && window->isKeyWindow()}};
    state["modelPopUp"] = popUpState(loaded_.objectAs<PopUpButton>("supportModelPUButton"));
    state["languagePopUp"] = popUpState(loaded_.objectAs<PopUpButton>("languagePUButton"));

    auto frames = ordered_json::object();
    for (const char* id : framedFields) {
        auto view = loaded_.objectAs<appkit::View>(id);
        appkit::Rect r = view ? view->frame() : appkit::Rect{};
        frames[id] = {r.origin.x, r.origin.y, r.size.width, r.size.height};
    }
    state["frames"] = std::move(frames);

    auto menuTitles = ordered_json::array();
    if (auto applicationMenu = Application::shared().applicationMenu())
        for (std::size_t i = 0; i < applicationMenu->numberOfItems(); ++i)
            menuTitles.push_back(toJson(applicationMenu->itemAtIndex(i)->title()));
    state["applicationMenu"] = std::move(menuTitles);

    state["commands"] =
        ordered_json(std::vector<std::string>(commands_->begin() + static_cast<long>(reported_), commands_->end()));
    reported_ = commands_->size();
    state["terminated"] = Application::shared().isTerminated();
    return state;
}

}
