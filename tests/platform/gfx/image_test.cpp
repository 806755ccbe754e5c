// Image files: description, decoding, the colour key, scaling, damaged data and saving.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gfx_fixture.h"
#include "platform/gfx/image.h"
#include "platform/gfx/image_checks.h"
#include "platform/gfx/image_codec.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace platform::gfx::testing {
namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A 24-bit bottom-up BMP file of the given RGB pixels (row after row, top first).
std::vector<uint8_t> MakeBmp(int width, int height, const std::vector<uint32_t>& rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<uint8_t> file(54 + size_t(rowBytes) * size_t(height), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, uint32_t(file.size()));
    Put32(file, 10, 54);
    Put32(file, 14, 40);
    Put32(file, 18, uint32_t(width));
    Put32(file, 22, uint32_t(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = file.data() + 54 + size_t(height - 1 - y) * size_t(rowBytes);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgb[size_t(y * width + x)];
            row[3 * x] = uint8_t(c);
            row[3 * x + 1] = uint8_t(c >> 8);
            row[3 * x + 2] = uint8_t(c >> 16);
        }
    }
    return file;
}

// An uncompressed 32-bit DDS file as the archive reader builds it.
std::vector<uint8_t> MakeDds(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> file(128 + argb.size() * 4, 0);
    std::memcpy(file.data(), "DDS ", 4);
    Put32(file, 4, 124);
    Put32(file, 8, 0x1007);
    Put32(file, 12, height);
    Put32(file, 16, width);
    Put32(file, 76, 32);
    Put32(file, 80, 0x41);
    Put32(file, 88, 32);
    Put32(file, 92, 0x00FF0000);
    Put32(file, 96, 0x0000FF00);
    Put32(file, 100, 0x000000FF);
    Put32(file, 104, 0xFF000000);
    for (size_t i = 0; i < argb.size(); ++i) Put32(file, 128 + 4 * i, argb[i]);
    return file;
}

// An 8 x 8 grey JPEG file.
std::vector<uint8_t> MakeJpeg() {
    std::vector<uint8_t> file;
    const std::vector<uint8_t> rgb(8 * 8 * 3, 0x80);
    auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    stbi_write_jpg_to_func(append, &file, 8, 8, 3, rgb.data(), 90);
    return file;
}

class ImageTest : public DeviceTest {
protected:
    Surface* MakeSurface(uint32_t width, uint32_t height, Format format) {
        Surface* surface = nullptr;
        EXPECT_EQ(device_->CreateOffscreenPlainSurface(width, height, format, pool::kSystemMem,
                                                       &surface),
                  result::kOk);
        return Keep(surface);
    }
};

TEST_F(ImageTest, ColourKeyAndFormatConversion) {
    const auto bmp = MakeBmp(3, 1, {0x000000, 0xFF0000, 0x123456});
    ImageInfo info;
    ASSERT_EQ(GetImageInfoFromFileInMemory(bmp.data(), bmp.size(), &info), result::kOk);
    EXPECT_EQ(info.width, 3u);
    EXPECT_EQ(info.height, 1u);
    EXPECT_EQ(info.imageFileFormat, imagefile::kBmp);
    EXPECT_EQ(info.format, fmt::kX8R8G8B8);

    Surface* wide = MakeSurface(3, 1, fmt::kA8R8G8B8);
    ASSERT_EQ(LoadSurfaceFromFileInMemory(wide, nullptr, nullptr, bmp.data(), bmp.size(), nullptr,
                                          imagefilter::kTriangle, 0xFF000000, nullptr),
              result::kOk);
    EXPECT_EQ(wide->ArgbPixels()[0], 0x00000000u);  // opaque black became transparent
    EXPECT_EQ(wide->ArgbPixels()[1], 0xFFFF0000u);
    EXPECT_EQ(wide->ArgbPixels()[2], 0xFF123456u);

    Surface* narrow = MakeSurface(3, 1, fmt::kA4R4G4B4);
    ASSERT_EQ(LoadSurfaceFromFileInMemory(narrow, nullptr, nullptr, bmp.data(), bmp.size(),
                                          nullptr, imagefilter::kTriangle, 0, nullptr),
              result::kOk);
    EXPECT_EQ(narrow->ArgbPixels()[0], 0xFF000000u);  // no key: black stays
    EXPECT_EQ(narrow->ArgbPixels()[2], 0xFF113355u);  // channels truncated to 4 bits
}

