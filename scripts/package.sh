#!/usr/bin/env bash
# Builds the release package, build/windows/Linguarde-<version>-win64.zip (Linguarde.exe,
# Tressol.exe, LISEZMOI.txt and LICENSE), and build/windows/SHA256SUMS beside it.
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_build windows
version=$(sed -n 's/^project(Linguarde VERSION \([0-9.]*\).*/\1/p' "$LINGUARDE_ROOT/CMakeLists.txt")
cmake "-DBUILD=$LINGUARDE_ROOT/build/windows" "-DVERSION=$version" "-DCMAKE_CPACK_COMMAND=$(command -v cpack)" \
  -P "$LINGUARDE_ROOT/packaging/make_package.cmake"
package="$LINGUARDE_ROOT/build/windows/Linguarde-$version-win64.zip"
linguarde_say "package: $package"
cmake -E tar tf "$package"
(cd "$LINGUARDE_ROOT/build/windows" && sha256sum -c SHA256SUMS)
