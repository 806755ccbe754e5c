// The X-file parser: template declarations, then data objects read member by member against
// their template (primitive members, arrays sized by constants or by earlier members, members of
// template type), their child objects and references "{ name }". Separators (',' and ';') between
// values carry no meaning here, so text and binary files give the same objects.
#include <cmath>
#include <cstring>

#include "platform/d3dx/xfile_internal.h"

namespace platform::d3dx::internal {

namespace {

size_t PrimitiveBytes(Primitive p) {
    switch (p) {
    case Primitive::kWord:
    case Primitive::kSword: return 2;
    case Primitive::kDword:
    case Primitive::kSdword:
    case Primitive::kFloat: return 4;
    case Primitive::kDouble: return 8;
    case Primitive::kString: return sizeof(const char*);
    default: return 1;
    }
}

struct PendingReference {
    Node* owner;
    size_t child;
    std::string name;
    Guid guid;
    bool byGuid;
    uint32_t where;
};

class Parser {
public:
    Parser(Tokens tokens, Document* document) : tokens_(std::move(tokens)), doc_(document) {}

    void File(bool templatesOnly) {
        while (pos_ < tokens_.list.size()) {
            const Token& t = Peek();
            if (t.kind == TokenKind::kName && t.text == "template") {
                ++pos_;
                TemplateDeclaration();
            } else if (t.kind == TokenKind::kName) {
                if (templatesOnly) Fail(t, "a data object where only templates may be");
                doc_->top.push_back(DataObject(1));
            } else {
                Fail(t, "expected a template or a data object");
            }
        }
        ResolveReferences();
    }

private:
    [[noreturn]] void Fail(const Token& t, const std::string& what) const {
        throw FormatError{std::string(tokens_.binary ? "offset " : "line ") + std::to_string(t.where) + ": " + what};
    }
    [[noreturn]] void FailAtEnd(const std::string& what) const {
        throw FormatError{"end of file: " + what};
    }
    const Token& Peek() const {
        if (pos_ >= tokens_.list.size()) FailAtEnd("the file ends too early");
        return tokens_.list[pos_];
    }
    const Token& Next() {
        const Token& t = Peek();
        ++pos_;
        return t;
    }
    bool IsPunct(char c) const {
        return pos_ < tokens_.list.size() && tokens_.list[pos_].kind == TokenKind::kPunct &&
               tokens_.list[pos_].punct == c;
    }
    void Expect(char c) {
        const Token& t = Next();
        if (t.kind != TokenKind::kPunct || t.punct != c) Fail(t, std::string("expected '") + c + "'");
    }
    std::string ExpectName() {
        const Token& t = Next();
        if (t.kind != TokenKind::kName) Fail(t, "expected a name");
        return t.text;
    }
    void SkipSeparators() {
        while (IsPunct(',') || IsPunct(';')) ++pos_;
    }

    // template Name { <guid> members [restriction] }
    void TemplateDeclaration() {
        auto tmpl = std::make_unique<Template>();
        tmpl->name = ExpectName();
        Expect('{');
        if (Peek().kind == TokenKind::kGuid) tmpl->guid = Next().guid;
        while (!IsPunct('}') && !IsPunct('[')) {
            Member member;
            std::string type = ExpectName();
            const bool array = type == "array";
            if (array) type = ExpectName();
            member.primitive = PrimitiveOf(type);
            if (member.primitive == Primitive::kNone) member.typeName = type;
            if (Peek().kind == TokenKind::kName) member.name = Next().text;
            while (array && IsPunct('[')) {
                ++pos_;
                const Token& d = Next();
                if (d.kind == TokenKind::kInteger && d.number >= 0 && d.number <= 4294967295.0) {
                    member.dims.push_back({uint32_t(d.number), {}});
                } else if (d.kind == TokenKind::kName) {
                    member.dims.push_back({0, d.text});
                } else {
                    Fail(d, "an array size must be a number or a member name");
                }
                Expect(']');
            }
            if (array && member.dims.empty()) Fail(Peek(), "an array without a size");
            Expect(';');
            tmpl->members.push_back(std::move(member));
        }
        if (IsPunct('[')) {
            ++pos_;
            if (IsPunct('.')) {
                Expect('.');
                Expect('.');
                Expect('.');
                tmpl->children = Template::Children::kOpen;
            } else {
                tmpl->children = Template::Children::kRestricted;
                while (!IsPunct(']')) {
                    tmpl->allowed.push_back(ExpectName());
                    if (Peek().kind == TokenKind::kGuid) ++pos_;
                    if (IsPunct(',')) ++pos_;
                }
            }
            Expect(']');
        }
        Expect('}');
        doc_->templates[tmpl->name] = tmpl.get();
        doc_->ownTemplates.push_back(std::move(tmpl));
    }

