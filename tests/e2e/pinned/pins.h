// The pinned values of the runs: one text file, a line per run and value,
//   <run> <key> <value...>
// read whole, compared value by value, and written again (run by run, under a lock) when the
// runs are re-pinned.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace pinned {

using RunPins = std::map<std::string, std::string>;  // key -> value
using Pins = std::map<std::string, RunPins>;         // run -> its values

Pins ReadPins(const std::string& path);
// Replaces the values of one run in the file (keeping every other run's), holding the lock file
// meanwhile, so that processes re-pinning different runs at once lose nothing. No values: the
// run is dropped.
void WritePins(const std::string& path, const std::string& lockPath, const std::string& run, const RunPins& values);

// A value of checkpoints, "frame:hash frame:hash ...", as pairs.
std::vector<std::pair<std::string, std::string>> Checkpoints(const std::string& value);
// The first checkpoint frame at which two such values part ("" when they agree), with the last
// frame at which they agreed ("" when none did).
struct Parting {
    std::string first, lastSame;
    std::string pinnedEntry, nowEntry;  // "frame:value" where they part ("" past the end of one)
};
Parting FirstParting(const std::string& pinned, const std::string& now);

}  // namespace pinned
