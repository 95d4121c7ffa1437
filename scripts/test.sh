#!/usr/bin/env bash
# The whole test suite, from a fresh Debian machine: portable code natively with the
# sanitizers, then every Windows test program under Wine on a virtual display.
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_prefix unmanaged
linguarde_prefix_144dpi
linguarde_build linux
linguarde_build windows

linguarde_say "linting the Windows workflow"
linguarde_lint_workflows

trap linguarde_cleanup EXIT
linguarde_virtual_display

linguarde_say "native tests (AddressSanitizer, UBSan)"
ctest --preset linux

# A bounded fuzzing run of the tool's core, seeded with the real VB6 binaries if present.
linguarde_say "fuzzing the localisation tool's core for ${LINGUARDE_FUZZ_SECONDS:-30} s"
corpus="$LINGUARDE_ROOT/build/fuzz-corpus"
mkdir -p "$corpus"
samples="$LINGUARDE_ROOT/../shared/vb6-samples"
[ -d "$samples" ] && cp -n "$samples"/*.exe "$samples"/*.dll "$samples"/*.ocx "$corpus"/ 2>/dev/null || true
"$LINGUARDE_ROOT/build/linux/bin/tressol_fuzzer" -max_total_time="${LINGUARDE_FUZZ_SECONDS:-30}" \
  -max_len=65536 -print_final_stats=1 "$corpus" 2>"$LINGUARDE_ROOT/build/fuzz.log" ||
  { tail -n 40 "$LINGUARDE_ROOT/build/fuzz.log"; exit 1; }
grep -E '^stat::number_of_executed_units' "$LINGUARDE_ROOT/build/fuzz.log" >&2
linguarde_say "Windows tests under Wine"
# Folders that an interrupted run could not remove.
rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/linguarde-* "$LINGUARDE_WINEPREFIX_144DPI"/drive_c/users/*/Temp/linguarde-*
# A suite that fails is run once more, its first output kept above: a test that Wine's
# timing fails once is told apart from one that fails every time.
ctest --preset windows || {
  linguarde_say "running the failed Windows suites once more"
  ctest --preset windows --rerun-failed
}

linguarde_say "the release, built twice from two clones of this commit: the same bytes"
bash "$LINGUARDE_ROOT/scripts/reproducible.sh"
