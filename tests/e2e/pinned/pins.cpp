#include "pins.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace pinned {

namespace {

constexpr const char* kHeader =
    "# Pinned whole-game runs (tests/e2e/pinned): what each run produced. Written by\n"
    "# tests/e2e/pinned/repin.sh after an intended change; one line per run and value.\n";

}  // namespace

Pins ReadPins(const std::string& path) {
    Pins pins;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string run, key, value;
        words >> run >> key;
        std::getline(words >> std::ws, value);
        if (!run.empty() && !key.empty()) pins[run][key] = value;
    }
    return pins;
}

void WritePins(const std::string& path, const std::string& lockPath, const std::string& run, const RunPins& values) {
    const int lock = open(lockPath.c_str(), O_CREAT | O_RDWR, 0644);
    if (lock >= 0) flock(lock, LOCK_EX);
    Pins pins = ReadPins(path);
    if (values.empty()) pins.erase(run);
    else pins[run] = values;
    std::ofstream out(path, std::ios::trunc);
    out << kHeader;
    for (const auto& [name, runValues] : pins) {
        for (const auto& [key, value] : runValues) out << name << ' ' << key << ' ' << value << '\n';
    }
    out.close();
    if (lock >= 0) close(lock);
}

std::vector<std::pair<std::string, std::string>> Checkpoints(const std::string& value) {
    std::vector<std::pair<std::string, std::string>> out;
    std::istringstream words(value);
    std::string word;
    while (words >> word) {
        const size_t colon = word.find(':');
        if (colon == std::string::npos) out.emplace_back(word, "");
        else out.emplace_back(word.substr(0, colon), word.substr(colon + 1));
    }
    return out;
}

Parting FirstParting(const std::string& pinned, const std::string& now) {
    const auto a = Checkpoints(pinned), b = Checkpoints(now);
    Parting p;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (i < a.size() && i < b.size() && a[i] == b[i]) {
            p.lastSame = a[i].first;
            continue;
        }
        p.first = i < b.size() ? b[i].first : a[i].first;
        if (i < a.size()) p.pinnedEntry = a[i].first + ":" + a[i].second;
        if (i < b.size()) p.nowEntry = b[i].first + ":" + b[i].second;
        return p;
    }
    return p;
}

}  // namespace pinned
