#include "tools/pack/lzss_encoder.h"

#include <algorithm>

#include "framework/files/lzss.h"
#include "tools/pack/byte_writer.h"

namespace pack {
namespace {

constexpr uint32_t kHashBits = 15;
constexpr uint32_t kHashSize = 1u << kHashBits;
// How many earlier candidates one position compares at most; plenty for sprite sheets and
// tables, and it keeps a few megabytes well under a second.
constexpr uint32_t kMaxChain = 256;
constexpr int32_t kNone = -1;

uint32_t Hash3(const uint8_t* bytes) {
    return ((bytes[0] << 10) ^ (bytes[1] << 5) ^ bytes[2]) & (kHashSize - 1);
}

// Writes items in groups behind a flag byte whose bits, lowest first, say literal (1) or match (0).
class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Literal(uint8_t byte) {
        StartItem(true);
        out_.push_back(byte);
    }
    void Match(uint32_t ringPosition, uint32_t length) {
        StartItem(false);
        out_.push_back(static_cast<uint8_t>(ringPosition & 0xFF));
        out_.push_back(static_cast<uint8_t>(((ringPosition >> 4) & 0xF0) | (length - kLzssMinMatch)));
    }

private:
    void StartItem(bool literal) {
        if (bit_ == 8) {
            flagAt_ = out_.size();
            out_.push_back(0);
            bit_ = 0;
        }
        if (literal) out_[flagAt_] = static_cast<uint8_t>(out_[flagAt_] | (1u << bit_));
        ++bit_;
    }

    std::vector<uint8_t>& out_;
    size_t flagAt_ = 0;
    int bit_ = 8;
};

}  // namespace

std::vector<uint8_t> LzssEncode(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    out.reserve(kLzssHeaderSize + size + size / 8 + 1);
    PutLittleEndian32(out, kLzssMagic);
    PutLittleEndian32(out, static_cast<uint32_t>(size));

    // The window is the ring's initial zeros followed by the data: index i of the data sits at
    // window index kLzssRingSize + i, whose ring position is (kLzssRingStart + i) mod the ring
    // size, the same as (kLzssRingStart + window index) because the prefix is one whole ring.
    const size_t prefix = kLzssRingSize;
    std::vector<uint8_t> window(prefix + size, 0);
    std::copy(data, data + size, window.begin() + prefix);
    std::vector<int32_t> head(kHashSize, kNone);
    std::vector<int32_t> previous(window.size(), kNone);
    auto insert = [&](size_t at) {
        if (at + kLzssMinMatch > window.size()) return;
        const uint32_t h = Hash3(&window[at]);
        previous[at] = head[h];
        head[h] = static_cast<int32_t>(at);
    };
    // The last zeros before the data are enough to start any run of zeros.
    for (size_t at = prefix - kLzssMaxMatch; at < prefix; ++at) insert(at);

    CodeWriter writer(out);
    size_t at = prefix;
    while (at < window.size()) {
        const size_t longest = std::min<size_t>(kLzssMaxMatch, window.size() - at);
        size_t bestLength = 0;
        size_t bestSource = 0;
        if (longest >= kLzssMinMatch) {
            int32_t source = head[Hash3(&window[at])];
            // Sources more than one ring back have been overwritten in the decoder's ring.
            for (uint32_t steps = 0; source != kNone && steps < kMaxChain; ++steps, source = previous[source]) {
                const size_t from = static_cast<size_t>(source);
                if (from + kLzssRingSize < at) break;
                size_t length = 0;
                while (length < longest && window[from + length] == window[at + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestSource = from;
                    if (length == longest) break;
                }
            }
        }
        if (bestLength >= kLzssMinMatch) {
            writer.Match(static_cast<uint32_t>((bestSource + kLzssRingStart) & (kLzssRingSize - 1)), static_cast<uint32_t>(bestLength));
        } else {
            bestLength = 1;
            writer.Literal(window[at]);
        }
        for (size_t k = 0; k < bestLength; ++k) insert(at + k);
        at += bestLength;
    }
    return out;
}

}  // namespace pack
