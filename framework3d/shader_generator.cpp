// The vertex-shader generator: normalises the options, writes the shader text fragment by
// fragment, makes the effect from it and attaches the program that computes what the text
// computes.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework3d/shader_fx.h"
#include "framework3d/shader_program.h"

using namespace shaderopt;

//                                                 type: texture scheme and lighting
const uint32_t kShaderTypeOptions[kShaderTypeCount] = {kPlainTexture | kUnlit,       // 0
                                                       kReflection | kUnlit,         // 1
                                                       kPlainTexture | kLight4,      // 2
                                                       kReflection | kLight4,        // 3
                                                       kScreenProjection | kLight4,  // 4
                                                       kToon | kUnlit};              // 5

namespace {

constexpr uint32_t kWorkBufferSize = 32768;
constexpr uint32_t kLineSize = 1024;

// Keeps the lowest set bit of the group.
uint32_t LowestOf(uint32_t options, uint32_t group) {
    const uint32_t bits = options & group;
    return (options & ~group) | (bits & (~bits + 1));
}

// The text in the zero-filled work buffer, each piece formatted in a scratch line first.
class ShaderText {
public:
    ShaderText() : buffer_(static_cast<char*>(Zeth::MemoryAlloc(kWorkBufferSize))) {}
    ~ShaderText() { Zeth::MemoryFree(buffer_); }
    ShaderText(const ShaderText&) = delete;
    ShaderText& operator=(const ShaderText&) = delete;

    bool Valid() const { return buffer_ != nullptr; }
    const char* Text() const { return buffer_; }
    uint32_t Length() const { return length_; }

