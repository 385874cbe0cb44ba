#!/usr/bin/env bash
# Writes the shapes of hostile files into the fuzz corpora, so that fuzzing
# starts from them and mutates them: one long line of letters and combining
# marks, marks of two classes in turn, no line break at all, a flood of blank
# lines, of keys and of sections. Each is tens of kilobytes: libFuzzer then
# takes inputs up to that size, and a reader that is not linear in its input
# shows as a timeout.
#
#   fuzz/hostile_seeds.sh CORPORA   (CORPORA/<target>/ are made as needed)
set -euo pipefail
out=$1
mkdir -p "$out/fuzz_dictionary" "$out/fuzz_settings" "$out/fuzz_session" "$out/fuzz_skin"

# rep N TEXT: TEXT N times (printf escapes allowed).
rep() { printf "%.0s$2" $(seq "$1"); }

# The dictionary target's input starts with four bytes that pick the term.
term='\x30\x00\x06\x00'
head='CC-CEDICT\n\xe4\xb8\xad [zhong1] /middle/\n'
{ printf "$term$head"; rep 20000 'e\xcc\x81'; } >"$out/fuzz_dictionary/hostile-long-line"
{ printf "$term$head"; rep 16000 '\xcc\x81\xcc\x96'; } >"$out/fuzz_dictionary/hostile-marks"
{ printf "$term$head"; rep 8000 '\xce\x91\xcc\x81\xe1\x84\x80\xe1\x85\xa1'; } >"$out/fuzz_dictionary/hostile-compositions"
{ printf "$term"; rep 64000 'x'; } >"$out/fuzz_dictionary/hostile-no-line-break"
{ printf '\x00\x00\x06\x01\xff\xfe'; rep 32000 'x\x00'; } >"$out/fuzz_dictionary/hostile-utf16-no-line-break"

for t in fuzz_settings fuzz_session fuzz_skin; do
  { printf '[Options]\nFontsize-Kanji=30\n'; rep 64000 '\n'; } >"$out/$t/hostile-blank-lines"
  { printf '[Lessons]\n'; rep 16000 'k=v\n'; } >"$out/$t/hostile-keys"
  { printf '[Lessons]\n0=a.kvl\n'; for i in $(seq 4000); do printf '[s%d]\nk=v\n' "$i"; done; } \
    >"$out/$t/hostile-sections"
  { printf '[Lessons]\n'; rep 4000 '[Lessons]\n0=a.kvl\n'; } >"$out/$t/hostile-repeated-section"
  { rep 6000 '; \xff comment\n\n'; printf '[Session]\nPosition=-1\n'; } >"$out/$t/hostile-comments"
done