    const Template* FindTemplate(const Token& at, const std::string& name) const {
        const auto it = doc_->templates.find(name);
        if (it == doc_->templates.end()) Fail(at, "unknown template \"" + name + "\"");
        return it->second;
    }

    static bool Allows(const Template& parent, const Template& child) {
        if (parent.children == Template::Children::kOpen) return true;
        for (const std::string& name : parent.allowed) {
            if (name == child.name) return true;
        }
        return false;
    }

    // TemplateName [name] [<guid>] { [<guid>] members children }
    Node* DataObject(int depth) {
        const Token& typeToken = Next();
        if (depth > kMaxDepth) Fail(typeToken, "data objects nested too deeply");
        auto node = std::make_unique<Node>();
        node->type = FindTemplate(typeToken, typeToken.text);
        if (Peek().kind == TokenKind::kName) node->name = Next().text;
        if (Peek().kind == TokenKind::kGuid) node->id = Next().guid;
        Expect('{');
        if (Peek().kind == TokenKind::kGuid) node->id = Next().guid;
        Node* self = node.get();
        doc_->nodes.push_back(std::move(node));
        Members(*self->type, self, depth);
        SkipSeparators();
        while (!IsPunct('}')) {
            const Token& t = Peek();
            if (self->type->children == Template::Children::kClosed) Fail(t, "\"" + self->type->name + "\" takes no children");
            if (t.kind == TokenKind::kPunct && t.punct == '{') {
                ++pos_;
                PendingReference ref{self, self->children.size(), {}, {}, false, t.where};
                if (Peek().kind == TokenKind::kName) ref.name = Next().text;
                if (Peek().kind == TokenKind::kGuid) {
                    ref.guid = Next().guid;
                    ref.byGuid = ref.name.empty();
                }
                if (ref.name.empty() && !ref.byGuid) Fail(t, "a reference names nothing");
                Expect('}');
                self->children.push_back({nullptr, true});
                references_.push_back(std::move(ref));
            } else if (t.kind == TokenKind::kName) {
                const Node* child = DataObject(depth + 1);
                if (!Allows(*self->type, *child->type)) {
                    Fail(t, "\"" + child->type->name + "\" is not allowed inside \"" + self->type->name + "\"");
                }
                self->children.push_back({child, false});
            } else {
                Fail(t, "expected a child object, a reference or '}'");
            }
            SkipSeparators();
        }
        ++pos_;
        return self;
    }

    // Reads one instance of the template's members into the node's packed data.
    void Members(const Template& tmpl, Node* node, int depth) {
        if (depth > kMaxDepth) Fail(Peek(), "templates nested too deeply");
        std::map<std::string, uint64_t> counts;  // integer members read so far, for array sizes
        for (const Member& member : tmpl.members) {
            uint64_t count = 1;
            for (const Dimension& d : member.dims) {
                uint64_t size = d.fixed;
                if (!d.member.empty()) {
                    const auto it = counts.find(d.member);
                    if (it == counts.end()) Fail(Peek(), "array size \"" + d.member + "\" is not an earlier number");
                    size = it->second;
                }
                count *= size;
                // Every element takes at least one value, so no array can be larger than what is left.
                if (count > tokens_.list.size() - pos_) Fail(Peek(), "array \"" + member.name + "\" is larger than the file");
            }
            const Template* nested = member.primitive == Primitive::kNone ? FindTemplate(Peek(), member.typeName) : nullptr;
            for (uint64_t i = 0; i < count; ++i) {
                if (nested != nullptr) {
                    const size_t before = pos_;
                    Members(*nested, node, depth + 1);
                    if (pos_ == before) break;  // elements that hold no values: the rest are the same
                } else {
                    const uint64_t value = Value(member.primitive, node);
                    if (member.dims.empty()) counts[member.name] = value;
                }
            }
        }
    }

