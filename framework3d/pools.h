// The 3D side's four scene pools (grid meshes, hierarchy models, lights and cameras), each
// addressed by an integer handle, the record's index; -1, and any handle outside its pool,
// means none. Created at start-up, released at shutdown and told about device loss and reset
// through the hooks they register with the framework (bottom of pools.cpp). The mesh renderer
// reads the active camera and the light block from here.
#pragma once

#include <cstdint>

#include "framework/core/collision.h"
#include "framework/core/matrix.h"

namespace ZethGridMesh {
constexpr int kRecords = 64;
bool Initialize();  // false when the pool cannot be allocated
void Finalize();    // destroys every record whatever its count
bool Release(int32_t handle);  // true when the mesh was destroyed
void OnLostDevice();   // drops every block's device buffers (the declarations stay)
void OnResetDevice();  // rebuilds every block's device objects from its source vertices
}  // namespace ZethGridMesh

namespace ZethModel {
constexpr int kRecords = 64;
bool Initialize();
void Finalize();
bool Release(int32_t handle);  // true while the model stays referenced and when destroyed
}  // namespace ZethModel

namespace ZethLight {
constexpr int kRecords = 4;

// The lights as the mesh renderer hands them to its effects; disabled lights stay zero.
struct LightBlock {
    uint32_t isUse[4];
    uint32_t isDirectional[4];
    float attenuation[4];  // the second attenuation value
    float position[4][4];  // w = 1
    float direction[4][4];  // w = 1
    float color[4][4];     // the diffuse colour
    float specular[4];     // light 0's
    float ambient[4];      // the global ambient colour
};

bool Initialize();  // every light to its initial values, all disabled
void BuildLightBlock(LightBlock* out);
}  // namespace ZethLight

namespace ZethCamera {
constexpr int kRecords = 32;
bool Initialize();
void Finalize();
// Makes the camera current (matrices, position, frustum) and sets the device's view and
// projection; it is also re-applied after every device reset. Handles outside the pool do nothing.
void SetActive(int32_t handle);
int32_t GetActive();  // the handle last made active, -1 when none
void GetMatrices(CMatrix* projection, CMatrix* view, CMatrix* viewProjection, CMatrix* inverseViewProjection);
// A camera's position; a handle outside the pool gives the current camera's.
void GetPosition(int32_t handle, float out[3]);
bool IsVisible(const CVolume& volume);  // against the current camera's view volume
}  // namespace ZethCamera
