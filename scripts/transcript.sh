#!/bin/sh
# Writes docs/catalog.md, every sentence of both programs with sample data, from their
# catalogs (a native build of the transcript program).
set -eu
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux --target catalog_transcript >/dev/null
build/linux/bin/catalog_transcript >docs/catalog.md
echo "docs/catalog.md written"
