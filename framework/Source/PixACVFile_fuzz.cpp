// A curve file comes from anywhere: any bytes give curves or a refusal, never a read past their end.
#include "framework/Source/PixACVFile.h"
#include "framework/Source/PixToneCurve.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const zm::PixACVFile file = zm::PixACVFile::read({data, size});
    for (const auto* curve : {&file.rgbCompositeCurvePoints, &file.redCurvePoints, &file.greenCurvePoints,
                              &file.blueCurvePoints}) {
        if (*curve)
            (void)zm::preparedSplineCurve(**curve);
    }
    return 0;
}
