#include "framework/graphics/device_names.h"

#include <cstdio>
#include <cstring>

#include "platform/gfx/constants.h"

namespace {

namespace fmt = platform::gfx::fmt;
namespace result = platform::gfx::result;

struct FormatName {
    uint32_t format;
    const char* name;
};

// Formats the device knows by number, with their names.
constexpr FormatName kFormatNames[] = {
    {fmt::kUnknown, "UNKNOWN"},
    {fmt::kR8G8B8, "R8G8B8"},
    {fmt::kA8R8G8B8, "A8R8G8B8"},
    {fmt::kX8R8G8B8, "X8R8G8B8"},
    {fmt::kR5G6B5, "R5G6B5"},
    {fmt::kX1R5G5B5, "X1R5G5B5"},
    {fmt::kA1R5G5B5, "A1R5G5B5"},
    {fmt::kA4R4G4B4, "A4R4G4B4"},
    {fmt::kR3G3B2, "R3G3B2"},
    {fmt::kA8, "A8"},
    {fmt::kA8R3G3B2, "A8R3G3B2"},
    {fmt::kX4R4G4B4, "X4R4G4B4"},
    {fmt::kA2B10G10R10, "A2B10G10R10"},
    {fmt::kA8B8G8R8, "A8B8G8R8"},
    {fmt::kX8B8G8R8, "X8B8G8R8"},
    {fmt::kG16R16, "G16R16"},
    {fmt::kA2R10G10B10, "A2R10G10B10"},
    {fmt::kA16B16G16R16, "A16B16G16R16"},
    {fmt::kA8P8, "A8P8"},
    {fmt::kP8, "P8"},
    {fmt::kL8, "L8"},
    {fmt::kA8L8, "A8L8"},
    {fmt::kA4L4, "A4L4"},
    {fmt::kV8U8, "V8U8"},
    {fmt::kL6V5U5, "L6V5U5"},
    {fmt::kX8L8V8U8, "X8L8V8U8"},
    {fmt::kQ8W8V8U8, "Q8W8V8U8"},
    {fmt::kV16U16, "V16U16"},
    {fmt::kA2W10V10U10, "A2W10V10U10"},
    {fmt::kD16Lockable, "D16_LOCKABLE"},
    {fmt::kD32, "D32"},
    {fmt::kD15S1, "D15S1"},
    {fmt::kD24S8, "D24S8"},
    {fmt::kD24X8, "D24X8"},
    {fmt::kD24X4S4, "D24X4S4"},
    {fmt::kD16, "D16"},
    {fmt::kL16, "L16"},
    {fmt::kD32FLockable, "D32F_LOCKABLE"},
    {fmt::kD24FS8, "D24FS8"},
    {fmt::kVertexData, "VERTEXDATA"},
    {fmt::kIndex16, "INDEX16"},
    {fmt::kIndex32, "INDEX32"},
    {fmt::kQ16W16V16U16, "Q16W16V16U16"},
    {fmt::kR16F, "R16F"},
    {fmt::kG16R16F, "G16R16F"},
    {fmt::kA16B16G16R16F, "A16B16G16R16F"},
    {fmt::kR32F, "R32F"},
    {fmt::kG32R32F, "G32R32F"},
    {fmt::kA32B32G32R32F, "A32B32G32R32F"},
    {fmt::kCxV8U8, "CxV8U8"},
    {fmt::kDxt1, "DXT1"},
    {fmt::kDxt2, "DXT2"},
    {fmt::kDxt3, "DXT3"},
    {fmt::kDxt4, "DXT4"},
    {fmt::kDxt5, "DXT5"},
    {fmt::kUyvy, "UYVY"},
    {fmt::kYuy2, "YUY2"},
    {fmt::kG8R8G8B8, "G8R8_G8B8"},
    {fmt::kR8G8B8G8, "R8G8_B8G8"},
};

struct ErrorName {
    platform::gfx::Result result;
    const char* text;
};

constexpr ErrorName kErrorTexts[] = {
    {result::kOk, "エラーは発生していない。"},
    {result::kFail, "Direct3D サブシステム内で原因不明のエラーが発生した。"},
    {result::kInvalidArg, "無効なパラメータが戻ってくる関数に渡された。"},
    {result::kOutOfMemory, "Direct3D が呼び出しを完了するための十分なメモリを割り当てることができなかった。"},
    {result::kOutOfVideoMemory, "Direct3D が処理を行うのに十分なディスプレイ メモリがない。"},
    {result::kWrongTextureFormat, "テクスチャ サーフェスのピクセル フォーマットが有効でない。"},
    {result::kUnsupportedColorOperation, "カラー値に対して指定されているテクスチャ ブレンディング処理を、デバイスがサポートしていない。"},
    {result::kUnsupportedColorArg, "カラー値に対して指定されているテクスチャ ブレンディング引数を、デバイスがサポートしていない。"},
    {result::kUnsupportedAlphaOperation, "アルファ チャネルに対して指定されているテクスチャ ブレンディング処理を、デバイスがサポートしていない。"},
    {result::kUnsupportedAlphaArg, "アルファ チャネルに対して指定されているテクスチャ ブレンディング引数を、デバイスがサポートしていない。"},
    {result::kTooManyOperations, "デバイスがサポートしている以上のテクスチャ フィルタリング処理を、アプリケーションが要求している。"},
    {result::kConflictingTextureFilter, "現在のテクスチャ フィルタは一緒に使用できない。"},
    {result::kUnsupportedFactorValue, "デバイスが指定されたテクスチャ係数値をサポートしていない。"},
    {result::kConflictingRenderState, "現在設定されているレンダリング ステートは一緒に使用できない。"},
    {result::kUnsupportedTextureFilter, "デバイスが指定されたテクスチャ フィルタをサポートしていない。"},
    {result::kConflictingTexturePalette, "現在のテクスチャは同時に使用できない。一般にマルチテクスチャ デバイスにおいて、同時に有効にされたパレット化テクスチャで同じパレットを共有する必要がある場合に発生する。"},
    {result::kDriverInternalError, "内部ドライバ エラー。"},
    {result::kNotFound, "要求された項目が見つからなかった。"},
    {result::kMoreData, "指定されたバッファ サイズに保持できる以上のデータが存在する。"},
    {result::kDeviceLost, "デバイスが失われていて、現時点では復元できないため、レンダリングは不可能である。"},
    {result::kDeviceNotReset, "デバイスはリセットできない。"},
    {result::kNotAvailable, "このデバイスは、照会されたテクニックをサポートしていない。"},
    {result::kInvalidDevice, "要求されたデバイスの種類が有効でない。"},
    {result::kInvalidCall, "メソッドの呼び出しが無効である。たとえば、メソッドのパラメータに無効な値が設定されている場合など。"},
    {result::kCannotModifyIndexBuffer, "インデックス バッファを変更できない。 "},
    {result::kInvalidMesh, "メッシュが無効である。 "},
    {result::kCannotAttrSort, "最適化テクニックとして属性のソート (D3DXMESHOPT_ATTRSORT) はサポートされていない。 "},
    {result::kSkinningNotSupported, "スキニングはサポートされていない。 "},
    {result::kTooManyInfluences, "指定された影響が多すぎる。 "},
    {result::kInvalidData, "データが無効である。"},
};

char g_formatName[32];

}  // namespace

const char* GetFormatName(uint32_t format, char* copy) {
    const char* name = "UNKNOWN";
    for (const FormatName& entry : kFormatNames) {
        if (entry.format == format) name = entry.name;
    }
    std::strncpy(g_formatName, name, sizeof(g_formatName) - 1);
    if (copy != nullptr) std::strcpy(copy, g_formatName);
    return g_formatName;
}

SizedName::SizedName(const char* kind, uint32_t width, uint32_t height, uint32_t format) {
    std::snprintf(text, sizeof(text), "%s [%dx%d] %s", kind, static_cast<int>(width), static_cast<int>(height),
                  GetFormatName(format));
}

namespace ZethDeviceNames {

const char* ErrorText(int32_t result) {
    for (const ErrorName& entry : kErrorTexts) {
        if (entry.result == result) return entry.text;
    }
    return "未知のエラー。";
}

}  // namespace ZethDeviceNames
