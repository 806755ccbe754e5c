// Sheets: a picture cut into 256 x 256 tile textures, drawn tile by tile as screen quads.
#include <algorithm>
#include <cstdio>

#include "framework/core/angle.h"
#include "framework/graphics/device_names.h"
#include "framework/files/file_system.h"
#include "framework/graphics/lag.h"
#include "framework/core/lock.h"
#include "framework/app/log.h"
#include "framework/graphics/simple.h"
#include "framework/graphics/surface.h"

namespace {

bool Finish(bool done, const char* failure) {
    if (done) ZethLog::PrintSuccess("Success!");
    else ZethLog::PrintError("%s", failure);
    ZethLog::PrintBreak();
    return done;
}

constexpr const char* kParseFailure = "データの展開に失敗しました";
constexpr uint32_t kMaxSide = 32 * CSheet::kTileSide;

}  // namespace

CSheet::~CSheet() {
    for (Tile& tile : tiles_) {
        if (tile.texture != nullptr) tile.texture->Release();
    }
}

bool CSheet::Parse(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    gfx::ImageInfo info{};
    gfx::Result result = gfx::GetImageInfoFromFileInMemory(data, size, &info);
    if (gfx::Failed(result) || info.width == 0 || info.height == 0) {
        ZethLog::PrintError("ファイルの読み込みに失敗しました [ %s ]", GetErrorString(result));
        return false;
    }
    // A damaged header may claim any size; no picture of ours needs more than 32 x 32 tiles.
    if (info.width > kMaxSide || info.height > kMaxSide) {
        ZethLog::PrintError("ファイルの読み込みに失敗しました [ %s ]", GetErrorString(gfx::result::kInvalidData));
        return false;
    }
    ZethLog::Print("[ %u x %u ] : {", info.width, info.height);
    ZethLog::PrintBreak();
    width_ = info.width;
    height_ = info.height;
    columns_ = static_cast<int32_t>((width_ + kTileSide - 1) / kTileSide);
    rows_ = static_cast<int32_t>((height_ + kTileSide - 1) / kTileSide);
    for (int32_t row = 0; row < rows_; ++row) {
        for (int32_t column = 0; column < columns_; ++column) {
            ZethLog::Print("　");
            Tile tile{};
            tile.x = column * kTileSide;
            tile.y = row * kTileSide;
            tile.width = std::min(static_cast<int32_t>(width_) - tile.x, kTileSide);
            tile.height = std::min(static_cast<int32_t>(height_) - tile.y, kTileSide);
            // Every tile needs its texture: a sheet with a hole is no sheet.
            tile.texture = ZethTexture::Create(kTileSide, kTileSide, formatIndex);
            if (tile.texture == nullptr) return false;
            tiles_.push_back(tile);
            gfx::Surface* surface = nullptr;
            if (tile.texture->GetSurface(&surface)) {
                gfx::Rect source{tile.x, tile.y, tile.x + tile.width, tile.y + tile.height};
                gfx::Rect destination{0, 0, tile.width, tile.height};
                gfx::LoadSurfaceFromFileInMemory(surface, nullptr, &destination, data, size, &source,
                                                 gfx::imagefilter::kTriangle, colourKey, nullptr);
                surface->Release();
                tile.texture->UpdateTexture();
            }
            ZethLog::Print("　SheetNo.%02d : (%4d, %4d) - (%4d, %4d)", static_cast<int>(tiles_.size() - 1), tile.x,
                           tile.y, tile.width, tile.height);
            ZethLog::PrintBreak();
        }
    }
    return true;
}

bool CSheet::CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey) {
    ZethLog::PrintTitle("CSheet::CreateFromFile");
    ZethLog::Print(" : [ %s ] : ", file);
    void* data = nullptr;
    uint32_t size = 0;
    if (!ZethFile::Load(file, &data, &size)) return Finish(false, "ファイルの読み込みに失敗しました");
    bool parsed = Parse(data, size, formatIndex, colourKey);
    Zeth::MemoryFree(data);
    return Finish(parsed, kParseFailure);
}

bool CSheet::CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    ZethLog::PrintTitle("CSheet::CreateFromMemory");
    return Finish(Parse(data, size, formatIndex, colourKey), kParseFailure);
}

