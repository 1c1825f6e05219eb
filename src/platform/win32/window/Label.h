#pragma once

#include "platform/win32/window/Control.h"

#include <optional>

namespace zelvano {

// A line of text, or with a fill colour and no text, a plain coloured box.
class Label : public Control {
public:
    explicit Label(const ControlArgs& args, std::optional<COLORREF> fill = std::nullopt);
    ~Label() override;
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;
    HBRUSH background(HDC dc) override;

private:
    HBRUSH fill_ = nullptr;
};

} // namespace zelvano
