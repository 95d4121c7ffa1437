#!/usr/bin/env bash
# Builds the release package, build/windows/Linguarde-<version>-win64.zip: Linguarde.exe,
# Tressol.exe and LISEZMOI.txt.
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_build windows
(cd "$LINGUARDE_ROOT/build/windows" && cpack -G ZIP >/dev/null)
package=$(ls "$LINGUARDE_ROOT"/build/windows/Linguarde-*-win64.zip)
linguarde_say "package: $package"
cmake -E tar tf "$package"
