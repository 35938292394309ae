#pragma once

#include "platform/appkit/ApplicationDelegate.h"
#include "platform/appkit/Object.h"
#include "platform/appkit/Outlet.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/View.h"
#include "platform/appkit/Window.h"
#include "platform/foundation/Dictionary.h"

namespace docshelf {

// The application delegate and window controller. Its texts and flags are
// published values, written only with setValue:forKey: so that the controls
// bound to them show them at once; its outlets and actions are reached by name.
class DocumentationAppDelegate : public appkit::Object, public appkit::ApplicationDelegate {
public:
    DocumentationAppDelegate();

    // Reopens the disc's common message bundle on every call; the value when the
    // bundle or the key is missing.
    foundation::Value localizedStringForKey(const foundation::Value& key, const foundation::Value& value,
                                            const foundation::Value& table);
    bool documentInCD(const foundation::Value& model, const foundation::Value& lang);
    void autoSelectLanguageList();
    void keepLanguageList(const foundation::Value& previousLanguage);
    void setLanguageList(const foundation::Value& model);
    void modelSelected();
    // The action of every item of the language pop-up: the description and the
    // read-me button follow the language chosen; nothing else changes.
    void languageSelected();
    void awakeFromNib() override;
    void applicationDidFinishLaunching(const foundation::Value& notification) override;
    bool applicationShouldTerminateAfterLastWindowClosed(appkit::Application& application) override;
    void openDocumentation();
    void openReadMe();
    void colseApp();

private:
    foundation::Value localized(const char* key, const char* value = nullptr);
    // Sizes a static text to its content keeping its right edge, and moves its
    // label by as much as the text's width changed.
    void fitRightAnchored(appkit::Outlet<appkit::TextField>& field, appkit::Outlet<appkit::TextField>& label);
    void retitleApplicationMenu();
    // The description text and the read-me button's visibility for the model and
    // the language the window shows now, asked of the disc afresh.
    void showDocumentationChoice(const foundation::Value& model);
    // The same from the model documentation dictionary read for the question at hand.
    void showDocumentationChoice(const foundation::Dictionary& documentation);
    // The language pop-up or static text for a documentation list.
    void showLanguageList(const foundation::Value& list);
    // keepLanguageList and autoSelectLanguageList for the list the window shows now.
    void keepLanguage(const foundation::Value& previousLanguage, const foundation::Value& list);
    void autoSelectLanguage(const foundation::Value& list);
    void run(const std::string& command);
    std::shared_ptr<appkit::Object> self();

    appkit::Outlet<appkit::Window> window;
    appkit::Outlet<appkit::View> mainView;
    appkit::Outlet<appkit::View> buttonView;
    appkit::Outlet<appkit::TextField> modelLabelTitleTxtField;
    appkit::Outlet<appkit::PopUpButton> supportModelPUButton;
    appkit::Outlet<appkit::TextField> supportModelStaticTitleTxtField;
    appkit::Outlet<appkit::TextField> languageLabelTitleTxtField;
    appkit::Outlet<appkit::PopUpButton> languagePUButton;
    appkit::Outlet<appkit::TextField> languageStaticTitleTxtField;
};

}
