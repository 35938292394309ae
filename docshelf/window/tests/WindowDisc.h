#pragma once

#include "DiscBuilder.h"
#include "window/session/WindowSession.h"

#include "platform/foundation/Value.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace docshelf::testing {

// A disc for the browser's window: the application bundle with the real window
// description (or an edited copy), the catalogue's property lists, language
// folders, a common message bundle, and the window session started on it.
class WindowDisc {
public:
    using Folders = std::vector<std::pair<std::string, std::vector<std::string>>>;

    WindowDisc();

    // A model whose documentation lies in "Docs/<directory>" with these language folders.
    void addDiscModel(const std::string& name, const Folders& folders, std::string directory = "");
    // A model offered online only, under the address's first part and these folder names.
    void addOnlineModel(const std::string& name, const std::string& url, const std::vector<std::string>& languages);
    // No "ContainedModel" at all when not called and no model was added.
    void setContainedModels(std::optional<foundation::Value> containedModel) {
        containedOverride_ = std::move(containedModel);
    }

    void setMessages(std::map<std::string, std::string> english) { messages_ = std::move(english); }
    void removeMessageBundle() { messages_.reset(); }
    void setInfoPlistStrings(std::map<std::string, std::string> strings) { infoStrings_ = std::move(strings); }
    void setDocumentationPlist(foundation::Value plist) { documentation_ = std::move(plist); }
    // Edits the copied window description: the starting width of a static text field.
    void setStartingWidth(const std::string& fieldId, int width) { widths_.emplace_back(fieldId, width); }
    void setApplicationMenuTitle(std::string title) { menuTitle_ = std::move(title); }
    void installReader() { reader_ = true; }

    std::string path(const std::string& relative) const { return disc_.path(relative); }
    std::string readerPath() const { return path("Adobe Reader.app"); }

    // Writes everything and starts the window; fails the test when it can't.
    WindowSession& start();
    WindowSession& session() { return *session_; }
    nlohmann::ordered_json state() { return session_->state(); }
    nlohmann::ordered_json after(const std::string& step);

    // What start() writes, for tests that start the window their own way.
    void write();
    WindowOptions options() const;

    static std::map<std::string, std::string> standardMessages();
    static std::string stringsFile(const std::map<std::string, std::string>& strings);

private:
    std::string windowDescription() const;

    DiscBuilder disc_;
    std::vector<foundation::Value::Entry> models_;
    std::vector<foundation::Value::Entry> modelIds_;
    std::optional<foundation::Value> containedOverride_;
    std::optional<std::map<std::string, std::string>> messages_ = standardMessages();
    std::map<std::string, std::string> infoStrings_;
    foundation::Value documentation_ = DiscBuilder::fiveLanguages();
    std::vector<std::pair<std::string, int>> widths_;
    std::string menuTitle_;
    bool reader_ = false;
    std::unique_ptr<WindowSession> session_;
};

}
