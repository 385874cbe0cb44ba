#!/usr/bin/env python3
"""Builds the program's character database from the Unicode Han database.

Reads the Unihan files and CJKRadicals.txt of the Unicode Character Database
and produces the four stored items the program carries inside itself:

  0 "Unihan"   Unihan-fin.txt  one record per ideograph (default zlib level)
  1 "Radicals" radicals.txt    the 214 radicals (maximum zlib level)
  2 "Numbers"  numbers.rtf     pinyin of the 14 numeral characters
  3 "Pinyin"   pinyin.rtf      the 24 tone-marked vowels

A stored item is a 32-bit little-endian length followed by a zlib stream
whose inflated content is a 32-bit little-endian size followed by the file.

Unihan record: "@" HEX ";" simplified ";" traditional ";" radical-strokes ";"
readings ";" total strokes ";" definition, CR LF line ends, UTF-8 text.

Only the Python standard library is used, so that the build needs nothing
beyond python3 and the unicode-data package.
"""

import argparse
import bz2
import io
import os
import struct
import sys
import unicodedata
import zipfile
import zlib

UNIHAN_FILES = ("Unihan_Readings.txt", "Unihan_IRGSources.txt",
                "Unihan_Variants.txt")
WANTED_FIELDS = {
    "kSimplifiedVariant", "kTraditionalVariant", "kRSUnicode",
    "kTotalStrokes", "kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin",
    "kDefinition",
}

# Combining marks that carry the four tones once a syllable is decomposed.
TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030C": "3", "\u0300": "4"}


class DataError(Exception):
    pass


def open_unihan_file(directory, name):
    """Returns the text of one Unihan file: plain, .bz2, or inside Unihan.zip."""
    plain = os.path.join(directory, name)
    if os.path.isfile(plain):
        with open(plain, "rb") as f:
            return f.read().decode("utf-8")
    packed = plain + ".bz2"
    if os.path.isfile(packed):
        with bz2.open(packed, "rb") as f:
            return f.read().decode("utf-8")
    archive = os.path.join(directory, "Unihan.zip")
    if os.path.isfile(archive):
        with zipfile.ZipFile(archive) as z:
            if name in z.namelist():
                return z.read(name).decode("utf-8")
    raise DataError("Unihan file %s not found in %s (as .txt, .txt.bz2 or "
                    "inside Unihan.zip); install the unicode-data package or "
                    "set KORVANA_UNIHAN_DIR" % (name, directory))


def read_unihan(directory):
    """Maps code point -> {field: value} for the fields the records need."""
    chars = {}
    for name in UNIHAN_FILES:
        for line in open_unihan_file(directory, name).splitlines():
            if not line.startswith("U+"):
                continue
            parts = line.split("\t", 2)
            if len(parts) != 3 or parts[1] not in WANTED_FIELDS:
                continue
            cp = int(parts[0][2:], 16)
            chars.setdefault(cp, {})[parts[1]] = parts[2].strip()
    return chars


def syllable_with_digit(syllable):
    """zhōng -> ZHONG1, ma -> MA5, nǚ -> NÜ3, ḿ -> M2."""
    tone = "5"
    kept = []
    for ch in unicodedata.normalize("NFD", syllable):
        if ch in TONE_MARKS:
            tone = TONE_MARKS[ch]
        else:
            kept.append(ch)
    plain = unicodedata.normalize("NFC", "".join(kept))
    return plain.upper() + tone


def syllable_without_tone(syllable):
    """nǚ -> nü: the tone mark goes, the diaeresis stays."""
    kept = [ch for ch in unicodedata.normalize("NFD", syllable)
            if ch not in TONE_MARKS]
    return unicodedata.normalize("NFC", "".join(kept))


def dictionary_readings(value):
    """Readings of kTGHZ2013, kXHC1983 and kHanyuPinyin:
    space-separated entries "locations:reading,reading"."""
    out = []
    for entry in value.split():
        if ":" in entry:
            entry = entry.split(":", 1)[1]
        out.extend(r for r in entry.split(",") if r)
    return out


def readings(fields):
    found = []
    sources = [fields.get("kMandarin", "").split()]
    for key in ("kTGHZ2013", "kXHC1983", "kHanyuPinyin"):
        sources.append(dictionary_readings(fields.get(key, "")))
    for source in sources:
        for reading in source:
            converted = syllable_with_digit(reading)
            if converted not in found:
                found.append(converted)
    return " ".join(found)


def variants(value):
    """"U+4E48 U+5E7A" -> "4E48 U+5E7A": only the first "U+" goes."""
    value = " ".join(value.split())
    return value[2:] if value.startswith("U+") else value


def unihan_record(cp, fields):
    definition = fields.get("kDefinition", "")
    # "@" marks the start of a record and nothing else; line breaks would
    # split a record.
    definition = definition.replace("@", "\uFF20")
    definition = " ".join(definition.splitlines())
    strokes = fields.get("kTotalStrokes", "").split()
    return ";".join([
        "@%X" % cp,
        variants(fields.get("kSimplifiedVariant", "")),
        variants(fields.get("kTraditionalVariant", "")),
        fields.get("kRSUnicode", ""),
        readings(fields),
        strokes[0] if strokes else "",
        definition,
    ])


def unihan_file(chars):
    # Every ideograph has a radical-stroke count, so the records are those
    # of the code points that have one.
    lines = [unihan_record(cp, chars[cp]) for cp in sorted(chars)
             if "kRSUnicode" in chars[cp]]
    # CR LF after every record, then one empty line.
    return ("\r\n".join(lines) + "\r\n\r\n").encode("utf-8")


