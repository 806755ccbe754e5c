// The 3D side registers itself with the framework, and its pools live from the framework's
// start-up to its release of the managers.
#include <gtest/gtest.h>

#include "framework/app/zeth.h"
#include "framework/graphics/device.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/managers.h"
#include "framework3d/pools_internal.h"

namespace {

TEST(Registration, PoolsAreMadeAtStartUpAndFreedWithTheManagers) {
    const Zeth::Extension3D& hooks = Zeth::GetExtension3D();
    ASSERT_NE(hooks.initializePools, nullptr) << "the registration was dropped by the linker";
    EXPECT_EQ(ZethCamera::Records(), nullptr);

    Zeth::SetScreenInfo(640, 480, true);
    ASSERT_TRUE(Zeth3D::Initialize());
    ASSERT_TRUE(Zeth3D::Start(nullptr, true));
    ASSERT_TRUE(hooks.initializeAnimations());
    ASSERT_TRUE(hooks.initializePools());
    ASSERT_TRUE(Zeth::CreateManagers());
    ASSERT_NE(ZethCamera::Records(), nullptr);
    EXPECT_FALSE(ZethCamera::Records()[ZethCamera::kRecords - 1].inUse);
    EXPECT_EQ(ZethLight::GetLight(0)->range, 100.0f);

    Zeth3D::ResetDevice(true);  // the grid meshes and effects take their locks and go on
    Zeth::ReleaseManagers();
    EXPECT_EQ(ZethCamera::Records(), nullptr);
    hooks.finalizeAnimations();
    Zeth3D::Finalize();
}

}  // namespace