bool CSheet::CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex) {
    ZethLog::PrintTitle("CSheet::CreateFromLAG");
    ZethLog::Print(": [ %s / %s ] : ", archive, entry);
    CLagArchive lag;
    if (const char* failure = lag.Load(archive, entry); failure != nullptr) {
        ZethLog::PrintError("ファイルの読み込みに失敗しました [ %s ]", failure);
        ZethLog::PrintBreak();
        return false;
    }
    return Finish(Parse(lag.GetFileData(), lag.GetFileSize(), formatIndex, 0), kParseFailure);
}

void CSheet::SetPosition(float x, float y, uint32_t colour) {
    float inset = ZethTexture::GetTexelOffset();
    for (Tile& tile : tiles_) {
        float left = x + static_cast<float>(tile.x), top = y + static_cast<float>(tile.y);
        float w = static_cast<float>(tile.width), h = static_cast<float>(tile.height);
        const float corners[4][4] = {{left, top, inset, inset},
                                     {left + w, top, w - inset, inset},
                                     {left + w, top + h, w - inset, h - inset},
                                     {left, top + h, inset, h - inset}};
        for (int k = 0; k < 4; ++k) {
            Vertex2D& v = tile.vertices[k];
            v = Vertex2D{};
            v.x = corners[k][0];
            v.y = corners[k][1];
            v.rhw = 1.0f;
            v.diffuse = colour;
            v.uv[0][0] = corners[k][2];
            v.uv[0][1] = corners[k][3];
        }
    }
}

void CSheet::Render() {
    for (const Tile& tile : tiles_) {
        CTexture* const textures[1] = {tile.texture};
        ZethSimple::DrawVertices(tile.vertices, 4, textures, 1);
    }
}

void CSheet::Transform(float pivotX, float pivotY, int32_t angle, float scale) {
    for (Tile& tile : tiles_) {
        for (Vertex2D& v : tile.vertices) {
            float offset[2] = {v.x - pivotX, v.y - pivotY};
            RotateByAngle(offset, angle);
            v.x = pivotX + offset[0] * scale;
            v.y = pivotY + offset[1] * scale;
        }
    }
}

void CSheet::Draw(float x, float y, uint32_t colour) {
    SetPosition(x, y, colour);
    Render();
}

void CSheet::DrawScaled(float x, float y, float scale, uint32_t colour, float dx, float dy) {
    SetPosition(x, y, colour);
    Transform(x + static_cast<float>(width_ / 2) + dx, y + static_cast<float>(height_ / 2) + dy, 0, scale);
    Render();
}

void CSheet::DrawRotated(float x, float y, int32_t angle, uint32_t colour, float dx, float dy) {
    DrawRotatedScaled(x, y, angle, 1.0f, colour, dx, dy);
}

void CSheet::DrawRotatedScaled(float x, float y, int32_t angle, float scale, uint32_t colour, float dx, float dy) {
    SetPosition(x, y, colour);
    Transform(x + dx, y + dy, angle, scale);
    Render();
}

CSheet* CSheetManager::CreateFromFile(const char* file, uint32_t formatIndex, uint32_t colourKey) {
    char path[ZethFile::kPathSize];
    if (!ResolveSourceFile(path, file, "CSheet::CreateFromFile")) return nullptr;
    if (CSheet* shared = FindByName(path); shared != nullptr) {
        shared->AddRef();
        return shared;
    }
    return CreateNamed<CSheet>(this, path, [&](CSheet& s) { return s.CreateFromFile(file, formatIndex, colourKey); });
}

CSheet* CSheetManager::CreateFromMemory(const void* data, uint32_t size, uint32_t formatIndex, uint32_t colourKey) {
    return CreateNamed<CSheet>(this, nullptr,
                               [&](CSheet& s) { return s.CreateFromMemory(data, size, formatIndex, colourKey); });
}

CSheet* CSheetManager::CreateFromLAG(const char* archive, const char* entry, uint32_t formatIndex) {
    char path[ZethFile::kPathSize];
    if (!ResolveSourceFile(path, archive, "CSheet::CreateFromLAG")) return nullptr;
    char name[ZethFile::kPathSize + 32];
    std::snprintf(name, sizeof(name), "%s[%s]", path, entry);
    if (CSheet* shared = FindByName(name); shared != nullptr) {
        shared->AddRef();
        return shared;
    }
    return CreateNamed<CSheet>(this, name, [&](CSheet& s) { return s.CreateFromLAG(archive, entry, formatIndex); });
}
