// The X-file reader: the test scene read as text and as binary gives the same tree; data objects
// lock as packed members; references resolve; damaged files fail with an error.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx/xfile.h"
#include "support/read_file.h"
#include "support/xfile_binary.h"

namespace d3dx = platform::d3dx;
namespace gfx = platform::gfx;

namespace {

std::string DataFile(const char* name) {
    return testing_support::ReadFile(std::string(TANZLOR_TEST_DATA) + "/" + name);
}

// A file object with the standard and skinning templates registered.
struct Reader {
    Reader() {
        EXPECT_EQ(d3dx::FileCreate(&file), gfx::result::kOk);
        for (const char* block : {d3dx::StandardTemplates(), d3dx::SkinTemplates()}) {
            EXPECT_EQ(file->RegisterTemplates(block, std::strlen(block)), gfx::result::kOk) << file->LastError();
        }
    }
    ~Reader() {
        if (enumObject != nullptr) enumObject->Release();
        file->Release();
    }
    gfx::Result Read(const std::string& bytes) {
        if (enumObject != nullptr) enumObject->Release();
        enumObject = nullptr;
        return file->CreateEnumObject(bytes.data(), bytes.size(), &enumObject);
    }
    d3dx::XFile* file = nullptr;
    d3dx::XFileEnumObject* enumObject = nullptr;
};

std::string Hex(const void* data, size_t size) {
    std::string out;
    char buffer[4];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(buffer, sizeof(buffer), "%02x", static_cast<const uint8_t*>(data)[i]);
        out += buffer;
    }
    return out;
}

// The tree below a data object as text: template, name, type, locked bytes (the strings that
// lead TextureFilename and SkinWeights as their text), then the children.
void Dump(d3dx::XFileData* data, int depth, std::string* out) {
    size_t nameSize = 0;
    ASSERT_EQ(data->GetName(nullptr, &nameSize), gfx::result::kOk);
    std::string name(nameSize, '\0');
    ASSERT_EQ(data->GetName(name.data(), &nameSize), gfx::result::kOk);
    d3dx::Guid type{};
    data->GetType(&type);
    size_t size = 0;
    const void* bytes = nullptr;
    ASSERT_EQ(data->Lock(&size, &bytes), gfx::result::kOk);
    std::string members;
    size_t skip = 0;
    if (data->TemplateName() == "TextureFilename" || data->TemplateName() == "SkinWeights") {
        const char* text = nullptr;
        std::memcpy(&text, bytes, sizeof(text));
        members = std::string("\"") + text + "\" ";
        skip = sizeof(text);
    }
    members += Hex(static_cast<const uint8_t*>(bytes) + skip, size - skip);
    data->Unlock();
    *out += std::string(size_t(depth) * 2, ' ') + data->TemplateName() + " " + name.c_str() + " " +
            Hex(&type, sizeof(type)) + (data->IsReference() ? " ref " : " ") + members + "\n";
    size_t children = 0;
    data->GetChildren(&children);
    for (size_t i = 0; i < children; ++i) {
        d3dx::XFileData* child = nullptr;
        ASSERT_EQ(data->GetChild(i, &child), gfx::result::kOk);
        if (!child->IsReference()) Dump(child, depth + 1, out);
        else *out += std::string(size_t(depth + 1) * 2, ' ') + "-> " + child->Name() + "\n";
        child->Release();
    }
}

std::string DumpAll(d3dx::XFileEnumObject* enumObject) {
    std::string out;
    size_t count = 0;
    enumObject->GetChildren(&count);
    for (size_t i = 0; i < count; ++i) {
        d3dx::XFileData* data = nullptr;
        enumObject->GetChild(i, &data);
        Dump(data, 0, &out);
        data->Release();
    }
    return out;
}

