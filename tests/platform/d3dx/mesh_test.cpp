// Meshes from X files: loading (fans, split vertices, materials, skins), the mesh operations,
// normals and bounds, the blended-mesh conversion and the hierarchy loader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/d3dx/mesh_hierarchy.h"
#include "support/read_file.h"
#include "support/xfile_binary.h"

namespace d3dx = platform::d3dx;
namespace gfx = platform::gfx;

namespace {

std::string DataFile(const char* name) {
    return testing_support::ReadFile(std::string(TANZLOR_TEST_DATA) + "/" + name);
}

// The meshes of a file (searched through frames) loaded one by one.
class MeshFile {
public:
    explicit MeshFile(const std::string& text) {
        d3dx::FileCreate(&file_);
        for (const char* block : {d3dx::StandardTemplates(), d3dx::SkinTemplates()}) {
            file_->RegisterTemplates(block, std::strlen(block));
        }
        EXPECT_EQ(file_->CreateEnumObject(text.data(), text.size(), &top_), gfx::result::kOk) << file_->LastError();
    }
    ~MeshFile() {
        for (d3dx::XFileData* d : meshes_) d->Release();
        if (top_ != nullptr) top_->Release();
        file_->Release();
    }
    // The named mesh object (no reference added).
    d3dx::XFileData* Find(const std::string& name) {
        size_t count = 0;
        top_->GetChildren(&count);
        for (size_t i = 0; i < count; ++i) {
            d3dx::XFileData* child = nullptr;
            top_->GetChild(i, &child);
            if (d3dx::XFileData* found = Search(child, name)) return found;
        }
        return nullptr;
    }

