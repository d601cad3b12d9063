#!/usr/bin/env python3
"""Builds the data file from its SQL script: make-datafile.py <script.sql> <out.mdb>.

The file is written beside the target under a temporary name and moved into place, so an
interrupted build never leaves a half-built data file behind."""
import os
import sqlite3
import sys


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: make-datafile.py <script.sql> <out.mdb>", file=sys.stderr)
        return 2
    script, target = sys.argv[1], sys.argv[2]
    with open(script, encoding="utf-8") as f:
        sql = f.read()
    temp = target + ".tmp"
    if os.path.exists(temp):
        os.remove(temp)
    db = sqlite3.connect(temp)
    try:
        db.executescript(sql)
        db.commit()
    finally:
        db.close()
    os.replace(temp, target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
