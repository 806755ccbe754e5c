// The X-file loader, the frame tree, the meshes and materials and the model data on the test
// scene and on small files written here: names, tables, materials, animation keys, bounds,
// hits, flags and forwarders, and the log of a load.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "framework/graphics/texture.h"
#include "framework3d/animation.h"
#include "model_fixture.h"

namespace {

using LibModel::AnimasionSet;
using LibModel::CBaseMesh;
using LibModel::CFrame;
using LibModel::CMaterial;

const char kHeader[] = "xof 0303txt 0032\n";

CFrame* FrameAt(CModelData* model, uint32_t index) {
    CBaseObject* frame = nullptr;
    if (!model->GetObject(index, CFrame::kClassName, &frame)) return nullptr;
    frame->Release();  // the model keeps it
    return static_cast<CFrame*>(frame);
}

CBaseMesh* MeshNamed(CModelData* model, const char* name) {
    const int32_t index = model->FindMeshIndex(name);
    return index >= 0 ? model->GetMeshTable()[index] : nullptr;
}

CMaterial* MaterialOf(CBaseMesh* mesh, uint32_t index) {
    CMaterial* material = nullptr;
    if (!mesh->GetMaterial(index, CMaterial::kClassName, &material)) return nullptr;
    material->Release();
    return material;
}

std::string Names(CModelData* model, bool meshes) {
    std::string names;
    const uint32_t count = meshes ? model->GetMeshCount() : model->GetFrameCount();
    for (uint32_t i = 0; i < count; ++i) {
        CBaseObject* object = nullptr;
        model->GetObject(i, meshes ? CBaseMesh::kClassName : CFrame::kClassName, &object);
        names += std::string(names.empty() ? "" : " ") + object->GetName();
        object->Release();
    }
    return names;
}

TEST_F(ModelTest, SceneTablesMaterialsTexturesAndTheLoadLog) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->GetRefCount(), 1);
    EXPECT_EQ(Names(model, false), "Root CubeFrame PlainFrame Shoulder Elbow");
    EXPECT_EQ(Names(model, true), "Arm Cube Plain");
    EXPECT_TRUE(model->IsSkinMesh(0));
    EXPECT_FALSE(model->IsSkinMesh(1));
    EXPECT_EQ(model->FindFrameIndex("elbow"), 4);
    EXPECT_EQ(model->FindFrameIndex("Knee"), -1);
    EXPECT_NE(std::string(model->GetName()).find("scene.x"), std::string::npos);

    // "C:\art\checker.bmp" names stage 0 by its last part, turns the diffuse white and finds
    // the texture; the ambient is 0.3 of the diffuse plus the emissive colour.
    CBaseMesh* cube = MeshNamed(model, "Cube");
    ASSERT_EQ(cube->GetMaterialCount(), 2u);
    char name[260];
    MaterialOf(cube, 1)->GetTextureName(0, name);
    EXPECT_STREQ(name, "checker.bmp");
    const platform::gfx::Material& checker = MaterialOf(cube, 1)->GetMaterial();
    EXPECT_FLOAT_EQ(checker.diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(checker.ambient.g, 0.4f);
    EXPECT_NE(MaterialOf(cube, 1)->GetTexture(0), nullptr);
    EXPECT_EQ(MaterialOf(cube, 0)->GetTexture(0), nullptr);
    MaterialOf(cube, 1)->GetTextureName(4, name);
    EXPECT_STREQ(name, "");
    // "art\skin.bmp" is looked for as "skin.bmp" and not found: the stage stays empty.
    CBaseMesh* arm = MeshNamed(model, "Arm");
    MaterialOf(arm, 0)->GetTextureName(0, name);
    EXPECT_STREQ(name, "skin.bmp");
    EXPECT_EQ(MaterialOf(arm, 0)->GetTexture(0), nullptr);
    // A mesh without a material list draws with one material of the construction values.
    CBaseMesh* plain = MeshNamed(model, "Plain");
    ASSERT_EQ(plain->GetMaterialCount(), 1u);
    EXPECT_FLOAT_EQ(MaterialOf(plain, 0)->GetMaterial().ambient.b, 0.3f);
    model->Release();

    const std::string log = Log();
    for (const char* line : {"ZethModelEx::CreateFromFile", " : [ scene.x ] : {", "<--- メッシュのロード [ Cube ]",
                             "Complete --->", "LoadMesh -> Bone [ 2 ]<BR>", "[ Root ]<BR>", "　<B>[ Arm ]</B>",
                             "　　<B>[ Cube ]</B>", "} : Load Textures : {", "　MATERIAL [0] [0x", "Success!"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
}

TEST_F(ModelTest, BoneLimitsPaletteAndRefusedMeshes) {
    CModelData* forty = Load("skin40.x");
    ASSERT_NE(forty, nullptr);
    ASSERT_EQ(forty->GetMeshCount(), 1u);
    EXPECT_EQ(forty->GetMeshTable()[0]->GetPaletteSize(), 32u);
    forty->Release();
    EXPECT_NE(Log().find("LoadMesh -> Bone [ 32 ]"), std::string::npos);
    // 49 bones: the mesh is left out with its message; the model keeps its frames.
    CModelData* fortyNine = Load("skin49.x");
    ASSERT_NE(fortyNine, nullptr);
    EXPECT_EQ(fortyNine->GetMeshCount(), 0u);
    EXPECT_TRUE(fortyNine->IsSkinMesh(0));
    EXPECT_EQ(fortyNine->GetMeshFlags(0), 0);
    EXPECT_EQ(fortyNine->Render(), 0u);
    fortyNine->Release();
    EXPECT_NE(Log().find("１つのメッシュに使えるボーン数は 48 までです"), std::string::npos);
}

const std::string kTriangle = "Mesh {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n}\n";

TEST_F(ModelTest, FilesWithoutFramesAndDamagedFilesGiveNothing) {
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {kHeader, "フレームもメッシュもありません"},
        {std::string(kHeader) + "AnimationSet Idle { }\n", "フレームもメッシュもありません"},
        {std::string(kHeader) + "Frame Broken { 1.0 }\n", "列挙オブジェクトの作成に失敗"},
        {"not an x file", "列挙オブジェクトの作成に失敗"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadText(c.text), nullptr) << c.text;
        EXPECT_NE(Log().find(c.message), std::string::npos) << c.text;
    }
    EXPECT_EQ(Load("missing.x"), nullptr);
    EXPECT_NE(Log().find("ファイルが読み込めませんでした"), std::string::npos);
    // Larger than the load limit (sparse: it costs no disk): damaged, and not read.
    folder_.Write("data/huge.x", kHeader);
    std::filesystem::resize_file(folder_.Path() + "/data/huge.x", ZethFile::kLoadLimit + 1ull);
    EXPECT_EQ(Load("huge.x"), nullptr);
    EXPECT_NE(Log().find("ファイルが大きすぎるため、壊れているとみなして読み込みません [ huge.x ]"), std::string::npos);
}

TEST_F(ModelTest, MeshOnlyFilesUnnamedObjectsSecondMeshesAndFurtherTopLevelFrames) {
    CModelData* model = LoadText(std::string(kHeader) + kTriangle);
    ASSERT_NE(model, nullptr);
    EXPECT_STREQ(model->GetRootFrame()->GetName(), "FRAME_ROOT");
    EXPECT_EQ(Names(model, true), "NO_NAME");
    model->Release();
    // A second mesh on one frame and a second top-level frame stay out of the tables.
    const std::string text = std::string(kHeader) + "Frame A {\n" + kTriangle + kTriangle + "}\nFrame B {\n" +
                             kTriangle + "}\n";
    model = LoadText(text);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->GetFrameCount(), 1u);
    EXPECT_EQ(model->GetMeshCount(), 1u);
    EXPECT_EQ(model->GetRootFrameCount(), 2u);
    EXPECT_EQ(model->Render(), 0u);  // no effect yet: nothing drawn, nothing followed past the table
    model->Release();
    const std::string log = Log();
    EXPECT_NE(log.find("FRAME [ A ] : 2つ目のメッシュ [ NO_NAME ] は使われません"), std::string::npos);
    EXPECT_NE(log.find("FRAME [ B ] : 2つ目以降のトップレベルフレームは描画されません"), std::string::npos);
}

