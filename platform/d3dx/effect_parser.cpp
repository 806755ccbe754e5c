// Reading effect text: top-level declarations become parameters, techniques and passes are
// kept with the function their vertex shader compiles; function and structure bodies,
// annotations and other pass states are skipped by matching their brackets.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <strings.h>
#include <vector>

#include "platform/d3dx/effect.h"

namespace platform::d3dx {

namespace {

using Kind = EffectParameter::Kind;

struct Token {
    enum Type { kEnd, kWord, kNumber, kString, kSymbol } type = kEnd;
    std::string text;
    int line = 1;
};

class Tokens {
public:
    Tokens(const char* text, size_t length) : p_(text), end_(text + length) {
        if (const void* zero = std::memchr(text, 0, length)) end_ = static_cast<const char*>(zero);
        Advance();
    }
    const Token& Peek() const { return current_; }
    Token Next() {
        Token t = current_;
        Advance();
        return t;
    }
    bool Accept(const char* text) {
        if (current_.type == Token::kEnd || current_.text != text) return false;
        Advance();
        return true;
    }

private:
    void SkipSpaceAndComments() {
        while (p_ < end_) {
            if (*p_ == '\n') {
                ++line_;
                ++p_;
            } else if (std::isspace(static_cast<unsigned char>(*p_))) {
                ++p_;
            } else if (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/')) {
                while (p_ < end_ && *p_ != '\n') ++p_;  // comments and preprocessor lines
            } else if (*p_ == '/' && p_ + 1 < end_ && p_[1] == '*') {
                p_ += 2;
                while (p_ < end_ && !(*p_ == '*' && p_ + 1 < end_ && p_[1] == '/')) line_ += *p_++ == '\n';
                p_ = std::min(p_ + 2, end_);
            } else {
                return;
            }
        }
    }
    void Advance() {
        SkipSpaceAndComments();
        current_ = Token{};
        current_.line = line_;
        if (p_ >= end_) return;
        const char* start = p_;
        const auto c = static_cast<unsigned char>(*p_);
        if (std::isalpha(c) || c == '_') {
            while (p_ < end_ && (std::isalnum(static_cast<unsigned char>(*p_)) || *p_ == '_')) ++p_;
            current_.type = Token::kWord;
        } else if (std::isdigit(c) || (c == '.' && p_ + 1 < end_ && std::isdigit(static_cast<unsigned char>(p_[1])))) {
            // Digits, point, suffix letters, and a sign right after an exponent's e.
            while (p_ < end_ && (std::isalnum(static_cast<unsigned char>(*p_)) || *p_ == '.' ||
                                 ((*p_ == '-' || *p_ == '+') && (p_[-1] == 'e' || p_[-1] == 'E')))) {
                ++p_;
            }
            current_.type = Token::kNumber;
        } else if (c == '"') {
            ++p_;
            while (p_ < end_ && *p_ != '"' && *p_ != '\n') ++p_;
            current_.type = Token::kString;
            current_.text.assign(start + 1, p_);
            if (p_ < end_ && *p_ == '"') ++p_;
            return;
        } else {
            ++p_;
            current_.type = Token::kSymbol;
        }
        current_.text.assign(start, p_);
    }

    const char* p_;
    const char* end_;
    int line_ = 1;
    Token current_;
};

// What a type name declares; kind kOther with zero size for names the effect cannot hold.
struct TypeInfo {
    Kind kind = Kind::kOther;
    uint32_t rows = 0, columns = 0;
};

TypeInfo ParseType(const std::string& name) {
    if (name == "matrix") return {Kind::kFloat, 4, 4};
    if (name == "vector") return {Kind::kFloat, 1, 4};
    if (name == "string") return {Kind::kString, 0, 0};
    if (name.rfind("texture", 0) == 0) return {Kind::kTexture, 0, 0};
    if (name.rfind("sampler", 0) == 0) return {Kind::kSampler, 0, 0};
    static const struct {
        const char* base;
        Kind kind;
    } kBases[] = {{"float", Kind::kFloat}, {"half", Kind::kFloat}, {"double", Kind::kFloat},
                  {"int", Kind::kInt},     {"uint", Kind::kInt},  {"dword", Kind::kInt},
                  {"bool", Kind::kBool}};
    for (const auto& b : kBases) {
        const size_t n = std::strlen(b.base);
        if (name.compare(0, n, b.base) != 0) continue;
        const std::string rest = name.substr(n);
        if (rest.empty()) return {b.kind, 1, 1};
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '4') return {b.kind, 1, uint32_t(rest[0] - '0')};
        if (rest.size() == 3 && rest[1] == 'x' && rest[0] >= '1' && rest[0] <= '4' && rest[2] >= '1' &&
            rest[2] <= '4') {
            return {b.kind, uint32_t(rest[0] - '0'), uint32_t(rest[2] - '0')};
        }
    }
    return {};
}

class Parser {
public:
    Parser(const char* text, size_t length) : tokens_(text, length) {}