// The child of data with the given template (the first), or null; the caller releases it.
d3dx::XFileData* ChildOf(d3dx::XFileData* data, const std::string& templateName) {
    size_t count = 0;
    data->GetChildren(&count);
    for (size_t i = 0; i < count; ++i) {
        d3dx::XFileData* child = nullptr;
        data->GetChild(i, &child);
        if (child->TemplateName() == templateName) return child;
        child->Release();
    }
    return nullptr;
}

TEST(XFileReader, TextAndBinaryGiveTheSameTree) {
    const std::string text = DataFile("scene.x");
    ASSERT_FALSE(text.empty());
    Reader reader;
    ASSERT_EQ(reader.Read(text), gfx::result::kOk) << reader.file->LastError();
    const std::string fromText = DumpAll(reader.enumObject);
    for (bool doubles : {false, true}) {
        const std::vector<uint8_t> binary = xfile_test::TextToBinary(text, doubles);
        ASSERT_EQ(reader.Read(std::string(binary.begin(), binary.end())), gfx::result::kOk) << reader.file->LastError();
        EXPECT_EQ(DumpAll(reader.enumObject), fromText);
    }
    // Top level: the shared material, the root frame and the two animation sets.
    size_t count = 0;
    reader.enumObject->GetChildren(&count);
    EXPECT_EQ(count, 4u);
    EXPECT_NE(fromText.find("Mesh Cube 44ab823dda62cf11ab390020af71e433"), std::string::npos);
    EXPECT_NE(fromText.find("TextureFilename  00000000000000000000000000000000 \"C:\\art\\checker.bmp\""),
              std::string::npos);
}

TEST(XFileReader, LocksFramesNamesAndReferences) {
    Reader reader;
    ASSERT_EQ(reader.Read(DataFile("scene.x")), gfx::result::kOk);
    d3dx::XFileData* root = nullptr;
    ASSERT_EQ(reader.enumObject->GetChild(1, &root), gfx::result::kOk);
    d3dx::Guid type{};
    root->GetType(&type);
    EXPECT_EQ(type, d3dx::tid::kFrame);

    // The name's size counts its terminator; a short buffer is refused with the size needed.
    size_t size = 0;
    root->GetName(nullptr, &size);
    EXPECT_EQ(size, 5u);
    char shortName[4];
    size = sizeof(shortName);
    EXPECT_EQ(root->GetName(shortName, &size), gfx::result::kMoreData);
    EXPECT_EQ(size, 5u);

    d3dx::XFileData* matrix = ChildOf(root, "FrameTransformMatrix");
    ASSERT_NE(matrix, nullptr);
    const void* bytes = nullptr;
    ASSERT_EQ(matrix->Lock(&size, &bytes), gfx::result::kOk);
    ASSERT_EQ(size, 64u);
    float m[16];
    std::memcpy(m, bytes, 64);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[15], 1.0f);
    EXPECT_EQ(matrix->Unlock(), gfx::result::kOk);
    EXPECT_EQ(matrix->Unlock(), gfx::result::kInvalidCall);
    matrix->Release();

    // The cube's material list refers to the top-level material "Red" and holds one inline.
    d3dx::XFileData* cubeFrame = nullptr;
    root->GetChild(1, &cubeFrame);
    d3dx::XFileData* cube = ChildOf(cubeFrame, "Mesh");
    ASSERT_NE(cube, nullptr);
    d3dx::XFileData* list = ChildOf(cube, "MeshMaterialList");
    ASSERT_NE(list, nullptr);
    d3dx::XFileData* red = nullptr;
    ASSERT_EQ(list->GetChild(0, &red), gfx::result::kOk);
    EXPECT_TRUE(red->IsReference());
    EXPECT_EQ(red->Name(), "Red");
    ASSERT_EQ(red->Lock(&size, &bytes), gfx::result::kOk);
    EXPECT_EQ(size, 44u);  // RGBA, power, RGB, RGB
    red->Unlock();
    d3dx::XFileData* none = nullptr;
    EXPECT_EQ(list->GetChild(2, &none), gfx::result::kNotFound);
    EXPECT_EQ(none, nullptr);
    for (d3dx::XFileData* d : {red, list, cube, cubeFrame, root}) d->Release();
}

