// Any bytes as the buffer GetLogicalDriveStringsA filled, with any count it returned.
#include "FuzzCheck.h"
#include "platform/win32/DriveStrings.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvano;
    if (size == 0) {
        return 0;
    }
    // The first byte is the count the call returned: 0, a count that fits, or one too big for the
    // buffer (the call then asks for a bigger one, and the buffer holds what it held before).
    const long written = static_cast<long>(data[0]) - 16;
    const std::vector<std::string> drives =
        DrivesFromLogicalStrings(reinterpret_cast<const char*>(data + 1), size - 1, written);
    FUZZ_CHECK(written > 0 || drives.empty());
    FUZZ_CHECK(std::all_of(drives.begin(), drives.end(), [](const std::string& d) {
        return (d.size() == 2 || d.size() == 3) && d.back() == '\\' &&
               static_cast<unsigned char>(d.front()) >= 'A';
    }));
    return 0;
}
