// The framework started on the software device with its 3D pools, a data folder holding the
// test scene and the checker texture, the HTML log, a camera and two lights; and loads of the
// test data through the model manager.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/files/temp_folder.h"
#include "framework/graphics/extension3d.h"
#include "framework/graphics/graphics_fixture.h"
#include "framework3d/pools_internal.h"
#include "framework3d/xfile_loader.h"
#include "support/read_file.h"
#include "support/read_log.h"

class ModelTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(Zeth::GetExtension3D().initializeAnimations());
        ASSERT_TRUE(Zeth::GetExtension3D().initializePools());
        std::vector<uint32_t> checker(64);
        for (int i = 0; i < 64; ++i) checker[size_t(i)] = ((i % 8) / 2 + (i / 8) / 2) % 2 ? 0xFFFFFF : 0x3060C0;
        folder_.Write("data/checker.bmp", MakeBmp(8, 8, checker));
        for (const char* name : {"scene.x", "cube_morph.x", "skin40.x", "skin49.x"}) {
            folder_.Write(std::string("data/") + name, Data(name));
        }
        ASSERT_TRUE(ZethFile::Initialize());
        ZethFile::SetRootPath(0, (folder_.Path() + "/data").c_str(), (folder_.Path() + "/data.bin").c_str());
        logPath_ = folder_.Path() + "/log.html";
        ASSERT_TRUE(ZethLog::Open(logPath_.c_str()));
    }
    void TearDown() override {
        ZethLog::Close();
        ZethFile::Finalize();
        GraphicsTest::TearDown();
        Zeth::GetExtension3D().finalizeAnimations();
    }

    static std::string Data(const char* name) {
        return testing_support::ReadFile(std::string(TANZLOR_TEST_DATA) + "/" + name);
    }
    std::string Log() {
        ZethLog::Close();
        const std::string log = testing_support::ReadLog(logPath_);
        ZethLog::Open(logPath_.c_str());
        return log;
    }
    static CModelData* Load(const char* file, uint16_t shaderMajor = 2) {
        return Zeth::GetModelManager()->CreateFromFile(file, shaderMajor, 0, 12, 0);
    }
    static CModelData* LoadText(const std::string& text) {
        return Zeth::GetModelManager()->CreateFromMemory(text.data(), uint32_t(text.size()), 2, 0, 12, 0);
    }

    // Camera 0 at `eye` looking at `at` (left-handed, y up), made active.
    static void SetCamera(const CVector3& eye, const CVector3& at, float aspect) {
        CVector3 z, x, y;
        at.Subtract(eye, z);
        z.Normalize();
        x.Cross(CVector3(0, 1, 0), z);
        x.Normalize();
        y.Cross(z, x);
        const float view[16] = {x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0,
                                -x.Dot(eye), -y.Dot(eye), -z.Dot(eye), 1};
        const float ys = 1.0f / std::tan(0.45f), xs = ys / aspect, zn = 0.5f, zf = 50.0f;
        const float projection[16] = {xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0};
        ZethCamera::Record& camera = ZethCamera::Records()[0];
        camera.inUse = 1;
        camera.refCount = 1;
        camera.view.Set(view);
        camera.projection.Set(projection);
        camera.viewProjection = camera.view * camera.projection;
        camera.position[0] = eye.x, camera.position[1] = eye.y, camera.position[2] = eye.z;
        camera.transform.position = eye;
        ZethCamera::SetActive(0);
    }

    // A white directional light from the upper left front and an orange point light.
    static void SetLights() {
        platform::gfx::Light sun{};
        sun.type = platform::gfx::light::kDirectional;
        sun.diffuse = {0.9f, 0.9f, 0.9f, 1.0f};
        sun.direction = {0.4f, -0.6f, 0.7f};
        ZethLight::SetLight(0, sun, true);
        platform::gfx::Light lamp{};
        lamp.type = platform::gfx::light::kPoint;
        lamp.diffuse = {1.0f, 0.5f, 0.1f, 1.0f};
        lamp.position = {4.0f, 1.0f, -2.0f};
        lamp.attenuation1 = 0.2f;
        ZethLight::SetLight(1, lamp, true);
        const float ambient[4] = {0.2f, 0.2f, 0.25f, 1.0f};
        ZethLight::SetAmbient(ambient);
    }

    TempFolder folder_;
    std::string logPath_;
};
