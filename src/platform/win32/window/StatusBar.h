#pragma once

#include "platform/win32/window/Control.h"

#include <string>

namespace zelvano {

// The common controls' status bar, docked at the bottom of its parent, with two parts: the second
// at least as wide as designed and wide enough for its text, the first taking the rest.
class StatusBar : public Control {
public:
    StatusBar(const ControlArgs& args, int secondWidth);
    void setPart(int part, const std::string& text);
    [[nodiscard]] std::string part(int part) const;
    [[nodiscard]] int firstWidth() const;
    // Follows the parent's new size.
    void dock();

private:
    HFONT font_;
    int designed_;
    int second_;
};

} // namespace zelvano
