// The replay list and the start of a playback.
#include "game/scenes/menu_replay.h"

#include "game/world/drawing.h"
#include "game/world/factory.h"
#include "game/world/object_controller.h"
#include "game/world/sound_ids.h"

using namespace menu;

namespace {

constexpr int32_t kSlotsPerPage = 10;
constexpr uint32_t kGrey = 0xFF787878u;

}  // namespace

SC_Menu_Replay::SC_Menu_Replay(float, float, float, float, float, float) { Init(); }

int32_t SC_Menu_Replay::MoveCursor(int32_t c, int32_t button) {
    switch (button) {
        case kDown: return (c + 1) % kReplaySlots;
        case kUp: return c - 1 < kLastReplaySlot ? kReplaySlots - 1 : c - 1;
        case kLeft:
            if (c == kLastReplaySlot) return kReplaySlots - kSlotsPerPage;
            if (c == kSlotsPerPage - 1) return kLastReplaySlot;
            return (c + kReplaySlots - kSlotsPerPage) % kReplaySlots;
        case kRight:
            if (c == kLastReplaySlot) return kSlotsPerPage;
            return (c + kSlotsPerPage) % kReplaySlots;
        default: return c;
    }
}

bool SC_Menu_Replay::EntryExists(const ObjectController* ctx, int32_t slot) const {
    if (slot == kLastReplaySlot) return lastExists;
    return slot >= 0 && slot < kReplaySlots && ctx->replay.slotExists[slot] != 0 && slotRead[slot];
}

void SC_Menu_Replay::Update(ObjectController* ctx) {
    buttons.Read(ctx, age);
    if (age == 0) {
        ctx->gameRunning = false;
        ReplayList::Scan();
        for (int32_t slot = 0; slot < kReplaySlots; ++slot) {
            slotRead[slot] = ctx->replay.slotExists[slot] != 0 && ReplayList::ReadHeader(slot, &headers[slot]);
        }
        lastExists = ReplayList::ReadHeader(kLastReplaySlot, &lastHeader);
    }
    if (IsAlive()) HandleInput(ctx);
    Decide(ctx);
    if (decideCount > 0) decideCount += 1;
    age += 1;
}

void SC_Menu_Replay::HandleInput(ObjectController* ctx) {
    if (decideCount != 0) return;
    for (int32_t button : {kDown, kUp, kLeft, kRight}) {
        if (buttons.Pressed(button)) {
            cursor = MoveCursor(cursor, button);
            ctx->PlaySE(sound::kMenuMove);
            break;
        }
    }
    if (buttons.Pressed(kDecide)) {
        if (!EntryExists(ctx, cursor)) {
            ctx->PlaySE(sound::kMenuCancel);
        } else {
            decideCount = 1;
            ctx->PlaySE(sound::kMenuDecide);
        }
    } else if (buttons.Pressed(kCancel)) {
        cursor = kReplayCancel;
        decideCount = 1;
        ctx->PlaySE(sound::kMenuDecide);
    }
}

void SC_Menu_Replay::Decide(ObjectController* ctx) {
    if (decideCount < kDecideDelay || !IsAlive()) return;
    Vanish();
    if (cursor == kReplayCancel) {
        ctx->CreateObject(type_id::SC_Menu_Title, 128, 0, 0, 0, 0, 0, nullptr);
        return;
    }
    StartFresh(ctx);
    ctx->StartGame(0, 0, 0, 0, 0, 1, cursor);
}

void SC_Menu_Replay::Draw(ObjectController* ctx) {
    if (!IsAlive()) return;
    Text(L"REPLAY", 112, 8);
    Text(L"AVENGER", 32, 24);
    Text(L"CRACKED DATA", 104, 24);
    Text(L"ARR.", 208, 24);
    const bool firstPage = cursor < kSlotsPerPage;
    if (firstPage) {
        Text(L"LA", 8, 40);
        Text(L"ST", 8, 48);
        if (lastExists) ReplayList::FormatEntry(&lastHeader, 24, 40, ctx);
        else Text(L"EMPTY", 88, 40, kGrey);
    }
    const int32_t page = cursor / kSlotsPerPage;
    float cursorY = 44;
    for (int32_t i = 0; i < kSlotsPerPage; ++i) {
        const int32_t slot = page * kSlotsPerPage + i;
        float y = static_cast<float>(56 + 16 * i);
        // The selected row stands apart by 8 above and below; below the last replay, all rows move 8.
        if (cursor < 0 || slot >= cursor) y += 8;
        if (cursor >= 0 && slot > cursor) y += 8;
        if (slot == cursor) cursorY = y + 4;
        if (firstPage) Number(8, y + 4, 0);
        Number(16, y + 4, slot);
        if (EntryExists(ctx, slot)) ReplayList::FormatEntry(&headers[slot], 24, y, ctx);
        else Text(L"EMPTY", 88, y + 4, kGrey);
    }
    if (cursor != kReplayCancel && (decideCount != 0 || age % 16 < 8)) Pointer(0, cursorY);
}

namespace {

const ClassRegistration kReplayClass{{type_id::SC_Menu_Replay, MakeObject<SC_Menu_Replay>}};

}  // namespace
