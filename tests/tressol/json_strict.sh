#!/bin/sh
# The tool's JSON Lines for a folder whose file names are not all UTF-8, read by Python's
# json module after a strict UTF-8 decoding: one line a file, the raw name in pathBytes,
# then the summary and the refusal, each line saying what it is.
set -eu
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
printf 'pas un programme' >"$folder/$(printf 'caf\351.exe')"
printf 'pas un programme' >"$folder/ok.exe"
"$1" --json "$folder" >"$folder/lines" || true
python3 - "$folder/lines" <<'PY'
import json, sys
lines = open(sys.argv[1], "rb").read().decode("utf-8", errors="strict").splitlines()
parsed = [json.loads(line) for line in lines]
assert [p["line"] for p in parsed] == ["file", "file", "summary", "message"], parsed
files = parsed[:2]
assert parsed[2]["notVb6Files"] == 2 and parsed[2]["journal"] is None, parsed[2]
assert parsed[3]["status"] == 3, parsed[3]
latin1 = next(f for f in files if "pathBytes" in f)
assert latin1["pathBytes"].endswith("636166e92e657865"), latin1
assert latin1["path"].endswith("caf\ufffd.exe"), latin1
assert all(f["vb6"] is False for f in files), files
print("2 passed, 0 failed")
PY
