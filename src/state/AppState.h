#pragma once

#include "platform/LastAnswer.h"
#include "platform/OpResult.h"
#include "platform/Window.h"
#include "state/PicTable.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelvano {

// The picture types in start-up order; index i belongs to option button Option(i+1).
inline constexpr std::array<std::string_view, 5> kPictureTypes = {"jpg", "jpeg", "bmp", "gif", "tif"};

// The main window's coordinate unit: twips from start-up, pixels once Print has been used.
enum class ScaleMode { Twips, Millimetres, Pixels };

// The picture the selection handling showed last: the file it loaded into Picture1 (empty when it
// loaded none), and why it cannot be printed (its load or its decoding failed), if it cannot.
struct ShownPicture {
    std::string path;
    OpResult problem;
};

// The state the handlers share for the whole run.
struct AppState {
    std::string PicType; // empty until a type is chosen
    PicTable PicList;
    int PageStart = 0;         // row of the first list-box entry
    std::int16_t SelIndex = 0; // list-box index to select again after an operation
    ScaleMode scaleMode = ScaleMode::Twips;
    std::vector<std::string> DriveList; // roots of the volumes the scan searches
    ShownPicture shown;
    // How long a drive may say nothing while the selection reads from it.
    std::chrono::milliseconds readSilence = kReadSilence;
    // How long a drive may say nothing during a scan before it is passed over.
    std::chrono::milliseconds scanSilence = kDriveSilence;

    // The number of records, which is also the first free row.
    [[nodiscard]] int PicCount() const { return static_cast<int>(PicList.count()); }
};

} // namespace zelvano
