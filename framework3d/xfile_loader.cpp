#include "framework3d/xfile_loader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/app/log.h"
#include "framework/core/lock.h"
#include "framework/files/file_system.h"
#include "framework/graphics/texture.h"
#include "framework3d/animation.h"
#include "platform/d3dx/mesh_load.h"

namespace gfx = platform::gfx;
namespace tid = platform::d3dx::tid;
using LibModel::AnimasionSet;
using LibModel::CBaseMesh;
using LibModel::CFrame;
using LibModel::CMaterial;

namespace {

constexpr size_t kNameSize = 64;

// The object's name, or "NO_NAME" when the file gives none (or `fallback` instead).
std::string NameOf(d3dx::XFileData* data, const char* fallback = "NO_NAME") {
    const std::string& name = data->Name();
    return name.empty() ? fallback : name.substr(0, kNameSize - 1);
}

d3dx::Guid TypeOf(d3dx::XFileData* data) {
    d3dx::Guid type{};
    data->GetType(&type);
    return type;
}

template <typename Visit>
void ForEachChild(d3dx::XFileData* data, Visit visit) {
    size_t count = 0;
    data->GetChildren(&count);
    for (size_t i = 0; i < count; ++i) {
        d3dx::XFileData* child = nullptr;
        if (gfx::Failed(data->GetChild(i, &child))) continue;
        visit(child);
        child->Release();
    }
}

// Key layouts by key type: the values a key carries (after its time and count); 0 reads nothing.
constexpr uint32_t kValuesOfKeyType[5] = {4, 3, 3, 0, 16};

}  // namespace

CXFileLoader::~CXFileLoader() {
    ReleaseAnimationSets();
    if (model_ != nullptr) model_->Release();
}

void CXFileLoader::ReleaseAnimationSets() {
    while (CBaseObject* set = animationSets_.GetTop()) {
        animationSets_.Remove(set);
        set->Release();
    }
}

bool CXFileLoader::ParseTopLevel(d3dx::XFileEnumObject* enumeration) {
    size_t count = 0;
    enumeration->GetChildren(&count);
    for (size_t i = 0; i < count; ++i) {
        d3dx::XFileData* data = nullptr;
        if (gfx::Failed(enumeration->GetChild(i, &data))) continue;
        const d3dx::Guid type = TypeOf(data);
        if (type == tid::kFrame) {
            auto* frame = new CFrame;
            if (!ParseFrame(data, frame)) {
                frame->Release();
            } else {
                // Only the first top-level frame heads the model's tables; the others are kept.
                if (model_->GetRootFrame() != nullptr && !loggedExtraRoot_) {
                    ZethLog::PrintError("FRAME [ %s ] : 2つ目以降のトップレベルフレームは描画されません",
                                        frame->GetName());
                    ZethLog::PrintBreak();
                    loggedExtraRoot_ = true;
                }
                model_->AddRootFrame(frame);
            }
        } else if (type == tid::kMesh) {
            if (model_->GetRootFrame() == nullptr) {
                auto* root = new CFrame;
                root->SetName("FRAME_ROOT");
                model_->AddRootFrame(root);
            }
            LoadMesh(data, model_->GetRootFrame());
        } else if (type == tid::kAnimationSet) {
            auto* set = new CAnimation;
            animationSets_.AddTail(set);
            ParseAnimationSet(data, set);
        }
        data->Release();
    }
    return true;
}

bool CXFileLoader::ParseFrame(d3dx::XFileData* data, CFrame* frame) {
    frame->SetName(NameOf(data).c_str());
    ForEachChild(data, [&](d3dx::XFileData* child) {
        const d3dx::Guid type = TypeOf(child);
        if (type == tid::kFrameTransformMatrix) {
            ParseFrameMatrix(child, frame);
        } else if (type == tid::kFrame) {
            auto* sub = new CFrame;
            if (ParseFrame(child, sub)) {
                frame->AddChild(sub);
            } else {
                sub->Release();
            }
        } else if (type == tid::kMesh) {
            LoadMesh(child, frame);
        }
    });
    return true;
}

bool CXFileLoader::ParseFrameMatrix(d3dx::XFileData* data, CFrame* frame) {
    size_t size = 0;
    const void* bytes = nullptr;
    if (gfx::Failed(data->Lock(&size, &bytes))) return true;
    if (size == 64) {
        float matrix[16];
        std::memcpy(matrix, bytes, sizeof matrix);
        frame->SetLocalMatrix(matrix);
    }
    data->Unlock();
    return true;
}