    void operator()(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char line[kLineSize];
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        const uint32_t room = kWorkBufferSize - 1 - length_;
        const uint32_t size = n < 0 ? 0 : std::min<uint32_t>(uint32_t(n), std::min<uint32_t>(room, kLineSize - 1));
        std::memcpy(buffer_ + length_, line, size);
        length_ += size;
    }

private:
    char* buffer_;
    uint32_t length_ = 0;
};

constexpr const char* kRule = "//-------------------------------------------------------------\n";  // "//" and 61 hyphens

void Header(ShaderText& out, const char* title) { out("%s// %s\n%s", kRule, title, kRule); }

void Declarations(ShaderText& out, uint32_t o, uint32_t boneMatrices) {
    Header(out, "VARIABLE");
    out("float4x4 mTransform;\t\t\t// world x view x projection\n");
    out("float VertexExtrusion;\t\t\t// distance along the normal\n");
    out("float FogParameter[2];\t\t\t// fog scale and offset\n");
    out("float4 FogTransform;\t\t\t// fog depth of a local position\n");
    out("float SlideTextureU;\t\t\t// texture slide\n");
    out("float SlideTextureV;\t\t\t// texture slide\n");
    out("float4 MaterialDiffuse;\t\t\t// material colour\n");
    out("float4 MaterialAmbient;\t\t\t// material ambient colour\n");
    if (o & kMorph) out("float MorphWeight;\t\t\t\t// blend towards the target shape\n");
    if (o & kSkinned) out("float4x4 mBoneMatrixArray[%d];\t// bone palette\n", int(boneMatrices));
    if (o & kToon) {
        out("float4 LightParameter[4];\t\t// light directions\n");
    } else if (!(o & kUnlit)) {
        out("float4 LightAmbient;\t\t\t// ambient light\n");
        out("float4 LightSpecular;\t\t\t// specular light\n");
        out("bool LightIsUse[4];\t\t\t\t// lights on\n");
        out("bool LightIsDirectional[4];\t\t// directional or point\n");
        out("float LightAttenuation[4];\t\t// attenuation\n");
        out("float4 LightParameter[4];\t\t// direction or position\n");
        out("float4 LightColor[4];\t\t\t// light colour\n");
    }
    if (o & (kReflection | kScreenProjection)) out("float4x4 mWorldView;\t\t\t// world x view\n");
    out("\n");
}

void Structures(ShaderText& out, uint32_t o) {
    Header(out, "VERTEX_SHADER INPUT");
    out("struct VS_INPUT\n{\n");
    out("\tfloat4 Position : POSITION;\n");
    out("\tfloat3 Normal : NORMAL;\n");
    if (o & kMorph) {
        out("\tfloat4 TPosition : POSITION1;\n");
        out("\tfloat3 TNormal : NORMAL1;\n");
    }
    if (o & kSkinned) {
        out("\tfloat4 BlendWeights : BLENDWEIGHT;\n");
        out("\tfloat4 BlendIndices : BLENDINDICES;\n");
    }
    out("\tfloat4 Color : COLOR0;\n");
    out("\tfloat2 TexUV : TEXCOORD0;\n");
    out("};\n\n");
    Header(out, "VERTEX_SHADER OUTPUT");
    out("struct VS_OUTPUT\n{\n");
    out("\tfloat4 Position : POSITION;\n");
    out("\tfloat4 Color : COLOR0;\n");
    out("\tfloat2 TexUV0 : TEXCOORD0;\n");
    out("\tfloat3 TexUV1 : TEXCOORD1;\n");
    out("\tfloat Fog : FOG;\n");
    out("};\n\n");
}

void LightFunction(ShaderText& out) {
    Header(out, "ライトの計算");
    out("float4 ComputeLight( int no, float3 norm, float4 pos )\n{\n");
    out("\tfloat4 vColor = float4( 0, 0, 0, 0 );\n");
    out("\tif ( LightIsUse[no] )\n\t{\n");
    out("\t\tfloat fPower;\n");
    out("\t\tif ( LightIsDirectional[no] )\n\t\t{\n");
    out("\t\t\tfPower = -dot( LightParameter[no], norm );\n");
    out("\t\t}\n\t\telse\n\t\t{\n");
    out("\t\t\tfPower = -dot( normalize( pos - LightParameter[no] ), norm );\n");
    out("\t\t}\n");
    out("\t\tvColor = max( float4( 0, 0, 0, 1 ), LightColor[no] * fPower );\n");
    out("\t}\n");
    out("\treturn vColor;\n}\n\n");
}

void Skinning(ShaderText& out, uint32_t influences) {
    static const char kLane[] = "xyzw";
    out("\tfloat LastWeight = 1.0;\n");
    out("\tfloat4 vPosLocal = float4( 0, 0, 0, 0 );\n");
    out("\tfloat3 vNormWorld = float3( 0, 0, 0 );\n");
    out("\tint4 IndexVector = D3DCOLORtoUBYTE4( Input.BlendIndices );\n");
    for (uint32_t i = 0; i + 1 < influences; ++i) {
        const char c = kLane[i];
        out("\tvPosLocal += mul( Input.Position, mBoneMatrixArray[IndexVector.%c] ) * Input.BlendWeights.%c;\n", c, c);
        out("\tvNormWorld += mul( Input.Normal, (float3x3)mBoneMatrixArray[IndexVector.%c] ) * Input.BlendWeights.%c;\n",
            c, c);
        out("\tLastWeight -= Input.BlendWeights.%c;\n", c);
    }
    const char last = kLane[influences - 1];
    out("\tvPosLocal += mul( Input.Position, mBoneMatrixArray[IndexVector.%c] ) * LastWeight;\n", last);
    out("\tvNormWorld += mul( Input.Normal, (float3x3)mBoneMatrixArray[IndexVector.%c] ) * LastWeight;\n", last);
    out("\tvPosLocal += float4( vNormWorld, 0 ) * VertexExtrusion;\n");
    out("\tfloat4 vPosProj = mul( float4( vPosLocal.xyz, 1.0 ), mTransform );\n");
}

void VertexShader(ShaderText& out, uint32_t o, uint32_t influences) {
    Header(out, "VERTEX SHADER");
    out("VS_OUTPUT VertexShader_%02d( const VS_INPUT Input )\n{\n", 0);
    out("\tfloat4 vLightColor = float4( 0, 0, 0, 0 );\n");
    out("\tVS_OUTPUT Output = (VS_OUTPUT)0;\n\n");
    if (o & kSkinned) {
        Skinning(out, influences);
    } else {
        if (o & kMorph) {
            out("\tfloat4 vPosLocal = Input.Position - ( Input.Position - Input.TPosition ) * MorphWeight;\n");
            out("\tfloat3 vNormWorld = Input.Normal - ( Input.Normal - Input.TNormal ) * MorphWeight;\n");
        } else {
            out("\tfloat3 vNormWorld = Input.Normal;\n");
            out("\tfloat4 vPosLocal = Input.Position + float4( Input.Normal, 0 ) * VertexExtrusion;\n");
        }
        if (o & kMorph) out("\tvPosLocal += float4( vNormWorld, 0 ) * VertexExtrusion;\n");
        out("\tfloat4 vPosProj = mul( vPosLocal, mTransform );\n");
    }
    out("\tOutput.Position = vPosProj;\n\n");
    out("\tfloat FogZ = mul( vPosLocal, FogTransform );\n");
    out("\tOutput.Fog = max( 0, min( 1, FogZ * FogParameter[0] + FogParameter[1] ) );\n\n");
    if (o & kUnlit) {
        out("\tvLightColor = MaterialDiffuse;\n");
    } else {
        const int lights = (o & kLight4) ? 4 : (o & (kLight1 << 2)) ? 3 : (o & (kLight1 << 1)) ? 2 : 1;
        for (int i = 0; i < lights; ++i) out("\tvLightColor += ComputeLight( %d, vNormWorld, vPosLocal );\n", i);
        out("\tvLightColor = max( vLightColor, LightAmbient );\n");
        out("\tvLightColor = min( vLightColor * MaterialDiffuse, float4( 1, 1, 1, 1 ) );\n");
    }
    out("\tOutput.Color = vLightColor;\n");
    out("\tOutput.Color.a = MaterialDiffuse.a;\n\n");
    if (o & kScreenProjection) {
        out("\tfloat3 vNormView = mul( Input.Normal, (float3x3)mWorldView );\n");
        out("\tfloat fInvW = 1.0 / vPosProj.w;\n");
        out("\tfloat fU = vPosProj.x * fInvW * 0.5 + 0.5;\n");
        out("\tfloat fV = vPosProj.y * fInvW * -0.5 + 0.5;\n");
        out("\tOutput.TexUV0.x = fU + vNormView.x * SlideTextureU;\n");
        out("\tOutput.TexUV0.y = fV + vNormView.y * SlideTextureV;\n");
    } else {
        out("\tOutput.TexUV0.xy = Input.TexUV + float2( SlideTextureU, SlideTextureV );\n");
        if (o & kPlainTexture) {
            out("\tOutput.TexUV1.xy = Input.TexUV + float2( SlideTextureU, SlideTextureV );\n");
        } else if (o & kToon) {
            out("\tfloat fPowToon = dot( LightParameter[0], vNormWorld );\n");
            out("\tOutput.TexUV1 = fPowToon * 0.5 + 0.5;\n");
        } else {
            out("\tfloat3 vEye = mul( vPosLocal, mWorldView );\n");
            out("\tfloat3 vNormal = mul( vNormWorld, (float3x3)mWorldView );\n");
            out("\tOutput.TexUV1.xy = reflect( normalize( -vEye ), vNormal ) * 0.5 + 0.5;\n");
        }
    }
    out("\n\treturn Output;\n}\n\n");
}

void Technique(ShaderText& out) {
    Header(out, "TECHNIQUE");
    out("technique Technique00\n{\n");
    out("\tpass Pass00\n\t{\n");
    out("\t\tVertexShader = compile vs_2_0 VertexShader_00();\n");
    out("\t}\n}\n");
}

void WriteShader(ShaderText& out, uint32_t o, uint32_t influences, uint32_t boneMatrices) {
    Declarations(out, o, boneMatrices);
    Structures(out, o);
    if (!(o & kUnlit)) LightFunction(out);
    VertexShader(out, o, influences);
    Technique(out);
}

// A skinned shader needs 1 to 4 influences; other counts have no skinning text.
bool InfluencesFit(uint32_t o, uint32_t influences) { return !(o & kSkinned) || influences <= 4; }

}  // namespace

