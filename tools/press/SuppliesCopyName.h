#pragma once

#include "ImageNames.h"
#include "disc/LauncherLimits.h"

#include <string>
#include <string_view>

namespace docshelf::press {

// The file name of a model's copy of the supplies launcher, "vps_MODEL.exe",
// or why the model cannot have one: the launcher reads its model from its own
// file name through the Windows code page and stops at the first dot.
class SuppliesCopyName {
public:
    enum class Outcome {
        Named,
        Empty,             // "vps_.exe" carries no model
        Dot,               // the launcher would stop at it
        ReservedCharacter, // \ / : * ? " < > | or a control character
        OutsideCodePage,   // not in Windows-1252, the Western code page
        TooLong,           // longer than the launcher's model buffer holds
        TooLongForDisc,    // the file name passes the 103 characters of the disc's Joliet tree
    };

    static constexpr std::size_t maximumModel = launcherLimits::maximumModelName;
    static constexpr std::size_t maximumJolietName = ImageNames::maximumJolietName;

    static SuppliesCopyName forModel(std::string_view model);

    Outcome outcome() const { return outcome_; }
    bool named() const { return outcome_ == Outcome::Named; }
    const std::string& fileName() const { return fileName_; }
    // Why there is no copy, for a warning: "a dot; the launcher stops at the first one".
    std::string reason() const;

private:
    Outcome outcome_ = Outcome::Empty;
    std::string fileName_;
    std::string detail_;
};

}
