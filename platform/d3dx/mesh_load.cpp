// The mesh loader: reads a "Mesh" data object and its children into a mesh, its materials and
// its skin information. Every count and index is checked against the data it refers to.
#include "platform/d3dx/mesh_load.h"

#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::d3dx {

namespace r = gfx::result;

namespace {

struct BadData {};

// Reads packed members of a locked data object, refusing to read past its end.
class Cursor {
public:
    explicit Cursor(XFileData* data) : data_(data) {
        if (gfx::Failed(data->Lock(&size_, &bytes_))) throw BadData{};
    }
    ~Cursor() { data_->Unlock(); }
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    uint32_t U32() { return Read<uint32_t>(); }
    uint16_t U16() { return Read<uint16_t>(); }
    float F32() { return Read<float>(); }
    const char* Text() { return Read<const char*>(); }
    // A count of elements of at least bytesEach bytes that must still fit in the data.
    uint32_t Count(size_t bytesEach) {
        const uint32_t n = U32();
        if (uint64_t(n) * bytesEach > size_ - at_) throw BadData{};
        return n;
    }
    gfx::ColorValue Color(bool alpha) {
        gfx::ColorValue c{F32(), F32(), F32(), 1.0f};
        if (alpha) c.a = F32();
        return c;
    }

private:
    template <typename T>
    T Read() {
        if (sizeof(T) > size_ - at_) throw BadData{};
        T v;
        std::memcpy(&v, static_cast<const uint8_t*>(bytes_) + at_, sizeof(T));
        at_ += sizeof(T);
        return v;
    }
    XFileData* data_;
    size_t size_ = 0;
    const void* bytes_ = nullptr;
    size_t at_ = 0;
};

struct Vec3 {
    float x, y, z;
};

struct Polygon {
    std::vector<uint32_t> positions;
    std::vector<uint32_t> normals;
};

struct LoadedMaterial {
    gfx::Material material{};
    std::string texture;
    bool hasTexture = false;
};

struct LoadedBone {
    std::string name;
    gfx::Matrix offset{};
    std::vector<uint32_t> vertices;  // the file's vertex numbers
    std::vector<float> weights;
};

// Everything read from one mesh object, in the file's numbering.
struct MeshFile {
    std::vector<Vec3> positions;
    std::vector<Polygon> polygons;
    std::vector<Vec3> normals;
    bool hasNormals = false;
    std::vector<float> uv;  // two per vertex
    std::vector<uint32_t> colors;
    bool hasColors = false;
    std::vector<uint32_t> polygonMaterial;
    std::vector<LoadedMaterial> materials;
    bool skinned = false;
    std::vector<LoadedBone> bones;
};

uint32_t ToArgb(const gfx::ColorValue& c) {
    auto byte = [](float v) { return uint32_t(std::lround(std::fmin(1.0f, std::fmax(0.0f, v)) * 255.0f)); };
    return byte(c.a) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

// Calls visit with each child (references answer as their target); the child is released after.
template <typename Visit>
void ForEachChild(XFileData* data, Visit visit) {
    size_t count = 0;
    data->GetChildren(&count);
    for (size_t i = 0; i < count; ++i) {
        XFileData* child = nullptr;
        if (gfx::Failed(data->GetChild(i, &child))) throw BadData{};
        try {
            visit(child);
        } catch (...) {
            child->Release();
            throw;
        }
        child->Release();
    }
}

void ReadFaces(Cursor& in, uint32_t vertexLimit, std::vector<std::vector<uint32_t>>* faces) {
    const uint32_t count = in.Count(4);
    faces->resize(count);
    for (auto& face : *faces) {
        const uint32_t corners = in.Count(4);
        if (corners < 3) throw BadData{};
        face.resize(corners);
        for (uint32_t& index : face) {
            index = in.U32();
            if (index >= vertexLimit) throw BadData{};
        }
    }
}

std::vector<Vec3> ReadVectors(Cursor& in) {
    std::vector<Vec3> out(in.Count(12));
    for (Vec3& v : out) v = {in.F32(), in.F32(), in.F32()};
    return out;
}

void ReadNormals(XFileData* data, MeshFile* file) {
    Cursor in(data);
    file->normals = ReadVectors(in);
    std::vector<std::vector<uint32_t>> faces;
    ReadFaces(in, uint32_t(file->normals.size()), &faces);
    if (faces.size() != file->polygons.size()) throw BadData{};
    for (size_t f = 0; f < faces.size(); ++f) {
        if (faces[f].size() != file->polygons[f].positions.size()) throw BadData{};
        file->polygons[f].normals = std::move(faces[f]);
    }
    file->hasNormals = true;
}

void ReadTextureCoords(XFileData* data, MeshFile* file) {
    Cursor in(data);
    const uint32_t count = in.Count(8);
    if (count != file->positions.size()) throw BadData{};
    file->uv.resize(size_t(count) * 2);
    for (float& f : file->uv) f = in.F32();
}

void ReadVertexColors(XFileData* data, MeshFile* file) {
    Cursor in(data);
    const uint32_t count = in.Count(20);
    file->colors.assign(file->positions.size(), 0xFFFFFFFFu);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t index = in.U32();
        const gfx::ColorValue c = in.Color(true);
        if (index >= file->positions.size()) throw BadData{};
        file->colors[index] = ToArgb(c);
    }
    file->hasColors = true;
}

LoadedMaterial ReadMaterial(XFileData* data) {
    LoadedMaterial m;
    {
        Cursor in(data);
        m.material.diffuse = in.Color(true);
        m.material.power = in.F32();
        m.material.specular = in.Color(false);
        m.material.emissive = in.Color(false);
    }
    ForEachChild(data, [&m](XFileData* child) {
        if (child->TemplateName() != "TextureFilename") return;
        Cursor in(child);
        const char* name = in.Text();
        m.texture = name != nullptr ? name : "";
        m.hasTexture = true;
    });
    return m;
}

void ReadMaterialList(XFileData* data, MeshFile* file) {
    uint32_t materialCount = 0;
    {
        Cursor in(data);
        materialCount = in.U32();
        const uint32_t indexCount = in.Count(4);
        const size_t polygons = file->polygons.size();
        file->polygonMaterial.assign(polygons, 0);
        for (uint32_t i = 0; i < indexCount; ++i) {
            const uint32_t material = in.U32();
            if (material >= materialCount) throw BadData{};
            if (i < polygons) file->polygonMaterial[i] = material;
        }
        // One index (or any count short of the faces) covers the remaining faces with its last value.
        for (size_t i = indexCount; i < polygons && indexCount > 0; ++i) file->polygonMaterial[i] = file->polygonMaterial[indexCount - 1];
    }
    ForEachChild(data, [file, materialCount](XFileData* child) {
        if (child->TemplateName() == "Material" && file->materials.size() < materialCount) {
            file->materials.push_back(ReadMaterial(child));
        }
    });
    if (file->materials.size() != materialCount) throw BadData{};
}

void ReadSkinWeights(XFileData* data, MeshFile* file) {
    Cursor in(data);
    LoadedBone bone;
    const char* name = in.Text();
    bone.name = name != nullptr ? name : "";
    const uint32_t count = in.Count(8);
    bone.vertices.resize(count);
    for (uint32_t& v : bone.vertices) {
        v = in.U32();
        if (v >= file->positions.size()) throw BadData{};
    }
    bone.weights.resize(count);
    for (float& w : bone.weights) w = in.F32();
    for (auto& row : bone.offset.m) {
        for (float& f : row) f = in.F32();
    }
    file->bones.push_back(std::move(bone));
    file->skinned = true;
}

MeshFile ReadMeshObject(XFileData* data) {
    MeshFile file;
    {
        Cursor in(data);
        file.positions = ReadVectors(in);
        if (file.positions.empty() || file.positions.size() > kMaxVertices) throw BadData{};
        std::vector<std::vector<uint32_t>> faces;
        ReadFaces(in, uint32_t(file.positions.size()), &faces);
        if (faces.empty()) throw BadData{};
        file.polygons.resize(faces.size());
        for (size_t f = 0; f < faces.size(); ++f) file.polygons[f].positions = std::move(faces[f]);
    }
    file.polygonMaterial.assign(file.polygons.size(), 0);
    ForEachChild(data, [&file](XFileData* child) {
        const std::string& kind = child->TemplateName();
        if (kind == "MeshNormals") ReadNormals(child, &file);
        else if (kind == "MeshTextureCoords") ReadTextureCoords(child, &file);
        else if (kind == "MeshVertexColors") ReadVertexColors(child, &file);
        else if (kind == "MeshMaterialList") ReadMaterialList(child, &file);
        else if (kind == "SkinWeights") ReadSkinWeights(child, &file);
        else if (kind == "XSkinMeshHeader") file.skinned = true;
    });
    return file;
}

// The materials record: the records first, then the texture names they point at.
Buffer* MaterialBuffer(const std::vector<LoadedMaterial>& materials) {
    size_t size = materials.size() * sizeof(XMaterial);
    for (const LoadedMaterial& m : materials) size += m.hasTexture ? m.texture.size() + 1 : 0;
    auto* buffer = new Buffer(size);
    auto* records = static_cast<XMaterial*>(buffer->GetBufferPointer());
    char* text = reinterpret_cast<char*>(records + materials.size());
    for (size_t i = 0; i < materials.size(); ++i) {
        records[i].material = materials[i].material;
        records[i].textureFilename = nullptr;
        if (materials[i].hasTexture) {
            std::memcpy(text, materials[i].texture.c_str(), materials[i].texture.size() + 1);
            records[i].textureFilename = text;
            text += materials[i].texture.size() + 1;
        }
    }
    return buffer;
}

}  // namespace

