#include "platform/win32/window/Label.h"

namespace zelvano {

Label::Label(const ControlArgs& args, std::optional<COLORREF> fill) {
    create("STATIC", args, SS_LEFT | SS_NOPREFIX);
    if (fill) {
        fill_ = ::CreateSolidBrush(*fill);
    }
}

Label::~Label() {
    if (fill_ != nullptr) {
        ::DeleteObject(fill_);
    }
}

HBRUSH Label::background(HDC /*dc*/) {
    return fill_;
}

} // namespace zelvano
