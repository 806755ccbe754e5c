// The header and the two tokenisers of X files. Text: names, numbers, quoted strings, GUIDs in
// angle brackets, punctuation, comments from "//" or "#" to the line end; a string is taken as
// written between its quotes (a backslash is an ordinary character). Binary: 16-bit token
// records; names and strings carry a 32-bit length, lists a 32-bit count.
#include <strings.h>

#include <charconv>
#include <cstring>

#include "platform/d3dx/xfile_internal.h"

namespace platform::d3dx::internal {

namespace {

[[noreturn]] void Fail(const char* unit, size_t where, const std::string& what) {
    throw FormatError{std::string(unit) + " " + std::to_string(where) + ": " + what};
}

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "3D82AB46-62DA-11CF-AB39-0020AF71E433" (the text between the angle brackets).
bool ParseGuidText(const std::string& s, Guid* guid) {
    if (s.size() != 36 || s[8] != '-' || s[13] != '-' || s[18] != '-' || s[23] != '-') return false;
    std::string hex;
    for (char c : s) {
        if (c == '-') continue;
        if (HexValue(c) < 0) return false;
        hex += c;
    }
    auto bits = [&](size_t at, int digits) {
        uint32_t v = 0;
        for (int i = 0; i < digits; ++i) v = v << 4 | uint32_t(HexValue(hex[at + size_t(i)]));
        return v;
    };
    guid->data1 = bits(0, 8);
    guid->data2 = uint16_t(bits(8, 4));
    guid->data3 = uint16_t(bits(12, 4));
    for (size_t i = 0; i < 8; ++i) guid->data4[i] = uint8_t(bits(16 + 2 * i, 2));
    return true;
}

void TokenizeText(const char* p, size_t size, Tokens* out) {
    uint32_t line = 1;
    size_t i = 0;
    auto push = [&](TokenKind kind) -> Token& {
        out->list.push_back(Token{kind, 0, line, {}, 0.0, {}});
        return out->list.back();
    };
    while (i < size) {
        const char c = p[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == '\0') {
            ++i;
        } else if (c == '#' || (c == '/' && i + 1 < size && p[i + 1] == '/')) {
            while (i < size && p[i] != '\n') ++i;
        } else if (c == '"') {
            const size_t start = ++i;
            while (i < size && p[i] != '"') {
                if (p[i] == '\n') ++line;
                ++i;
            }
            if (i >= size) Fail("line", line, "a string has no closing quote");
            push(TokenKind::kString).text.assign(p + start, i - start);
            ++i;
        } else if (c == '<') {
            const size_t start = ++i;
            while (i < size && p[i] != '>' && p[i] != '\n') ++i;
            Guid guid{};
            if (i >= size || p[i] != '>' || !ParseGuidText(std::string(p + start, i - start), &guid)) {
                Fail("line", line, "a malformed GUID");
            }
            push(TokenKind::kGuid).guid = guid;
            ++i;
        } else if (IsNameStart(c)) {
            const size_t start = i;
            while (i < size && IsNameChar(p[i])) ++i;
            push(TokenKind::kName).text.assign(p + start, i - start);
        } else if (IsDigit(c) || ((c == '-' || c == '+' || c == '.') && i + 1 < size &&
                                  (IsDigit(p[i + 1]) || (p[i + 1] == '.' && c != '.')))) {
            size_t start = c == '+' ? i + 1 : i;
            ++i;
            bool real = c == '.';
            while (i < size && (IsDigit(p[i]) || p[i] == '.' || p[i] == 'e' || p[i] == 'E' ||
                                ((p[i] == '-' || p[i] == '+') && (p[i - 1] == 'e' || p[i - 1] == 'E')))) {
                real = real || !IsDigit(p[i]);
                ++i;
            }
            double value = 0.0;
            const auto [end, error] = std::from_chars(p + start, p + i, value);
            if (error != std::errc() || end != p + i) Fail("line", line, "a malformed number");
            Token& t = push(real ? TokenKind::kFloat : TokenKind::kInteger);
            t.number = value;
        } else if (std::strchr("{}[]()<>,;.", c) != nullptr) {
            push(TokenKind::kPunct).punct = c;
            ++i;
        } else {
            Fail("line", line, std::string("an unexpected character '") + c + "'");
        }
    }
}

// Token numbers of the binary encoding.
enum : uint16_t {
    kBinName = 1,
    kBinString = 2,
    kBinInteger = 3,
    kBinGuid = 5,
    kBinIntegerList = 6,
    kBinFloatList = 7,
    kBinTemplate = 31,
};
// Punctuation tokens 10 to 20 and keyword tokens 40 to 53, in number order.
constexpr char kBinPunct[] = "{}()[]<>.,;";
const char* const kBinKeywords[] = {"WORD",   "DWORD", "FLOAT",   "DOUBLE",  "CHAR",  "UCHAR", "SWORD",
                                    "SDWORD", "void",  "STRING",  "UNICODE", "CSTRING", "array"};

class BinaryReader {
public:
    BinaryReader(const uint8_t* p, size_t size) : p_(p), size_(size) {}
    bool AtEnd() const { return at_ >= size_; }
    size_t At() const { return at_; }
    size_t Left() const { return size_ - at_; }
    void Need(uint64_t bytes) const {
        if (bytes > Left()) Fail("offset", at_, "the file ends inside a token");
    }
    uint32_t U16() { return uint32_t(Bytes(2)); }
    uint32_t U32() { return uint32_t(Bytes(4)); }
    uint64_t U64() { return Bytes(8); }
    const char* Take(size_t n) {
        Need(n);
        const char* s = reinterpret_cast<const char*>(p_ + at_);
        at_ += n;
        return s;
    }

private:
    uint64_t Bytes(int n) {
        Need(uint64_t(n));
        uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | p_[at_ + size_t(i)];
        at_ += size_t(n);
        return v;
    }
    const uint8_t* p_;
    size_t size_;
    size_t at_ = 0;
};

void TokenizeBinary(const uint8_t* data, size_t size, bool doubles, Tokens* out) {
    BinaryReader in(data, size);
    while (!in.AtEnd()) {
        const uint32_t where = uint32_t(in.At() + 16);
        auto push = [&](TokenKind kind) -> Token& {
            out->list.push_back(Token{kind, 0, where, {}, 0.0, {}});
            return out->list.back();
        };
        const uint32_t token = in.U16();
        if (token == kBinName || token == kBinString) {
            const uint32_t length = in.U32();
            const char* text = in.Take(length);
            push(token == kBinName ? TokenKind::kName : TokenKind::kString).text.assign(text, length);
            if (token == kBinString) in.U32();  // the separator that ends the string
        } else if (token == kBinInteger) {
            push(TokenKind::kInteger).number = double(in.U32());
        } else if (token == kBinGuid) {
            Guid& g = push(TokenKind::kGuid).guid;
            g.data1 = in.U32();
            g.data2 = uint16_t(in.U16());
            g.data3 = uint16_t(in.U16());
            std::memcpy(g.data4, in.Take(8), 8);
        } else if (token == kBinIntegerList || token == kBinFloatList) {
            const uint32_t count = in.U32();
            const bool floats = token == kBinFloatList;
            const uint64_t each = floats && doubles ? 8 : 4;
            in.Need(uint64_t(count) * each);
            for (uint32_t k = 0; k < count; ++k) {
                Token& t = push(floats ? TokenKind::kFloat : TokenKind::kInteger);
                if (!floats) {
                    t.number = double(in.U32());
                } else if (doubles) {
                    const uint64_t bits = in.U64();
                    std::memcpy(&t.number, &bits, 8);
                } else {
                    const uint32_t bits = in.U32();
                    float f = 0.0f;
                    std::memcpy(&f, &bits, 4);
                    t.number = double(f);
                }
            }
        } else if (token >= 10 && token <= 20) {
            push(TokenKind::kPunct).punct = kBinPunct[token - 10];
        } else if (token == kBinTemplate) {
            push(TokenKind::kName).text = "template";
        } else if (token >= 40 && token <= 52) {
            push(TokenKind::kName).text = kBinKeywords[token - 40];
        } else {
            Fail("offset", where, "an unknown token " + std::to_string(token));
        }
    }
}

}  // namespace

Tokens Tokenize(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 16 || std::memcmp(data, "xof ", 4) != 0) {
        throw FormatError{"not an X file (no \"xof \" header)"};
    }
    for (int i = 4; i < 8; ++i) {
        if (!IsDigit(char(data[i]))) throw FormatError{"the header's version is not a number"};
    }
    const std::string format(reinterpret_cast<const char*>(data + 8), 4);
    const std::string floatSize(reinterpret_cast<const char*>(data + 12), 4);
    if (format == "tzip" || format == "bzip") throw FormatError{"compressed X files are not supported"};
    if (format != "txt " && format != "bin ") throw FormatError{"unknown X file format \"" + format + "\""};
    if (floatSize != "0032" && floatSize != "0064") throw FormatError{"float size must be 0032 or 0064"};
    Tokens out;
    out.binary = format == "bin ";
    if (out.binary) {
        TokenizeBinary(data + 16, size - 16, floatSize == "0064", &out);
    } else {
        TokenizeText(reinterpret_cast<const char*>(data) + 16, size - 16, &out);
    }
    return out;
}

Primitive PrimitiveOf(const std::string& word) {
    static const struct {
        const char* word;
        Primitive primitive;
    } kWords[] = {{"WORD", Primitive::kWord},     {"DWORD", Primitive::kDword},   {"FLOAT", Primitive::kFloat},
                  {"DOUBLE", Primitive::kDouble}, {"CHAR", Primitive::kChar},     {"UCHAR", Primitive::kUchar},
                  {"BYTE", Primitive::kByte},     {"SWORD", Primitive::kSword},   {"SDWORD", Primitive::kSdword},
                  {"STRING", Primitive::kString}, {"CSTRING", Primitive::kString}, {"LPSTR", Primitive::kString},
                  {"UNICODE", Primitive::kString}};
    for (const auto& w : kWords) {
        if (word.size() == std::strlen(w.word) && strncasecmp(word.c_str(), w.word, word.size()) == 0) {
            return w.primitive;
        }
    }
    return Primitive::kNone;
}

}  // namespace platform::d3dx::internal
