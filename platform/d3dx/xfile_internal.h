// The X-file reader's inner pieces: tokens of both encodings, templates, the data-object tree
// and the parser that builds it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3dx/xfile.h"

namespace platform::d3dx::internal {

// Nesting of data objects and of template members is limited, so that no file can exhaust the stack.
constexpr int kMaxDepth = 64;

// Raised inside the reader; the public calls turn it into kInvalidData and XFile::LastError.
struct FormatError {
    std::string message;
};

enum class TokenKind : uint8_t { kName, kString, kInteger, kFloat, kGuid, kPunct };

struct Token {
    TokenKind kind;
    char punct;      // kPunct: one of { } [ ] ( ) < > , ; .
    uint32_t where;  // line (text) or byte offset (binary), for messages
    std::string text;  // kName, kString
    double number;     // kInteger, kFloat
    Guid guid;         // kGuid
};

struct Tokens {
    std::vector<Token> list;
    bool binary = false;
};

// Checks the 16-byte header and splits the rest into tokens (FormatError on damage).
Tokens Tokenize(const uint8_t* data, size_t size);

enum class Primitive : uint8_t { kNone, kWord, kDword, kFloat, kDouble, kChar, kUchar, kByte, kSword, kSdword, kString };

// Parses a primitive type keyword (any letter case); kNone when the word is not one.
Primitive PrimitiveOf(const std::string& word);

struct Dimension {
    uint32_t fixed;      // used when member is empty
    std::string member;  // an earlier member of the same template that holds the count
};

struct Member {
    Primitive primitive;       // kNone: a member of template type
    std::string typeName;      // the template, for kNone
    std::string name;
    std::vector<Dimension> dims;  // empty: a single value
};

struct Template {
    enum class Children : uint8_t { kClosed, kOpen, kRestricted };
    std::string name;
    Guid guid{};
    std::vector<Member> members;
    Children children = Children::kClosed;
    std::vector<std::string> allowed;  // kRestricted: the template names a child may have
};

struct Node {
    const Template* type = nullptr;
    std::string name;
    Guid id{};
    std::vector<uint8_t> data;     // the packed members
    std::deque<std::string> text;  // the strings the packed members point at
    struct Child {
        const Node* node;
        bool reference;
    };
    std::vector<Child> children;
};

struct Document {
    std::shared_ptr<const Document> registered;  // keeps registered templates alive
    std::map<std::string, const Template*> templates;
    std::vector<std::unique_ptr<Template>> ownTemplates;
    std::vector<std::unique_ptr<Node>> nodes;
    std::vector<const Node*> top;
};

// Reads a whole file into the document: templates are added to its table, data objects to its
// tree (a file given to RegisterTemplates must hold none).
void Parse(const uint8_t* data, size_t size, bool templatesOnly, Document* document);

}  // namespace platform::d3dx::internal
