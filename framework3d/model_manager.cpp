// The model manager's two loads, handed to the framework's manager: a short-lived loader
// builds the model, then the textures its materials name are loaded.
#include <cstring>

#include "framework/app/log.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/texture.h"
#include "framework3d/xfile_loader.h"

using LibModel::CBaseMesh;
using LibModel::CMaterial;

namespace {

enum class Source { kFile, kMemory };

// Loads every texture the model's materials name, logging each one.
void LoadTextures(CModelData* model, Source source, uint32_t textureFormat, uint32_t colourKey) {
    ZethLog::Print("} : Load Textures : {");
    ZethLog::PrintBreak();
    for (uint32_t i = 0; i < model->GetMeshCount(); ++i) {
        CBaseObject* object = nullptr;
        if (!model->GetObject(i, CBaseMesh::kClassName, &object)) continue;
        auto* mesh = static_cast<CBaseMesh*>(object);
        for (uint32_t j = 0; j < mesh->GetMaterialCount(); ++j) {
            CMaterial* material = nullptr;
            if (!mesh->GetMaterial(j, CMaterial::kClassName, &material)) continue;
            for (uint32_t stage = 0; stage < 4; ++stage) {
                char name[260];
                material->GetTextureName(stage, name);
                if (name[0] == '\0') continue;
                if (source == Source::kFile) {
                    CTexture* texture = ZethTexture::CreateFromFile(name, textureFormat, colourKey);
                    if (texture == nullptr) continue;
                    ZethLog::Print("　MATERIAL [%d] [0x%08X] -> [0x%08X]", int(stage),
                                   uint32_t(reinterpret_cast<uintptr_t>(material)),
                                   uint32_t(reinterpret_cast<uintptr_t>(texture)));
                    ZethLog::PrintBreak();
                    material->SetTexture(stage, texture);
                    ZethTexture::Release(texture);
                } else {
                    ZethLog::Print("　　");
                    const char* slash = name[1] == ':' ? std::strrchr(name, '\\') : nullptr;
                    CTexture* texture =
                        ZethTexture::CreateFromFile(slash != nullptr ? slash + 1 : name, textureFormat, colourKey);
                    material->SetTexture(stage, texture);
                    ZethTexture::Release(texture);
                }
            }
            material->Release();
        }
        mesh->Release();
    }
}

template <typename Load>
CModelData* CreateModel(Source source, uint32_t textureFormat, uint32_t colourKey, Load load) {
    CXFileLoader loader;
    CModelData* model = nullptr;
    if (!load(loader) || !loader.GetModel(&model)) return nullptr;
    LoadTextures(model, source, textureFormat, colourKey);
    ZethLog::Print("} : ");
    ZethLog::PrintSuccess("Success!");
    ZethLog::PrintBreak();
    return model;
}

CModelData* CreateFromFile(ZethModelExManager* manager, const char* file, uint16_t shaderMajor, uint16_t shaderMinor,
                           uint32_t textureFormat, uint32_t colourKey) {
    ZethLog::PrintTitle("ZethModelEx::CreateFromFile");
    ZethLog::Print(" : [ %s ] : {", file);
    ZethLog::PrintBreak();
    return CreateModel(Source::kFile, textureFormat, colourKey, [&](CXFileLoader& loader) {
        return loader.LoadFromFile(file, shaderMajor, shaderMinor, manager);
    });
}

CModelData* CreateFromMemory(ZethModelExManager* manager, const void* data, uint32_t size, uint16_t shaderMajor,
                             uint16_t shaderMinor, uint32_t textureFormat, uint32_t colourKey) {
    ZethLog::PrintTitle("ZethModelEx::CreateFromMemory");
    ZethLog::Print(" : {");
    ZethLog::PrintBreak();
    return CreateModel(Source::kMemory, textureFormat, colourKey, [&](CXFileLoader& loader) {
        return loader.LoadFromMemory(data, size, shaderMajor, shaderMinor, manager);
    });
}

const Zeth::Models3DRegistration kRegistration({.fromFile = CreateFromFile, .fromMemory = CreateFromMemory});

}  // namespace