uint32_t NormalizeShaderOptions(uint32_t o, uint32_t influences, uint32_t boneMatrices) {
    if (!(o & kInputMask)) o |= kStatic;
    if (o & kStatic) {
        o &= ~(kMorph | kSkinned);
    } else if (o & kMorph) {
        o &= ~(kStatic | kSkinned);
    } else if (influences == 0 || boneMatrices == 0) {
        o = (o & ~(kMorph | kSkinned)) | kStatic;
    } else {
        o &= ~(kStatic | kMorph);
    }
    if (!(o & kTextureMask)) o |= kPlainTexture;
    o = LowestOf(o, kTextureMask);
    if (o & kToon) o = (o & ~kLightMask) | kUnlit;
    if (!(o & kLightMask)) o |= kUnlit;
    return LowestOf(o, kLightMask);
}

uint32_t ShaderUseFlags(uint32_t o) {
    uint32_t flags = (o & kMorph) ? 0x9E1 : 0x8E1;
    if (o & kSkinned) flags |= fxuse::kBoneMatrices;
    if (!(o & kUnlit) || (o & kToon)) flags |= fxuse::kLights;
    if (o & (kReflection | kScreenProjection)) flags |= fxuse::kWorldView;
    return flags;
}

std::string ShaderSource(uint32_t options, uint32_t influences, uint32_t boneMatrices) {
    const uint32_t o = NormalizeShaderOptions(options, influences, boneMatrices);
    ShaderText out;
    if (!out.Valid() || !InfluencesFit(o, influences)) return {};
    WriteShader(out, o, influences, boneMatrices);
    return out.Text();
}

// Influence counts without skinning text fail as a compile failure would.
bool ZethShaderFx::CreateShader(uint32_t options, uint32_t influences, uint32_t boneMatrices,
                                uint32_t* useFlags) {
    const uint32_t o = NormalizeShaderOptions(options, influences, boneMatrices);
    if (useFlags) *useFlags = ShaderUseFlags(o);
    if (!InfluencesFit(o, influences)) {
        ZethLog::PrintError("エフェクトの読み込みに失敗しました。");
        ZethLog::PrintBreak();
        ZethLog::PrintError("  -> Shader Compile Error [ %u bone influences: 1 to 4 are supported ]", influences);
        ZethLog::PrintBreak();
        return false;
    }
    ShaderText out;
    if (!out.Valid()) return false;
    WriteShader(out, o, influences, boneMatrices);
    if (!CreateFromMemory(out.Text(), out.Length() + 1)) return false;
    auto* program = new ShaderProgram(o, influences, boneMatrices);
    Effect->AttachProgram(program);
    program->Release();
    return true;
}
