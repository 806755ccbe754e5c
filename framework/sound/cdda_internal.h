// The CD-audio state, shared with the tests.
#pragma once

#include <cstdint>

struct CDDATrack {
    uint32_t start;  // device positions
    uint32_t end;
};

struct CDDAState {
    uint32_t device;
    bool open;
    bool playing;
    bool looping;
    CDDATrack* tracks;  // Zeth::MemoryAlloc, one entry per track
    int32_t firstTrack;  // the range a looping play repeats
    int32_t lastTrack;
};

CDDAState& CDDAGetState();
