#!/bin/sh
# The tool built with its catalog in the pseudo-locale, run through what a user meets: help,
# usage mistakes, views, sets, checks, a folder, a recursion, undos and their dry runs, each
# also in JSON. Every character it shows (outside JSON's own syntax and data fields) must
# stand between an entry's markers: a character outside them is a text no entry holds.
# $1: the pseudo-locale tool; $2: the VB6 samples' folder (its cases skipped without it).
set -u
tool=$1
samples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each run that changes files writes a journal of its own, in the work folder.
unset TRESSOL_JOURNAL
export XDG_STATE_HOME="$work/state"
mkdir -p "$work/state/tressol"
# made: the journal that the runs since the last call wrote, the one name the folder did not
# hold then.
kept=""
made=""
latest() {
  for name in $(ls "$work/state/tressol"); do
    case " $kept " in *" $name "*) ;; *) made="$work/state/tressol/$name" ;; esac
  done
  kept=$(ls "$work/state/tressol")
}
out="$work/out"
: >"$out"
run() {
  printf '\036 tressol %s\n' "$*" >>"$out"
  (cd "$work" && "$tool" "$@") >>"$out" 2>&1
  printf '\036 exit %s\n' "$?" >>"$out"
}
both() {
  run "$@"
  run --json "$@"
}

both --help
run --version
both
both --frob x.exe
both --set vb6FR.dll 0x40C
both --set vb6FR.dll 0x40Q '*' 0x0 x.exe
both --set 'C:/x' 0x40C '*' 0x0 x.exe
both --set vb6FR.dll 0x40C '*' 0x0 --check vb6FR.dll 0x40C '*' 0x0 x.exe
both --undo
both --dry-run x.exe
both --undo j.txt x.exe
both --set vb6FR.dll 0x40C '*' 0x0 x.exe 0x409
both ""
both missing.exe
both "$work/nowhere/*.exe"
printf 'pas un programme' >"$work/text.exe"
: >"$work/empty.dll"
both text.exe
both empty.dll
mkdir "$work/none"
both none
both --undo missing-journal.txt
both --undo text.exe

if [ -d "$samples" ]; then
  mkdir -p "$work/app/sub"
  for sample in Setup.exe Dictionary.dll SmallListView.ocx; do
    cp "$samples/$sample" "$work/app/$sample"
    cp "$samples/$sample" "$work/app/sub/$sample"
  done
  chmod u+w "$work/app/"* "$work/app/sub/"*
  ln -s Setup.exe "$work/app/link.exe"
  printf 'pas un programme' >"$work/app/notes.dll"
  both app/Setup.exe
  both app
  both --recurse app
  both --check vb6FR.dll 0x40C '*' 0x0 app/Setup.exe
  run --set vb6FR.dll 0x40C '*' 0x0 app/Setup.exe
  run --json --set vb6FR.dll 0x40C '*' 0x0 app/Setup.exe
  both --check vb6FR.dll 0x40C '*' 0x0 app/Setup.exe
  latest
  run --set vb6FR.dll 0x40C '~' 0x0 --recurse app
  latest
  changes=$made
  both --dry-run --undo "$changes"
  run --undo "$changes"
  latest
  undo=$made
  both --undo "$changes"
  run --undo "$undo"
  both --undo "$changes"
  printf 'rien' >"$work/app/sub/Dictionary.dll"
  both --undo "$undo"
  cp "$samples/Dictionary.dll" "$work/app/sub/Dictionary.dll"
  TRESSOL_JOURNAL="$changes" run --set vb6FR.dll 0x40C '~' 0x0 app/Setup.exe
  : >"$work/app/vb6FR.dll"
  both --set vb6FR.dll 0x40C '*' 0x0 app/Setup.exe
  both --set '*' 0x409 '~' 0x0 Setup.exe
  both --set '*' 0x409 '~' 0x0 app/Dictionary.dll
  both --no-journal --set vb6FR.dll 0x40C '~' 0x0 app/SmallListView.ocx
  both app/Setup.exe vb6FR.dll 0x40C '*' 0x0
  chmod a-w "$work/app/sub/Setup.exe"
  both --set vb6DE.dll 0x407 '*' 0x0 app/sub
  both --set XX.dll 0x12345 YY.dll 0x10 app/sub/Dictionary.dll
  both app/sub/Dictionary.dll
  chmod u+w "$work/app/sub/Setup.exe"
else
  echo "pseudo_locale: no VB6 samples in $samples: their cases are skipped" >&2
fi

python3 - "$out" <<'PY'
import json, sys
START, END = "\u27e6", "\u27e7"
# JSON fields that hold the report's words; the others are data.
PROSE = {"words", "reason", "short", "wayBackCaveat", "effect"}
text = open(sys.argv[1], "rb").read().decode("utf-8", errors="replace")

def outside(s, depth=0):
    """The characters of s that stand outside every entry's markers, whitespace aside, and
    the depth at its end: an entry wrapped over several lines goes on at the next one."""
    found = []
    for c in s:
        if c == START:
            depth += 1
        elif c == END:
            depth = max(depth - 1, 0)
        elif depth == 0 and not c.isspace():
            found.append(c)
    return "".join(found), depth

total, lines = 0, []
command = ""
depth = 0
for line in text.split("\n"):
    if line.startswith("\036"):
        command = line
        depth = 0
        continue
    try:
        value = json.loads(line)
    except ValueError:
        value = None
    if isinstance(value, dict):
        pieces = [v for k, v in value.items() if k in PROSE and isinstance(v, str)]
        depth = 0
    else:
        pieces = [line]
    for piece in pieces:
        left, after = outside(piece, depth)
        if not isinstance(value, dict):
            depth = after
        if left:
            total += len(left)
            lines.append(f"{command[2:]}: {piece[:160]}")
for line in lines[:60]:
    print("outside the catalog:", line)
print(f"{total} characters outside the catalog, on {len(lines)} lines")
sys.exit(1 if total else 0)
PY
