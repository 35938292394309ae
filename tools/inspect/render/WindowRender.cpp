#include "inspect/render/WindowRender.h"

#include "inspect/render/ContactSheet.h"
#include "inspect/catalogue/CatalogueReport.h"
#include "disc/Disc.h"
#include "inspect/check/MessageCheck.h"
#include "inspect/common/PreferredLanguage.h"
#include "inspect/render/TextFit.h"
#include "window/session/WindowSession.h"
#include "inspect/common/Wording.h"

#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVCDDocumentation.h"
#include "catalogue/ZVModelDocumentation.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/MenuItem.h"
#include "platform/appkit/Window.h"
#include "platform/fltk/WindowPicture.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Localizations.h"
#include "window/DocumentationAppDelegate.h"
#include "window/Locations.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace docshelf::inspect {

using appkit::PopUpButton;
using foundation::Bundle;
using foundation::Localizations;
using foundation::Value;

namespace {

// Where a view's text comes from on the disc, and how a finding names the view.
enum class Source { Messages, InfoPlist, ModelNames, LanguageNames };

struct ShownText {
    const char* id;      // in the window description
    const char* text;    // the text, in a finding
    const char* control; // the view, when another text runs over it
    Source source;
    const char* key; // of the strings table
};

constexpr ShownText shownTexts[] = {
    {"titleText", "the window's title", "the window's title", Source::InfoPlist, "CFBundleDisplayName"},
    {"modelLabelTitleTxtField", "the model label", "the model label", Source::Messages, "TXT_MODEL"},
    {"supportModelStaticTitleTxtField", "the model name", "the model name", Source::ModelNames, ""},
    {"supportModelPUButton", "the model pop-up's title", "the model pop-up", Source::ModelNames, ""},
    {"languageLabelTitleTxtField", "the language label", "the language label", Source::Messages, "UG_TXT_LANGUAGE"},
    {"languageStaticTitleTxtField", "the language name", "the language name", Source::LanguageNames, ""},
    {"languagePUButton", "the language pop-up's title", "the language pop-up", Source::LanguageNames, ""},
    {"descriptionText", "the description", "the description", Source::Messages, "UG_TXT_LINKCD_UG_SUG"},
    {"readMeButton", "the read-me button's caption", "the read-me button", Source::Messages, "UG_BTN_README"},
    {"docButton", "the documentation button's caption", "the documentation button", Source::Messages, "UG_BTN_UG"},
    {"closeButton", "the close button's caption", "the close button", Source::Messages, "BTN_CLOSE"},
};

const ShownText* shownText(const std::string& id) {
    for (const ShownText& shown : shownTexts)
        if (id == shown.id)
            return &shown;
    return nullptr;
}

// A localization that users get, and the language that gets it.
struct Localization {
    std::string folder;   // "de"; empty without a message bundle
    std::string language; // "de", for LANGUAGE
};

std::vector<std::string> itemTitles(const std::shared_ptr<PopUpButton>& popUp) {
    std::vector<std::string> titles;
    for (std::size_t i = 0; popUp && i < popUp->numberOfItems(); ++i)
        titles.emplace_back(popUp->itemAtIndex(i)->title().text());
    return titles;
}

std::string selectedTitle(const std::shared_ptr<PopUpButton>& popUp) {
    return popUp ? std::string(popUp->titleOfSelectedItem().text()) : std::string();
}

// The run's state: where texts come from, the sheet, and what was found.
class Run {
public:
    Run(const RenderOptions& options, std::shared_ptr<appkit::Backend> backend, WindowRender::Result& result)
        : options_(options), backend_(std::move(backend)), result_(result), lists_(disc::Disc::read()) {}