    bool Run() {
        while (ok_ && tokens_.Peek().type != Token::kEnd) {
            if (tokens_.Accept(";")) continue;
            if (Is("technique") || Is("technique9")) {
                tokens_.Next();
                Technique();
            } else if (Is("struct") || Is("typedef")) {
                SkipPast(";");
            } else {
                Declaration();
            }
        }
        for (const EffectTechnique& t : techniques_) {
            for (const EffectPass& p : t.passes) {
                if (ok_ && !p.vertexShader.empty() && !functions_.count(p.vertexShader)) {
                    Fail(line_, "undeclared function '" + p.vertexShader + "'");
                }
            }
        }
        return ok_;
    }

    std::vector<EffectParameter> parameters_;
    std::vector<EffectTechnique> techniques_;
    std::string errors_;

private:
    bool Is(const char* word) const { return tokens_.Peek().type == Token::kWord && tokens_.Peek().text == word; }

    void Fail(int line, const std::string& message) {
        if (!ok_) return;
        ok_ = false;
        errors_ += "effect(" + std::to_string(line) + "): error: " + message + "\n";
    }

    Token Expect(Token::Type type, const char* what) {
        Token t = tokens_.Next();
        if (t.type != type) Fail(t.line, std::string("expected ") + what + Found(t));
        return t;
    }
    void ExpectSymbol(const char* symbol) {
        Token t = tokens_.Next();
        if (t.type != Token::kSymbol || t.text != symbol) Fail(t.line, std::string("expected '") + symbol + "'" + Found(t));
    }
    static std::string Found(const Token& t) {
        return t.type == Token::kEnd ? " before the end of the text" : " at '" + t.text + "'";
    }

    // Skips a bracketed group whose opening symbol was just read.
    void SkipGroup(const std::string& open, int line) {
        const std::string close = open == "{" ? "}" : open == "(" ? ")" : open == "[" ? "]" : ">";
        int depth = 1;
        while (depth > 0) {
            const Token t = tokens_.Next();
            if (t.type == Token::kEnd) return Fail(line, "'" + open + "' is never closed");
            if (t.type != Token::kSymbol) continue;
            if (t.text == open) ++depth;
            if (t.text == close) --depth;
        }
    }

    // Skips to and past `symbol` at bracket depth 0.
    void SkipPast(const char* symbol) {
        while (ok_) {
            const Token t = tokens_.Next();
            if (t.type == Token::kEnd) return Fail(t.line, std::string("expected '") + symbol + "'" + Found(t));
            if (t.text == symbol && t.type == Token::kSymbol) return;
            if (t.type == Token::kSymbol && (t.text == "{" || t.text == "(" || t.text == "[")) SkipGroup(t.text, t.line);
        }
    }

    void SkipAnnotations() {
        const int line = tokens_.Peek().line;
        if (tokens_.Accept("<")) SkipGroup("<", line);
    }

    void Declaration() {
        static const std::set<std::string> kModifiers = {"uniform", "static", "const", "shared", "extern",
                                                         "volatile", "inline", "row_major", "column_major"};
        bool isStatic = false;
        while (tokens_.Peek().type == Token::kWord && kModifiers.count(tokens_.Peek().text)) {
            isStatic |= tokens_.Next().text == "static";
        }
        const Token type = Expect(Token::kWord, "a type");
        const Token name = Expect(Token::kWord, "a name");
        if (!ok_) return;
        if (tokens_.Accept("(")) {  // a function: remember its name, skip the rest
            functions_.insert(name.text);
            SkipGroup("(", name.line);
            if (tokens_.Accept(":")) Expect(Token::kWord, "a semantic");
            if (tokens_.Accept(";")) return;
            const int line = tokens_.Peek().line;
            ExpectSymbol("{");
            if (ok_) SkipGroup("{", line);
            return;
        }
        EffectParameter p;
        const TypeInfo info = ParseType(type.text);
        p.name = name.text;
        p.kind = info.kind;
        p.rows = info.rows;
        p.columns = info.columns;
        if (tokens_.Accept("[")) {
            const Token size = Expect(Token::kNumber, "an array size");
            const long n = std::strtol(size.text.c_str(), nullptr, 10);
            if (ok_ && (n < 1 || n > kMaxElements)) Fail(size.line, "array size '" + size.text + "' out of range");
            if (!ok_) return;
            p.elements = uint32_t(n);
            ExpectSymbol("]");
        }
        if (tokens_.Accept(":")) p.semantic = Expect(Token::kWord, "a semantic").text;
        SkipAnnotations();
        const size_t size = size_t(p.elements) * p.rows * p.columns;
        if (values_ + size > kMaxValues) return Fail(name.line, "the parameters hold too many values");
        values_ += size;
        p.values.assign(size, 0.0f);
        if (tokens_.Accept("=")) Initializer(&p);
        ExpectSymbol(";");
        if (!ok_ || isStatic) return;
        for (const EffectParameter& other : parameters_) {
            if (other.name == p.name) return Fail(name.line, "'" + p.name + "' is declared twice");
        }
        parameters_.push_back(std::move(p));
    }

