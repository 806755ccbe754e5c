#include "tools/datagen/bytes.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace datagen {

void ByteWriter::U16(uint16_t value) {
    U8(value & 0xFF);
    U8(value >> 8);
}

void ByteWriter::U32(uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadTextFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace datagen