bool CXFileLoader::LoadMesh(d3dx::XFileData* data, CFrame* parent) {
    const std::string name = NameOf(data);
    ZethLog::PrintTitle("<--- メッシュのロード [ %s ]", name.c_str());
    d3dx::Buffer *adjacency = nullptr, *materials = nullptr, *effects = nullptr;
    uint32_t materialCount = 0;
    d3dx::SkinInfo* skin = nullptr;
    d3dx::Mesh* mesh = nullptr;
    const gfx::Result result = d3dx::LoadSkinMeshFromXof(data, d3dx::meshopt::kSystemMem, Zeth3D::GetDevice(),
                                                         &adjacency, &materials, &effects, &materialCount, &skin,
                                                         &mesh);
    if (gfx::Failed(result)) {
        ZethLog::PrintError("メッシュのロードに失敗 [ %s ]", Zeth3D::GetErrorString(result));
        ZethLog::PrintBreak();
        return true;
    }
    CBaseMesh* object = nullptr;
    const uint32_t bones = skin != nullptr ? skin->GetNumBones() : 0;
    if (bones > kMaxBones) {
        ZethLog::PrintError("１つのメッシュに使えるボーン数は %d までです", int(kMaxBones));
        ZethLog::PrintBreak();
    } else if (bones > 0) {
        object = new CSkinMesh(shaderVersionMajor_, shaderVersionMinor_);
    } else {
        object = new CMesh(shaderVersionMajor_, shaderVersionMinor_);
    }
    if (object != nullptr) {
        object->SetName(name.c_str());
        const auto* adjacencyArray =
            adjacency != nullptr ? static_cast<const uint32_t*>(adjacency->GetBufferPointer()) : nullptr;
        if (!LoadMaterials(object, materials, materialCount) || !object->Load(mesh, skin, adjacencyArray)) {
            object->Release();
        } else if (parent->SetMesh(object) != object) {
            // A frame carries one mesh: a second one is left out rather than left dangling.
            ZethLog::PrintError("FRAME [ %s ] : 2つ目のメッシュ [ %s ] は使われません", parent->GetName(),
                                name.c_str());
            ZethLog::PrintBreak();
            object->Release();
        } else {
            ZethLog::PrintSuccess("Complete --->");
            ZethLog::PrintBreak();
        }
    }
    for (gfx::RefCounted* held : std::initializer_list<gfx::RefCounted*>{adjacency, materials, effects, skin, mesh}) {
        if (held != nullptr) held->Release();
    }
    return true;
}

bool CXFileLoader::LoadMaterials(CBaseMesh* mesh, d3dx::Buffer* materials, uint32_t count) {
    const auto* file = materials != nullptr ? static_cast<const d3dx::XMaterial*>(materials->GetBufferPointer())
                                            : nullptr;
    if (file == nullptr || count == 0) {
        mesh->AddChild(new CMaterial);
        return true;
    }
    for (uint32_t i = 0; i < count; ++i) {
        auto* material = new CMaterial;
        gfx::Material colours = file[i].material;
        const char* texture = file[i].textureFilename;
        if (texture != nullptr && texture[0] != '\0') {
            const char* slash = std::strrchr(texture, '\\');
            material->SetTextureName(0, slash != nullptr ? slash + 1 : texture);
            colours.diffuse.r = colours.diffuse.g = colours.diffuse.b = 1.0f;
        }
        material->SetMaterial(colours);
        mesh->AddChild(material);
    }
    return true;
}

bool CXFileLoader::EnsureNormals(d3dx::Mesh** mesh) {
    const bool hadNormals = (*mesh)->Layout().normal >= 0;
    if (!LibModel::AddNormals(mesh)) return false;
    if (!hadNormals) d3dx::ComputeNormals(*mesh, nullptr);
    return true;
}

void CXFileLoader::AttachMeshes() {
    CBaseObject* frame = nullptr;
    const uint32_t frames = model_->GetFrameCount();
    std::vector<CFrame*> table(frames);
    for (uint32_t f = 0; f < frames; ++f) {
        model_->GetObject(f, CFrame::kClassName, &frame);
        table[f] = static_cast<CFrame*>(frame);
        frame->Release();  // the model keeps it
    }
    for (uint32_t m = 0; m < model_->GetMeshCount(); ++m) model_->GetMeshTable()[m]->Bind(table.data(), frames);
}

