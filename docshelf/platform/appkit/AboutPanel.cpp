#include "AboutPanel.h"

#include "Button.h"
#include "ImageView.h"
#include "TextField.h"

#include <filesystem>

namespace docshelf::appkit {

using foundation::Value;

namespace {

constexpr Size panelSize{280, 232};

// The InfoPlist text of the key, else the Info.plist value, else empty.
std::string infoText(const foundation::Bundle& bundle, const char* key) {
    Value fromInfo = bundle.infoDictionary().objectForKey(key);
    Value missing("");
    Value localized = bundle.localizedStringForKey(key, missing, "InfoPlist");
    if (localized.isNonEmptyString() && !localized.isEqualToString(Value(key)))
        return std::string(localized.text());
    return fromInfo.isString() ? std::string(fromInfo.text()) : std::string();
}

std::shared_ptr<TextField> label(Rect frame, const std::string& text, Font font, bool wraps = false) {
    auto field = TextField::initWithFrame(frame);
    field->setEditable(false);
    field->setSelectable(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setAlignment(TextAlignment::Center);
    field->setFont(font);
    field->setWraps(wraps);
    field->setStringValue(text);
    return field;
}

}

AboutPanel::Contents AboutPanel::contentsOf(const foundation::Bundle& bundle) {
    Contents contents;
    for (const char* key : {"CFBundleDisplayName", "CFBundleName", "CFBundleExecutable"}) {
        contents.name = infoText(bundle, key);
        if (!contents.name.empty())
            break;
    }
    contents.shortVersion = infoText(bundle, "CFBundleShortVersionString");
    if (!contents.shortVersion.empty())
        contents.version = "Version " + contents.shortVersion;
    contents.copyright = infoText(bundle, "NSHumanReadableCopyright");

    Value iconFile = bundle.infoDictionary().objectForKey("CFBundleIconFile");
    Value resources = bundle.resourcePath();
    if (iconFile.isNonEmptyString() && resources.isString()) {
        std::filesystem::path icon =
            std::filesystem::path(std::string(resources.text())) / std::string(iconFile.text());
        if (!icon.has_extension())
            icon += ".png";
        contents.icon = Image::imageWithContentsOfFile(icon.string());
    }
    return contents;
}

std::shared_ptr<Window> AboutPanel::panelWith(const Contents& contents) {
    auto panel = Window::initWithContentRect({zeroPoint, panelSize});
    panel->setPanel(true);
    // Titled as a Mac titles its About panel in the window list and the task bar.
    panel->setTitle(contents.name.empty() ? "About" : "About " + contents.name);
    panel->setShowsResizeIndicator(false);
    auto content = panel->contentView();
    float width = panelSize.width;
    constexpr float iconSide = 64;
    auto icon = ImageView::initWithFrame({{(width - iconSide) / 2, 148}, {iconSide, iconSide}});
    icon->setImage(contents.icon);
    content->addSubview(icon);
    content->addSubview(label({{12, 118}, {width - 24, 22}}, contents.name, {14, true}));
    content->addSubview(label({{12, 96}, {width - 24, 18}}, contents.version, {11, false}));
    // A long copyright takes the panel's two lines for it.
    content->addSubview(label({{12, 52}, {width - 24, 40}}, contents.copyright, {10, false}, true));
    auto ok = Button::initWithFrame({{(width - 88) / 2, 12}, {88, 32}});
    ok->setTitle("OK");
    ok->setKeyEquivalent("\r");
    ok->setAction("performClose");
    ok->setTarget(panel);
    content->addSubview(ok);
    return panel;
}

}