TEST_F(ModelTest, FrameMatricesOfOtherSizesAreIgnored) {
    // A template of the matrix's identity with only two floats: its data is 8 bytes.
    const std::string text = std::string(kHeader) +
                             "template Short { <F6F23F41-7686-11CF-8F52-0040333594A3> FLOAT a; FLOAT b; }\n"
                             "Frame A { Short { 5.0; 6.0; } " + kTriangle + " }\n";
    CModelData* model = LoadText(text);
    ASSERT_NE(model, nullptr);
    const CMatrix& local = model->GetRootFrame()->localMatrix;
    EXPECT_EQ(local.m[0][0], 1.0f);
    EXPECT_EQ(local.m[3][0], 0.0f);
    model->Release();
}

// An animation of frame A with one key list; the length and the track's curves show what was read.
struct KeyCase {
    const char* keys;
    uint32_t length;
    bool rotation, scale, translation;
    bool refused;
};

TEST_F(ModelTest, AnimationKeysByTypeAndBrokenKeyLists) {
    const KeyCase cases[] = {
        {"0; 2; 0;4;1,0,0,0;;, 30;4;0,0,0,1;;;", 30, true, false, false, false},
        {"1; 1; 7;3;2,2,2;;;", 7, false, true, false, false},
        {"2; 1; 9;3;1,2,3;;;", 9, false, false, true, false},
        {"4; 1; 11;16;1,0,0,0,0,1,0,0,0,0,1,0,4,5,6,1;;;", 11, true, true, true, false},
        {"3; 1; 12;3;1,2,3;;;", 0, false, false, false, false},  // ignored
        {"0; 0;;", 0, false, false, false, true},               // no keys
        {"0; 1; 5;3;1,0,0;;;", 0, false, false, false, true},   // a rotation of three values
        {"4; 1; 5;3;1,0,0;;;", 0, false, false, false, true},   // a matrix of three values
    };
    for (const KeyCase& c : cases) {
        const std::string text = std::string(kHeader) + "Frame A { " + kTriangle + " }\nAnimationSet Go {\n" +
                                 " Animation { { A } AnimationKey { " + c.keys + " } }\n}\n";
        CModelData* model = LoadText(text);
        ASSERT_NE(model, nullptr) << c.keys;
        EXPECT_EQ(model->GetAnimationLength(0), c.length) << c.keys;
        AnimasionSet* track = nullptr;
        ASSERT_TRUE(model->GetRootFrame()->GetTrack(0, AnimasionSet::kClassName, &track)) << c.keys;
        ASSERT_NE(track, nullptr) << c.keys;
        EXPECT_EQ(track->rotationIndex != -1, c.rotation) << c.keys;
        EXPECT_EQ(track->scaleY != -1, c.scale) << c.keys;
        EXPECT_EQ(track->translationZ != -1, c.translation) << c.keys;
        track->Release();
        model->Release();
        EXPECT_EQ(Log().find("キーのデータが不正です") != std::string::npos, c.refused) << c.keys;
        ZethLog::Close();
        ZethLog::Open(logPath_.c_str());  // a fresh log for the next case
    }
}

