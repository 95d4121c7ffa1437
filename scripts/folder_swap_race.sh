#!/usr/bin/env bash
# A sub-folder swapped with a link to a folder outside the tree, over and over, while the
# tool changes the tree: counts the runs that changed a file outside. Not part of CI.
#   scripts/folder_swap_race.sh [runs] [tool]   (defaults: 500, build/linux/bin/tressol)
# RUNNER=wine runs a Windows build (Tressol.exe) in the Wine prefix of WINEPREFIX.
set -euo pipefail

runs=${1:-500}
tool=$(realpath "${2:-$(dirname "$0")/../build/linux/bin/tressol}")
sample=/work/shared/vb6-samples/Setup.exe
work=$(mktemp -d)
swapper=
stop_swapper() {
  if [[ -n $swapper ]]; then
    kill "$swapper" 2>/dev/null || true
    wait "$swapper" 2>/dev/null || true
    swapper=
  fi
}
trap 'stop_swapper; rm -rf "$work"' EXIT

# Exchanges two names atomically, once or until stopped.
cat >"$work/exchange.c" <<'EOF'
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
  const int forever = argc > 3 && strcmp(argv[3], "loop") == 0;
  do {
    if (renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) != 0) {
      perror("renameat2");
      return 1;
    }
  } while (forever);
  return 0;
}
EOF
cc -O2 -o "$work/exchange" "$work/exchange.c"

mkdir -p "$work/App/sub" "$work/outside" "$work/state"
ln -s "$work/outside" "$work/link"
copies() {
  for name in a b c d e; do
    install -m 644 "$sample" "$1/$name.exe"
  done
}

changedRuns=0
changedFiles=0
refusedRuns=0
started=$(date +%s)
for ((run = 1; run <= runs; ++run)); do
  copies "$work/App"
  copies "$work/App/sub"
  copies "$work/outside"
  "$work/exchange" "$work/App/sub" "$work/link" loop &
  swapper=$!
  # shellcheck disable=SC2086 # RUNNER is a command, possibly empty
  (cd "$work" && XDG_STATE_HOME="$work/state" ${RUNNER:-} "$tool" --recurse --set vb6FR.dll \
    0x40C '*' 0x409 App </dev/null >/dev/null 2>&1) || refusedRuns=$((refusedRuns + 1))
  stop_swapper
  # Put the real folder back under its name before the next run.
  if [[ -L $work/App/sub ]]; then "$work/exchange" "$work/App/sub" "$work/link"; fi
  rm -f "$work/state/tressol/"*
  changed=0
  for file in "$work/outside/"*.exe; do
    cmp -s "$file" "$sample" || changed=$((changed + 1))
  done
  if ((changed > 0)); then
    changedRuns=$((changedRuns + 1))
    changedFiles=$((changedFiles + changed))
  fi
done
echo "$runs runs in $(($(date +%s) - started)) s with $tool: $changedRuns changed files" \
  "outside the folder ($changedFiles files in all); $refusedRuns ended with a failed entry"
