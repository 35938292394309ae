#pragma once

#include "Control.h"
#include "Font.h"
#include "TextAlignment.h"

#include <memory>
#include <string>

namespace docshelf::appkit {

// A line of text: a static label when neither editable nor bezeled, an entry
// field otherwise.
class TextField : public Control {
public:
    TextField();
    explicit TextField(Rect frame);
    static std::shared_ptr<TextField> initWithFrame(Rect frame);

    const std::string& stringValue() const { return stringValue_; }
    void setStringValue(std::string value);

    // Takes the width the backend measures for the text in the field's font, and
    // its line height when the field is lower than that; the origin stays.
    void sizeToFit();

    TextAlignment alignment() const { return alignment_; }
    void setAlignment(TextAlignment alignment);
    // What every renderer sets the text in, measures it with and wraps it by.
    const Font& font() const { return font_; }
    void setFont(const Font& font);
    float fontSize() const { return font_.size; }
    void setFontSize(float size) { setFont({size, font_.bold}); }
    bool isBold() const { return font_.bold; }
    void setBold(bool bold) { setFont({font_.size, bold}); }
    // Whether the text breaks into lines at the field's width, from its top; a
    // field that does not wrap shows one line, cut at its edges. As the window
    // description says ("wraps"); off by default, as for a label.
    bool wraps() const { return wraps_; }
    void setWraps(bool wraps);
    bool isEditable() const { return editable_; }
    void setEditable(bool editable) { editable_ = editable; }
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    bool isBezeled() const { return bezeled_; }
    void setBezeled(bool bezeled);
    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws);

    // The background, inside a hairline bezel when bezeled (a field that draws no
    // background draws no bezel either), then the text.
    void drawRect(Rect dirty) override;

private:
    void publishNames();

    std::string stringValue_;
    TextAlignment alignment_ = TextAlignment::Natural;
    Font font_;
    bool wraps_ = false;
    bool editable_ = true;
    bool selectable_ = true;
    bool bezeled_ = true;
    bool drawsBackground_ = true;
};

}