def radicals_file(directory, chars, expected):
    path = os.path.join(directory, "CJKRadicals.txt")
    if not os.path.isfile(path):
        raise DataError("%s not found; install the unicode-data package or "
                        "set KORVANA_UNIHAN_DIR" % path)
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            number, _radical, ideograph = [p.strip() for p in line.split(";")]
            if "'" in number:
                continue
            cp = int(ideograph, 16)
            mandarin = chars.get(cp, {}).get("kMandarin", "").split()
            name = syllable_without_tone(mandarin[0]) if mandarin else ""
            rows.append((int(number), "@%d;%d;%s" % (int(number), cp, name)))
    rows.sort()
    if expected and len(rows) != expected:
        raise DataError("%s holds %d radicals, expected %d"
                        % (path, len(rows), expected))
    # Like the Unihan file, the last record is followed by an empty line, so
    # that the loaded text still ends the last record with a line break and
    # every record reads alike.
    return ("".join(r + "\r\n" for _, r in rows) + "\r\n").encode("utf-8")


def rtf_text(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\n":
            out.append("\\par\n")
        elif code < 128:
            out.append(ch)
        else:
            out.append("\\u%d?" % (code if code < 32768 else code - 65536))
    return "".join(out)


def rtf_document(text):
    return ("{\\rtf1\\ansi\\ansicpg1252\\deff0"
            "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}\n"
            "\\pard\\plain\\f0\\fs22 " + rtf_text(text) + "}\n").encode("ascii")


# The numeral syllables in the order the numbers drill addresses them, line
# 1 to 14; each is followed by one blank.
NUMERAL_SYLLABLES = ["y\u012B", "\u00E8r", "s\u0101n", "s\u00EC", "w\u01D4",
                     "li\u00F9", "q\u012B", "b\u0101", "ji\u01D4",
                     "sh\u00ED", "l\u00EDng", "b\u0103i", "qi\u0101n",
                     "w\u00E0n"]

# The 24 tone vowels in the order of the editor's tone-vowel buttons; every
# third tone is a caron, ǎ (U+01CE) like the others, never the breve ă.
TONE_VOWELS = ("\u0101\u00E1\u01CE\u00E0" "\u0113\u00E9\u011B\u00E8"
               "\u012B\u00ED\u01D0\u00EC" "\u014D\u00F3\u01D2\u00F2"
               "\u016B\u00FA\u01D4\u00F9" "\u01D6\u01D8\u01DA\u01DC")


def numbers_file():
    return rtf_document("\n".join(s + " " for s in NUMERAL_SYLLABLES))


def pinyin_file():
    return rtf_document(TONE_VOWELS)


def stored_item(data, level):
    stream = zlib.compress(struct.pack("<I", len(data)) + data, level)
    return struct.pack("<I", len(stream)) + stream


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def cpp_literal(data):
    """A C++ string literal of the bytes, in lines of moderate length."""
    lines = []
    line = []
    width = 0
    for b in data:
        if 32 <= b < 127 and b not in (34, 92, 63):
            piece = chr(b)
        else:
            piece = "\\%03o" % b
        line.append(piece)
        width += len(piece)
        if width >= 100:
            lines.append('"' + "".join(line) + '"')
            line, width = [], 0
    if line or not lines:
        lines.append('"' + "".join(line) + '"')
    return "\n".join(lines)


def cpp_source(items):
    out = io.StringIO()
    out.write("// Generated by tools/gen_chardb.py from the Unicode Han "
              "database. Do not edit.\n")
    out.write('#include "reference/EmbeddedStoredItems.h"\n\n')
    out.write("namespace korvana::embedded {\nnamespace {\n")
    for i, (_, _, data) in enumerate(items):
        out.write("const char item%d[] =\n%s;\n" % (i, cpp_literal(data)))
    out.write("} // namespace\n\n")
    out.write("const EmbeddedStoredItem storedItems[] = {\n")
    for i, (name, file_name, data) in enumerate(items):
        out.write('    {"%s", "%s", item%d, %d},\n'
                  % (name, file_name, i, len(data)))
    out.write("};\nconst int storedItemCount = %d;\n\n" % len(items))
    out.write("} // namespace korvana::embedded\n")
    return out.getvalue().encode("utf-8")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unihan-dir", default="/usr/share/unicode")
    parser.add_argument("--cpp", help="write the stored items as C++ source")
    parser.add_argument("--items-dir",
                        help="write each stored item as item<N>.bin")
    parser.add_argument("--plain-dir",
                        help="write the four files uncompressed")
    parser.add_argument("--expect-radicals", type=int, default=214,
                        help="number of radicals required (0: any)")
    args = parser.parse_args(argv)

    try:
        chars = read_unihan(args.unihan_dir)
        if not chars:
            raise DataError("no Unihan records found in " + args.unihan_dir)
        files = [
            ("Unihan", "Unihan-fin.txt", unihan_file(chars), 6),
            ("Radicals", "radicals.txt",
             radicals_file(args.unihan_dir, chars, args.expect_radicals), 9),
            ("Numbers", "numbers.rtf", numbers_file(), 6),
            ("Pinyin", "pinyin.rtf", pinyin_file(), 6),
        ]
    except (DataError, OSError, ValueError) as e:
        sys.stderr.write("gen_chardb: error: %s\n" % e)
        return 1

    items = [(name, file_name, stored_item(data, level))
             for name, file_name, data, level in files]
    if args.plain_dir:
        os.makedirs(args.plain_dir, exist_ok=True)
        for _, file_name, data, _ in files:
            write_if_changed(os.path.join(args.plain_dir, file_name), data)
    if args.items_dir:
        os.makedirs(args.items_dir, exist_ok=True)
        for i, (_, _, data) in enumerate(items):
            write_if_changed(os.path.join(args.items_dir, "item%d.bin" % i),
                             data)
    if args.cpp:
        write_if_changed(args.cpp, cpp_source(items))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
