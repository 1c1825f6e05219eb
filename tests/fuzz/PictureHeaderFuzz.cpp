// Any bytes as the start of a file that claims to be a picture: its signature, its header's size
// and its Exif orientation are read without a fault, and agree with one another.
#include "FuzzCheck.h"
#include "platform/PictureSignature.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelvano;
    const std::string_view head(reinterpret_cast<const char*>(data), size);
    const bool picture = LooksLikePicture(head.substr(0, kPictureSignatureBytes));
    FUZZ_CHECK(!HeaderDimensions(head) || picture);
    const int orientation = ExifOrientation(head);
    FUZZ_CHECK(orientation >= 1 && orientation <= 8);
    return 0;
}
