#include "printing/PrintGeometry.h"

namespace zelvano {

float Min(const float& Number1, const float& Number2) {
    return Number2 < Number1 ? Number2 : Number1;
}

PrintPlacement PlacePrint(float W, float H, float w, float h, float PW, float PH, float ownWidth,
                          float ownHeight) {
    if (!(PW < W || PH < H)) {
        return {false, ownWidth, ownHeight};
    }
    if (W <= H) {
        const float k = Min(PH / h, PW / w);
        return {false, w * k, h * k};
    }
    const float k = Min(PH / w, PW / h);
    return {true, w * k, h * k};
}

} // namespace zelvano
