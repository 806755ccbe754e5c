// Fuzz target: effect text of any content through the parser, then every parameter set and read.
#include <cstddef>
#include <cstdint>

#include "platform/d3dx/effect.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    d3dx::Effect* effect = nullptr;
    d3dx::Buffer* errors = nullptr;
    if (gfx::Failed(d3dx::D3DXCreateEffect(nullptr, data, uint32_t(size), nullptr, nullptr, 0, nullptr,
                                           &effect, &errors))) {
        if (errors) errors->Release();
        return 0;
    }
    const d3dx::Matrix m{};
    const d3dx::Vector4 v[2] = {};
    float out[64];
    for (const d3dx::EffectParameter& p : effect->Parameters()) {
        effect->SetMatrixArray(p.name.c_str(), &m, 1);
        effect->SetVectorArray(p.name.c_str(), v, 2);
        effect->SetFloat(p.name.c_str(), 1.0f);
        effect->GetFloatArray(p.name.c_str(), out, 64);
    }
    uint32_t passes = 0;
    if (gfx::Succeeded(effect->Begin(&passes, 0))) {
        for (uint32_t i = 0; i < passes; ++i) {
            effect->BeginPass(i);
            effect->EndPass();
        }
        effect->End();
    }
    effect->Release();
    return 0;
}