    gfx::Result Load(const std::string& name, d3dx::Mesh** mesh, d3dx::SkinInfo** skin = nullptr,
                     d3dx::Buffer** materials = nullptr, uint32_t* materialCount = nullptr,
                     d3dx::Buffer** adjacency = nullptr) {
        d3dx::XFileData* data = Find(name);
        if (data == nullptr) return gfx::result::kNotFound;
        return d3dx::LoadSkinMeshFromXof(data, d3dx::meshopt::kSystemMem, nullptr, adjacency, materials, nullptr,
                                         materialCount, skin, mesh);
    }

private:
    // Takes data's reference: keeps it when data is the mesh, else releases it.
    d3dx::XFileData* Search(d3dx::XFileData* data, const std::string& name) {
        if (data->TemplateName() == "Mesh" && data->Name() == name) {
            meshes_.push_back(data);
            return data;
        }
        size_t count = 0;
        data->GetChildren(&count);
        d3dx::XFileData* found = nullptr;
        for (size_t i = 0; i < count && found == nullptr; ++i) {
            d3dx::XFileData* child = nullptr;
            data->GetChild(i, &child);
            if (child->IsReference()) child->Release();
            else found = Search(child, name);  // takes the child's reference
        }
        data->Release();
        return found;
    }
    d3dx::XFile* file_ = nullptr;
    d3dx::XFileEnumObject* top_ = nullptr;
    std::vector<d3dx::XFileData*> meshes_;
};

float FloatAt(d3dx::Mesh* mesh, uint32_t vertex, int32_t offset, int k = 0) {
    float f = 0.0f;
    std::memcpy(&f, mesh->VertexBytes() + size_t(vertex) * mesh->GetNumBytesPerVertex() + size_t(offset) + 4 * size_t(k), 4);
    return f;
}

uint32_t WordAt(d3dx::Mesh* mesh, uint32_t vertex, int32_t offset) {
    uint32_t w = 0;
    std::memcpy(&w, mesh->VertexBytes() + size_t(vertex) * mesh->GetNumBytesPerVertex() + size_t(offset), 4);
    return w;
}

TEST(MeshLoad, SceneMeshesGiveTrianglesSplitVerticesAndMaterials) {
    MeshFile file(DataFile("scene.x"));
    d3dx::Mesh* plain = nullptr;
    d3dx::Buffer* materials = nullptr;
    uint32_t materialCount = 9;
    ASSERT_EQ(file.Load("Plain", &plain, nullptr, &materials, &materialCount), gfx::result::kOk);
    EXPECT_EQ(plain->GetNumFaces(), 2u);  // one quad, two triangles of a fan
    EXPECT_EQ(plain->GetNumVertices(), 4u);
    EXPECT_EQ(plain->GetFVF(), gfx::fvf::kXyz);
    EXPECT_EQ(plain->GetOptions(), d3dx::meshopt::kSystemMem);
    EXPECT_EQ(std::vector<uint16_t>(plain->Indices(), plain->Indices() + 6), (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(materials, nullptr);
    EXPECT_EQ(materialCount, 0u);
    plain->Release();

    d3dx::Mesh* cube = nullptr;
    d3dx::Buffer* adjacency = nullptr;
    ASSERT_EQ(file.Load("Cube", &cube, nullptr, &materials, &materialCount, &adjacency), gfx::result::kOk);
    EXPECT_EQ(cube->GetNumVertices(), 24u);  // eight corners, each with three face normals
    EXPECT_EQ(cube->GetNumFaces(), 12u);
    EXPECT_EQ(cube->GetFVF(), 0x152u);
    const d3dx::VertexLayout& l = cube->Layout();
    for (uint32_t v = 0; v < 24; ++v) {
        const float n[3] = {FloatAt(cube, v, l.normal), FloatAt(cube, v, l.normal, 1), FloatAt(cube, v, l.normal, 2)};
        EXPECT_FLOAT_EQ(std::fabs(n[0]) + std::fabs(n[1]) + std::fabs(n[2]), 1.0f) << v;
    }
    EXPECT_EQ(WordAt(cube, 0, l.diffuse), 0xFFFF0000u);
    EXPECT_EQ(WordAt(cube, 4, l.diffuse), 0x80FF0000u);
    EXPECT_EQ(FloatAt(cube, 2, l.tex[0]), 1.0f);
    EXPECT_EQ(std::vector<uint32_t>(cube->Attributes(), cube->Attributes() + 12),
              (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
    const auto* adjacent = static_cast<const uint32_t*>(adjacency->GetBufferPointer());
    for (uint32_t i = 0; i < 36; ++i) EXPECT_LT(adjacent[i], 12u) << "a closed cube has no open edge";
    ASSERT_EQ(materialCount, 2u);
    const auto* m = static_cast<const d3dx::XMaterial*>(materials->GetBufferPointer());
    EXPECT_EQ(m[0].material.diffuse.r, 1.0f);
    EXPECT_EQ(m[0].material.power, 8.0f);
    EXPECT_EQ(m[0].textureFilename, nullptr);
    EXPECT_STREQ(m[1].textureFilename, "C:\\art\\checker.bmp");
    EXPECT_FLOAT_EQ(m[1].material.emissive.g, 0.1f);
    for (auto* o : std::initializer_list<gfx::RefCounted*>{cube, materials, adjacency}) o->Release();

    // One material index covers both faces of the arm; its skin has two bones.
    d3dx::Mesh* arm = nullptr;
    d3dx::SkinInfo* skin = nullptr;
    ASSERT_EQ(file.Load("Arm", &arm, &skin, &materials, &materialCount), gfx::result::kOk);
    EXPECT_EQ(std::vector<uint32_t>(arm->Attributes(), arm->Attributes() + 4), (std::vector<uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(materialCount, 1u);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->GetNumBones(), 2u);
    EXPECT_STREQ(skin->GetBoneName(1), "Elbow");
    EXPECT_EQ(skin->GetBoneOffsetMatrix(1)->m[3][0], -2.0f);
    EXPECT_EQ(skin->GetBoneName(2), nullptr);
    uint32_t influences = 0;
    skin->GetMaxVertexInfluences(&influences);
    EXPECT_EQ(influences, 2u);
    for (auto* o : std::initializer_list<gfx::RefCounted*>{arm, skin, materials}) o->Release();
}

const char* const kSplitMesh = R"(xof 0303txt 0032
Mesh Fold {
  4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;1.0;;
  2; 3;0,1,2;, 3;0,2,3;;
  MeshNormals { 2; 0.0;0.0;1.0;, 0.0;1.0;0.0;; 2; 3;0,0,0;, 3;1,1,1;; }
  SkinWeights { "Bone"; 2; 0,2; 0.5,1.0; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }
}
)";

TEST(MeshLoad, SplitVerticesKeepTheirWeights) {
    MeshFile file(kSplitMesh);
    d3dx::Mesh* mesh = nullptr;
    d3dx::SkinInfo* skin = nullptr;
    ASSERT_EQ(file.Load("Fold", &mesh, &skin), gfx::result::kOk);
    // Vertices 0 and 2 carry both normals: two copies appended after the four of the file.
    ASSERT_EQ(mesh->GetNumVertices(), 6u);
    EXPECT_EQ(std::vector<uint16_t>(mesh->Indices(), mesh->Indices() + 6), (std::vector<uint16_t>{0, 1, 2, 4, 5, 3}));
    ASSERT_EQ(skin->GetNumBoneInfluences(0), 4u);
    uint32_t vertices[4];
    float weights[4];
    skin->GetBoneInfluence(0, vertices, weights);
    EXPECT_EQ(std::vector<uint32_t>(vertices, vertices + 4), (std::vector<uint32_t>{0, 4, 2, 5}));
    EXPECT_EQ(std::vector<float>(weights, weights + 4), (std::vector<float>{0.5f, 0.5f, 1.0f, 1.0f}));
    mesh->Release();
    skin->Release();
}

std::string MeshText(const std::string& body) { return "xof 0303txt 0032\nMesh M {\n" + body + "\n}\n"; }

TEST(MeshLoad, DamagedMeshesFailWithInvalidData) {
    const std::string quad = "4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;;\n";
    const std::string face = "1; 4;0,1,2,3;;\n";
    const struct {
        const char* what;
        std::string text;
    } kCases[] = {
        {"index past the vertices", quad + "1; 3;0,1,4;;"},
        {"face of two corners", quad + "1; 2;0,1;;"},
        {"no faces", quad + "0;;"},
        {"normals of another face count", quad + face + "MeshNormals { 1; 0.0;0.0;1.0;; 2; 4;0,0,0,0;, 4;0,0,0,0;; }"},
        {"normal index past the normals", quad + face + "MeshNormals { 1; 0.0;0.0;1.0;; 1; 4;0,0,0,1;; }"},
        {"normal face of other corners", quad + face + "MeshNormals { 1; 0.0;0.0;1.0;; 1; 3;0,0,0;; }"},
        {"texture coordinates short", quad + face + "MeshTextureCoords { 3; 0.0;0.0;, 0.0;0.0;, 0.0;0.0;; }"},
        {"colour of vertex 4", quad + face + "MeshVertexColors { 1; 4;1.0;1.0;1.0;1.0;;; }"},
        {"material index 1 of 1", quad + face + "MeshMaterialList { 1; 1; 1;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }"},
        {"materials missing", quad + face + "MeshMaterialList { 2; 1; 0;; Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } }"},
        {"weight of vertex 4", quad + face + "SkinWeights { \"B\"; 1; 4; 1.0; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }"},
    };
    for (const auto& c : kCases) {
        MeshFile file(MeshText(c.text));
        d3dx::Mesh* mesh = nullptr;
        d3dx::SkinInfo* skin = nullptr;
        d3dx::Buffer* materials = nullptr;
        EXPECT_EQ(file.Load("M", &mesh, &skin, &materials), gfx::result::kInvalidData) << c.what;
        EXPECT_EQ(mesh, nullptr) << c.what;
        EXPECT_EQ(skin, nullptr) << c.what;
        EXPECT_EQ(materials, nullptr) << c.what;
    }
}

TEST(MeshLoad, AtMost65535Vertices) {
    for (uint32_t count : {65535u, 65536u}) {
        std::string text = std::to_string(count) + ";";
        for (uint32_t i = 0; i < count; ++i) text += "0.0;0.0;0.0;,";
        text.back() = ';';
        text += "1; 3;0,1,2;;";
        MeshFile file(MeshText(text));
        d3dx::Mesh* mesh = nullptr;
        EXPECT_EQ(file.Load("M", &mesh), count == 65535u ? gfx::result::kOk : gfx::result::kInvalidData) << count;
        if (mesh != nullptr) mesh->Release();
    }
}

TEST(MeshOperations, OptimizeSortsFacesStablyAndBuildsTheAttributeTable) {
    MeshFile file(DataFile("scene.x"));
    d3dx::Mesh* cube = nullptr;
    d3dx::Buffer* adjacencyBuffer = nullptr;
    ASSERT_EQ(file.Load("Cube", &cube, nullptr, nullptr, nullptr, &adjacencyBuffer), gfx::result::kOk);
    uint32_t* attributes = nullptr;
    ASSERT_EQ(cube->LockAttributeBuffer(0, &attributes), gfx::result::kOk);
    EXPECT_EQ(cube->LockAttributeBuffer(0, &attributes), gfx::result::kInvalidCall);
    const uint32_t mixed[12] = {1, 0, 1, 0, 0, 1, 1, 0, 0, 0, 1, 1};
    std::memcpy(attributes, mixed, sizeof(mixed));
    EXPECT_EQ(cube->OptimizeInplace(d3dx::optimize::kAttrSort, nullptr, nullptr, nullptr, nullptr), gfx::result::kInvalidCall);
    cube->UnlockAttributeBuffer();
    const std::vector<uint16_t> before(cube->Indices(), cube->Indices() + 36);

    std::vector<uint32_t> adjacency(36), faceRemap(12);
    const auto* adjacencyIn = static_cast<const uint32_t*>(adjacencyBuffer->GetBufferPointer());
    ASSERT_EQ(cube->OptimizeInplace(d3dx::optimize::kAttrSort, adjacencyIn, adjacency.data(), faceRemap.data(), nullptr),
              gfx::result::kOk);
    EXPECT_EQ(faceRemap, (std::vector<uint32_t>{1, 3, 4, 7, 8, 9, 0, 2, 5, 6, 10, 11}));
    for (uint32_t f = 0; f < 12; ++f) {
        for (uint32_t k = 0; k < 3; ++k) EXPECT_EQ(cube->Indices()[f * 3 + k], before[faceRemap[f] * 3 + k]);
        // The face across each edge is the same face under its new number.
        for (uint32_t k = 0; k < 3; ++k) EXPECT_EQ(faceRemap[adjacency[f * 3 + k]], adjacencyIn[faceRemap[f] * 3 + k]);
    }
    // The vertex-cache pass keeps the order.
    ASSERT_EQ(cube->OptimizeInplace(d3dx::optimize::kVertexCache, adjacency.data(), adjacency.data(), faceRemap.data(), nullptr),
              gfx::result::kOk);
    EXPECT_EQ(faceRemap, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    uint32_t count = 0;
    cube->GetAttributeTable(nullptr, &count);
    ASSERT_EQ(count, 2u);
    d3dx::AttributeRange table[2];
    cube->GetAttributeTable(table, &count);
    EXPECT_EQ(table[0].attribId, 0u);
    EXPECT_EQ(table[0].faceStart, 0u);
    EXPECT_EQ(table[0].faceCount, 6u);
    EXPECT_EQ(table[1].attribId, 1u);
    EXPECT_EQ(table[1].faceStart, 6u);
    EXPECT_EQ(table[1].faceCount, 6u);
    EXPECT_LE(table[1].vertexStart + table[1].vertexCount, 24u);
    cube->Release();
    adjacencyBuffer->Release();
}

TEST(MeshOperations, CloneCopiesSharedElementsAndZeroesTheRest) {
    MeshFile file(DataFile("scene.x"));
    d3dx::Mesh* cube = nullptr;
    ASSERT_EQ(file.Load("Cube", &cube), gfx::result::kOk);
    d3dx::Mesh* narrow = nullptr;
    ASSERT_EQ(cube->CloneMeshFVF(d3dx::meshopt::kManaged, gfx::fvf::kXyz | gfx::fvf::kTex1, nullptr, &narrow), gfx::result::kOk);
    EXPECT_EQ(narrow->GetNumBytesPerVertex(), 20u);
    EXPECT_EQ(FloatAt(narrow, 2, narrow->Layout().tex[0]), 1.0f);
    EXPECT_EQ(narrow->GetOptions(), d3dx::meshopt::kManaged);
    d3dx::Mesh* wide = nullptr;
    ASSERT_EQ(narrow->CloneMeshFVF(d3dx::meshopt::kSystemMem, 0x152, nullptr, &wide), gfx::result::kOk);
    for (uint32_t v = 0; v < 24; ++v) {
        EXPECT_EQ(WordAt(wide, v, wide->Layout().diffuse), 0u);
        EXPECT_EQ(FloatAt(wide, v, wide->Layout().normal), 0.0f);
        EXPECT_EQ(FloatAt(wide, v, 0), FloatAt(cube, v, 0));
    }
    EXPECT_EQ(std::vector<uint16_t>(wide->Indices(), wide->Indices() + 36), std::vector<uint16_t>(cube->Indices(), cube->Indices() + 36));
    d3dx::Mesh* none = nullptr;
    EXPECT_EQ(cube->CloneMeshFVF(0, gfx::fvf::kXyzRhw, nullptr, &none), gfx::result::kInvalidArg);
    EXPECT_EQ(cube->CloneMeshFVF(d3dx::meshopt::k32Bit, 0x152, nullptr, &none), gfx::result::kInvalidArg);
    EXPECT_EQ(none, nullptr);
    for (d3dx::Mesh* m : {cube, narrow, wide}) m->Release();
}

TEST(MeshOperations, NormalsAndBounds) {
    MeshFile file(DataFile("scene.x"));
    d3dx::Mesh* cube = nullptr;
    ASSERT_EQ(file.Load("Cube", &cube), gfx::result::kOk);
    const int32_t n = cube->Layout().normal;
    // Vertex 0 carries the normal of its first face (-z); recomputed it is that face's again
    // (each copy of a corner only touches faces of one side).
    std::memset(cube->VertexBytes() + n, 0, 12);
    ASSERT_EQ(d3dx::ComputeNormals(cube, nullptr), gfx::result::kOk);
    EXPECT_FLOAT_EQ(FloatAt(cube, 0, n, 2), -1.0f);
    EXPECT_FLOAT_EQ(FloatAt(cube, 0, n, 0), 0.0f);

    gfx::Vector3 lo{}, hi{}, centre{};
    float radius = 0.0f;
    const auto* positions = reinterpret_cast<const gfx::Vector3*>(cube->VertexBytes());
    const uint32_t stride = cube->GetNumBytesPerVertex();
    ASSERT_EQ(d3dx::ComputeBoundingBox(positions, 24, stride, &lo, &hi), gfx::result::kOk);
    EXPECT_EQ(lo.x, -1.0f);
    EXPECT_EQ(hi.z, 1.0f);
    ASSERT_EQ(d3dx::ComputeBoundingSphere(positions, 24, stride, &centre, &radius), gfx::result::kOk);
    EXPECT_FLOAT_EQ(centre.y, 0.0f);
    EXPECT_FLOAT_EQ(radius, std::sqrt(3.0f));
    // The centre is the mean, not the middle of the box: three points, two of them at x = 0.
    const gfx::Vector3 three[3] = {{0, 0, 0}, {0, 0, 0}, {3, 0, 0}};
    ASSERT_EQ(d3dx::ComputeBoundingSphere(three, 3, 12, &centre, &radius), gfx::result::kOk);
    EXPECT_FLOAT_EQ(centre.x, 1.0f);
    EXPECT_FLOAT_EQ(radius, 2.0f);
    EXPECT_EQ(d3dx::ComputeBoundingBox(positions, 0, stride, &lo, &hi), gfx::result::kInvalidCall);
    EXPECT_EQ(d3dx::ComputeBoundingSphere(positions, 3, 8, &centre, &radius), gfx::result::kInvalidCall);

    d3dx::Mesh* plain = nullptr;
    ASSERT_EQ(file.Load("Plain", &plain), gfx::result::kOk);
    EXPECT_EQ(d3dx::ComputeNormals(plain, nullptr), gfx::result::kInvalidCall);  // no normals to fill
    cube->Release();
    plain->Release();
}

// The weight each bone has on a blended vertex: three stored weights and the rest to the fourth slot.
std::map<uint32_t, float> BlendedWeights(d3dx::Mesh* mesh, uint32_t v, const uint32_t* palette) {
    std::map<uint32_t, float> out;
    const d3dx::VertexLayout& l = mesh->Layout();
    uint8_t slots[4];
    std::memcpy(slots, mesh->VertexBytes() + size_t(v) * l.size + size_t(l.indices), 4);
    float rest = 1.0f;
    for (int i = 0; i < 4; ++i) {
        const float w = i < 3 ? FloatAt(mesh, v, l.weights, i) : rest;
        rest -= i < 3 ? w : 0.0f;
        if (w > 1e-6f) out[palette[slots[i]]] += w;
    }
    return out;
}

TEST(MeshLoad, TheMorphCubeHasTheCubesTopologyMovedUp) {
    MeshFile scene(DataFile("scene.x"));
    MeshFile morph(DataFile("cube_morph.x"));
    d3dx::Mesh* cube = nullptr;
    d3dx::Mesh* moved = nullptr;
    ASSERT_EQ(scene.Load("Cube", &cube), gfx::result::kOk);
    ASSERT_EQ(morph.Load("Cube", &moved), gfx::result::kOk);
    ASSERT_EQ(moved->GetNumVertices(), cube->GetNumVertices());
    EXPECT_EQ(std::vector<uint16_t>(moved->Indices(), moved->Indices() + 36), std::vector<uint16_t>(cube->Indices(), cube->Indices() + 36));
    for (uint32_t v = 0; v < cube->GetNumVertices(); ++v) {
        EXPECT_EQ(FloatAt(moved, v, 0, 0), FloatAt(cube, v, 0, 0));
        EXPECT_EQ(FloatAt(moved, v, 0, 1), FloatAt(cube, v, 0, 1) + 0.5f);
    }
    cube->Release();
    moved->Release();
}

TEST(Skinning, FortyNineBonesAlsoFitPalettesOfThirtyTwo) {
    MeshFile file(DataFile("skin49.x"));
    d3dx::Mesh* strip = nullptr;
    d3dx::SkinInfo* skin = nullptr;
    ASSERT_EQ(file.Load("Strip", &strip, &skin), gfx::result::kOk);
    EXPECT_EQ(skin->GetNumBones(), 49u);
    uint32_t maxInfluences = 0, count = 0;
    d3dx::Buffer* combinations = nullptr;
    d3dx::Mesh* blended = nullptr;
    ASSERT_EQ(skin->ConvertToIndexedBlendedMesh(strip, 0, 32, nullptr, nullptr, nullptr, nullptr, &maxInfluences, &count,
                                                &combinations, &blended),
              gfx::result::kOk);
    EXPECT_EQ(count, 2u);
    const auto* c = static_cast<const d3dx::BoneCombination*>(combinations->GetBufferPointer());
    EXPECT_EQ(c[0].boneId[31], 31u);  // the first combination fills the palette
    // The second starts with the bones of its first quad's first vertex, heaviest first.
    EXPECT_EQ(std::vector<uint32_t>(c[1].boneId, c[1].boneId + 3), (std::vector<uint32_t>{31, 30, 32}));
    EXPECT_EQ(c[1].boneId[19], d3dx::kUnusedBone);  // bones 30 to 48
    EXPECT_EQ(c[0].faceCount + c[1].faceCount, 98u);
    for (auto* o : std::initializer_list<gfx::RefCounted*>{strip, skin, blended, combinations}) o->Release();
}

TEST(Skinning, FortyBonesInPalettesOfThirtyTwo) {
    MeshFile file(DataFile("skin40.x"));
    d3dx::Mesh* strip = nullptr;
    d3dx::SkinInfo* skin = nullptr;
    ASSERT_EQ(file.Load("Strip", &strip, &skin), gfx::result::kOk);
    ASSERT_EQ(skin->GetNumBones(), 40u);
    uint32_t maxInfluences = 0, count = 0;
    d3dx::Buffer* combinations = nullptr;
    d3dx::Buffer* vertexRemap = nullptr;
    d3dx::Mesh* blended = nullptr;
    ASSERT_EQ(skin->ConvertToIndexedBlendedMesh(strip, d3dx::meshopt::kManaged, 32, nullptr, nullptr, nullptr, &vertexRemap,
                                                &maxInfluences, &count, &combinations, &blended),
              gfx::result::kOk);
    EXPECT_EQ(maxInfluences, 2u);
    EXPECT_EQ(blended->GetFVF(), d3dx::kBlendedFvf);
    EXPECT_EQ(blended->GetNumBytesPerVertex(), 52u);
    EXPECT_EQ(blended->GetNumFaces(), strip->GetNumFaces());
    ASSERT_EQ(count, 2u);
    const auto* c = static_cast<const d3dx::BoneCombination*>(combinations->GetBufferPointer());
    EXPECT_EQ(c[0].faceCount + c[1].faceCount, 80u);
    EXPECT_EQ(c[1].faceStart, c[0].faceCount);
    // The column of vertices where the combinations meet is in both: two vertices duplicated.
    EXPECT_EQ(blended->GetNumVertices(), strip->GetNumVertices() + 2);
    const auto* remap = static_cast<const uint32_t*>(vertexRemap->GetBufferPointer());
    for (uint32_t g = 0; g < count; ++g) {
        uint32_t used = 0;
        for (uint32_t s = 0; s < 32; ++s) used += c[g].boneId[s] != d3dx::kUnusedBone ? 1 : 0;
        EXPECT_LE(used, 32u);
        for (uint32_t v = c[g].vertexStart; v < c[g].vertexStart + c[g].vertexCount; ++v) {
            // The weights are the file's, renormalised: each column is 1.0 or 0.75 + 0.25.
            const uint32_t column = remap[v] / 2;
            std::map<uint32_t, float> expected;
            if (column == 0) expected = {{0u, 1.0f}};
            else if (column == 40) expected = {{39u, 1.0f}};
            else expected = {{column, 0.75f}, {column - 1, 0.25f}};
            const std::map<uint32_t, float> got = BlendedWeights(blended, v, c[g].boneId);
            ASSERT_EQ(got.size(), expected.size()) << v;
            for (const auto& [bone, weight] : expected) EXPECT_NEAR(got.at(bone), weight, 1e-6f) << v;
        }
    }
    combinations->Release();
    d3dx::Mesh* tooSmall = nullptr;
    EXPECT_EQ(skin->ConvertToIndexedBlendedMesh(strip, 0, 2, nullptr, nullptr, nullptr, nullptr, &maxInfluences, &count,
                                                &combinations, &tooSmall),
              gfx::result::kTooManyInfluences);
    EXPECT_EQ(tooSmall, nullptr);
    EXPECT_EQ(combinations, nullptr);
    for (auto* o : std::initializer_list<gfx::RefCounted*>{strip, skin, blended, vertexRemap}) o->Release();
}

TEST(Skinning, FiveWeightsKeepTheLargestFourRenormalised) {
    const std::string weights =
        "SkinWeights { \"A\"; 1; 0; 0.1; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n"
        "SkinWeights { \"B\"; 1; 0; 0.4; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n"
        "SkinWeights { \"C\"; 1; 0; 0.2; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n"
        "SkinWeights { \"D\"; 1; 0; 0.2; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n"
        "SkinWeights { \"E\"; 1; 0; 0.1; 1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,0.0,1.0;; }\n";
    MeshFile file(MeshText("3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;;\n" + weights));
    d3dx::Mesh* mesh = nullptr;
    d3dx::SkinInfo* skin = nullptr;
    ASSERT_EQ(file.Load("M", &mesh, &skin), gfx::result::kOk);
    uint32_t maxInfluences = 0, count = 0;
    d3dx::Buffer* combinations = nullptr;
    d3dx::Mesh* blended = nullptr;
    ASSERT_EQ(skin->ConvertToIndexedBlendedMesh(mesh, 0, 32, nullptr, nullptr, nullptr, nullptr, &maxInfluences, &count,
                                                &combinations, &blended),
              gfx::result::kOk);
    EXPECT_EQ(maxInfluences, 4u);
    const auto* c = static_cast<const d3dx::BoneCombination*>(combinations->GetBufferPointer());
    // Bone E (the later of the two 0.1 weights) is dropped; the rest sum to one.
    const std::map<uint32_t, float> got = BlendedWeights(blended, 0, c[0].boneId);
    EXPECT_EQ(got.count(4), 0u);
    EXPECT_NEAR(got.at(1), 0.4f / 0.9f, 1e-6f);
    EXPECT_NEAR(got.at(0), 0.1f / 0.9f, 1e-6f);
    EXPECT_EQ(c[0].boneId[4], d3dx::kUnusedBone);
    for (auto* o : std::initializer_list<gfx::RefCounted*>{mesh, skin, blended, combinations}) o->Release();
}

// Counts what it creates and destroys; fails the mesh container numbered failAt.
class CountingAllocator : public d3dx::AllocateHierarchy {
public:
    gfx::Result CreateFrame(const char* name, d3dx::Frame** frame) override {
        *frame = new d3dx::Frame{};
        names.push_back(name != nullptr ? name : "(none)");
        ++frames;
        return gfx::result::kOk;
    }
    gfx::Result CreateMeshContainer(const char* name, const d3dx::MeshData* data, const d3dx::XMaterial*,
                                    const d3dx::EffectInstance*, uint32_t, const uint32_t*, d3dx::SkinInfo*,
                                    d3dx::MeshContainer** container) override {
        if (containers == failAt) return gfx::result::kOutOfMemory;
        *container = new d3dx::MeshContainer{};
        (*container)->meshData = *data;
        data->mesh->AddRef();
        names.push_back(std::string("mesh ") + name);
        ++containers;
        return gfx::result::kOk;
    }
    gfx::Result DestroyFrame(d3dx::Frame* frame) override {
        delete frame;
        --frames;
        return gfx::result::kOk;
    }
    gfx::Result DestroyMeshContainer(d3dx::MeshContainer* container) override {
        container->meshData.mesh->Release();
        delete container;
        --containers;
        return gfx::result::kOk;
    }
    int frames = 0;
    int containers = 0;
    int failAt = -1;
    std::vector<std::string> names;
};

TEST(MeshHierarchy, LoadsFramesAndMeshesAndDestroysThemAll) {
    const std::string scene = DataFile("scene.x");
    CountingAllocator alloc;
    d3dx::Frame* root = nullptr;
    // The binary encoding of the scene builds the same hierarchy.
    const std::vector<uint8_t> binary = xfile_test::TextToBinary(scene);
    ASSERT_EQ(d3dx::LoadMeshHierarchyFromMemory(binary.data(), binary.size(), 0, nullptr, &alloc, &root), gfx::result::kOk);
    d3dx::FrameDestroy(root, &alloc);
    const std::vector<std::string> fromBinary = alloc.names;
    alloc.names.clear();
    ASSERT_EQ(d3dx::LoadMeshHierarchyFromMemory(scene.data(), scene.size(), d3dx::meshopt::kManaged, nullptr, &alloc, &root),
              gfx::result::kOk);
    EXPECT_EQ(alloc.names, (std::vector<std::string>{"Root", "CubeFrame", "mesh Cube", "PlainFrame", "mesh Plain",
                                                     "Shoulder", "Elbow", "mesh Arm"}));
    EXPECT_EQ(alloc.names, fromBinary);
    const d3dx::Frame* cubeFrame = root->frameFirstChild;
    EXPECT_EQ(cubeFrame->transformationMatrix.m[3][0], 2.0f);
    EXPECT_EQ(cubeFrame->meshContainer->meshData.mesh->GetNumVertices(), 24u);
    EXPECT_EQ(root->meshContainer->meshData.mesh->GetNumFaces(), 4u);  // the arm hangs on the root
    EXPECT_EQ(root->transformationMatrix.m[0][0], 1.0f);
    EXPECT_EQ(root->frameSibling, nullptr);
    ASSERT_EQ(d3dx::FrameDestroy(root, &alloc), gfx::result::kOk);
    EXPECT_EQ(alloc.frames, 0);
    EXPECT_EQ(alloc.containers, 0);

    // A failed mesh container destroys everything built before it and passes the error on.
    for (int failAt : {0, 1, 2}) {
        CountingAllocator failing;
        failing.failAt = failAt;
        root = nullptr;
        EXPECT_EQ(d3dx::LoadMeshHierarchyFromMemory(scene.data(), scene.size(), 0, nullptr, &failing, &root),
                  gfx::result::kOutOfMemory);
        EXPECT_EQ(root, nullptr);
        EXPECT_EQ(failing.frames, 0);
        EXPECT_EQ(failing.containers, 0);
    }
    // A top-level mesh gets an unnamed frame; a damaged file reports the reader's error.
    const std::string lone = MeshText("3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;;");
    ASSERT_EQ(d3dx::LoadMeshHierarchyFromMemory(lone.data(), lone.size(), 0, nullptr, &alloc, &root), gfx::result::kOk);
    EXPECT_EQ(alloc.names.back(), "mesh M");
    EXPECT_NE(root->meshContainer, nullptr);
    d3dx::FrameDestroy(root, &alloc);
    EXPECT_EQ(alloc.frames, 0);
    EXPECT_EQ(d3dx::LoadMeshHierarchyFromMemory(lone.data(), lone.size() / 2, 0, nullptr, &alloc, &root),
              gfx::result::kInvalidData);
}

}  // namespace
