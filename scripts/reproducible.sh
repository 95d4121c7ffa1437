#!/usr/bin/env bash
# Checks that a commit gives the same release bytes wherever and whenever it is built:
# the commit (HEAD, or the one named) is cloned twice, into folders of different names and
# depths, built a moment apart, and the two programs and the zips are compared. With a
# published SHA256SUMS as second argument, the zip is also checked against it.
#   bash scripts/reproducible.sh [COMMIT [SHA256SUMS]]
source "$(dirname "$0")/setup.sh"

linguarde_install
commit=$(git -C "$LINGUARDE_ROOT" rev-parse "${1:-HEAD}")
published=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copies=("$work/a" "$work/une autre/copie plus longue")
for copy in "${copies[@]}"; do
  git clone -q "$LINGUARDE_ROOT" "$copy"
  git -C "$copy" checkout -q "$commit"
  linguarde_release "$copy"
  sleep 1
done
status=0
for file in bin/Linguarde.exe bin/Tressol.exe "$(basename "$LINGUARDE_PACKAGE")"; do
  first=$(sha256sum < "${copies[0]}/build/release/$file" | cut -d' ' -f1)
  second=$(sha256sum < "${copies[1]}/build/release/$file" | cut -d' ' -f1)
  if [ "$first" = "$second" ]; then
    printf '%s  %s\n' "$first" "$(basename "$file")"
  else
    linguarde_say "DIFFERENT: $file ($first, $second)"
    status=1
  fi
done
if [ -n "$published" ]; then
  (cd "${copies[0]}/build/release" && sha256sum -c "$(realpath "$published")") || status=1
fi
[ $status -eq 0 ] && linguarde_say "commit ${commit:0:12}: the same bytes from both builds"
exit $status
