// Pixel formats the device stores: size, conversion between the native layout and ARGB.
#pragma once

#include <cstdint>

#include "platform/gfx/constants.h"

namespace platform::gfx {

bool IsColorFormat(Format format);         // a colour format the device can store
bool IsDepthFormat(Format format);         // a depth-stencil format the device can store
bool IsRenderTargetFormat(Format format);  // a colour format the device can render into
bool Is32BitColor(Format format);          // stored natively as the ARGB words themselves

// Native pixel to ARGB: channels widened by bit replication, missing alpha 255, A8 black.
uint32_t NativeToArgb(Format format, const uint8_t* pixel);
// ARGB to a native pixel: channels narrowed by truncation.
void ArgbToNative(Format format, uint32_t argb, uint8_t* pixel);
// The ARGB value a pixel of the format reads back after being written with argb.
uint32_t QuantizeArgb(Format format, uint32_t argb);

void NativeRowToArgb(Format format, const uint8_t* source, uint32_t* destination, uint32_t count);
void ArgbRowToNative(Format format, const uint32_t* source, uint8_t* destination, uint32_t count);

}  // namespace platform::gfx