    void render() {
        findMessageBundle();
        // The total only serves the progress line, and counting builds every model.
        if (options_.showProgress)
            total_ = windowsPerLocalization() * localizations_.size();
        for (const Localization& localization : localizations_) {
            if (!renderLocalization(localization))
                return;
            if (result_.cut)
                break;
        }
        if (options_.showProgress && total_ > 0)
            std::cerr << "\n";
        std::ofstream index(std::filesystem::path(options_.out) / "index.html", std::ios::binary);
        sheet_.setMatrix(LanguageMatrix::from(CatalogueReport::catalogue(), LanguageMatrix::knownLanguages()));
        index << sheet_.html("Docshelf windows of " + options_.app);
        index.close();
        if (!index) {
            result_.error = "cannot write " + (std::filesystem::path(options_.out) / "index.html").string();
            return;
        }
        result_.ok = true;
    }

private:
    // The bundle the browser would read, else the disc's own; its localizations that users get.
    void findMessageBundle() {
        bundlePath_ = options_.messageBundle ? *options_.messageBundle : Locations::current().messageBundle;
        bundle_ = Bundle::bundleWithPath(Value(bundlePath_));
        if (bundle_.isAbsent() && !options_.messageBundle) {
            std::string beside = MessageCheck::bundleBesideApp(options_.app);
            if (Bundle onDisc = Bundle::bundleWithPath(Value(beside)); !onDisc.isAbsent()) {
                result_.findings.note("message-bundle-beside-app", beside,
                                      "no common message bundle at " + inQuotes(bundlePath_) +
                                          ", where the browser looks; rendering with the one on this disc instead");
                bundle_ = onDisc;
                bundlePath_ = beside;
            }
        }
        if (bundle_.isAbsent()) {
            result_.findings.error("message-bundle-missing", bundlePath_,
                                   "no common message bundle here; the pictures show every caption as its key "
                                   "(give its place with --message-bundle PATH)");
        } else {
            for (const auto& folder : bundle_.localizations()) {
                std::string language = Localizations::canonicalCode(folder);
                PreferredLanguage preferred(language);
                // A localization that another folder shadows is never shown (check notes it).
                if (bundle_.preferredLocalization() == folder)
                    localizations_.push_back({folder, language});
            }
        }
        if (localizations_.empty())
            localizations_.push_back({"", ""});
    }

    // Every model with every language it offers, or alone when it offers none;
    // the window alone when the disc lists no model. The catalogue does not
    // depend on the localization.
    std::size_t windowsPerLocalization() const {
        auto info = ZVCDDocumentation::initWithCDInfoPlist(lists_.cdInfo.dictionary);
        std::size_t windows = 0;
        for (const Value& name : info.objectForKey(keys::containedModels).elements()) {
            auto model = ZVModelDocumentation::initWithName(name, lists_.cdInfo.dictionary, lists_.modelInfo.dictionary,
                                                            lists_.common.dictionary);
            windows += std::max<std::size_t>(1, model.objectForKey(keys::documentationList).elements().size());
        }
        return std::max<std::size_t>(1, windows);
    }

    bool renderLocalization(const Localization& localization) {
        std::optional<PreferredLanguage> preferred;
        if (!localization.language.empty())
            preferred.emplace(localization.language);
        sheet_.beginSection(localization.language, localization.folder.empty()
                                                       ? "Without the common message bundle"
                                                       : "Localization " + inQuotes(localization.folder));
        std::string error;
        auto session = WindowSession::start({options_.app, bundlePath_, std::nullopt, backend_}, error);
        if (!session) {
            result_.error = "cannot load the window: " + error;
            return false;
        }
        auto modelPopUp = session->objects().objectAs<PopUpButton>("supportModelPUButton");
        auto languagePopUp = session->objects().objectAs<PopUpButton>("languagePUButton");
        std::vector<std::string> models = itemTitles(modelPopUp);
        if (models.empty()) {
            models.emplace_back();
            // The same in every localization: said once, where the chain of lists starts.
            if (!reportedNoModels_) {
                reportedNoModels_ = true;
                result_.findings.error("window-without-models",
                                       Findings::keyPath(lists_.info.path, {"CommonResourcePath"}),
                                       "the window lists no models, so its user can open nothing; check says why");
                sheet_.addFinding("error", "window-without-models", result_.findings.all().back().location(),
                                  result_.findings.all().back().message);
            }
        }
        for (const std::string& model : models) {
            if (options_.model && model != *options_.model)
                continue;
            // As the user chooses: a model that is already shown is not chosen again.
            if (!model.empty() && selectedTitle(modelPopUp) != model)
                session->apply("model:" + model);
            std::vector<std::string> languages = itemTitles(languagePopUp);
            if (languages.empty())
                languages.emplace_back();
            for (const std::string& language : languages) {
                if (options_.language && language != *options_.language)
                    continue;
                if (result_.pictures == WindowRender::maximumPictures) {
                    result_.cut = true;
                    return true;
                }
                if (!language.empty() && selectedTitle(languagePopUp) != language)
                    session->apply("language:" + language);
                if (!renderWindow(*session, localization, model, language))
                    return false;
            }
        }
        return true;
    }

