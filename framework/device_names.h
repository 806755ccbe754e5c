// Text for the log: the name of a surface format and the explanation of a device result code.
#pragma once

#include <cstdint>

// Writes the format's name into a buffer shared by every caller (overwritten by the next call),
// copies it into copy when one is given, and returns the shared buffer. Unknown formats read
// "UNKNOWN".
const char* GetFormatName(uint32_t format, char* copy = nullptr);

namespace ZethDeviceNames {
// The explanation of a result code, for the device's and the device objects' error buffers.
const char* ErrorText(int32_t result);
}  // namespace ZethDeviceNames
