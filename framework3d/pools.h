// The 3D side's record pools and effect list, created at start-up, released at shutdown and
// told about device loss and reset through the hooks they register with the framework (bottom of
// pools.cpp).
#pragma once

#include <cstdint>

#include "framework/core/matrix.h"
#include "framework3d/animation.h"
#include "framework3d/shader_fx.h"

namespace ZethCamera {
constexpr int kRecords = 32;
struct Record {
    bool inUse;
    CMatrix view;
    CMatrix projection;
};
bool Initialize();  // false when the pool cannot be allocated
void Finalize();
const Record* Records();
}  // namespace ZethCamera

namespace ZethLight {
constexpr int kRecords = 4;
struct Record {
    float diffuse[3];
    float range;
    float ambient[3];
};
bool Initialize();
const Record* Records();
}  // namespace ZethLight

namespace ZethModel {
constexpr int kRecords = 64;
bool Initialize();
void Finalize();
}  // namespace ZethModel

namespace ZethGridMesh {
constexpr int kRecords = 64;
bool Initialize();
void Finalize();
void OnLostDevice();
void OnResetDevice();
}  // namespace ZethGridMesh