TEST_F(ImageTest, ScalingIntoTheSurface) {
    // Growing interpolates between centres; shrinking averages what each pixel covers.
    const auto two = MakeBmp(2, 1, {0x000000, 0xFFFFFF});
    Surface* grown = MakeSurface(4, 1, fmt::kX8R8G8B8);
    ASSERT_EQ(LoadSurfaceFromFileInMemory(grown, nullptr, nullptr, two.data(), two.size(), nullptr,
                                          imagefilter::kTriangle, 0, nullptr),
              result::kOk);
    EXPECT_EQ(grown->ArgbPixels()[0], 0xFF000000u);
    EXPECT_EQ(grown->ArgbPixels()[1], 0xFF404040u);
    EXPECT_EQ(grown->ArgbPixels()[2], 0xFFBFBFBFu);
    EXPECT_EQ(grown->ArgbPixels()[3], 0xFFFFFFFFu);

    const auto four = MakeBmp(4, 1, {0x000000, 0x646464, 0xC8C8C8, 0xFFFFFF});
    Surface* shrunk = MakeSurface(2, 1, fmt::kX8R8G8B8);
    ASSERT_EQ(LoadSurfaceFromFileInMemory(shrunk, nullptr, nullptr, four.data(), four.size(),
                                          nullptr, imagefilter::kTriangle, 0, nullptr),
              result::kOk);
    EXPECT_EQ(shrunk->ArgbPixels()[0], 0xFF323232u);  // (0 + 100) / 2
    EXPECT_EQ(shrunk->ArgbPixels()[1], 0xFFE4E4E4u);  // (200 + 255) / 2 rounded

    // A source rectangle loaded one to one into a destination rectangle.
    Surface* part = MakeSurface(4, 2, fmt::kX8R8G8B8);
    const Rect source{1, 0, 3, 1}, destination{2, 1, 4, 2};
    ASSERT_EQ(LoadSurfaceFromFileInMemory(part, nullptr, &destination, four.data(), four.size(),
                                          &source, imagefilter::kNone, 0, nullptr),
              result::kOk);
    EXPECT_EQ(part->ArgbPixels()[4 + 2], 0xFF646464u);
    EXPECT_EQ(part->ArgbPixels()[4 + 3], 0xFFC8C8C8u);
    EXPECT_EQ(part->ArgbPixels()[4 + 1], 0xFF000000u);  // untouched
}

TEST_F(ImageTest, UncompressedDdsAsTheArchiveMakesIt) {
    const auto dds = MakeDds(2, 1, {0x80FF0000, 0xFF00FF00});
    ImageInfo info;
    ASSERT_EQ(GetImageInfoFromFileInMemory(dds.data(), dds.size(), &info), result::kOk);
    EXPECT_EQ(info.imageFileFormat, imagefile::kDds);
    EXPECT_EQ(info.format, fmt::kA8R8G8B8);
    Surface* s = MakeSurface(2, 1, fmt::kA8R8G8B8);
    ASSERT_EQ(LoadSurfaceFromFileInMemory(s, nullptr, nullptr, dds.data(), dds.size(), nullptr,
                                          imagefilter::kTriangle, 0, nullptr),
              result::kOk);
    EXPECT_EQ(s->ArgbPixels()[0], 0x80FF0000u);
    EXPECT_EQ(s->ArgbPixels()[1], 0xFF00FF00u);
}

