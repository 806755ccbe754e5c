// The framework's process-wide application record, shared by the application core's files.
#pragma once

#include <cstdint>
#include <string>

#include "framework/app/zeth.h"
#include "platform/window/messages.h"

namespace Zeth::internal {

struct AppState {
    GameCallbacks game;
    void* instance = nullptr;
    std::string applicationName;
    std::string executableFolder;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    bool windowed = false;
    bool active = false;
    bool quitRequested = false;
    int32_t exitCode = 0;  // the process's status: 0, or the failure that asked for the end
    uint32_t frameRate = 0;
    uint32_t useFlags = 0;
    bool drawTitleFigures = false;
    std::string logFileName;
    bool started = false;
    platform::Message lastMessage;
    bool quitSeen = false;

    // Frame statistics.
    uint64_t frameStart = 0;
    uint64_t secondStart = 0;
    uint32_t framesThisSecond = 0;
    uint32_t polygonsThisSecond = 0;
    uint32_t polygons3DThisSecond = 0;
    FrameFigures figures;
};

AppState& State();

// The window's part of start-up and shutdown.
bool RegisterWindowClass();
void UnregisterWindowClass();
bool CreateMainWindow();
void ApplyWindowStyle();

}  // namespace Zeth::internal
