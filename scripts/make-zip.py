#!/usr/bin/env python3
"""Packs a folder into a zip that is the same bits for the same files: entries in one order,
each with the one time given (UTC) and one mode, compressed.

    make-zip.py OUT.zip FOLDER NAME SOURCE_DATE_EPOCH

The entries are NAME/..., the folder's contents under the name the user will unpack.
"""
import os
import sys
import time
import zipfile


def main(out, folder, name, epoch):
    # A zip's times are DOS times, from 1980 on.
    when = time.gmtime(max(int(epoch), 315532800))[:6]
    paths = []
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        relative = os.path.relpath(root, folder)
        prefix = name if relative == "." else f"{name}/{relative}"
        paths.append((prefix + "/", None))
        paths += [(f"{prefix}/{f}", os.path.join(root, f)) for f in sorted(files)]
    with zipfile.ZipFile(out, "w") as archive:
        for entry, source in sorted(paths):
            info = zipfile.ZipInfo(entry, date_time=when)
            info.create_system = 3  # Unix, so that the modes below are read
            if source is None:
                info.external_attr = (0o40755 << 16) | 0x10
                archive.writestr(info, b"")
            else:
                info.external_attr = 0o100644 << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(source, "rb") as f:
                    archive.writestr(info, f.read(), compresslevel=9)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