    // Reads one primitive value, appends it packed and returns it as an unsigned number.
    uint64_t Value(Primitive primitive, Node* node) {
        SkipSeparators();
        const Token& t = Next();
        std::vector<uint8_t>& out = node->data;
        auto put = [&out](const void* bytes, size_t n) {
            const auto* b = static_cast<const uint8_t*>(bytes);
            out.insert(out.end(), b, b + n);
        };
        if (primitive == Primitive::kString) {
            if (t.kind != TokenKind::kString) Fail(t, "expected a string");
            node->text.push_back(t.text);
            const char* pointer = node->text.back().c_str();
            put(&pointer, sizeof(pointer));
            return 0;
        }
        if (t.kind != TokenKind::kInteger && t.kind != TokenKind::kFloat) Fail(t, "expected a number");
        if (primitive == Primitive::kFloat) {
            const float f = float(t.number);
            put(&f, 4);
            return 0;
        }
        if (primitive == Primitive::kDouble) {
            put(&t.number, 8);
            return 0;
        }
        const double clamped = std::isfinite(t.number) ? std::fmax(-9.2e18, std::fmin(9.2e18, t.number)) : 0.0;
        const auto bits = uint64_t(int64_t(clamped));
        const size_t bytes = PrimitiveBytes(primitive);
        for (size_t i = 0; i < bytes; ++i) out.push_back(uint8_t(bits >> (8 * i)));
        return bytes == 4 ? bits & 0xFFFFFFFFu : bytes == 2 ? bits & 0xFFFFu : bits & 0xFFu;
    }

    // A reference names the first object defined with that name (or identity) anywhere in the file.
    void ResolveReferences() {
        std::map<std::string, const Node*> byName;
        std::map<std::string, const Node*> byGuid;
        for (const auto& node : doc_->nodes) {
            if (!node->name.empty()) byName.emplace(node->name, node.get());
            if (!(node->id == Guid{})) {
                byGuid.emplace(std::string(reinterpret_cast<const char*>(&node->id), sizeof(Guid)), node.get());
            }
        }
        for (const PendingReference& ref : references_) {
            const auto& index = ref.byGuid ? byGuid : byName;
            const auto found =
                index.find(ref.byGuid ? std::string(reinterpret_cast<const char*>(&ref.guid), sizeof(Guid)) : ref.name);
            const Node* target = found != index.end() ? found->second : nullptr;
            const std::string what = ref.byGuid ? "a GUID" : "\"" + ref.name + "\"";
            if (target == nullptr) throw FormatError{Where(ref.where) + "reference to " + what + " that is not defined"};
            if (!Allows(*ref.owner->type, *target->type)) {
                throw FormatError{Where(ref.where) + "reference to " + what + " is not allowed inside \"" +
                                  ref.owner->type->name + "\""};
            }
            ref.owner->children[ref.child].node = target;
        }
    }
    std::string Where(uint32_t where) const {
        return std::string(tokens_.binary ? "offset " : "line ") + std::to_string(where) + ": ";
    }

    Tokens tokens_;
    size_t pos_ = 0;
    Document* doc_;
    std::vector<PendingReference> references_;
};

}  // namespace

void Parse(const uint8_t* data, size_t size, bool templatesOnly, Document* document) {
    Parser(Tokenize(data, size), document).File(templatesOnly);
}

}  // namespace platform::d3dx::internal
