#!/usr/bin/env bash
# Builds one fuzz target (clang, into build-fuzz/) and runs it over its seed
# corpus: the project's own data files from build/bin plus the text seeds in
# fuzz/seeds/. New inputs collect in build-fuzz/corpus/TARGET; a finding is
# written to the current folder as crash-*/leak-*/timeout-* and fails the run.
#
#   fuzz/run.sh TARGET [SECONDS] [libFuzzer options...]
#
# TARGET: fuzz_sprite, fuzz_tga, fuzz_shader_cache, fuzz_settings, fuzz_command_line, fuzz_recording.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz/run.sh TARGET [SECONDS] [libFuzzer options...]}
seconds=${2:-60}
shift $(( $# < 2 ? $# : 2 ))

if [ ! -f "$root/build-fuzz/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZENTREL_FUZZ=ON -DZENTREL_TESTS=OFF -DZENTREL_BENCH=OFF >/dev/null
fi
cmake --build "$root/build-fuzz" --target "$target"
[ -f "$root/build/bin/font.tga" ] || "$root/scripts/build.sh"

seeds=$root/build-fuzz/seeds/$target
corpus=$root/build-fuzz/corpus/$target
mkdir -p "$seeds" "$corpus"
bin=$root/build/bin
case $target in
  fuzz_sprite) cp "$bin"/*.png "$seeds"/ ;;
  fuzz_tga) cp "$bin"/font.tga "$bin"/icon.tga "$seeds"/ ;;
  fuzz_shader_cache) cp "$bin"/cache/*.cache "$seeds"/ ;;
  fuzz_recording) cp "$root"/tests/game/data/*.zrec "$seeds"/ ;;
  *) cp "$root"/fuzz/seeds/"$target"/* "$seeds"/ ;;
esac

"$root/build-fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$@" "$corpus" "$seeds"
