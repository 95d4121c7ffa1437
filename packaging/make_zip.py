#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on its files' contents and names.

make_zip.py ARCHIVE EPOCH FILE... : the entries in the order given, each under its base
name, dated EPOCH (seconds, UTC; the commit's time), mode 0644, no extra fields.
"""
import os
import sys
import time
import zipfile


def main(archive, epoch, files):
    date = time.gmtime(int(epoch))[:6]
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), date_time=date)
            entry.create_system = 3  # Unix, whatever system packs it
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                out.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3:])