// Every form a token takes in a text file, and the same file re-encoded in binary (where it can
// be): the last top-level object's packed members and how many children it has.
TEST(XFileReader, EveryTokenFormReadsAlikeInTextAndBinary) {
    const std::string pair = "template T { DWORD a; FLOAT b; }\n";
    const struct {
        const char* what;
        std::string body;
        const char* packed;  // hex of the members: DWORDs and FLOATs little-endian
        size_t children;
        bool binary;  // the binary encoding has no '+' sign
    } cases[] = {
        {"comments from # and //", pair + "# a note\nT { // the values\n 1; 2.0; }\n", "0100000000000040", 0, true},
        {"signs and a leading point", pair + "T { +5; -.5; }\n", "05000000000000bf", 0, false},
        {"negative integer, exponent", pair + "T { -3; 1e3; }\n", "fdffffff00007a44", 0, true},
        {"negative exponent in capitals", pair + "T { 0; 2.5E-1; }\n", "000000000000803e", 0, true},
        {"negative exponent in small letters", pair + "T { 8; 2.5e-1; }\n", "080000000000803e", 0, true},
        {"an exponent's plus sign", pair + "T { 7; 1E+3; }\n", "0700000000007a44", 0, false},
        {"commas for semicolons", pair + "T { 1, 2.0, }\n", "0100000000000040", 0, true},
        {"names with digits and dashes, identity in the body",
         pair + "T name-1_b { <00000000-0000-0000-0000-0000000000AB> 1; 2.0; }\n", "0100000000000040", 0, true},
        {"restricted children listed with identities",
         pair + "template U { DWORD c; }\n"
                "template R { DWORD r; [ T <00000000-0000-0000-0000-000000000001>, U <00000000-0000-0000-0000-000000000002> ] }\n"
                "R { 4; T { 1; 2.0; } U { 5; } }\n",
         "04000000", 2, true},
        {"arrays sized by an earlier member, in two dimensions",
         "template V { WORD n; array WORD w[n]; array UCHAR m[2][n]; }\nV { 2; 7, 8; 1, 2, 3, 4; }\n", "020007000800" "01020304", 0,
         true},
        {"a member of template type, then a double",
         pair + "template P { T t; DOUBLE d; }\nP { 1; 2.0;; 1.5; }\n", "0100000000000040" "000000000000f83f", 0, true},
        {"primitive types in any letter case", "template K { dword a; Word b; }\nK { 9; 10; }\n", "090000000a00", 0, true},
        {"an open template and references by name",
         pair + "template O { DWORD a; [...] }\nT t1 { 1; 2.0; }\nO { 3; { t1 } T { 4; 5.0; } }\n", "03000000", 2, true},
    };
    d3dx::XFile* file = nullptr;
    ASSERT_EQ(d3dx::FileCreate(&file), gfx::result::kOk);
    for (const auto& c : cases) {
        const std::string text = "xof 0303txt 0032\n" + c.body;
        std::vector<std::string> encodings = {text};
        if (c.binary) {
            for (bool doubles : {false, true}) {
                const std::vector<uint8_t> binary = xfile_test::TextToBinary(text, doubles);
                encodings.emplace_back(binary.begin(), binary.end());
            }
        }
        for (const std::string& bytes : encodings) {
            const bool isText = &bytes == &encodings[0];
            d3dx::XFileEnumObject* enumObject = nullptr;
            ASSERT_EQ(file->CreateEnumObject(bytes.data(), bytes.size(), &enumObject), gfx::result::kOk)
                << c.what << (isText ? " (text): " : " (binary): ") << file->LastError();
            size_t count = 0;
            enumObject->GetChildren(&count);
            d3dx::XFileData* data = nullptr;
            ASSERT_EQ(enumObject->GetChild(count - 1, &data), gfx::result::kOk) << c.what;
            size_t size = 0;
            const void* packed = nullptr;
            ASSERT_EQ(data->Lock(&size, &packed), gfx::result::kOk);
            EXPECT_EQ(Hex(packed, size), c.packed) << c.what << (isText ? " (text)" : " (binary)");
            data->Unlock();
            size_t children = 0;
            data->GetChildren(&children);
            EXPECT_EQ(children, c.children) << c.what;
            data->Release();
            enumObject->Release();
        }
    }
    file->Release();
}

