#include "DocumentationAppDelegate.h"

#include "Locations.h"
#include "OpenCommand.h"

#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVCDDocumentation.h"
#include "catalogue/ZVModelDocumentation.h"
#include "catalogue/ZVModelDocumentationLookups.h"
#include "platform/appkit/Application.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/MenuItem.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/ShellRunner.h"
#include "platform/foundation/StringFormat.h"

namespace docshelf {

using appkit::Application;
using appkit::Menu;
using appkit::MenuItem;
using appkit::Rect;
using foundation::Bundle;
using foundation::Dictionary;
using foundation::FileManager;
using foundation::stringWithFormat;
using foundation::Value;

namespace {

Value documentationList(const Value& model) {
    return ZVModelDocumentation::initWithName(model).objectForKey(keys::documentationList);
}

Value displayNameOf(const Value& entry) {
    return entry.objectForKey(keys::documentationDisplayName);
}

}

DocumentationAppDelegate::DocumentationAppDelegate() {
    publishOutlet("window", window);
    publishOutlet("mainView", mainView);
    publishOutlet("buttonView", buttonView);
    publish("documentationTitle");
    publish("rightButtonTitle");
    publish("modelLabelTitle");
    publishOutlet("modelLabelTitleTxtField", modelLabelTitleTxtField);
    publishOutlet("supportModelPUButton", supportModelPUButton);
    publish("supportModelStaticTitle");
    publish("supportModelStaticTxtHidden");
    publishOutlet("supportModelStaticTitleTxtField", supportModelStaticTitleTxtField);
    publish("languageLabelTitle");
    publishOutlet("languageLabelTitleTxtField", languageLabelTitleTxtField);
    publishOutlet("languagePUButton", languagePUButton);
    publish("languageStaticTitle");
    publish("languageStaticTxtHidden");
    publishOutlet("languageStaticTitleTxtField", languageStaticTitleTxtField);
    publish("languageStaticDescriptionTxt");
    publish("docButtonTitle");
    publish("readMeButtonTitle");
    publish("readMeButtonHidden");

    publishAction("modelSelected", [this](const auto&) { modelSelected(); });
    publishAction("languageSelected", [this](const auto&) { languageSelected(); });
    publishAction("openDocumentation", [this](const auto&) { openDocumentation(); });
    publishAction("openReadMe", [this](const auto&) { openReadMe(); });
    publishAction("colseApp", [this](const auto&) { colseApp(); });
}

std::shared_ptr<appkit::Object> DocumentationAppDelegate::self() {
    return shared_from_this();
}

Value DocumentationAppDelegate::localizedStringForKey(const Value& key, const Value& value, const Value& table) {
    Bundle bundle = Bundle::bundleWithPath(Value(Locations::current().messageBundle));
    if (bundle.isAbsent())
        return value;
    return bundle.localizedStringForKey(key, value, table);
}

Value DocumentationAppDelegate::localized(const char* key, const char* value) {
    return localizedStringForKey(key, value ? value : key, Value());
}

bool DocumentationAppDelegate::documentInCD(const Value& model, const Value& lang) {
    auto dictionary = ZVModelDocumentation::initWithName(model);
    return documentationPathWithDisplayLanguageName(dictionary, lang).isNonEmptyString();
}

void DocumentationAppDelegate::autoSelectLanguageList() {
    autoSelectLanguage(documentationList(supportModelPUButton->title()));
}

void DocumentationAppDelegate::autoSelectLanguage(const Value& list) {
    Value code = localizedStringForKey("KPS_CGI_Language", "en", Value());
    Value name;
    for (const Value& entry : list.elements()) {
        if (entry.objectForKey(keys::documentationLanguageCode).isEqualToString(code)) {
            name = displayNameOf(entry);
            break;
        }
    }
    if (list.count() >= 2 && name.isNonEmptyString())
        languagePUButton->selectItemWithTitle(name);
}

void DocumentationAppDelegate::keepLanguageList(const Value& previousLanguage) {
    keepLanguage(previousLanguage, documentationList(supportModelPUButton->title()));
}

void DocumentationAppDelegate::keepLanguage(const Value& previousLanguage, const Value& list) {
    for (const Value& entry : list.elements()) {
        if (displayNameOf(entry).isEqualToString(previousLanguage)) {
            languagePUButton->selectItemWithTitle(displayNameOf(entry));
            break;
        }
    }
    if (!languagePUButton->titleOfSelectedItem().isEqualToString(previousLanguage))
        autoSelectLanguage(list);
}

void DocumentationAppDelegate::setLanguageList(const Value& model) {
    showLanguageList(documentationList(model));
}

void DocumentationAppDelegate::showLanguageList(const Value& list) {
    auto menu = Menu::init();
    std::size_t index = 0;
    for (const Value& entry : list.elements()) {
        auto item = MenuItem::initWithTitle(displayNameOf(entry), "languageSelected", "");
        item->setTarget(self());
        menu->insertItem(item, index++);
    }
    languagePUButton->setMenu(menu);

    if (list.count() >= 2) {
        languagePUButton->setHidden(false);
        setValue(Value::boolean(true), "languageStaticTxtHidden");
        setValue("", "languageStaticTitle");
        return;
    }
    languagePUButton->setHidden(true);
    setValue(Value::boolean(false), "languageStaticTxtHidden");
    setValue(list.count() == 1 ? displayNameOf(list.objectAtIndex(0)) : Value(""), "languageStaticTitle");
    fitRightAnchored(languageStaticTitleTxtField, languageLabelTitleTxtField);
}

void DocumentationAppDelegate::modelSelected() {
    Value model = supportModelPUButton->titleOfSelectedItem();
    // One reading of the disc answers every question of this switch; the next
    // switch reads it afresh.
    Dictionary documentation = ZVModelDocumentation::initWithName(model);
    Value list = documentation.objectForKey(keys::documentationList);
    Value previousLanguage;
    if (!languagePUButton->isHidden()) {
        previousLanguage = languagePUButton->titleOfSelectedItem();
    } else {
        // The previous model showed the static text: give its slot back to the pop-up.
        previousLanguage = displayNameOf(list.objectAtIndex(0));
        Rect label = languageLabelTitleTxtField->frame();
        Rect text = languageStaticTitleTxtField->frame();
        Rect popUp = languagePUButton->frame();
        float d = popUp.size.width - text.size.width;
        if (d != 0) {
            label.origin.x -= d;
            text.size.width += d;
            text.origin.x = popUp.origin.x;
            languageStaticTitleTxtField->setFrame(text);
            languageStaticTitleTxtField->setNeedsDisplay();
        }
        languageLabelTitleTxtField->setFrame(label);
        languageLabelTitleTxtField->setNeedsDisplay();
    }
    Value shown = supportModelPUButton->title();
    Value shownList = shown.isEqualToString(model) ? list : documentationList(shown);
    showLanguageList(shownList);
    if (!languagePUButton->isHidden())
        keepLanguage(previousLanguage, shownList);
    supportModelPUButton->selectItemWithTitle(model);
    showDocumentationChoice(documentation);
}

void DocumentationAppDelegate::languageSelected() {
    showDocumentationChoice(supportModelPUButton->title());
}

void DocumentationAppDelegate::showDocumentationChoice(const Value& model) {
    showDocumentationChoice(ZVModelDocumentation::initWithName(model));
}

void DocumentationAppDelegate::showDocumentationChoice(const Dictionary& documentation) {
    Value language = languagePUButton->title();
    // As documentInCD: a document is on the disc when its path is there and not empty.
    bool onDisc = documentationPathWithDisplayLanguageName(documentation, language).isNonEmptyString();
    setValue(localized(onDisc ? "UG_TXT_LINKCD_UG_SUG" : "UG_TXT_LINKWB"), "languageStaticDescriptionTxt");
    Value readMe = documentationReadMePathWithDisplayLanguageName(documentation, language);
    // The file system is asked only about a path that is there.
    bool readMeThere = readMe.isNonEmptyString() && FileManager::fileExistsAtPath(readMe);
    setValue(Value::boolean(!readMeThere), "readMeButtonHidden");
}

void DocumentationAppDelegate::fitRightAnchored(appkit::Outlet<appkit::TextField>& field,
                                                appkit::Outlet<appkit::TextField>& label) {
    float before = field->frame().size.width;
    field->sizeToFit();
    Rect fitted = field->frame();
    float d = fitted.size.width - before;
    if (d != 0)
        fitted.origin.x -= d;
    field->setFrame(fitted);
    field->setNeedsDisplay();
    Rect moved = label->frame();
    if (d != 0)
        moved.origin.x -= d;
    label->setFrame(moved);
    label->setNeedsDisplay();
}

void DocumentationAppDelegate::awakeFromNib() {
    Bundle application = Bundle::mainBundle();
    setValue(application.localizedStringForKey("CFBundleDisplayName", "CFBundleDisplayName", "InfoPlist"),
             "documentationTitle");

    window->setBackgroundColor(appkit::Color::whiteColor());
    window->setShowsResizeIndicator(false);
    window->center();

    setValue(localized("BTN_CLOSE"), "rightButtonTitle");
    setValue(stringWithFormat("%@: ", {localized("TXT_MODEL", "Model")}), "modelLabelTitle");

    Value models = ZVCDDocumentation::initWithCDInfo().objectForKey(keys::containedModels);
    // A disc that lists no models at all is shown as one whose list is missing.
    if (models.count() == 0)
        models = Value();
    Value firstModel = models.objectAtIndex(0);

    auto menu = Menu::init();
    std::size_t index = 0;
    for (const Value& name : models.elements()) {
        auto item = MenuItem::initWithTitle(name, "modelSelected", "");
        item->setTarget(self());
        menu->insertItem(item, index++);
    }
    supportModelPUButton->setMenu(menu);
    supportModelPUButton->selectItemWithTitle(firstModel);

    if (models.count() < 2) {
        supportModelPUButton->setHidden(true);
        setValue(Value::boolean(false), "supportModelStaticTxtHidden");
        setValue(firstModel, "supportModelStaticTitle");
        fitRightAnchored(supportModelStaticTitleTxtField, modelLabelTitleTxtField);
    } else {
        supportModelPUButton->setHidden(false);
        setValue(Value::boolean(true), "supportModelStaticTxtHidden");
        setValue("", "supportModelStaticTitle");
    }

    setValue(stringWithFormat("%@: ", {localized("UG_TXT_LANGUAGE")}), "languageLabelTitle");
    setLanguageList(firstModel);
    setValue(localized("UG_BTN_UG"), "docButtonTitle");
    setValue(localized("UG_BTN_README"), "readMeButtonTitle");
    showDocumentationChoice(firstModel);

    retitleApplicationMenu();
}

void DocumentationAppDelegate::retitleApplicationMenu() {
    Application& app = Application::shared();
    auto mainMenu = app.mainMenu();
    Value title = Bundle::mainBundle().localizedStringForKey("Documentation", "Documentation", "InfoPlist");
    std::shared_ptr<Menu> applicationMenu;
    if (mainMenu)
        if (auto item = mainMenu->itemWithTitle(title))
            applicationMenu = item->submenu();
    static constexpr std::pair<const char*, const char*> retitled[] = {
        {"About", "APP_MENU_ABOUT"},      {"Hide", "APP_MENU_HIDE"}, {"Hide Others", "APP_MENU_HIDEOHTERS"},
        {"Show All", "APP_MENU_SHOWALL"}, {"Quit", "APP_MENU_QUIT"},
    };
    for (const auto& [english, key] : retitled) {
        if (!applicationMenu)
            break;
        if (auto item = applicationMenu->itemWithTitle(english))
            item->setTitle(localized(key));
    }
    app.setMainMenu(mainMenu);
}

void DocumentationAppDelegate::applicationDidFinishLaunching(const Value&) {
    autoSelectLanguageList();
    // The automatic choice may have picked another language than the set-up saw.
    showDocumentationChoice(supportModelPUButton->title());
    window->makeKeyAndOrderFront(self());
}

bool DocumentationAppDelegate::applicationShouldTerminateAfterLastWindowClosed(Application&) {
    return true;
}

void DocumentationAppDelegate::run(const std::string& command) {
    foundation::ShellRunner::system(command);
}

void DocumentationAppDelegate::openDocumentation() {
    Value model = supportModelPUButton->titleOfSelectedItem();
    Value language = languagePUButton->titleOfSelectedItem();
    auto dictionary = ZVModelDocumentation::initWithName(model);
    Locations locations = Locations::current();

    if (documentInCD(model, language)) {
        Value path = documentationPathWithDisplayLanguageName(dictionary, language);
        if (path.hasSuffix(".pdf") && locations.openerTakesApplication() &&
            FileManager::fileExistsAtPath(Value(locations.pdfReader)))
            run(OpenCommand::documentWithApplication(locations.pathToOpen(path.text()), locations.pdfReader));
        else
            run(OpenCommand::document(locations.pathToOpen(path.text()), locations.opener));
        return;
    }
    // An entry without a document and without an address has nothing to open.
    Value address = documentationURLWithDisplayLanguageName(dictionary, language);
    if (address.isNonEmptyString())
        run(OpenCommand::document(address.text(), locations.opener));
}

void DocumentationAppDelegate::openReadMe() {
    Value model = supportModelPUButton->titleOfSelectedItem();
    Value language = languagePUButton->titleOfSelectedItem();
    Value readMe = documentationReadMePathWithDisplayLanguageName(ZVModelDocumentation::initWithName(model), language);
    if (readMe.isNonEmptyString())
        run(OpenCommand::document(Locations::current().pathToOpen(readMe.text()), Locations::current().opener));
}

void DocumentationAppDelegate::colseApp() {
    Application::shared().terminate(nullptr);
}

}
