#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on its files' contents and names.

make_zip.py ARCHIVE EPOCH FOLDER FILE... : each file as FOLDER/<its name>, sorted by name,
dated EPOCH (seconds, UTC; the commit's time), mode 0644, no extra fields.
"""
import os
import sys
import time
import zipfile


def main(archive, epoch, folder, files):
    date = time.gmtime(int(epoch))[:6]
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
        for path in sorted(files, key=os.path.basename):
            entry = zipfile.ZipInfo(folder + "/" + os.path.basename(path), date_time=date)
            entry.create_system = 3  # Unix, whatever system packs it
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                out.writestr(entry, source.read(), compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
