#!/usr/bin/env bash
# The whole test suite, from a fresh Debian machine: portable code natively with the
# sanitizers, then every Windows test program under Wine on a virtual display.
source "$(dirname "$0")/setup.sh"

linguarde_install
linguarde_prefix unmanaged
linguarde_prefix_144dpi
linguarde_build linux
linguarde_build windows

trap linguarde_cleanup EXIT
linguarde_virtual_display

linguarde_say "native tests (AddressSanitizer, UBSan)"
ctest --preset linux
linguarde_say "Windows tests under Wine"
ctest --preset windows
