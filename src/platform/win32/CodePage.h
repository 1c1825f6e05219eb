#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvano {

// Names pass between the program and the system as bytes of the system's 8-bit code page, which
// every A function speaks. A wide name the code page cannot hold would come back with look-alike
// letters (a C with a circumflex as a plain C) or "?" in their place, and those bytes name another
// file or none.

// The code page's bytes for `wide` when they name exactly `wide` again; nothing otherwise.
std::optional<std::string> ExactCodePage(std::wstring_view wide);
// The same into `bytes`, which keeps its capacity: for names by the thousand. False when inexact.
bool ExactCodePage(std::wstring_view wide, std::string& bytes);

// The wide text of code-page bytes; nothing when they are not text of the code page.
std::optional<std::wstring> WideFromCodePage(std::string_view bytes);

} // namespace zelvano