bool CXFileLoader::ParseAnimationSet(d3dx::XFileData* data, CAnimation* set) {
    set->SetName(NameOf(data, "").c_str());
    uint32_t longest = 0;
    ForEachChild(data, [&](d3dx::XFileData* child) {
        if (!(TypeOf(child) == tid::kAnimation)) return;
        auto* track = new AnimasionSet;
        set->AddChild(track);
        ParseAnimation(child, track, set);
        longest = std::max(longest, set->GetLength());
    });
    set->SetLength(longest);
    return true;
}

bool CXFileLoader::ParseAnimation(d3dx::XFileData* data, AnimasionSet* track, CAnimation* set) {
    uint32_t longest = set->GetLength();
    ForEachChild(data, [&](d3dx::XFileData* child) {
        if (!child->Name().empty()) {
            track->SetName(child->Name().c_str());
        } else if (TypeOf(child) == tid::kAnimationKey) {
            ReadKeys(child, track, &longest);
        }
    });
    set->SetLength(longest);
    return true;
}

void CXFileLoader::ReadKeys(d3dx::XFileData* data, AnimasionSet* track, uint32_t* longest) {
    size_t size = 0;
    const void* bytes = nullptr;
    if (gfx::Failed(data->Lock(&size, &bytes))) return;
    std::vector<uint32_t> words(size / 4);
    std::memcpy(words.data(), bytes, words.size() * 4);
    data->Unlock();
    const uint32_t type = words.size() >= 2 ? words[0] : UINT32_MAX;
    const uint32_t count = words.size() >= 2 ? words[1] : 0;
    if (type == 3 || (words.size() >= 2 && type > 4)) return;  // keys of no kind the tracks use
    const uint32_t values = type <= 4 ? kValuesOfKeyType[type] : 0;
    const uint64_t keyWords = 2 + uint64_t(values);
    bool valid = words.size() >= 2 && count > 0 && words.size() - 2 >= keyWords * count;
    for (uint32_t k = 0; valid && k < count; ++k) valid = words[2 + k * keyWords + 1] == values;
    if (!valid) {
        ZethLog::PrintError("AnimationKey [ %s ] : キーのデータが不正です", track->GetName());
        ZethLog::PrintBreak();
        return;
    }
    auto key = [&](uint32_t k) { return &words[2 + k * keyWords]; };
    auto value = [&](uint32_t k, uint32_t v) { return std::bit_cast<float>(key(k)[2 + v]); };
    auto curve = [&](int32_t* handle) {
        AnimationRelease(*handle);
        *handle = AnimationCreate(count);
        return *handle;
    };
    std::vector<d3dx::Quaternion> rotations(count);
    int32_t* const scales[3] = {&track->scaleX, &track->scaleY, &track->scaleZ};
    int32_t* const translations[3] = {&track->translationX, &track->translationY, &track->translationZ};
    int32_t handles[7] = {};
    if (type == 0 || type == 4) handles[6] = curve(&track->rotationIndex);
    for (int axis = 0; axis < 3; ++axis) {
        if (type == 1 || type == 4) handles[axis] = curve(scales[axis]);
        if (type == 2 || type == 4) handles[3 + axis] = curve(translations[axis]);
    }
    for (uint32_t k = 0; k < count; ++k) {
        const float time = float(key(k)[0]);
        *longest = std::max(*longest, key(k)[0]);
        float scale[3] = {}, translation[3] = {};
        if (type == 0) {
            rotations[k] = d3dx::Quaternion{-value(k, 1), -value(k, 2), -value(k, 3), value(k, 0)};
        } else if (type == 1) {
            for (int axis = 0; axis < 3; ++axis) scale[axis] = value(k, uint32_t(axis));
        } else if (type == 2) {
            for (int axis = 0; axis < 3; ++axis) translation[axis] = value(k, uint32_t(axis));
        } else {
            float sixteen[16];
            for (uint32_t v = 0; v < 16; ++v) sixteen[v] = value(k, v);
            const CMatrix matrix(sixteen);
            CVector3 t, s;
            CMatrix rotation;
            matrix.Decompose(&t, &s, &rotation);
            d3dx::Matrix turn;
            std::memcpy(turn.m, rotation.m, sizeof turn.m);
            d3dx::D3DXQuaternionRotationMatrix(&rotations[k], &turn);
            scale[0] = s.x, scale[1] = s.y, scale[2] = s.z;
            translation[0] = t.x, translation[1] = t.y, translation[2] = t.z;
        }
        if (type == 0 || type == 4) AnimationSetKey(handles[6], k, time, float(k), false, false, 0.0f, 0.0f);
        for (int axis = 0; axis < 3; ++axis) {
            if (type == 1 || type == 4) AnimationSetKey(handles[axis], k, time, scale[axis], false, false, 0.0f, 0.0f);
            if (type == 2 || type == 4) {
                AnimationSetKey(handles[3 + axis], k, time, translation[axis], false, false, 0.0f, 0.0f);
            }
        }
    }
    if (type == 0 || type == 4) track->SetRotationKeys(rotations.data(), count);
}