TEST_F(ModelTest, FrameTracksBlendingAndWorldMatrices) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    CFrame* elbow = FrameAt(model, 4);
    CFrame* plain = FrameAt(model, 2);
    AnimasionSet* track = nullptr;
    // Bend drives the elbow only: the plain frame keeps a null slot.
    ASSERT_TRUE(plain->GetTrack(0, AnimasionSet::kClassName, &track));
    EXPECT_EQ(track, nullptr);
    EXPECT_FALSE(elbow->GetTrack(2, AnimasionSet::kClassName, &track));
    EXPECT_FALSE(elbow->GetTrack(0, CFrame::kClassName, &track));
    ASSERT_TRUE(elbow->GetTrackByName("ELBOW", AnimasionSet::kClassName, &track));
    EXPECT_STREQ(track->GetName(), "Elbow");
    track->Release();
    EXPECT_EQ(elbow->FindTrackIndex("Shoulder"), -1);

    // Blend 0.5 between Wave (no elbow track) and Bend takes Bend's pose alone: at time 100
    // the elbow is scaled by 2 along y and moved up by one.
    for (uint32_t f = 0; f < model->GetFrameCount(); ++f) FrameAt(model, f)->SetAnimation(1, 0, 0.5f);
    model->Animate(0.0f, 100.0f, kAnimationLinear);
    model->UpdateWorld(CMatrix());
    EXPECT_NEAR(elbow->animatedMatrix.m[3][1], 1.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(elbow->animatedMatrix.m[1][0]), 2.0f, 1e-5f);  // y scaled by 2, turned a quarter about z
    EXPECT_NEAR(elbow->GetWorldMatrix().m[3][0], 2.0f, 1e-5f);
    // Without tracks Animate changes nothing.
    CFrame loose;
    loose.AllocateTracks(0);
    const float moved[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 3, 4, 5, 1};
    loose.SetLocalMatrix(moved);
    loose.animatedMatrix.Identity();
    loose.Animate(10.0f, 10.0f, kAnimationLinear);
    EXPECT_EQ(loose.animatedMatrix.m[3][0], 0.0f);
    EXPECT_EQ(loose.GetTrackCount(), 0u);
    model->Release();
}