Result LoadSkinMeshFromXof(XFileData* data, uint32_t options, gfx::Device* device, Buffer** adjacency,
                           Buffer** materials, Buffer** effectInstances, uint32_t* materialCount,
                           SkinInfo** skinInfo, Mesh** mesh) {
    if (data == nullptr || mesh == nullptr) return r::kInvalidArg;
    for (Buffer** out : {adjacency, materials, effectInstances}) {
        if (out != nullptr) *out = nullptr;
    }
    if (skinInfo != nullptr) *skinInfo = nullptr;
    if (materialCount != nullptr) *materialCount = 0;
    *mesh = nullptr;
    if (data->TemplateName() != "Mesh") return r::kInvalidArg;

    MeshFile file;
    try {
        file = ReadMeshObject(data);
    } catch (const BadData&) {
        return r::kInvalidData;
    }

    // Output vertices: the file's own first, then one more per further normal a vertex carries.
    std::vector<uint32_t> source(file.positions.size());
    for (uint32_t v = 0; v < source.size(); ++v) source[v] = v;
    std::vector<int64_t> normalOf(file.positions.size(), -1);
    std::unordered_map<uint64_t, uint32_t> splits;  // (vertex, normal) -> output vertex
    std::vector<uint16_t> indices;
    std::vector<uint32_t> attributes;
    for (size_t f = 0; f < file.polygons.size(); ++f) {
        const Polygon& polygon = file.polygons[f];
        std::vector<uint32_t> corners(polygon.positions.size());
        for (size_t k = 0; k < corners.size(); ++k) {
            const uint32_t p = polygon.positions[k];
            corners[k] = p;
            if (!file.hasNormals) continue;
            const uint32_t n = polygon.normals[k];
            if (normalOf[p] < 0) normalOf[p] = n;
            if (normalOf[p] == n) continue;
            const uint64_t key = uint64_t(p) << 32 | n;
            const auto it = splits.find(key);
            if (it != splits.end()) {
                corners[k] = it->second;
                continue;
            }
            if (source.size() >= kMaxVertices) return r::kInvalidData;
            corners[k] = uint32_t(source.size());
            splits.emplace(key, corners[k]);
            source.push_back(p);
            normalOf.push_back(n);
        }
        for (size_t k = 1; k + 1 < corners.size(); ++k) {
            indices.insert(indices.end(), {uint16_t(corners[0]), uint16_t(corners[k]), uint16_t(corners[k + 1])});
            attributes.push_back(file.polygonMaterial[f]);
        }
    }

    const uint32_t fvf = gfx::fvf::kXyz | (file.hasNormals ? gfx::fvf::kNormal : 0) |
                         (file.hasColors ? gfx::fvf::kDiffuse : 0) | (file.uv.empty() ? 0 : gfx::fvf::kTex1);
    Mesh* built = nullptr;
    const Result created = Mesh::Create(uint32_t(attributes.size()), uint32_t(source.size()), options, fvf, device, &built);
    if (gfx::Failed(created)) return created == r::kInvalidArg ? r::kInvalidData : created;
    const VertexLayout& layout = built->Layout();
    for (uint32_t v = 0; v < source.size(); ++v) {
        uint8_t* to = built->VertexBytes() + size_t(v) * layout.size;
        const uint32_t p = source[v];
        std::memcpy(to + layout.position, &file.positions[p], 12);
        if (layout.normal >= 0 && normalOf[v] >= 0) std::memcpy(to + layout.normal, &file.normals[size_t(normalOf[v])], 12);
        if (layout.diffuse >= 0) std::memcpy(to + layout.diffuse, &file.colors[p], 4);
        if (layout.tex[0] >= 0 && layout.texCount > 0) std::memcpy(to + layout.tex[0], &file.uv[size_t(p) * 2], 8);
    }
    std::copy(indices.begin(), indices.end(), built->Indices());
    std::copy(attributes.begin(), attributes.end(), built->Attributes());
    built->OptimizeInplace(optimize::kAttrSort, nullptr, nullptr, nullptr, nullptr);

    if (adjacency != nullptr) {
        *adjacency = new Buffer(indices.size() * sizeof(uint32_t));
        built->GenerateAdjacency(0.0f, static_cast<uint32_t*>((*adjacency)->GetBufferPointer()));
    }
    if (!file.materials.empty()) {
        if (materials != nullptr) *materials = MaterialBuffer(file.materials);
        if (effectInstances != nullptr) *effectInstances = new Buffer(file.materials.size() * sizeof(EffectInstance));
    }
    if (materialCount != nullptr) *materialCount = uint32_t(file.materials.size());
    if (file.skinned && skinInfo != nullptr) {
        SkinInfo::Create(uint32_t(source.size()), fvf, uint32_t(file.bones.size()), skinInfo);
        // Output vertices of each file vertex, so that split vertices keep their weights.
        std::vector<std::vector<uint32_t>> copies(file.positions.size());
        for (uint32_t v = 0; v < source.size(); ++v) copies[source[v]].push_back(v);
        for (uint32_t b = 0; b < file.bones.size(); ++b) {
            const LoadedBone& bone = file.bones[b];
            std::vector<uint32_t> vertices;
            std::vector<float> weights;
            for (size_t i = 0; i < bone.vertices.size(); ++i) {
                for (uint32_t v : copies[bone.vertices[i]]) {
                    vertices.push_back(v);
                    weights.push_back(bone.weights[i]);
                }
            }
            (*skinInfo)->SetBoneName(b, bone.name.c_str());
            (*skinInfo)->SetBoneOffsetMatrix(b, &bone.offset);
            (*skinInfo)->SetBoneInfluence(b, uint32_t(vertices.size()), vertices.data(), weights.data());
        }
    }
    *mesh = built;
    return r::kOk;
}

}  // namespace platform::d3dx