bool CXFileLoader::LoadFromFile(const char* file, uint16_t shaderMajor, uint16_t shaderMinor,
                                ZethModelExManager* manager) {
    ZethFile::Stream* stream = ZethFile::FileOpen(file, true);
    if (stream == nullptr) {
        ZethLog::Print("} : ");
        ZethLog::PrintError("ファイルが読み込めませんでした");
        ZethLog::PrintBreak();
        return false;
    }
    const uint32_t size = ZethFile::FileGetSize(stream);
    if (size > ZethFile::kLoadLimit) ZethFile::ReportTooLarge(file);
    void* buffer = size > ZethFile::kLoadLimit ? nullptr : Zeth::MemoryAlloc(size);
    const bool read = buffer != nullptr && ZethFile::FileRead(stream, size, buffer) == size;
    ZethFile::FileClose(stream);
    const bool loaded = read && LoadFromMemory(buffer, size, shaderMajor, shaderMinor, manager);
    Zeth::MemoryFree(buffer);
    if (model_ != nullptr) {
        char path[ZethFile::kPathSize] = {};
        ZethFile::ResolvePath(path, file);
        model_->SetName(path);
    }
    return loaded;
}

bool CXFileLoader::LoadFromMemory(const void* data, uint32_t size, uint16_t shaderMajor, uint16_t shaderMinor,
                                  ZethModelExManager* manager) {
    shaderVersionMajor_ = shaderMajor;
    shaderVersionMinor_ = shaderMinor;
    d3dx::XFile* file = nullptr;
    if (gfx::Failed(d3dx::FileCreate(&file))) {
        ZethLog::PrintError("Xファイルインスタンスの作成に失敗");
        ZethLog::PrintBreak();
        return false;
    }
    d3dx::XFileEnumObject* enumeration = nullptr;
    auto fail = [&](const char* format, gfx::Result result) {
        ZethLog::PrintError(format, Zeth3D::GetErrorString(result));
        ZethLog::PrintBreak();
        if (enumeration != nullptr) enumeration->Release();
        file->Release();
        return false;
    };
    const char* standard = d3dx::StandardTemplates();
    gfx::Result result = file->RegisterTemplates(standard, std::strlen(standard));
    if (gfx::Failed(result)) return fail("D3DRMテンプレートの登録に失敗 [ %s ]", result);
    const char* skin = d3dx::SkinTemplates();
    result = file->RegisterTemplates(skin, std::strlen(skin));
    if (gfx::Failed(result)) return fail("D3D8テンプレートの登録に失敗 [ %s ]", result);
    result = file->CreateEnumObject(data, size, &enumeration);
    if (gfx::Failed(result)) {
        return fail("列挙オブジェクトの作成に失敗 / ファイルがないか無効な可能性があります [ %s ]", result);
    }
    if (model_ != nullptr) model_->Release();
    ReleaseAnimationSets();
    loggedExtraRoot_ = false;
    model_ = new CModelData(manager);
    ParseTopLevel(enumeration);
    enumeration->Release();
    file->Release();
    // A file without frames or meshes gives nothing to draw or animate.
    if (model_->GetRootFrame() == nullptr) {
        ZethLog::PrintError("フレームもメッシュもありません");
        ZethLog::PrintBreak();
        return false;
    }
    model_->GetRootFrame()->Dump();
    model_->BuildFrameTable();
    model_->BuildMeshTable();
    model_->SetAnimationSets(animationSets_);
    model_->BindAnimations();
    AttachMeshes();
    model_->Animate(0.0f, 0.0f, kAnimationLinear);
    model_->UpdateWorld(CMatrix());
    return true;
}

bool CXFileLoader::GetModel(CModelData** out) {
    if (model_ == nullptr) return false;
    *out = model_;
    model_->AddRef();
    return true;
}