// Two tracks on one frame: a quarter of the way from A (unit scale, no turn, at the origin) to B
// (scale 3, a quarter turn about z, at x 4) gives scale 1.5, a turn of 22.5 degrees and x 1.
TEST_F(ModelTest, TwoTracksBlendOnOneFrame) {
    const std::string set = " Animation { { A } AnimationKey { 0; 1; 0;4;%R;;; } AnimationKey { 1; 1; 0;3;%S;;; }"
                            " AnimationKey { 2; 1; 0;3;%T;;; } }\n";
    auto animationSet = [&set](const char* name, const char* r, const char* sc, const char* t) {
        std::string text = set;
        text.replace(text.find("%R"), 2, r);
        text.replace(text.find("%S"), 2, sc);
        text.replace(text.find("%T"), 2, t);
        return std::string("AnimationSet ") + name + " {\n" + text + "}\n";
    };
    const std::string text = std::string(kHeader) + "Frame A { " + kTriangle + " }\n" +
                             animationSet("A", "1,0,0,0", "1,1,1", "0,0,0") +
                             animationSet("B", "0.70710678,0,0,0.70710678", "3,3,3", "4,0,0");
    CModelData* model = LoadText(text);
    ASSERT_NE(model, nullptr);
    CFrame* frame = model->GetRootFrame();
    frame->SetAnimation(0, 1, 0.25f);
    model->Animate(0.0f, 0.0f, kAnimationLinear);
    const CMatrix& m = frame->animatedMatrix;
    const float c = 1.5f * std::cos(3.14159265f / 8), s = 1.5f * std::sin(3.14159265f / 8);
    EXPECT_NEAR(m.m[0][0], c, 1e-4f);
    EXPECT_NEAR(std::fabs(m.m[0][1]), s, 1e-4f);
    EXPECT_NEAR(m.m[1][1], c, 1e-4f);
    EXPECT_NEAR(m.m[2][2], 1.5f, 1e-4f);
    EXPECT_NEAR(m.m[3][0], 1.0f, 1e-4f);
    model->Release();
}

TEST_F(ModelTest, BoundsColoursNormalsHitsAndFlags) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    CBaseMesh* plain = MeshNamed(model, "Plain");
    CVector3 low, high;
    plain->GetBoundingBox(&low, &high, nullptr);
    EXPECT_NEAR(high.z - low.z, 0.002f, 1e-6f);  // flat: 0.002 thick
    EXPECT_EQ(plain->vertexBuffer->GetBuffer()[0].color, 0xFFFFFFFFu);
    EXPECT_NEAR(plain->vertexBuffer->GetBuffer()[0].normal[2], 1.0f, 1e-5f);  // computed: none in the file
    // Six indices: a hit list of capacity 0 that never reports a hit.
    EXPECT_FALSE(plain->HitTest(CVector3(0.5f, 0.5f, -1.0f), CVector3(0.5f, 0.5f, 1.0f), true));

    CBaseMesh* cube = MeshNamed(model, "Cube");
    ASSERT_TRUE(cube->HitTest(CVector3(2.0f, 0.25f, -5.0f), CVector3(2.0f, 0.25f, 5.0f), true));
    ASSERT_EQ(cube->GetHitCount(), 2u);
    CVector3 local, world, normal, worldNormal;
    bool front = false;
    for (uint32_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(cube->GetHit(i, &local, &world, &normal, &worldNormal));
        if (world.z > -1.001f && world.z < -0.999f) {
            front = true;
            EXPECT_NEAR(world.x, 2.0f, 1e-5f);
            EXPECT_NEAR(local.x, 0.0f, 1e-5f);
            EXPECT_NEAR(std::fabs(worldNormal.z), 1.0f, 1e-5f);
        }
    }
    EXPECT_TRUE(front);
    EXPECT_FALSE(cube->GetHit(2, &local, nullptr, nullptr, nullptr));
    ASSERT_TRUE(cube->HitTest(CVector3(2.0f, 0.25f, -5.0f), CVector3(2.0f, 0.25f, 5.0f), false));
    cube->GetHit(0, nullptr, nullptr, &normal, &worldNormal);
    EXPECT_EQ(normal.Length() + worldNormal.Length(), 0.0f);
    EXPECT_FALSE(cube->HitTest(CVector3(2.0f, 0.25f, -5.0f), CVector3(2.0f, 0.25f, -3.0f), false));  // too short

    // Flags: a mask keeps the other bits; a hidden mesh draws nothing.
    model->CreateShaders(0, -1);
    model->SetMeshFlags(0x81, 0x01, -1);
    EXPECT_EQ(model->GetMeshFlags(1), 0x01);
    model->SetMeshFlags(0x00, 0xFF, 7);  // past the table: nothing
    EXPECT_EQ(model->GetMeshFlags(1), 0x01);
    EXPECT_EQ(model->GetMeshFlags(-1), 0);
    EXPECT_EQ(cube->Render(), 0u);
    EXPECT_EQ(model->Render(), 0u);
    model->Release();
}

