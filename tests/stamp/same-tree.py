#!/usr/bin/env python3
"""Prints "same" when two folders hold the same files (names and bytes), else what differs.

    same-tree.py FOLDER FOLDER [IGNORED_FOLDER_NAME...]
"""
import filecmp
import os
import sys


def files(top, ignored):
    found = []
    for folder, subfolders, names in os.walk(top):
        subfolders[:] = [s for s in subfolders if s not in ignored]
        found += [os.path.relpath(os.path.join(folder, n), top) for n in names]
    return sorted(found)


ignored = set(sys.argv[3:])
a, b = files(sys.argv[1], ignored), files(sys.argv[2], ignored)
if a != b:
    print("names differ:", sorted(set(a) ^ set(b)))
elif not a:
    print("both empty")
else:
    bad = [f for f in a if not filecmp.cmp(os.path.join(sys.argv[1], f), os.path.join(sys.argv[2], f), shallow=False)]
    print("%s differs" % bad[0] if bad else "same")
