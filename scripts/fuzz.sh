#!/usr/bin/env bash
# Builds every libFuzzer target with clang into build-fuzz/ and runs them all, at most one per
# core at a time, each for the given number of seconds from a seed corpus of our own files.
#   scripts/fuzz.sh SECONDS [TARGET...]      (no targets: all of them)
# Each target's corpus, log and findings go to build-fuzz/fuzz-run/TARGET/. The script lists the
# findings (crashes, leaks, time-outs, memory blow-ups) and exits 1 when there is any.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}"
shift
build="$root/build-fuzz"
run="$build/fuzz-run"

"$root/scripts/install-deps.sh"
"$root/scripts/install-deps.sh" "$root/scripts/packages-fuzz.txt"
# The fuzz targets alone: the tests and benchmarks run from the ordinary build.
CC=clang CXX=clang++ "$root/scripts/build.sh" "$build" -DTANZLOR_FUZZ=ON -DTANZLOR_TESTS=OFF -DTANZLOR_BENCH=OFF

# Seeds of each target: files of the sources (a leading "@" means the built tree). Every target
# the build makes needs a line here, so that a new reader cannot go unseeded by mistake.
declare -A seeds=(
  [lzss_fuzz]="@data/table/* assets/palette.txt @data/sound/pi.wav"
  [pack_fuzz]="@fuzz-run/seed-pack.bin"
  [lag_fuzz]="@fuzz-run/seed-pack.bin"
  [fuzz_image_loader]="@data/texture/font.bmp @data/texture/shot.bmp tests/framework3d/golden/cube_morph.png"
  [wave_fuzz]="@data/sound/*.wav"
  [stream_fuzz]="@fuzz-run/seed-ogg/* @data/sound/pi.wav"
  [table_fuzz]="assets/tables/* @data/table/*"
  [replay_fuzz]="tests/fuzz/world/seeds/lastreplay.qvrep"
  [score_fuzz]="tests/fuzz/world/seeds/qvscore.dat"
  [config_fuzz]="tests/fuzz/world/seeds/qvconfig.dat"
  [lfd_fuzz]="tests/fuzz/framework3d/seeds/*"
  [model_fuzz]="tests/framework3d/data/*.x tests/fuzz/d3dx/seeds/*.x"
  [xfile_fuzz]="tests/framework3d/data/*.x tests/fuzz/d3dx/seeds/*.x"
  [mesh_fuzz]="tests/framework3d/data/*.x tests/fuzz/d3dx/seeds/*.x"
  [effect_fuzz]="tests/framework3d/golden/*.fx tests/fuzz/d3dx/seeds/*.fx"
  [datagen_cells_fuzz]="assets/cells.csv"
  [datagen_grid_fuzz]="assets/palette.txt assets/sprites/*/*"
  [datagen_score_fuzz]="assets/music/*"
  [datagen_tables_fuzz]="assets/tables/*"
)

mkdir -p "$run"
# A small pack of our own data made by our own pack tool (the whole data.bin is too big to mutate).
rm -rf "$run/seed-pack-src" && mkdir -p "$run/seed-pack-src/table" "$run/seed-pack-src/texture"
cp "$build"/data/table/demo1.csv "$run/seed-pack-src/table/"
cp "$build"/data/texture/font.bmp "$run/seed-pack-src/texture/"
"$build/tools/pack/pack_tool" "$run/seed-pack-src" "$run/seed-pack.bin" >/dev/null
# The music's first pages: headers and the start of the sound, small enough to mutate quickly.
rm -rf "$run/seed-ogg" && mkdir -p "$run/seed-ogg"
for ogg in "$build"/data/bgm/*.ogg "$build"/fixbgm/*.ogg; do
  head -c 16384 "$ogg" > "$run/seed-ogg/$(basename "$ogg")"
done

mapfile -t all < <(find "$build" -path "$run" -prune -o -type f -perm -u+x -name '*fuzz*' -print |
  while read -r exe; do grep -q LLVMFuzzerTestOneInput "$exe" && basename "$exe"; done | sort)
targets=("$@")
((${#targets[@]})) || targets=("${all[@]}")
for t in "${targets[@]}"; do
  [[ -v "seeds[$t]" ]] || { echo "fuzz.sh: no seeds listed for $t" >&2; exit 2; }
done

for t in "${targets[@]}"; do
  dir="$run/$t"
  rm -rf "$dir/seeds" "$dir/findings" && mkdir -p "$dir/corpus" "$dir/seeds" "$dir/findings"
  for pattern in ${seeds[$t]}; do
    base="$root/"; [[ $pattern == @* ]] && { base="$build/"; pattern="${pattern#@}"; }
    for f in $base$pattern; do [[ -f $f ]] && cp "$f" "$dir/seeds/"; done
  done
done

# One target: the fuzzer itself stops at its first finding.
fuzz_one() {
  local t="$1" dir="$run/$1"
  local exe
  exe="$(find "$build" -path "$run" -prune -o -type f -name "$t" -print -quit)"
  # Absolute paths: some readers move to the executable's folder, as the game does.
  # Started in its own folder, so that whatever a reader writes beside itself stays there.
  (cd "$dir" && "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=1536 -print_final_stats=1 \
    -artifact_prefix="$dir/findings/" "$dir/corpus" "$dir/seeds" >"$dir/log" 2>&1) || true
}
export -f fuzz_one
export build run seconds
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'fuzz_one {}'

status=0
for t in "${targets[@]}"; do
  dir="$run/$t"
  runs="$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$dir/log" | grep -o '[0-9]*$' || echo '?')"
  mapfile -t found < <(find "$dir/findings" -type f)
  if ((${#found[@]})); then
    status=1
    echo "FINDING $t: ${found[*]}"
    grep -m3 -E 'ERROR|SUMMARY|runtime error' "$dir/log" | sed 's/^/    /'
  else
    echo "ok      $t: $runs runs, corpus $(find "$dir/corpus" -type f | wc -l) files"
  fi
done
exit "$status"