TEST_F(ModelTest, DegenerateTrianglesLeaveNormalsFinite) {
    // The second face repeats a corner, the third lies on a line.
    const std::string text = std::string(kHeader) +
                             "Mesh M {\n 5; 0;0;0;, 1;0;0;, 0;1;0;, 2;0;0;, 3;0;0;;\n"
                             " 3; 3;0,1,2;, 3;1,1,2;, 3;0,3,4;;\n}\n";
    CModelData* model = LoadText(text);
    ASSERT_NE(model, nullptr);
    const CBaseMesh* mesh = model->GetMeshTable()[0];
    for (uint32_t v = 0; v < mesh->vertexBuffer->GetCount(); ++v) {
        for (float n : mesh->vertexBuffer->GetBuffer()[v].normal) EXPECT_TRUE(std::isfinite(n)) << v;
    }
    EXPECT_NEAR(mesh->vertexBuffer->GetBuffer()[0].normal[2], 1.0f, 1e-5f);
    model->Release();
}

// A vertex where faces meet at different angles takes each face's normal weighted by its angle
// there: the origin is a right angle of the z = 0 face and 45 degrees of the x = 0 face.
TEST_F(ModelTest, VertexNormalsAreWeightedByTheAnglesAtTheVertex) {
    const std::string text = std::string(kHeader) +
                             "Mesh M {\n 4; 0;0;0;, 1;0;0;, 0;1;0;, 0;1;1;;\n 2; 3;0,1,2;, 3;0,2,3;;\n}\n";
    CModelData* model = LoadText(text);
    ASSERT_NE(model, nullptr);
    const CBaseMesh* mesh = model->GetMeshTable()[0];
    ASSERT_EQ(mesh->vertexBuffer->GetCount(), 4u);
    const float k = 1.0f / std::sqrt(5.0f);
    struct Case {
        uint32_t vertex;
        float x, y, z;
    } cases[] = {{0, k, 0, 2 * k}, {2, 2 * k, 0, k}, {1, 0, 0, 1}, {3, 1, 0, 0}};
    for (const Case& c : cases) {
        const float* n = mesh->vertexBuffer->GetBuffer()[c.vertex].normal;
        EXPECT_NEAR(n[0], c.x, 1e-5f) << c.vertex;
        EXPECT_NEAR(n[1], c.y, 1e-5f) << c.vertex;
        EXPECT_NEAR(n[2], c.z, 1e-5f) << c.vertex;
    }
    model->Release();
}

