#pragma once

#include <windows.h>

#include <chrono>
#include <string>

namespace zelvano {

// One running copy per list folder: two copies would each write the folder's list files over the
// other's. The first copy holds a mutex named after the folder and marks its main window with the
// same name; a later copy finds that window, brings it to the front, and ends.
class SingleInstance {
public:
    explicit SingleInstance(const std::string& listFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Whether no other copy runs for the folder.
    [[nodiscard]] bool first() const { return first_; }
    // The first copy's main window, for later copies to find.
    void mark(HWND window) const;
    // For a later copy: brings the first copy's window (or the dialog it shows) to the front. A
    // first copy that is still starting is waited for up to `patience`; false when none showed.
    bool showFirst(std::chrono::milliseconds patience = std::chrono::seconds(5)) const;

private:
    std::string name_; // of the mutex and of the window's mark
    HANDLE mutex_ = nullptr;
    ATOM mark_ = 0;
    bool first_ = true;
};

} // namespace zelvano
