#pragma once

#include "inspect/common/Findings.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace docshelf::appkit {
class Backend;
}

namespace docshelf::inspect {

struct RenderOptions {
    std::string app;                          // the application bundle, already the main bundle
    std::optional<std::string> messageBundle; // where the browser looks when not given
    std::string out;                          // the folder for the pictures and index.html
    bool showProgress = false;                // "rendered 12 of 40" on standard error
};

// Pictures of the real window for every model and every language the model
// offers, in each localization of the common message bundle that users get,
// each window set up exactly as the application sets it up and then chosen as
// the user would choose; an index.html shows them all. The texts that do not fit
// (TextFit) are findings with the code text-does-not-fit: one for each text of
// the message bundle and localization, one for each model or language name,
// however many windows show it.
//
//   de, "QX-500", "Deutsch" → DIR/de_QX-500_Deutsch.png, captioned "QX-500 — Deutsch"
class WindowRender {
public:
    struct Result {
        bool ok = false;   // false when the output could not be written
        std::string error; // why not
        std::size_t pictures = 0;
        Findings findings;
    };

    // backend: the renderer's (fltk::WindowPicture::openBackend), which draws the pictures.
    static Result run(const RenderOptions& options, const std::shared_ptr<appkit::Backend>& backend);
};

}
