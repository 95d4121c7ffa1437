#!/usr/bin/env bash
# Builds the release package, build/release/Linguarde-<version>-win64.zip (Linguarde.exe,
# Tressol.exe, LISEZMOI.txt and LICENSE), and build/release/SHA256SUMS beside it: the same
# bytes from any clone of the same commit (scripts/reproducible.sh checks it).
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_release "$LINGUARDE_ROOT"
linguarde_say "package: $LINGUARDE_PACKAGE"
python3 -m zipfile -l "$LINGUARDE_PACKAGE"
(cd "$(dirname "$LINGUARDE_PACKAGE")" && sha256sum -c SHA256SUMS)