TEST_F(ModelTest, ForwardersByMeshAndMaterialIndex) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    CBaseMesh* cube = MeshNamed(model, "Cube");
    // Mesh -1, material 0: material 0 of every mesh only.
    model->SetMaterialAlpha(0.5f, -1, 0);
    for (uint32_t m = 0; m < model->GetMeshCount(); ++m) {
        EXPECT_EQ(MaterialOf(model->GetMeshTable()[m], 0)->GetMaterial().diffuse.a, 0.5f) << m;
    }
    EXPECT_EQ(MaterialOf(cube, 1)->GetMaterial().diffuse.a, 1.0f);
    // A material index past the table acts on every material of the mesh.
    cube->SetMaterialAlpha(0.25f, 2);
    EXPECT_EQ(MaterialOf(cube, 1)->GetMaterial().diffuse.a, 0.25f);
    model->SetBlendMode(2, model->FindMeshIndex("Cube"), 1);
    EXPECT_EQ(MaterialOf(cube, 1)->GetRenderState().blendMode, 2u);
    EXPECT_NE(MaterialOf(cube, 0)->GetRenderState().blendMode, 2u);
    model->SetSamplerState(0, 5, 77, -1, -1);
    EXPECT_EQ(MaterialOf(cube, 0)->GetRenderState().sampler[0][5], 77u);
    model->SetDepthWriteEnable(false, -1, -1);
    EXPECT_FALSE(MaterialOf(cube, 1)->GetRenderState().depthWrite);

    EXPECT_EQ(model->GetAnimationLength(2), 0u);
    CBaseObject* object = nullptr;
    EXPECT_FALSE(model->GetObject(0, AnimasionSet::kClassName, &object));
    EXPECT_FALSE(model->GetObject(3, CBaseMesh::kClassName, &object));
    ASSERT_TRUE(model->GetObjectByName("plain", CBaseMesh::kClassName, &object));
    EXPECT_STREQ(object->GetName(), "Plain");
    object->Release();

    // A morph target of another vertex count, or out of either table, changes nothing.
    model->SetMorphTarget(model->FindMeshIndex("Cube"), model, model->FindMeshIndex("Plain"));
    model->SetMorphTarget(5, model, 1);
    model->SetMorphTarget(1, model, -1);
    EXPECT_FALSE(cube->IsMorphMesh());
    EXPECT_EQ(cube->vertexType, 0u);
    model->Release();
}

// Draws one mesh of the scene with an effect (a plain one unless given) of its own text and the
// given use flags; the effect.
ZethShaderFx* DrawWithEffect(CModelData* model, const char* mesh, const char* text, uint32_t flags,
                             ZethShaderFx* fx = nullptr) {
    if (fx == nullptr) fx = new ZethShaderFx;
    EXPECT_TRUE(fx->CreateFromMemory(text, uint32_t(std::strlen(text))));
    model->SetMeshFlags(1, 1, -1);
    model->SetMeshFlags(0, 1, model->FindMeshIndex(mesh));
    model->SetEffect(fx, model->FindMeshIndex(mesh), flags);
    ZethShaderFx::Release(fx);  // the mesh keeps it
    EXPECT_TRUE(Zeth3D::BeginScene());
    model->Render();
    Zeth3D::EndScene();
    return fx;
}

TEST_F(ModelTest, ConstantsFollowTheUseFlags) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    SetCamera(CVector3(2.0f, 0.0f, -6.0f), CVector3(2.0f, 0.0f, 0.0f), 1.0f);
    // Fog never set (both values 0) gives no fog rather than a division by zero.
    ZethShaderFx* fx = DrawWithEffect(model, "Cube", "float2 FogParameter; technique T { pass P { } }", fxuse::kFog);
    float values[32] = {-5, -5};
    ASSERT_EQ(fx->Effect->GetFloatArray("FogParameter", values, 2), 0);
    EXPECT_EQ(values[0], 0.0f);
    EXPECT_EQ(values[1], 1.0f);
    // The skinned arm sets its palette only when asked to.
    const char palette[] = "float4x4 mBoneMatrixArray[2]; technique T { pass P { } }";
    fx = DrawWithEffect(model, "Arm", palette, 0);
    ASSERT_EQ(fx->Effect->GetFloatArray("mBoneMatrixArray", values, 32), 0);
    EXPECT_EQ(values[0] + values[15] + values[16], 0.0f);
    fx = DrawWithEffect(model, "Arm", palette, fxuse::kBoneMatrices);
    ASSERT_EQ(fx->Effect->GetFloatArray("mBoneMatrixArray", values, 32), 0);
    EXPECT_EQ(values[0], 1.0f);   // the shoulder at rest: identity
    EXPECT_EQ(values[28], 0.0f);  // the elbow: its offset (-2) undoes its place (+2)
    model->Release();

    // A bone that names no frame is drawn with the identity as its world matrix.
    std::string scene = Data("scene.x");
    scene.replace(scene.find("\"Elbow\";"), 8, "\"Knee\";");
    model = LoadText(scene);
    ASSERT_NE(model, nullptr);
    fx = DrawWithEffect(model, "Arm", palette, fxuse::kBoneMatrices);
    ASSERT_EQ(fx->Effect->GetFloatArray("mBoneMatrixArray", values, 32), 0);
    EXPECT_EQ(values[28], -2.0f);  // the offset alone
    model->Release();
}

