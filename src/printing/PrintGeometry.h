#pragma once

namespace zelvano {

// Returns Number2 when it is smaller than Number1, otherwise Number1 (a tie keeps the first).
float Min(const float& Number1, const float& Number2);

struct PrintPlacement {
    bool landscape = false;
    float width = 0.0F; // printed size in millimetres, at the printable area's top-left corner
    float height = 0.0F;
};

// Where a picture goes on the page. The fit test compares the picture box's outer size (W x H, mm)
// with the portrait printable area (PW x PH, mm): equal sizes fit. A picture that fits is printed
// at its own size (ownWidth x ownHeight, mm) in portrait, even when wider than tall. One that does
// not is scaled down from its inner size (w x h, any unit): in portrait when taller than wide or
// square, else in landscape on the page turned on its side.
PrintPlacement PlacePrint(float W, float H, float w, float h, float PW, float PH, float ownWidth,
                          float ownHeight);

} // namespace zelvano
