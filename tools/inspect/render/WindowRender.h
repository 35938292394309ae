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
    std::optional<std::string> model;         // only this model's windows, when given
    std::optional<std::string> language;      // only this language's (display name), when given
    bool showProgress = false;                // "rendered 12 of 40" on standard error
};

// Pictures of the real window for every model and every language the model
// offers, in each localization of the common message bundle that users get,
// each window set up exactly as the application sets it up and then chosen as
// the user would choose; an index.html shows them all. The texts that do not fit
// (TextFit) are findings with the code text-does-not-fit: one for each text of
// the message bundle and localization, one for each model or language name,
// however many windows show it. At most maximumPictures pictures are drawn.
//
//   de, "QX-500", "Deutsch" → DIR/de_QX-500_Deutsch.png, captioned "QX-500 — Deutsch"
class WindowRender {
public:
    // Pictures drawn in one run at most: each takes a window set-up and a PNG,
    // and 3,000 models in 30 languages would make 90,000. --model and --language
    // choose the windows past the cap.
    static constexpr std::size_t maximumPictures = 1'000;

    struct Result {
        bool ok = false;   // false when the output could not be written
        std::string error; // why not
        std::size_t pictures = 0;
        bool cut = false; // the run stopped at maximumPictures with windows left to draw
        Findings findings;
    };

    // backend: the renderer's (fltk::WindowPicture::openBackend), which draws the pictures.
    static Result run(const RenderOptions& options, const std::shared_ptr<appkit::Backend>& backend);
};

}
