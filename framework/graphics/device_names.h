// Text for the log: the name of a surface format and the explanation of a device result code.
#pragma once

#include <cstdint>

// Writes the format's name into a buffer shared by every caller (overwritten by the next call),
// copies it into copy when one is given, and returns the shared buffer. Unknown formats read
// "UNKNOWN".
const char* GetFormatName(uint32_t format, char* copy = nullptr);

// "kind [WxH] FORMAT": the name a manager gives an object made by size.
struct SizedName {
    char text[128];
    SizedName(const char* kind, uint32_t width, uint32_t height, uint32_t format);
};

namespace ZethDeviceNames {
// The explanation of a result code, for the device's and the device objects' error buffers.
const char* ErrorText(int32_t result);
}  // namespace ZethDeviceNames
