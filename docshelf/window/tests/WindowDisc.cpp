#include "WindowDisc.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace docshelf::testing {

using foundation::Value;

WindowDisc::WindowDisc() = default;

void WindowDisc::addDiscModel(const std::string& name, const Folders& folders, std::string directory) {
    if (directory.empty())
        directory = name;
    std::string documents = "Docs/" + directory;
    disc_.makeDirectory(documents);
    for (const auto& [folder, files] : folders)
        disc_.writeLanguageFolder(documents, folder, files);
    models_.emplace_back(name, Value::dictionary({{"Documentation", Value::dictionary({{"Path", path(documents)}})}}));
    modelIds_.emplace_back(name, Value::dictionary({{"KPSID", "ID-" + name}}));
}

void WindowDisc::addOnlineModel(const std::string& name, const std::string& url,
                                const std::vector<std::string>& languages) {
    std::vector<Value> offered(languages.begin(), languages.end());
    models_.emplace_back(name, Value::dictionary({{"Documentation", Value::dictionary({
                                                                        {"URL", url},
                                                                        {"Language", Value::array(offered)},
                                                                    })}}));
    modelIds_.emplace_back(name, Value::dictionary({{"KPSID", "ID-" + name}}));
}

std::map<std::string, std::string> WindowDisc::standardMessages() {
    return {
        {"BTN_CLOSE", "Close"},
        {"TXT_MODEL", "Printer"},
        {"UG_TXT_LANGUAGE", "Language"},
        {"UG_TXT_LINKCD_UG_SUG", "On the disc"},
        {"UG_TXT_LINKWB", "On the web"},
        {"UG_BTN_UG", "User Guide"},
        {"UG_BTN_README", "Read Me"},
        {"APP_MENU_ABOUT", "About Docshelf"},
        {"APP_MENU_HIDE", "Hide Docshelf"},
        {"APP_MENU_HIDEOHTERS", "Hide the Others"},
        {"APP_MENU_SHOWALL", "Show Everything"},
        {"APP_MENU_QUIT", "Quit Docshelf"},
        {"KPS_CGI_Language", "en"},
    };
}

std::string WindowDisc::stringsFile(const std::map<std::string, std::string>& strings) {
    std::string text;
    for (const auto& [key, value] : strings)
        text += "\"" + key + "\" = \"" + value + "\";\n";
    return text;
}

std::string WindowDisc::windowDescription() const {
    std::ifstream in(WINDOW_DESCRIPTION_PATH, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    for (const auto& [id, width] : widths_) {
        auto at = text.find("<string>" + id + "</string>");
        const std::string original = "<integer>300</integer>";
        at = at == std::string::npos ? at : text.find(original, at);
        if (at == std::string::npos) {
            ADD_FAILURE() << "no starting width of 300 for " << id << " in the window description";
            continue;
        }
        text.replace(at, original.size(), "<integer>" + std::to_string(width) + "</integer>");
    }
    if (!menuTitle_.empty()) {
        const std::string original = "<string>Documentation</string>";
        for (auto at = text.find(original); at != std::string::npos; at = text.find(original, at))
            text.replace(at, original.size(), "<string>" + menuTitle_ + "</string>");
    }
    return text;
}

void WindowDisc::write() {
    const std::string resources = "Docshelf.app/Contents/Resources/";
    disc_.writeFile(resources + "MainMenu.plist", windowDescription());
    disc_.writeInfoPlist(Value::dictionary({{"CFBundleExecutable", "Docshelf"},
                                            {"NSMainNibFile", "MainMenu"},
                                            {"CommonResourcePath", path("MacResources/CommonResource.plist")}}));
    disc_.writePlist("MacResources/CommonResource.plist",
                     Value::dictionary({{"CDInfo", path("MacResources/CDInfo.plist")},
                                        {"ModelInfo", path("MacResources/ModelInfo.plist")}}));
    if (!infoStrings_.empty())
        disc_.writeFile(resources + "en.lproj/InfoPlist.strings", stringsFile(infoStrings_));
    disc_.writeDocumentationPlist(documentation_);

    if (containedOverride_)
        disc_.writeCDInfo(Value::dictionary({{"ContainedModel", *containedOverride_}}));
    else if (!models_.empty())
        disc_.writeCDInfo(Value::dictionary({{"ContainedModel", Value::dictionary(models_)}}));
    else
        disc_.writeCDInfo(Value::dictionary({{"Documentation", Value::dictionary({})}}));
    disc_.writeModelInfo(Value::dictionary({{"Model", Value::dictionary(modelIds_)}}));

    if (messages_)
        disc_.writeFile("Message.bundle/Contents/Resources/en.lproj/Localizable.strings", stringsFile(*messages_));
    if (reader_)
        disc_.makeDirectory("Adobe Reader.app/Contents");
}

WindowOptions WindowDisc::options() const {
    return {.app = disc_.appPath(), .messageBundle = path("Message.bundle"), .reader = readerPath()};
}

WindowSession& WindowDisc::start() {
    write();
    std::string error;
    session_ = WindowSession::start(options(), error);
    if (!session_)
        throw std::runtime_error("the window did not start: " + error);
    return *session_;
}

nlohmann::ordered_json WindowDisc::after(const std::string& step) {
    session_->apply(step);
    return session_->state();
}

}
