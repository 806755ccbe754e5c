#include "framework/managers.h"

#include "framework3d/pools.h"

namespace Zeth {

bool CreateManagers() { return true; }

void ReleaseManagers() {
    ZethGridMesh::Finalize();
    ZethModel::Finalize();
    ZethCamera::Finalize();
    ZethShaderFx::Finalize();
}

}  // namespace Zeth
