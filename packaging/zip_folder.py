#!/usr/bin/env python3
"""Writes a zip archive of folders that is the same byte for byte every time.

    zip_folder.py ARCHIVE EPOCH BASE NAME...

stores every folder and file below BASE/NAME (for each NAME) under its path
relative to BASE, in sorted order, each with the time EPOCH (seconds since
1970, UTC, not before 1980) and the mode 0755 (folders, and files the owner
may run) or 0644. No owner, no access or change times: nothing of the
machine or the moment of the build gets into the archive.
"""
import os
import stat
import sys
import time
import zipfile


def entries(base, name):
    top = os.path.join(base, name)
    if not os.path.isdir(top):
        sys.exit(f"zip_folder.py: {top} is not a folder")
    found = [name]
    for folder, dirs, files in os.walk(top):
        rel = os.path.relpath(folder, base)
        found += [os.path.join(rel, d) for d in dirs]
        found += [os.path.join(rel, f) for f in files]
    return found


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    archive, epoch, base, names = argv[1], int(argv[2]), argv[3], argv[4:]
    when = time.gmtime(max(epoch, 315532800))[:6]
    paths = sorted(p for n in names for p in entries(base, n))
    tmp = archive + ".part"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as out:
        for rel in paths:
            full = os.path.join(base, rel)
            mode = os.lstat(full).st_mode
            if stat.S_ISLNK(mode):
                sys.exit(f"zip_folder.py: {full} is a symbolic link")
            folder = stat.S_ISDIR(mode)
            info = zipfile.ZipInfo(rel.replace(os.sep, "/") + ("/" if folder else ""), when)
            info.create_system = 3
            run = folder or mode & stat.S_IXUSR
            info.external_attr = ((stat.S_IFDIR if folder else stat.S_IFREG) |
                                  (0o755 if run else 0o644)) << 16
            if folder:
                info.external_attr |= 0x10
                out.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(full, "rb") as f:
                    out.writestr(info, f.read())
    os.replace(tmp, archive)


if __name__ == "__main__":
    main(sys.argv)