    // Takes the numbers of an initial value in order (a string's text); skips the rest.
    void Initializer(EffectParameter* p) {
        size_t next = 0;
        int depth = 0;
        while (ok_) {
            const Token& t = tokens_.Peek();
            if (t.type == Token::kEnd) return Fail(t.line, "expected ';'" + Found(t));
            if (depth == 0 && t.type == Token::kSymbol && t.text == ";") return;
            const Token token = tokens_.Next();
            if (token.type == Token::kSymbol) {
                depth += (token.text == "{" || token.text == "(") - (token.text == "}" || token.text == ")");
            } else if (token.type == Token::kString && p->kind == Kind::kString) {
                p->text = token.text;
            } else if (p->Numeric() && next < p->values.size() &&
                       (token.type == Token::kNumber || token.text == "true" || token.text == "false")) {
                const float v = token.text == "true" ? 1.0f : std::strtof(token.text.c_str(), nullptr);
                p->values[next++] = v;
            }
        }
    }

    void Technique() {
        EffectTechnique technique;
        if (tokens_.Peek().type == Token::kWord) technique.name = tokens_.Next().text;
        SkipAnnotations();
        ExpectSymbol("{");
        while (ok_ && !tokens_.Accept("}")) {
            const Token word = Expect(Token::kWord, "'pass'");
            if (ok_ && word.text != "pass") Fail(word.line, "expected 'pass' at '" + word.text + "'");
            if (!ok_) return;
            technique.passes.push_back(Pass());
        }
        techniques_.push_back(std::move(technique));
    }

    EffectPass Pass() {
        EffectPass pass;
        if (tokens_.Peek().type == Token::kWord) pass.name = tokens_.Next().text;
        SkipAnnotations();
        ExpectSymbol("{");
        while (ok_ && !tokens_.Accept("}")) {
            const Token state = Expect(Token::kWord, "a state name");
            if (tokens_.Accept("[")) SkipPast("]");
            ExpectSymbol("=");
            if (!ok_) break;
            if (strcasecmp(state.text.c_str(), "VertexShader") == 0 && tokens_.Accept("compile")) {
                line_ = state.line;
                pass.profile = Expect(Token::kWord, "a profile").text;
                pass.vertexShader = Expect(Token::kWord, "a function name").text;
            }
            SkipPast(";");
        }
        return pass;
    }

    // Bounds on what a text can make the effect hold.
    static constexpr long kMaxElements = 65536;
    static constexpr size_t kMaxValues = size_t(1) << 20;

    Tokens tokens_;
    bool ok_ = true;
    size_t values_ = 0;  // numeric values of the parameters so far
    int line_ = 1;  // the line of the last compile state, for errors found at the end
    std::set<std::string> functions_;
};

}  // namespace

Result D3DXCreateEffect(gfx::Device* device, const void* text, uint32_t length, const void*, void*,
                        uint32_t, void*, Effect** effect, Buffer** errors) {
    if (errors) *errors = nullptr;
    if (!effect || !text) return gfx::result::kInvalidCall;
    *effect = nullptr;
    Parser parser(static_cast<const char*>(text), length);
    if (!parser.Run()) {
        if (errors) {
            *errors = new Buffer(parser.errors_.size() + 1);
            std::memcpy((*errors)->GetBufferPointer(), parser.errors_.c_str(), parser.errors_.size() + 1);
        }
        return gfx::result::kInvalidCall;
    }
    *effect = new Effect(device, std::move(parser.parameters_), std::move(parser.techniques_));
    return gfx::result::kOk;
}

}  // namespace platform::d3dx
