#!/usr/bin/env python3
"""Writes the release archive: the same inputs always give the same bytes.

    package_zip.py OUT.zip FOLDER SOURCE=NAME...

Each SOURCE file is stored as FOLDER/NAME, in the order given, with a fixed time stamp (the
SOURCE_DATE_EPOCH variable, else 1 January 2020), fixed permissions and maximal deflate
compression, so two runs over the same files write identical archives."""

import os
import sys
import time
import zipfile


def stamp():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "1577836800"))
    return time.gmtime(max(epoch, 315532800))[:6]  # a zip cannot hold a time before 1980


def write_archive(out, folder, members):
    when = stamp()
    with zipfile.ZipFile(out, "w") as archive:
        for source, name in members:
            info = zipfile.ZipInfo(folder + "/" + name, date_time=when)
            info.create_system = 0  # MS-DOS attributes: the same from every machine
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as data:
                archive.writestr(info, data.read(), compresslevel=9)


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    members = []
    for member in argv[3:]:
        source, _, name = member.rpartition("=")
        if not source or not name:
            sys.exit("not SOURCE=NAME: " + member)
        members.append((source, name))
    write_archive(argv[1], argv[2], members)


if __name__ == "__main__":
    main(sys.argv)