std::string Nested(int frames) {
    std::string s = "xof 0303txt 0032\n";
    for (int i = 0; i < frames; ++i) s += "Frame {\n";
    for (int i = 0; i < frames; ++i) s += "}\n";
    return s;
}

TEST(XFileReader, DamagedFilesFailWithAnError) {
    const std::string scene = DataFile("scene.x");
    const std::vector<uint8_t> binary = xfile_test::TextToBinary(scene);
    const std::string header = "xof 0303txt 0032\n";
    const struct {
        const char* what;
        std::string bytes;
        const char* message;  // a part of the error text
    } kCases[] = {
        {"truncated text", scene.substr(0, scene.find("Frame PlainFrame")), "ends too early"},
        {"truncated binary", std::string(binary.begin(), binary.begin() + long(binary.size() / 2)), "offset"},
        {"no header", "Frame {}", "header"},
        {"short header", "xof 0303", "header"},
        {"compressed", "xof 0303tzip0032", "compressed"},
        {"unknown format", "xof 0303abc 0032", "unknown X file format"},
        {"float size", "xof 0303txt 0016", "float size"},
        {"unbalanced", header + "Frame A { Frame B { }", "ends too early"},
        {"closing too many", header + "Frame A { } }", "expected a template"},
        {"too deep", Nested(65), "nested too deeply"},
        {"unknown template", header + "Widget { 1; }", "unknown template"},
        {"undefined reference", header + "Frame A { { Nowhere } }", "not defined"},
        {"restricted child", header + "AnimationSet S { Frame F { } }", "not allowed"},
        {"closed template child", header + "Coords2d { 1.0; 2.0; Frame F { } }", "takes no children"},
        {"too few values", header + "Coords2d { 1.0; }", "expected a number"},
        {"string for number", header + "Coords2d { \"a\"; 2.0; }", "expected a number"},
        {"huge array", header + "MeshTextureCoords { 4294967295; 1.0; }", "larger than the file"},
        {"open string", header + "TextureFilename { \"abc; }", "closing quote"},
        {"bad guid", header + "template T { <12-34> DWORD a; }", "GUID"},
        {"odd character", header + "Frame A { @ }", "unexpected character"},
        {"unknown binary token", std::string("xof 0303bin 0032\x63\x00", 18), "unknown token"},
        {"binary name past the end", std::string("xof 0303bin 0032\x01\x00\xff\xff\xff\x7f", 22), "ends inside"},
        {"binary float list past the end", std::string("xof 0303bin 0064\x07\x00\x02\x00\x00\x00", 22), "ends inside"},
    };
    Reader reader;
    for (const auto& c : kCases) {
        EXPECT_EQ(reader.Read(c.bytes), gfx::result::kInvalidData) << c.what;
        EXPECT_EQ(reader.enumObject, nullptr) << c.what;
        EXPECT_NE(reader.file->LastError().find(c.message), std::string::npos) << c.what << ": " << reader.file->LastError();
    }
    // Sixty-four levels are still read.
    EXPECT_EQ(reader.Read(Nested(64)), gfx::result::kOk) << reader.file->LastError();
}

