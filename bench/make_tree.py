#!/usr/bin/env python3
"""Builds a reproducible folder tree for the size benchmark.

usage: make_tree.py DEST ENTRIES

The tree looks like a developer's disk: projects with package folders nested several levels
deep (many small files), version-control object stores (hidden folders full of small files),
hidden files, a few large files, hard links (a deduplicating package store) and a few symbolic
links, including loops and a dangling one. The same DEST and ENTRIES always give the same tree.

It is built beside DEST and renamed into place when complete, so an existing DEST is a finished
tree and is reused as it is.
"""

import os
import random
import shutil
import sys

SEED = 20250101
FILLER = b"v" * (1 << 20)


class Builder:
    def __init__(self, root, target):
        self.root = root
        # Room is left for the hard links and symbolic links made at the end.
        self.limit = target - target // 100 - 20
        self.count = 0
        self.rng = random.Random(SEED)
        self.linkable = []  # files a hard link may point at

    def full(self):
        return self.count >= self.limit

    def folder(self, path):
        os.mkdir(path)
        self.count += 1

    def file(self, path, size):
        with open(path, "wb") as out:
            left = size
            while left > 0:
                chunk = min(left, len(FILLER))
                out.write(FILLER[:chunk])
                left -= chunk
        self.count += 1
        if len(self.linkable) < 5000 and self.rng.random() < 0.05:
            self.linkable.append(path)

    def small_size(self):
        # Mostly under one block, a tail up to some tens of kilobytes.
        return int(self.rng.lognormvariate(6.5, 1.4)) % 60000

    def package(self, path, depth):
        self.folder(path)
        self.file(os.path.join(path, "package.json"), 300 + self.rng.randrange(2000))
        for name in ("README.md", "LICENSE"):
            if self.rng.random() < 0.7:
                self.file(os.path.join(path, name), self.small_size())
        lib = os.path.join(path, "lib")
        self.folder(lib)
        for i in range(self.rng.randrange(2, 14)):
            self.file(os.path.join(lib, "module%d.js" % i), self.small_size())
        if self.rng.random() < 0.3:
            sub = os.path.join(lib, "internal")
            self.folder(sub)
            for i in range(self.rng.randrange(1, 8)):
                self.file(os.path.join(sub, "part%d.js" % i), self.small_size())
        if self.rng.random() < 0.2:
            self.file(os.path.join(path, ".npmignore"), 40)
        if depth < 5 and self.rng.random() < 0.35 and not self.full():
            nested = os.path.join(path, "node_modules")
            self.folder(nested)
            for i in range(self.rng.randrange(1, 6)):
                if self.full():
                    break
                self.package(os.path.join(nested, "dep%d" % i), depth + 1)

    def object_store(self, path):
        self.folder(path)
        for fan in range(self.rng.randrange(20, 60)):
            bucket = os.path.join(path, "%02x" % fan)
            self.folder(bucket)
            for i in range(self.rng.randrange(3, 20)):
                self.file(os.path.join(bucket, "%038x" % self.rng.getrandbits(152)),
                          self.small_size())

    def project(self, path):
        self.folder(path)
        self.file(os.path.join(path, ".DS_Store"), 6148)
        self.file(os.path.join(path, ".env"), 120)
        git = os.path.join(path, ".git")
        self.folder(git)
        self.file(os.path.join(git, "HEAD"), 23)
        self.object_store(os.path.join(git, "objects"))
        modules = os.path.join(path, "node_modules")
        self.folder(modules)
        for i in range(self.rng.randrange(30, 90)):
            if self.full():
                break
            self.package(os.path.join(modules, "pkg%d" % i), 1)

    def build(self):
        self.folder(self.root)
        media = os.path.join(self.root, "Media")
        self.folder(media)
        for i, megabytes in enumerate((4, 8, 16, 24, 40, 64)):
            self.file(os.path.join(media, "clip%d.mov" % i), megabytes << 20)
        projects = os.path.join(self.root, "Projects")
        self.folder(projects)
        store = os.path.join(self.root, ".store")
        self.folder(store)
        index = 0
        while not self.full():
            self.project(os.path.join(projects, "project%03d" % index))
            index += 1
        # A deduplicating store: the same files reached by a second path.
        for i, path in enumerate(self.linkable[: max(1, self.limit // 100)]):
            os.link(path, os.path.join(store, "link%05d" % i))
            self.count += 1
        links = {
            "to-projects": "Projects",
            "self-loop": ".",
            "up-loop": "..",
            "ping": "pong",
            "pong": "ping",
            "dangling": "nowhere/at/all",
            "to-clip": "Media/clip5.mov",
        }
        for name, target in links.items():
            os.symlink(target, os.path.join(self.root, name))
            self.count += 1


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    dest = os.path.abspath(sys.argv[1])
    target = int(sys.argv[2])
    if os.path.isdir(dest):
        return
    partial = dest + ".partial"
    shutil.rmtree(partial, ignore_errors=True)
    os.makedirs(os.path.dirname(dest), exist_ok=True)
    builder = Builder(partial, target)
    builder.build()
    os.rename(partial, dest)
    print("made %s: %d entries" % (dest, builder.count))


if __name__ == "__main__":
    main()
