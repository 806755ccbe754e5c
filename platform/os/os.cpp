#include "platform/os/os.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace platform {
namespace {

class SystemClock final : public Clock {
public:
    uint64_t NowMs() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    }
    void SleepMs(uint32_t ms) override {
        if (ms == 0) {
            sched_yield();
            return;
        }
        timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
            if (TerminationRequested()) return;
        }
    }
};

class DefaultMessageBoxSink final : public MessageBoxSink {
public:
    void Show(uint32_t type, const std::string& caption, const std::string& text) override {
        ShowMessageBox(type, caption, text);
    }
};

SystemClock g_system_clock;
Clock* g_clock = &g_system_clock;
DefaultMessageBoxSink g_default_sink;
MessageBoxSink* g_sink = &g_default_sink;
std::atomic<bool> g_termination{false};

void OnTerminationSignal(int) { g_termination.store(true); }

std::string SanitisedLockName(const std::string& name) {
    std::string out;
    for (unsigned char c : name) out += (std::isalnum(c) || c == '.' || c == '-') ? static_cast<char>(c) : '_';
    return out.empty() ? std::string("app") : out;
}

}  // namespace

Clock& GetClock() { return *g_clock; }
void SetClock(Clock* clock) { g_clock = clock ? clock : &g_system_clock; }
MessageBoxSink& GetMessageBoxSink() { return *g_sink; }
void SetMessageBoxSink(MessageBoxSink* sink) { g_sink = sink ? sink : &g_default_sink; }

std::string ExecutableFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool SetCurrentFolder(const std::string& folder) { return chdir(folder.c_str()) == 0; }

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool LockOpenFile(int fd) { return fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0; }

bool LockedElsewhere(const std::string& path) {
    // Opened without waiting, as a named pipe in the file's place would wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);  // drops the lock when it was had
    return held;
}

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Outcome InstanceLock::TryAcquire(const std::string& name, std::string* why) {
    if (fd_ >= 0) return Outcome::kAcquired;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string folder = (runtime != nullptr && *runtime != '\0') ? runtime : "/tmp";
    std::string path = folder + "/" + SanitisedLockName(name) + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    const int openError = errno;
    // A lock file another user made can often be opened for reading only; a lock needs no more.
    // When that fails too (a folder that forbids making the file, where there is none to read),
    // the first refusal is the cause.
    if (fd < 0 && openError == EACCES) fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        return Outcome::kAcquired;
    }
    const int error = fd >= 0 ? errno : openError;
    if (fd >= 0) close(fd);
    if (fd >= 0 && error == EWOULDBLOCK) return Outcome::kHeldElsewhere;
    if (why != nullptr) *why = path + " : " + std::strerror(error);
    return Outcome::kUnavailable;
}

void InstanceLock::Release() {
    if (fd_ < 0) return;
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGXFSZ, SIG_IGN);
    signal(SIGPIPE, SIG_IGN);
}

bool TerminationRequested() { return g_termination.load(); }
void ClearTerminationRequest() { g_termination.store(false); }

}  // namespace platform