    bool renderWindow(WindowSession& session, const Localization& localization, const std::string& model,
                      const std::string& language) {
        auto window = session.objects().objectAs<appkit::Window>("window");
        if (!window) {
            result_.error = "the window description has no window";
            return false;
        }
        std::string file =
            sheet_.fileNameFor(localization.folder.empty() ? "default" : localization.folder,
                               model.empty() ? "no-model" : model, language.empty() ? "no-language" : language);
        std::string error;
        if (!fltk::WindowPicture::writePng(*window, (std::filesystem::path(options_.out) / file).string(), error)) {
            result_.error = error;
            return false;
        }
        sheet_.add(file, model.empty() ? "(no model)" : model, language.empty() ? "(no language)" : language);
        ++result_.pictures;
        if (options_.showProgress)
            std::cerr << "\rrendered " << result_.pictures << " of " << total_ << std::flush;

        for (const auto& misfit : TextFit::find(session.objects())) {
            const ShownText* shown = shownText(misfit.id);
            // Names from the catalogue are the same in every localization: reported once.
            bool localized = !shown || shown->source == Source::Messages || shown->source == Source::InfoPlist;
            std::string reason = std::string(shown ? shown->text : misfit.id) + " " + misfit.problem;
            auto [known, first] =
                reported_.emplace(std::tuple(localized ? localization.folder : "", misfit.id, misfit.text), 0);
            if (!first) {
                sheet_.link(known->second, file, reason);
                continue;
            }
            std::string message =
                std::string(shown ? shown->text : misfit.id) + " " + inQuotes(misfit.text) + " " + misfit.problem;
            if (!misfit.over.empty()) {
                const ShownText* over = shownText(misfit.over);
                message += " " + std::string(over ? over->control : misfit.over);
            }
            message += " (first seen with model " + inQuotes(model) + ", language " + inQuotes(language) + ")";
            // The description follows the model and language shown: the key is the one the window chose.
            auto delegate = session.delegate();
            bool onDisc = delegate && delegate->documentInCD(Value(model), Value(language));
            Place place = locationOf(shown, localization, model, onDisc);
            result_.findings.error("text-does-not-fit", place, message);
            known->second =
                sheet_.addFinding("error", "text-does-not-fit", result_.findings.all().back().location(), message);
            sheet_.link(known->second, file, reason);
        }
        return true;
    }

    // The file, and key, that the text comes from.
    Place locationOf(const ShownText* shown, const Localization& localization, const std::string& model,
                     bool documentationOnDisc) const {
        if (!shown)
            return options_.app;
        switch (shown->source) {
        case Source::ModelNames:
            return Findings::keyPath(lists_.cdInfo.path, {"ContainedModel", model});
        case Source::LanguageNames:
            return lists_.documentation.path;
        case Source::InfoPlist: {
            Bundle app = Bundle::bundleWithPath(Value(options_.app));
            std::string folder = app.preferredLocalization();
            return Findings::keyPath(std::string(app.resourcePath().text()) + "/" +
                                         (folder.empty() ? "" : folder + ".lproj/") + "InfoPlist.strings",
                                     {shown->key});
        }
        case Source::Messages:
            break;
        }
        std::string key = shown->key;
        // The description is one of two texts, by whether the documentation is on the disc.
        if (key == "UG_TXT_LINKCD_UG_SUG" && !documentationOnDisc)
            key = "UG_TXT_LINKWB";
        if (localization.folder.empty())
            return bundlePath_;
        return Findings::keyPath(std::string(bundle_.resourcePath().text()) + "/" + localization.folder +
                                     ".lproj/Localizable.strings",
                                 {key});
    }

    const RenderOptions& options_;
    std::shared_ptr<appkit::Backend> backend_;
    WindowRender::Result& result_;
    disc::Disc lists_;
    std::string bundlePath_;
    Bundle bundle_;
    std::vector<Localization> localizations_;
    ContactSheet sheet_;
    std::size_t total_ = 0;
    bool reportedNoModels_ = false;
    // (localization, id, text) reported, and its finding on the page.
    std::map<std::tuple<std::string, std::string, std::string>, std::size_t> reported_;
};

}

WindowRender::Result WindowRender::run(const RenderOptions& options, const std::shared_ptr<appkit::Backend>& backend) {
    Result result;
    std::error_code failed;
    std::filesystem::create_directories(options.out, failed);
    if (failed || !std::filesystem::is_directory(options.out)) {
        result.error = "cannot make the folder " + options.out;
        return result;
    }
    Run run(options, backend, result);
    run.render();
    return result;
}

}
