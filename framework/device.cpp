#include "framework/device.h"

namespace Zeth3D {

bool Initialize() { return true; }
bool Start(Zeth::WindowHandle, bool) { return true; }
void Finalize() {}
void EnableFullColorMode() {}
void ResetDevice(bool) {}
void SetDialogBoxMode(bool) {}
void SetScaling2D(bool, float, float, float) {}
void SetPerspective2D(bool, float, float, float) {}

}  // namespace Zeth3D
