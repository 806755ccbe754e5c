// Feeds arbitrary bytes to the model manager's load from memory (text or binary X files) on
// the software device, then shades, animates, poses, draws and ray-tests whatever model came
// back before releasing it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/app/zeth.h"
#include "framework/graphics/device.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/managers.h"
#include "framework3d/animation.h"
#include "framework3d/model_data.h"
#include "platform/gfx/device.h"

namespace {

bool StartFramework() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    static platform::gfx::MemorySink sink;
    Zeth::SetScreenInfo(640, 480, true);
    platform::gfx::SetPresentSink(&sink);
    return Zeth3D::Initialize() && Zeth3D::Start(nullptr, true) && Zeth::CreateManagers() &&
           Zeth::GetExtension3D().initializeAnimations() && Zeth::GetExtension3D().initializePools();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = StartFramework();
    if (!started) return 0;
    CModelData* model = Zeth::GetModelManager()->CreateFromMemory(data, static_cast<uint32_t>(size), 2, 0, 12, 0);
    if (model == nullptr) return 0;
    model->CreateShaders(2, -1);
    for (uint32_t set = 0; set < model->GetAnimationCount() + 1; ++set) {
        const float length = static_cast<float>(model->GetAnimationLength(set));
        model->Animate(length * 0.5f, length, kAnimationLinear);
        model->UpdateWorld(CMatrix());
    }
    if (Zeth3D::BeginScene()) {
        model->Render();
        Zeth3D::EndScene();
    }
    for (uint32_t m = 0; m < model->GetMeshCount(); ++m) {
        model->GetMeshTable()[m]->HitTest(CVector3(-5.0f, 0.1f, 0.2f), CVector3(5.0f, 0.3f, 0.1f), true);
    }
    model->Release();
    return 0;
}
