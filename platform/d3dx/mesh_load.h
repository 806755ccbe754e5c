// Loading a mesh data object of an X file: geometry, normals, texture coordinates, vertex
// colours, materials and skin weights.
#pragma once

#include <cstdint>

#include "platform/d3dx/mesh.h"
#include "platform/d3dx/skin.h"
#include "platform/d3dx/xfile.h"

namespace platform::d3dx {

// Builds a mesh from a "Mesh" data object. Polygons become triangle fans; a vertex whose corners
// carry different normals is split, one copy per normal (appended after the file's vertices, its
// weights following it); texture coordinates and colours go with the file's vertex. The vertex
// format holds what the file holds (position, then normal, colour, one texture coordinate). A
// material list with fewer face indices than faces repeats its last index; faces are sorted
// stably by material and the attribute table built. Skin weights and a
// skin header give skin information (bones in file order). Every output may be null except
// mesh; damaged data fails with kInvalidData and outputs nothing.
Result LoadSkinMeshFromXof(XFileData* data, uint32_t options, gfx::Device* device, Buffer** adjacency,
                           Buffer** materials, Buffer** effectInstances, uint32_t* materialCount,
                           SkinInfo** skinInfo, Mesh** mesh);

}  // namespace platform::d3dx