TEST_F(ImageTest, DamagedFilesAreRejected) {
    auto bmp = MakeBmp(4, 4, std::vector<uint32_t>(16, 0x123456));
    auto dds = MakeDds(2, 2, std::vector<uint32_t>(4, 0));
    auto bigDds = dds;
    Put32(bigDds, 12, 100000);  // taller than the data and the limit
    auto shortDds = dds;
    shortDds.resize(128 + 12);  // one pixel missing
    const std::vector<uint8_t> shortBmp(bmp.begin(), bmp.end() - 1);  // the last pixel byte missing
    auto hugeBmp = bmp;
    hugeBmp.resize(60);  // 256 x 256 x 24 promised, 6 bytes of pixels given
    Put32(hugeBmp, 18, 256);
    Put32(hugeBmp, 22, 256);
    // A JPEG whose first Huffman table counts 257 codes, one more than a table can hold.
    auto jpeg = MakeJpeg();
    DecodedImage decoded;
    ASSERT_TRUE(DecodeImage(jpeg.data(), jpeg.size(), &decoded));
    const uint8_t marker[] = {0xFF, 0xC4};
    const auto table = std::search(jpeg.begin(), jpeg.end(), std::begin(marker), std::end(marker));
    ASSERT_NE(table, jpeg.end());
    auto countsPast = jpeg;
    const size_t counts = size_t(table - jpeg.begin()) + 5;
    for (size_t i = 0; i < 16; ++i) countsPast[counts + i] = 0;
    countsPast[counts + 15] = 255;
    countsPast[counts + 14] = 2;
    // The decoder takes any run of 0xFF before the start code.
    std::vector<uint8_t> fillBeforeStart(countsPast.size() + 1, 0xFF);
    std::copy(countsPast.begin(), countsPast.end(), fillBeforeStart.begin() + 1);
    const std::vector<std::vector<uint8_t>> damaged = {
        {},
        {'B', 'M'},
        std::vector<uint8_t>(bmp.begin(), bmp.begin() + 40),
        std::vector<uint8_t>(100, 0xAB),
        bigDds,
        shortDds,
        {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'},
        shortBmp,
        hugeBmp,
        countsPast,
        fillBeforeStart,
    };
    Surface* s = MakeSurface(4, 4, fmt::kA8R8G8B8);
    for (const auto& file : damaged) {
        ImageInfo info;
        const uint8_t dummy = 0;
        const uint8_t* data = file.empty() ? &dummy : file.data();
        EXPECT_EQ(LoadSurfaceFromFileInMemory(s, nullptr, nullptr, data, file.size(), nullptr,
                                              imagefilter::kTriangle, 0, &info),
                  result::kInvalidData)
            << file.size();
    }
    // A source rectangle outside the picture.
    const Rect outside{0, 0, 5, 4};
    EXPECT_EQ(LoadSurfaceFromFileInMemory(s, nullptr, nullptr, bmp.data(), bmp.size(), &outside,
                                          imagefilter::kTriangle, 0, nullptr),
              result::kInvalidCall);
}

// The decoder trusts a Huffman table's code counts: up to 256 codes fit its arrays, 257 do not.
TEST(ImageChecks, JpegHuffmanCountsAtAndPastTheTableSize) {
    const auto jpeg = MakeJpeg();
    EXPECT_TRUE(JpegHuffmanTablesFit(jpeg.data(), jpeg.size()));
    for (size_t codes : {256, 257}) {
        // Start of image, one table segment of 2 + 17 + codes bytes, end of image.
        std::vector<uint8_t> file = {0xFF, 0xD8, 0xFF, 0xC4, uint8_t((19 + codes) >> 8), uint8_t(19 + codes), 0x00};
        file.resize(file.size() + 16, 0);
        file[file.size() - 2] = 2;
        file[file.size() - 1] = uint8_t(codes - 2);
        file.resize(file.size() + codes, 0);
        file.insert(file.end(), {0xFF, 0xD9});
        EXPECT_EQ(JpegHuffmanTablesFit(file.data(), file.size()), codes == 256) << codes;
    }
}

TEST_F(ImageTest, SavedPicturesLoadBackTheSame) {
    Texture* texture = MakeTexture(5, 3, [](uint32_t x, uint32_t y) {
        return (x + y) % 2 ? 0x80102030u : 0xFFF0E0D0u;
    });
    const auto folder = std::filesystem::temp_directory_path() /
                        ("gfx_image_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (uint32_t format : {imagefile::kPng, imagefile::kBmp}) {
        const auto path = folder / (format == imagefile::kPng ? "t.png" : "t.bmp");
        ASSERT_EQ(SaveTextureToFile(path.c_str(), format, texture, nullptr), result::kOk);
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        Surface* back = MakeSurface(5, 3, fmt::kA8R8G8B8);
        ASSERT_EQ(LoadSurfaceFromFileInMemory(back, nullptr, nullptr, file.data(), file.size(),
                                              nullptr, imagefilter::kNone, 0, nullptr),
                  result::kOk);
        Surface* level = nullptr;
        texture->GetSurfaceLevel(0, &level);
        for (int i = 0; i < 15; ++i) EXPECT_EQ(back->ArgbPixels()[i], level->ArgbPixels()[i]) << i;
        level->Release();
    }
    EXPECT_EQ(SaveTextureToFile((folder / "t.dds").c_str(), imagefile::kDds, texture, nullptr),
              result::kInvalidCall);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace platform::gfx::testing
