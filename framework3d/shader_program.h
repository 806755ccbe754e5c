// The program attached to a generated effect: it computes, in float, exactly the expressions
// of the shader text the generator writes for the same normalised options, reading the
// effect's parameters when a pass begins and on CommitChanges.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3dx/effect.h"

class ShaderProgram final : public platform::d3dx::EffectProgram {
public:
    ShaderProgram(uint32_t normalizedOptions, uint32_t influences, uint32_t boneMatrices);
    void Load(const platform::d3dx::Effect& effect) override;
    void Run(const platform::gfx::ProgramInput& in, platform::gfx::ProgramOutput* out) const override;

private:
    // A bone of the palette; an index past it reads a zero matrix.
    const float* Bone(uint32_t index) const;
    void Light(int no, const float norm[3], const float pos[4], float color[4]) const;

    uint32_t options_;
    uint32_t influences_;
    int lights_;
    // The parameters, as the effect holds them (matrices row by row).
    float transform_[16] = {}, worldView_[16] = {};
    float extrusion_ = 0, fog_[2] = {}, fogTransform_[4] = {}, slideU_ = 0, slideV_ = 0;
    float diffuse_[4] = {}, morphWeight_ = 0;
    float lightAmbient_[4] = {}, lightIsUse_[4] = {}, lightIsDirectional_[4] = {};
    float lightParameter_[4][4] = {}, lightColor_[4][4] = {};
    std::vector<float> bones_;
};
