#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zelvano {

// Modal message boxes with the program's title and no icon. Texts are bytes of the code page.
void ShowMessage(HWND owner, const std::string& text);
bool AskYesNo(HWND owner, const std::string& text);

// The input box: a prompt, an edit holding `text` all selected, OK and Cancel. The text in the edit
// on OK, exactly as the edit holds it; empty on Cancel. A text the code page cannot hold exactly is
// refused with a message, and the box comes back holding it as typed.
std::string InputBox(HWND owner, const std::string& prompt, const std::string& title,
                     const std::string& text);

// The system's save-as dialog with `fileName` preset, no filter, and no question of its own when
// the file exists. The chosen full path; nothing on Cancel. A path the code page cannot hold exactly
// is refused as the input box refuses it.
std::optional<std::string> SaveFileDialog(HWND owner, const std::string& fileName);

} // namespace zelvano
