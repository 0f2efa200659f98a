#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz, generates their seed corpora and runs one target for a given time.
#
#   scripts/fuzz.sh bmp_reader 600     # run the bitmap reader target for 10 minutes
#   scripts/fuzz.sh jpeg_load 600      # run JPEG load + decode for 10 minutes
#
# Extra arguments after the seconds go to libFuzzer (e.g. -jobs=2). The growing
# corpus is kept in build/fuzz/corpus/TARGET, crashing inputs land in
# build/fuzz/artifacts/TARGET/. Runs under nice: the machine may be shared.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 2 ]]; then
  echo "usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]  (TARGET: bmp_reader, jpeg_load)" >&2
  exit 2
fi
target=$1 seconds=$2
shift 2

build=build/fuzz
if [[ ! -f $build/CMakeCache.txt ]]; then
  CC=clang CXX=clang++ cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUIMBLY_FUZZ=ON -DQUIMBLY_TESTS=OFF -DQUIMBLY_BENCH=OFF
fi
nice -n 10 cmake --build $build --target "fuzz_$target" fuzz_make_seeds

# Seeds are made afresh each run from the bitmap writer and cjpeg.
seeds=$build/seeds
rm -rf "$seeds"
ASAN_OPTIONS=detect_leaks=0 $build/fuzz/fuzz_make_seeds "$seeds"
mkdir -p "$seeds/jpeg"
for src in "$seeds"/jpeg-src/*.bmp; do
  name=$(basename "$src" .bmp)
  i=0
  for options in "" "-grayscale" "-progressive" "-optimize" "-restart 1" "-sample 1x1" \
                 "-sample 2x1" "-quality 5" "-smooth 50" "-progressive -grayscale" "-arithmetic" \
                 "-dct float -quality 100"; do
    # shellcheck disable=SC2086 # options are separate words on purpose
    if cjpeg $options -outfile "$seeds/jpeg/$name-$i.jpg" "$src" 2>/dev/null; then
      # A truncated copy too: the decoder must finish it without failing.
      head -c 300 "$seeds/jpeg/$name-$i.jpg" > "$seeds/jpeg/$name-$i-cut.jpg"
    fi
    i=$((i + 1))
  done
done
case $target in
  bmp_reader) seed_dir=$seeds/bmp ;;
  jpeg_load) seed_dir=$seeds/jpeg ;;
  *) seed_dir=$seeds ;;
esac

corpus=$build/corpus/$target
artifacts=$build/artifacts/$target
mkdir -p "$corpus" "$artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec nice -n 10 $build/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$@" "$corpus" "$seed_dir"
