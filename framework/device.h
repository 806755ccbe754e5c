// The graphics device: the library object, the device with its fallbacks, screen-mode changes
// and device loss, and the 2D defaults of every 2D object class.
#pragma once

#include "framework/zeth.h"

namespace Zeth3D {

bool Initialize();  // the device library; false ends start-up
bool Start(Zeth::WindowHandle window, bool windowed);
void Finalize();
void EnableFullColorMode();
void ResetDevice(bool changeMode);
void SetDialogBoxMode(bool enable);
void SetScaling2D(bool enable, float centreX, float centreY, float scale);
void SetPerspective2D(bool enable, float centreX, float centreY, float distance);

}  // namespace Zeth3D
