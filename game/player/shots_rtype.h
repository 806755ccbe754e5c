// The R-type weapons (type ids 242-248): a detachable Force riding on its owner or flying free, a
// growing wave laser, a beam stretching up to the first enemy, a weaving shot with after-images, a
// missile waiting for an enemy above, an option and a plain shot. The angle field is a variant or
// mode written by the creator.
#pragma once

#include <cstdint>

#include "game/player/shot.h"

class S_RTYPELEO_Shot : public Shot {
public:
    S_RTYPELEO_Shot(float x, float y, float vx, float vy, float ax, float ay) : Shot(242, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
};

class S_RTYPELEO_Option : public Shot {
public:
    S_RTYPELEO_Option(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(243, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;  // held in the field
};

class S_RTYPELEO_Red_Laser : public Shot {
public:
    S_RTYPELEO_Red_Laser(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(244, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

// Weaves about its owner's x; the score field's parity is the phase, 2 or more the long form.
class S_RTYPELEO_Red_Shot : public Shot {
public:
    S_RTYPELEO_Red_Shot(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(245, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;

    uint32_t headColour = 0, nearColour = 0, farColour = 0;
};

// Modes 0-3 fly free toward a station, 4 and 5 ride in front of or behind the owner.
class S_RTYPE_Force : public Shot {
public:
    S_RTYPE_Force(float x, float y, float vx, float vy, float ax, float ay) : Shot(246, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RTYPE_Laser : public Shot {
public:
    S_RTYPE_Laser(float x, float y, float vx, float vy, float ax, float ay) : Shot(247, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Move(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};

class S_RTYPELEO_Missile : public Shot {
public:
    S_RTYPELEO_Missile(float x, float y, float vx, float vy, float ax, float ay)
        : Shot(248, x, y, vx, vy, ax, ay) {}
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
};