TEST(XFileReader, TemplatesRegisterFromTextOrBinaryAndOnlyTemplates) {
    d3dx::XFile* file = nullptr;
    ASSERT_EQ(d3dx::FileCreate(&file), gfx::result::kOk);
    const std::string mine = "xof 0303txt 0032\ntemplate Pair { <01234567-89AB-CDEF-0123-456789ABCDEF> WORD a; array SWORD b[2]; }\n";
    const std::vector<uint8_t> binary = xfile_test::TextToBinary(mine);
    ASSERT_EQ(file->RegisterTemplates(binary.data(), binary.size()), gfx::result::kOk) << file->LastError();
    const std::string withData = "xof 0303txt 0032\nPair { 1; 2, 3; }\n";
    EXPECT_EQ(file->RegisterTemplates(withData.data(), withData.size()), gfx::result::kInvalidData);
    EXPECT_NE(file->LastError().find("only templates"), std::string::npos);

    // A negative number in a signed WORD member keeps its two's complement bits.
    const std::string negative = "xof 0303txt 0032\nPair P { 65535; -2, 70000; }\n";
    d3dx::XFileEnumObject* enumObject = nullptr;
    ASSERT_EQ(file->CreateEnumObject(negative.data(), negative.size(), &enumObject), gfx::result::kOk) << file->LastError();
    d3dx::XFileData* pair = nullptr;
    enumObject->GetChild(0, &pair);
    d3dx::Guid type{};
    pair->GetType(&type);
    EXPECT_EQ(type.data1, 0x01234567u);
    EXPECT_EQ(type.data4[7], 0xEF);
    size_t size = 0;
    const void* bytes = nullptr;
    pair->Lock(&size, &bytes);
    EXPECT_EQ(Hex(bytes, size), "fffffeff7011");
    pair->Unlock();
    pair->Release();
    enumObject->Release();

    // Elements that hold no values take no time however many there are.
    const std::string hollow = "xof 0303txt 0032\ntemplate E { array DWORD none[0]; }\n"
                               "template A { array E e[4000]; }\ntemplate Z { array A a[4000]; DWORD last; }\nZ { 7; }\n";
    ASSERT_EQ(file->CreateEnumObject(hollow.data(), hollow.size(), &enumObject), gfx::result::kInvalidData);
    EXPECT_NE(file->LastError().find("larger than the file"), std::string::npos);
    const std::string hollowFits = "xof 0303txt 0032\ntemplate E { array DWORD none[0]; }\n"
                                   "template A { array E e[3]; }\ntemplate Z { array A a[3]; DWORD last; }\nZ { 7; }\n";
    ASSERT_EQ(file->CreateEnumObject(hollowFits.data(), hollowFits.size(), &enumObject), gfx::result::kOk) << file->LastError();
    enumObject->GetChild(0, &pair);
    pair->Lock(&size, &bytes);
    EXPECT_EQ(size, 4u);
    pair->Unlock();
    pair->Release();
    enumObject->Release();

    // A reference may name its target by identity instead of by name.
    const std::string byGuid = std::string("xof 0303txt 0032\ntemplate Frame { [...] }\n") +
                               "Pair P { <00000000-0000-0000-0000-00000000002A> 1; 2, 3; }\n" +
                               "Frame F { { <00000000-0000-0000-0000-00000000002A> } }\n";
    ASSERT_EQ(file->CreateEnumObject(byGuid.data(), byGuid.size(), &enumObject), gfx::result::kOk) << file->LastError();
    d3dx::XFileData* frame = nullptr;
    enumObject->GetChild(1, &frame);
    d3dx::XFileData* target = nullptr;
    ASSERT_EQ(frame->GetChild(0, &target), gfx::result::kOk);
    EXPECT_TRUE(target->IsReference());
    EXPECT_EQ(target->Name(), "P");
    d3dx::Guid id{};
    target->GetId(&id);
    EXPECT_EQ(id.data4[7], 0x2A);
    for (d3dx::XFileData* d : {target, frame}) d->Release();
    enumObject->Release();
    file->Release();
}

}  // namespace
