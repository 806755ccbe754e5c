// Little-endian byte output and file writing shared by the file encoders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace datagen {

class ByteWriter {
public:
    void U8(uint8_t value) { bytes_.push_back(value); }
    void U16(uint16_t value);
    void U32(uint32_t value);
    void Text(std::string_view text) {
        for (char c : text) U8(static_cast<uint8_t>(c));
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// Writes the bytes to the path, creating its folders; throws std::runtime_error on failure.
void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Reads a whole text file; throws std::runtime_error when it cannot be read.
std::string ReadTextFile(const std::filesystem::path& path);

}  // namespace datagen
