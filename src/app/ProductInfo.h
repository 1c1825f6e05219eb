#pragma once

#include <string_view>

namespace zelvano {

inline constexpr std::string_view kWindowCaption = "Zelvano - Version 1.0 - by the Zelvano developers";
inline constexpr std::string_view kProgramTitle = "Zelvano";
inline constexpr std::string_view kUpdatePageAddress = "https://zelvano.org/update";
// The name of the program's desktop entry, icon and metadata on Linux.
inline constexpr std::string_view kApplicationId = "org.zelvano.Zelvano";
// A later start found a copy running for the same lists that did not come forward when asked.
inline constexpr std::string_view kRunningButSilent =
    "Zelvano is already running for these lists, but it does not answer.";

} // namespace zelvano
