// "LAG" archives of named raw images. An entry is found by name, decompressed when needed,
// converted to 32-bit ARGB and wrapped in a DDS file image in memory, which the texture and
// sheet loaders hand to the image loader like any image file.
#pragma once

#include <cstdint>

class CLagArchive {
public:
    // Stored pixel formats; 4 to 7 are 0 to 3 compressed.
    enum PixelFormat : uint32_t {
        kArgb4444 = 0,   // 16-bit word: alpha bits 0-3, red 4-7, green 8-11, blue 12-15
        kBgra8 = 1,      // bytes blue, green, red, alpha
        kBgra16 = 2,     // 16-bit words blue, green, red, alpha
        kBgraFloat = 3,  // floats blue, green, red, alpha (0.0 to 1.0)
    };
    static constexpr uint32_t kDdsHeaderSize = 128;
    static constexpr uint32_t kMaxSide = 4096;  // the largest texture the device takes

    CLagArchive() = default;
    ~CLagArchive();
    CLagArchive(const CLagArchive&) = delete;
    CLagArchive& operator=(const CLagArchive&) = delete;

    // Loads entry name of the archive file; null on success, else the reason (valid until the
    // next load).
    const char* Load(const char* file, const char* name);
    void Free();
    const void* GetFileData() const { return image_; }                            // the DDS file image
    uint32_t GetFileSize() const { return image_ ? pitch_ * height_ + kDdsHeaderSize : 0; }
    void GetData(const void** pixels, uint32_t* pitch) const;                      // null outs skipped
    void GetSize(uint32_t* width, uint32_t* height) const;

    // The entry's image size (0 when not found); with a destination the pixels are read into
    // the buffer it points to, which holds at least that many bytes.
    uint32_t Find(const char* file, const char* name, uint32_t* width, uint32_t* height, void** destination,
                  uint32_t* format);
    // Bytes of a width x height image; 0 for an unknown format or a side beyond kMaxSide.
    static uint32_t GetImageSize(uint32_t width, uint32_t height, uint32_t format);
    static bool IsCompressed(uint32_t format) { return format >= 4 && format <= 7; }
    // Decodes the code stream of sourceSize bytes into exactly imageSize bytes; false (the
    // destination then partly or wholly as it was) when the stream ends too early.
    static bool Decompress(const uint8_t* source, uint32_t sourceSize, void** destination, uint32_t imageSize);
    // Any of the four pixel layouts to any other (4 to 7 read as 0 to 3).
    static void Convert(uint32_t width, uint32_t height, uint32_t sourceFormat, const void* source,
                        uint32_t destinationFormat, void* destination);

    // Writes the loaded picture into locked surface memory of a 16- or 32-bit format, dithered
    // for 16-bit ones; other formats are left alone.
    void CopyToSurface(void* bits, uint32_t pitch, uint32_t format) const;
    // The same for the part {left, top, width, height} of the picture, written at (x, y).
    void CopyRectToSurface(void* bits, uint32_t pitch, uint32_t left, uint32_t top, uint32_t width, uint32_t height,
                           uint32_t x, uint32_t y, uint32_t format) const;
    static uint32_t Dither5(uint32_t c, uint32_t x, uint32_t y);  // 4 x 4 ordered dither to 5 bits (before >> 3)
    static uint32_t Dither4(uint32_t c, uint32_t x, uint32_t y);  // the same to 4 bits (before >> 4)

private:
    friend struct LagLoader;
    uint8_t* image_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint32_t pitch_ = 0;
};
