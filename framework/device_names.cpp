#include "framework/device_names.h"

#include <cstring>

namespace {

constexpr uint32_t FourCC(const char code[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

struct FormatName {
    uint32_t format;
    const char* name;
};

// Format numbers of the device, with their names.
constexpr FormatName kFormatNames[] = {
    {0, "UNKNOWN"},          {20, "R8G8B8"},         {21, "A8R8G8B8"},       {22, "X8R8G8B8"},
    {23, "R5G6B5"},          {24, "X1R5G5B5"},       {25, "A1R5G5B5"},       {26, "A4R4G4B4"},
    {27, "R3G3B2"},          {28, "A8"},             {29, "A8R3G3B2"},       {30, "X4R4G4B4"},
    {31, "A2B10G10R10"},     {32, "A8B8G8R8"},       {33, "X8B8G8R8"},       {34, "G16R16"},
    {35, "A2R10G10B10"},     {36, "A16B16G16R16"},   {40, "A8P8"},           {41, "P8"},
    {50, "L8"},              {51, "A8L8"},           {52, "A4L4"},           {60, "V8U8"},
    {61, "L6V5U5"},          {62, "X8L8V8U8"},       {63, "Q8W8V8U8"},       {64, "V16U16"},
    {67, "A2W10V10U10"},     {70, "D16_LOCKABLE"},   {71, "D32"},            {73, "D15S1"},
    {75, "D24S8"},           {77, "D24X8"},          {79, "D24X4S4"},        {80, "D16"},
    {81, "L16"},             {82, "D32F_LOCKABLE"},  {83, "D24FS8"},         {100, "VERTEXDATA"},
    {101, "INDEX16"},        {102, "INDEX32"},       {110, "Q16W16V16U16"},  {111, "R16F"},
    {112, "G16R16F"},        {113, "A16B16G16R16F"}, {114, "R32F"},          {115, "G32R32F"},
    {116, "A32B32G32R32F"},  {117, "CxV8U8"},        {FourCC("DXT1"), "DXT1"}, {FourCC("DXT2"), "DXT2"},
    {FourCC("DXT3"), "DXT3"}, {FourCC("DXT4"), "DXT4"}, {FourCC("DXT5"), "DXT5"}, {FourCC("UYVY"), "UYVY"},
    {FourCC("YUY2"), "YUY2"}, {FourCC("GRGB"), "G8R8_G8B8"}, {FourCC("RGBG"), "R8G8_B8G8"},
};

constexpr uint32_t Device(uint32_t code) { return 0x88760000u | code; }

struct ErrorName {
    uint32_t result;
    const char* text;
};

constexpr ErrorName kErrorTexts[] = {
    {0, "エラーは発生していない。"},
    {0x80004005u, "Direct3D サブシステム内で原因不明のエラーが発生した。"},
    {0x80070057u, "無効なパラメータが戻ってくる関数に渡された。"},
    {0x8007000Eu, "Direct3D が呼び出しを完了するための十分なメモリを割り当てることができなかった。"},
    {Device(380), "Direct3D が処理を行うのに十分なディスプレイ メモリがない。"},
    {Device(2072), "テクスチャ サーフェスのピクセル フォーマットが有効でない。"},
    {Device(2073), "カラー値に対して指定されているテクスチャ ブレンディング処理を、デバイスがサポートしていない。"},
    {Device(2074), "カラー値に対して指定されているテクスチャ ブレンディング引数を、デバイスがサポートしていない。"},
    {Device(2075), "アルファ チャネルに対して指定されているテクスチャ ブレンディング処理を、デバイスがサポートしていない。"},
    {Device(2076), "アルファ チャネルに対して指定されているテクスチャ ブレンディング引数を、デバイスがサポートしていない。"},
    {Device(2077), "デバイスがサポートしている以上のテクスチャ フィルタリング処理を、アプリケーションが要求している。"},
    {Device(2078), "現在のテクスチャ フィルタは一緒に使用できない。"},
    {Device(2079), "デバイスが指定されたテクスチャ係数値をサポートしていない。"},
    {Device(2081), "現在設定されているレンダリング ステートは一緒に使用できない。"},
    {Device(2082), "デバイスが指定されたテクスチャ フィルタをサポートしていない。"},
    {Device(2086), "現在のテクスチャは同時に使用できない。一般にマルチテクスチャ デバイスにおいて、同時に有効にされたパレット化テクスチャで同じパレットを共有する必要がある場合に発生する。"},
    {Device(2087), "内部ドライバ エラー。"},
    {Device(2150), "要求された項目が見つからなかった。"},
    {Device(2151), "指定されたバッファ サイズに保持できる以上のデータが存在する。"},
    {Device(2152), "デバイスが失われていて、現時点では復元できないため、レンダリングは不可能である。"},
    {Device(2153), "デバイスはリセットできない。"},
    {Device(2154), "このデバイスは、照会されたテクニックをサポートしていない。"},
    {Device(2155), "要求されたデバイスの種類が有効でない。"},
    {Device(2156), "メソッドの呼び出しが無効である。たとえば、メソッドのパラメータに無効な値が設定されている場合など。"},
    {Device(2900), "インデックス バッファを変更できない。 "},
    {Device(2901), "メッシュが無効である。 "},
    {Device(2902), "最適化テクニックとして属性のソート (D3DXMESHOPT_ATTRSORT) はサポートされていない。 "},
    {Device(2903), "スキニングはサポートされていない。 "},
    {Device(2904), "指定された影響が多すぎる。 "},
    {Device(2905), "データが無効である。"},
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

namespace ZethDeviceNames {

const char* ErrorText(int32_t result) {
    for (const ErrorName& entry : kErrorTexts) {
        if (entry.result == static_cast<uint32_t>(result)) return entry.text;
    }
    return "未知のエラー。";
}

}  // namespace ZethDeviceNames