// Notes each pass begun and each material that draws in it (R the red one, C the checker).
class PassRecorder : public ZethShaderFx {
public:
    int32_t BeginPass(uint32_t pass) override {
        seen += " pass" + std::to_string(pass);
        return ZethShaderFx::BeginPass(pass);
    }
    int32_t SetVector(Handle name, const Vector4* value) override {
        if (std::strcmp(name, "MaterialDiffuse") == 0) seen += value->y == 0.0f ? " R" : " C";
        return ZethShaderFx::SetVector(name, value);
    }
    std::string seen;
};

TEST_F(ModelTest, AStaticMeshDrawsEveryRangeInEachPassInTurn) {
    CModelData* model = Load("scene.x");
    ASSERT_NE(model, nullptr);
    SetCamera(CVector3(2.0f, 0.0f, -6.0f), CVector3(2.0f, 0.0f, 0.0f), 1.0f);
    auto* fx = new PassRecorder;
    fx->AddRef();
    DrawWithEffect(model, "Cube", "float4 MaterialDiffuse; technique T { pass A { } pass B { } }", fxuse::kMaterial, fx);
    EXPECT_EQ(fx->seen, " pass0 R C pass1 R C");
    ZethShaderFx::Release(fx);
    model->Release();
}

// A node that notes what reaches it.
class NodeProbe : public CBaseNode {
public:
    void UpdateWorld(const CMatrix& parentWorld, uint32_t value) override {
        worldMatrix = parentWorld;
        arg = value;
    }
    void Animate(float, float, uint32_t value) override { mode = value; }
    uint32_t Render() override { return 5; }
    void Dump() override {}
    uint32_t arg = 0, mode = 0;
};

TEST_F(ModelTest, AMeshHandsItsCallsOnToItsNextSibling) {
    SetCamera(CVector3(2.0f, 0.0f, -6.0f), CVector3(2.0f, 0.0f, 0.0f), 1.0f);
    CBaseObject parent;
    auto* mesh = new CMesh(2, 0);
    auto* next = new NodeProbe;
    parent.AddChild(mesh);
    parent.AddChild(next);
    CMatrix behind;
    behind.m[3][2] = -100.0f;  // out of the camera's sight
    mesh->UpdateWorld(behind, 7);
    EXPECT_EQ(next->arg, 7u);
    EXPECT_EQ(next->GetWorldMatrix().m[3][2], -100.0f);
    mesh->Animate(0.0f, 0.0f, 1);
    EXPECT_EQ(next->mode, 1u);
    EXPECT_EQ(mesh->Render(), 5u);  // nothing of its own in sight, and the sibling's count
    mesh->SetFlags(1, 1);
    EXPECT_EQ(mesh->Render(), 0u);  // hidden: nothing at all
}

TEST_F(ModelTest, EnsureNormalsAddsAndComputesOnlyMissingNormals) {
    d3dx::Mesh* mesh = nullptr;
    ASSERT_TRUE(platform::gfx::Succeeded(
        d3dx::Mesh::Create(1, 3, d3dx::meshopt::kSystemMem, platform::gfx::fvf::kXyz, Zeth3D::GetDevice(), &mesh)));
    const float corners[9] = {0, 0, 0, 0, 1, 0, 1, 0, 0};
    std::memcpy(mesh->VertexBytes(), corners, sizeof corners);
    for (uint16_t i = 0; i < 3; ++i) mesh->Indices()[i] = i;
    CXFileLoader loader;
    ASSERT_TRUE(loader.EnsureNormals(&mesh));
    ASSERT_GE(mesh->Layout().normal, 0);
    float* normal = reinterpret_cast<float*>(mesh->VertexBytes() + mesh->Layout().normal);
    EXPECT_EQ(std::fabs(normal[2]), 1.0f);  // the triangle lies in z = 0
    // A mesh that has normals keeps them, and stays the same mesh.
    normal[2] = 0.5f;
    d3dx::Mesh* before = mesh;
    ASSERT_TRUE(loader.EnsureNormals(&mesh));
    EXPECT_EQ(mesh, before);
    EXPECT_EQ(normal[2], 0.5f);
    mesh->Release();
}

}  // namespace
