#include "platform/win32/CodePage.h"

#include <windows.h>

namespace zelvano {

namespace {

UINT CodePage() {
    static const UINT page = ::GetACP();
    return page;
}

} // namespace

bool ExactCodePage(std::wstring_view wide, std::string& bytes) {
    bytes.clear();
    if (wide.empty()) {
        return true;
    }
    const UINT page = CodePage();
    // UTF-8 has no best fit, and refuses the flag; a lone surrogate fails the way back instead.
    const bool utf8 = page == CP_UTF8;
    const int length = static_cast<int>(wide.size());
    bytes.resize(wide.size() * 3); // the most any code page takes for one UTF-16 unit
    BOOL usedDefault = FALSE;
    const int written =
        ::WideCharToMultiByte(page, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(),
                              static_cast<int>(bytes.size()), nullptr, utf8 ? nullptr : &usedDefault);
    if (written <= 0 || usedDefault) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<std::size_t>(written));
    // The bytes must read back as the very same name.
    thread_local std::wstring back;
    back.resize(wide.size());
    const int read =
        ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), written, back.data(), length);
    if (read != length || std::wstring_view(back) != wide) {
        bytes.clear();
        return false;
    }
    return true;
}

std::optional<std::string> ExactCodePage(std::wstring_view wide) {
    std::string bytes;
    return ExactCodePage(wide, bytes) ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

std::optional<std::wstring> WideFromCodePage(std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    const int length = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (n <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), n);
    return wide;
}

} // namespace zelvano
