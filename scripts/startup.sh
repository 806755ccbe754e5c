#!/usr/bin/env bash
# Measures the game's start-up: the time from exec to the first presented frame, and the peak
# resident memory up to then, over several runs of build/tanzlor (headless on SDL's dummy video
# driver unless DISPLAY is set and SDL_VIDEODRIVER is not).
#   scripts/startup.sh [RUNS]   (default 5; prints each run, then the median time and the peak)
# A small library preloaded into the game notes the moment of its first present and ends it
# there; the program itself has no part in the measurement.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-5}"
exe="$root/build/tanzlor"
[[ -x $exe ]] || { echo "startup.sh: build the game first (scripts/build.sh build)" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cc -O2 -shared -fPIC -o "$work/first_frame.so" -x c - -ldl <<'EOF'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

/* Passes the first present through, then writes "<ns since exec> <peak KB>" and ends the run. */
void SDL_RenderPresent(void* renderer) {
    void (*real)(void*) = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_RenderPresent");
    real(renderer);
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    long long start = atoll(getenv("STARTUP_EXEC_NS"));
    long long ns = (long long)now.tv_sec * 1000000000LL + now.tv_nsec - start;
    FILE* out = fopen(getenv("STARTUP_RESULT"), "w");
    if (out != NULL) {
        fprintf(out, "%lld %ld\n", ns, usage.ru_maxrss);
        fclose(out);
    }
    _exit(0);
}
EOF

if [[ -z ${DISPLAY:-} ]]; then export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-dummy}"; fi
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
mkdir -p "$work/runtime"
times=()
peak=0
for ((i = 1; i <= runs; ++i)); do
  rm -f "$work/result"
  # The clock is read by bash itself, right before the exec of the game in the same process.
  ( export XDG_RUNTIME_DIR="$work/runtime" STARTUP_RESULT="$work/result" LD_PRELOAD="$work/first_frame.so"
    STARTUP_EXEC_NS="${EPOCHREALTIME/./}000"; export STARTUP_EXEC_NS
    exec "$exe" ) >/dev/null 2>&1 || true
  [[ -s $work/result ]] || { echo "startup.sh: run $i presented no frame" >&2; exit 1; }
  read -r ns kb < "$work/result"
  ms=$(awk -v ns="$ns" 'BEGIN { printf "%.1f", ns / 1e6 }')
  echo "run $i: first frame after $ms ms, peak resident memory $((kb / 1024)) MB"
  times+=("$ms")
  ((kb > peak)) && peak=$kb
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "median: $median ms to the first frame; peak resident memory $((peak / 1024)) MB"
