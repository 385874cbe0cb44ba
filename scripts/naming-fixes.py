#!/usr/bin/env python3
"""Keeps from clang-tidy's exported naming fixes only the renames that cannot
change what a name refers to, and writes them for clang-apply-replacements.

clang-tidy renames a parameter even where its new name is already taken in
the function (a local, a field, a method of the class): the result may not
compile, or may quietly make a field's uses refer to the parameter. A rename
is kept only when its new name appears nowhere in the text it touches: in a
source, from the first renamed place to the end of that function (the closing
brace at the start of a line); in a header, the line of a declaration without
a body, else the whole header. The others are
printed, for a hand rename.

Usage: naming-fixes.py FIXES_YAML OUT_DIR
"""
import os
import re
import sys

import yaml

fixes_path, out_dir = sys.argv[1], sys.argv[2]
with open(fixes_path, encoding="utf-8") as f:
    fixes = yaml.safe_load(f) or {}

texts = {}


def text_of(path):
    if path not in texts:
        with open(path, encoding="utf-8", errors="surrogateescape") as f:
            texts[path] = f.read().encode("utf-8", errors="surrogateescape")
    return texts[path]


def region(path, offsets):
    data = text_of(path)
    if not path.endswith(".cpp"):
        # A declaration on one line of a header: its own line; anything
        # longer (an inline body, a field): the whole header.
        start = data.rfind(b"\n", 0, min(offsets)) + 1
        end = data.find(b"\n", max(offsets))
        end = len(data) if end < 0 else end
        line = data[start:end]
        return line if b"{" not in line and b"\n" not in line else data
    first, last = min(offsets), max(offsets)
    end = data.find(b"\n}", last)
    return data[first:] if end < 0 else data[first:end + 2]


# A declaration in a header comes once from every source that includes it,
# each time with the uses in that source: keep all of them, or none.
diagnostics = [d for d in fixes.get("Diagnostics", []) if (d.get("DiagnosticMessage", {}).get("Replacements"))]
refused = {}
for diag in diagnostics:
    message = diag["DiagnosticMessage"]
    key = (message.get("FilePath"), message.get("FileOffset"))
    replacements = message["Replacements"]
    new_name = replacements[0]["ReplacementText"]
    old_name = re.search(r"'([^']*)'", message.get("Message", ""))
    if old_name and old_name.group(1).startswith("m_") and not new_name.startswith("m_"):
        # A public field with a private field's name: making it private is
        # a hand change, not a rename.
        refused[key] = f'{message.get("FilePath")}: {message.get("Message")} (a public field named as a private one)'
        continue
    word = re.compile(rb"\b" + re.escape(new_name.encode()) + rb"\b")
    by_file = {}
    for r in replacements:
        by_file.setdefault(r["FilePath"], []).append(r["Offset"])
    if any(word.search(region(path, offsets)) for path, offsets in by_file.items()):
        refused[key] = f'{message.get("FilePath")}: {message.get("Message")} (the new name "{new_name}" is taken there)'
kept = [d for d in diagnostics
        if (d["DiagnosticMessage"].get("FilePath"), d["DiagnosticMessage"].get("FileOffset")) not in refused]
skipped = sorted(set(refused.values()))
renamed = {(d["DiagnosticMessage"].get("FilePath"), d["DiagnosticMessage"].get("FileOffset")) for d in kept}

os.makedirs(out_dir, exist_ok=True)
with open(os.path.join(out_dir, "naming.yaml"), "w", encoding="utf-8") as f:
    yaml.safe_dump({"MainSourceFile": "", "Diagnostics": kept}, f, allow_unicode=True)
for line in skipped:
    print(line)
print(f"naming-fixes: {len(renamed)} names renamed, {len(skipped)} left for a hand rename", file=sys.stderr)
