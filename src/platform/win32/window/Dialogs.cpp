#include "platform/win32/window/Dialogs.h"

#include "app/ProductInfo.h"
#include "fileops/FileNames.h"
#include "platform/win32/CodePage.h"

#include <commdlg.h>
#include <vector>

namespace zelvano {

namespace {

const std::string kTitle(kProgramTitle);

// A dialog template in memory: DWORD-aligned records of 16-bit words, its texts in UTF-16.
class DialogTemplate {
public:
    void dword(DWORD v) {
        words_.push_back(LOWORD(v));
        words_.push_back(HIWORD(v));
    }
    void word(WORD v) { words_.push_back(v); }
    void text(const std::string& bytes) {
        const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(n), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, wide.data(), n);
        words_.insert(words_.end(), wide.begin(), wide.end()); // with its closing NUL
    }
    void align() {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);
        }
    }
    // One control: its place in dialog units, id, predefined class (0x80 button, 0x81 edit,
    // 0x82 static) and text.
    void item(DWORD style, RECT place, WORD id, WORD windowClass, const std::string& caption) {
        align();
        dword(WS_CHILD | WS_VISIBLE | style);
        dword(0);
        for (const LONG v : {place.left, place.top, place.right, place.bottom}) {
            word(static_cast<WORD>(v));
        }
        word(id);
        word(0xFFFF);
        word(windowClass);
        text(caption);
        word(0); // no creation data
    }
    [[nodiscard]] const DLGTEMPLATE* get() const {
        return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
    }

private:
    std::vector<WORD> words_;
};

constexpr WORD kEdit = 100;

// What the edit holds: the text it shows when the box opens, and the text it held on OK. Kept wide,
// so that what the user typed comes back exactly when the code page cannot hold it.
struct InputState {
    std::wstring text;
};

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

INT_PTR CALLBACK InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<InputState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<InputState*>(lParam);
        ::SetDlgItemTextW(dialog, kEdit, state->text.c_str());
        ::SendDlgItemMessageW(dialog, kEdit, EM_SETSEL, 0, -1);
        ::SetFocus(::GetDlgItem(dialog, kEdit));
        return FALSE; // the focus is set
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            state->text = WindowText(::GetDlgItem(dialog, kEdit));
            ::EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

void ShowMessage(HWND owner, const std::string& text) {
    ::MessageBoxA(owner, text.c_str(), kTitle.c_str(), MB_OK);
}

bool AskYesNo(HWND owner, const std::string& text) {
    return ::MessageBoxA(owner, text.c_str(), kTitle.c_str(), MB_YESNO) == IDYES;
}

std::string InputBox(HWND owner, const std::string& prompt, const std::string& title,
                     const std::string& text) {
    DialogTemplate t;
    t.dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.dword(0);
    t.word(4); // controls
    for (const WORD v : {WORD{0}, WORD{0}, WORD{230}, WORD{68}}) {
        t.word(v);
    }
    t.word(0); // no menu
    t.word(0); // the standard dialog class
    t.text(title);
    t.word(8);
    t.text("MS Shell Dlg");
    t.item(SS_LEFT | SS_NOPREFIX, {7, 7, 216, 10}, 0xFFFF, 0x82, prompt);
    t.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, {7, 20, 216, 14}, kEdit, 0x81, "");
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, {119, 46, 50, 14}, IDOK, 0x80, "OK");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, {173, 46, 50, 14}, IDCANCEL, 0x80, "Cancel");
    // A Unicode dialog: an edit of the 8-bit calls would keep look-alikes of what was typed.
    InputState state{WideFromCodePage(text).value_or(std::wstring())};
    for (;;) {
        if (::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), t.get(), owner, InputProc,
                                      reinterpret_cast<LPARAM>(&state)) != IDOK) {
            return {};
        }
        if (std::optional<std::string> answer = ExactCodePage(state.text)) {
            return *answer;
        }
        ShowMessage(owner, std::string(kNotWritable));
    }
}

std::optional<std::string> SaveFileDialog(HWND owner, const std::string& fileName) {
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring preset = WideFromCodePage(fileName).value_or(std::wstring());
    preset.copy(file.data(), file.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    for (;;) {
        // Asked in UTF-16, so that a name the code page cannot hold is seen as such.
        bool chosen = ::GetSaveFileNameW(&ofn) != FALSE;
        if (!chosen && ::CommDlgExtendedError() == FNERR_INVALIDFILENAME) { // a preset it will not take
            file.assign(file.size(), L'\0');
            chosen = ::GetSaveFileNameW(&ofn) != FALSE;
        }
        if (!chosen) {
            return std::nullopt;
        }
        if (std::optional<std::string> path = ExactCodePage(file.data())) {
            return path;
        }
        ShowMessage(owner, std::string(kNotWritable));
        // The dialog comes back in the chosen folder with the chosen name, as typed.
    }
}

} // namespace zelvano
