// Drawing through a software vertex program: each vertex's elements are read from the vertex
// declaration by usage, the program computes its clip position, colour and coordinate sets,
// and the device clips, projects and rasterises the result as it does transformed vertices.
#include <algorithm>
#include <cstring>

#include "platform/gfx/device_impl.h"

namespace platform::gfx {

namespace {

// Where one element sits in a vertex and how it is stored; offset -1 when the declaration
// has none.
struct Slot {
    int offset = -1;
    uint8_t type = decltype_::kUnused;
};

struct ProgramLayout {
    Slot position[2], normal[2], weight, indices, color, texCoord;
    uint32_t size = 0;  // 0: the declaration has no element the device reads
};

uint32_t ElementBytes(uint8_t type) {
    return type <= decltype_::kFloat4 ? 4u * (type + 1u) : 4u;
}

ProgramLayout ProgramLayoutOf(const std::vector<VertexElement>& elements) {
    ProgramLayout l;
    for (const VertexElement& e : elements) {
        if (e.stream != 0 || e.type > decltype_::kUbyte4) continue;
        Slot* slot = nullptr;
        switch (e.usage) {
            case declusage::kPosition: slot = e.usageIndex < 2 ? &l.position[e.usageIndex] : nullptr; break;
            case declusage::kNormal: slot = e.usageIndex < 2 ? &l.normal[e.usageIndex] : nullptr; break;
            case declusage::kBlendWeight: slot = e.usageIndex == 0 ? &l.weight : nullptr; break;
            case declusage::kBlendIndices: slot = e.usageIndex == 0 ? &l.indices : nullptr; break;
            case declusage::kColor: slot = e.usageIndex == 0 ? &l.color : nullptr; break;
            case declusage::kTexCoord: slot = e.usageIndex == 0 ? &l.texCoord : nullptr; break;
            default: break;
        }
        l.size = std::max(l.size, uint32_t(e.offset) + ElementBytes(e.type));
        if (slot) *slot = {int(e.offset), e.type};
    }
    return l;
}

// Reads an element as four floats: float elements fill the components they carry, a colour
// word becomes red, green, blue, alpha from 0 to 1, four bytes become their values.
void ReadElement(const uint8_t* vertex, const Slot& slot, float out[4]) {
    out[0] = out[1] = out[2] = 0.0f;
    out[3] = 1.0f;
    if (slot.offset < 0) return;
    const uint8_t* p = vertex + slot.offset;
    if (slot.type <= decltype_::kFloat4) {
        std::memcpy(out, p, 4u * (slot.type + 1u));
    } else if (slot.type == decltype_::kColor) {
        static constexpr int kByteOfChannel[4] = {2, 1, 0, 3};  // a word B, G, R, A in memory
        for (int i = 0; i < 4; ++i) out[i] = float(p[kByteOfChannel[i]]) / 255.0f;
    } else {
        for (int i = 0; i < 4; ++i) out[i] = float(p[i]);
    }
}

uint32_t ClampedArgb(const float c[4]) {
    auto byte = [](float v) { return RoundToByte(double(std::clamp(v, 0.0f, 1.0f)) * 255.0); };
    return byte(c[3]) << 24 | byte(c[0]) << 16 | byte(c[1]) << 8 | byte(c[2]);
}

}  // namespace

bool DeviceImpl::RunVertexProgram(const DrawSource& source, uint32_t count, int stages) {
    if (!declaration_) return false;
    const ProgramLayout layout = ProgramLayoutOf(declaration_->Elements());
    if (layout.size == 0 || source.stride < layout.size) return false;
    if (count > 0 && (size_t(count - 1) * source.stride + layout.size > source.vertexBytes)) {
        return false;
    }
    transformed_ = true;
    hasDiffuse_ = true;
    if (screen_.size() < count) screen_.resize(count);
    if (clip_.size() < count) clip_.resize(count);
    int setOf[kStageCount];  // the output coordinate set each stage reads, -1 none
    for (uint32_t s = 0; s < kStageCount; ++s) {
        const uint32_t set = stageStates_[s][tss::kTexCoordIndex] & 0xFFFF;
        setOf[s] = set < 2 ? int(set) : -1;
    }
    ProgramInput in{};
    ProgramOutput out{};
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = source.vertices + size_t(i) * source.stride;
        for (int k = 0; k < 2; ++k) {
            ReadElement(p, layout.position[k], in.position[k]);
            ReadElement(p, layout.normal[k], in.normal[k]);
        }
        ReadElement(p, layout.weight, in.blendWeight);
        ReadElement(p, layout.color, in.color);
        ReadElement(p, layout.texCoord, in.texCoord);
        if (layout.indices.offset >= 0 && layout.indices.type >= decltype_::kColor) {
            std::memcpy(in.blendIndices, p + layout.indices.offset, 4);
        } else {
            std::memset(in.blendIndices, 0, 4);
        }
        out = ProgramOutput{};
        program_->Run(in, &out);
        ScreenVertex& v = screen_[i];
        v.diffuse = ClampedArgb(out.color);
        for (int s = 0; s < stages; ++s) {
            v.uv[s][0] = setOf[s] >= 0 ? out.texCoord[setOf[s]][0] : 0.0f;
            v.uv[s][1] = setOf[s] >= 0 ? out.texCoord[setOf[s]][1] : 0.0f;
        }
        std::array<float, 4>& c = clip_[i];
        std::copy(out.position, out.position + 4, c.begin());
        ProjectToViewport(c, &v);
    }
    return true;
}

}  // namespace platform::gfx
