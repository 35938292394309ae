#pragma once

#include "Control.h"

#include <memory>
#include <string>

namespace docshelf::appkit {

// A push button with a caption.
class Button : public Control {
public:
    Button();
    explicit Button(Rect frame);
    static std::shared_ptr<Button> initWithFrame(Rect frame);

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    // "\r" makes it the window's default button.
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }

    // What a click does: sends the action. A hidden or disabled button cannot be
    // clicked and does nothing.
    void performClick();

    bool acceptsFirstResponder() const override { return true; }
    // A white bezel with a hairline border, or the accent colour for the default
    // button; darker while highlighted; the title in the middle.
    void drawRect(Rect dirty) override;

private:
    void publishNames();

    std::string title_;
    std::string keyEquivalent_;
};

}
