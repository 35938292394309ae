#include "inspect/check/PictureCheck.h"

#include "platform/appkit/Image.h"
#include "platform/foundation/Bundle.h"

#include <filesystem>
#include <system_error>

namespace docshelf::inspect {

namespace {

void checkPicture(const std::filesystem::path& path, const std::string& consequence, Findings& findings) {
    std::error_code failed;
    // A dangling link or nothing at all: the browser quietly goes without, as designed.
    if (!std::filesystem::exists(path, failed))
        return;
    auto reading = appkit::Image::readPicture(path.string());
    if (!reading.image)
        findings.error("picture-refused", path.string(), reading.refusal + "; " + consequence);
}

}

void PictureCheck::run(const std::string& app, Findings& findings) {
    auto bundle = foundation::Bundle::bundleWithPath(foundation::Value(app));
    foundation::Value resources = bundle.resourcePath();
    if (!resources.isString())
        return;
    std::filesystem::path folder(std::string(resources.text()));
    checkPicture(folder / "Background.png", "the window shows its white background instead", findings);

    foundation::Value icon = bundle.infoDictionary().objectForKey("CFBundleIconFile");
    if (!icon.isNonEmptyString())
        return;
    std::filesystem::path iconPath = folder / std::string(icon.text());
    if (!iconPath.has_extension())
        iconPath += ".png";
    checkPicture(iconPath, "the window and the About panel go without the application's icon", findings);
}

}
