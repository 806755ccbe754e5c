// Process, clock, sleep, folders, single-instance lock, message box and the loss of the display:
// the operating-system services the framework calls, each behind a small interface that tests
// replace with a fake.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A 64-bit monotonic millisecond clock and the sleep that goes with it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint64_t NowMs() = 0;    // milliseconds since an arbitrary start; never wraps
    virtual void SleepMs(uint32_t ms) = 0;  // 0 yields the processor
};

// Shows a message to the person at the machine.
class MessageBoxSink {
public:
    virtual ~MessageBoxSink() = default;
    virtual void Show(uint32_t type, const std::string& caption, const std::string& text) = 0;
};

Clock& GetClock();                  // the clock in use (the system clock unless replaced)
void SetClock(Clock* clock);        // nullptr restores the system clock
MessageBoxSink& GetMessageBoxSink();
void SetMessageBoxSink(MessageBoxSink* sink);  // nullptr restores the default sink

// The default message box: SDL's simple message box when a display exists; the text always
// goes to standard error as well, so a machine without a display still sees it. A termination
// signal closes an open box (the call returns) and keeps later ones from showing.
void ShowMessageBox(uint32_t type, const std::string& caption, const std::string& text);

std::string ExecutableFolder();     // folder of the running executable, without a trailing '/'
bool SetCurrentFolder(const std::string& folder);
bool DeleteFile(const std::string& path);

// A running copy also holds an exclusive advisory lock on its open log, beside the executable,
// so that a copy started in the same folder with another runtime folder (another session) finds
// it too. LockOpenFile takes that lock on an open file (released when the file is closed);
// LockedElsewhere tells whether another process holds it on the file at path.
bool LockOpenFile(int fd);
bool LockedElsewhere(const std::string& path);

// The single-instance check: an exclusive advisory lock on a file named after the application
// in the runtime folder ($XDG_RUNTIME_DIR, else /tmp). Held until Release or process exit.
class InstanceLock {
public:
    enum class Outcome {
        kAcquired,
        kHeldElsewhere,  // another process holds the lock: a copy is running
        kUnavailable,    // no lock file could be had: nothing is known about other copies
    };
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // When the lock is unavailable, `why` (if given) receives the lock file and the system's reason.
    Outcome TryAcquire(const std::string& name, std::string* why = nullptr);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// When the connection to the display is lost (the window's, or an open message box's), or the
// server refuses a request (the window destroyed by another client), the process ends at once
// with kDisplayLostStatus, after `lastWords` (may be nullptr) has written
// what can still be written. No exit handler runs: they would call the window library on the
// dead connection.
constexpr int kDisplayLostStatus = 1;
void SetDisplayLostHandler(void (*lastWords)());

// SIGINT, SIGTERM and SIGHUP (the terminal closing) set a flag instead of killing the process,
// so the window layer can turn them into the same close request as the window's close button.
// SIGXFSZ is ignored: a write past the file-size limit (ulimit -f) then fails as a full disk
// does, and takes the same way out (the log goes on without its page, a save keeps the old file).
// SIGPIPE is ignored too: standard error that is a closed pipe (`tanzlor 2>&1 | true`) makes the
// write fail, and the program goes on as after any failed write.
void InstallSignalHandlers();
bool TerminationRequested();
void ClearTerminationRequest();

}  // namespace platform
