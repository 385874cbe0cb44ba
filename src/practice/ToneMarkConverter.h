#pragma once
// Pinyin with tone digits ("ni3 hao3") into pinyin with tone marks ("nĭ hăo"),
// for showing the readings of the character database and the pinyin of
// dictionary entries. Pure text functions.
//
// The third tones of a, i, o and u are written with the breve (ă ĭ ŏ ŭ), that
// of e with the caron (ě): this is the program's own converter table, not the
// tone-vowel set of the pinyin pane or the lesson editor.
#include <QString>

namespace korvana {

// One syllable: trimmed; empty when one character or less; unchanged (plus a
// blank) when it does not end in a tone digit 1-5; otherwise without its
// digit and with the tone mark on the vowel chosen by the pinyin rule (a,
// else e, else the o of "ou", else the last vowel), whatever its case; a
// capital takes the capital marked form. "u:" and "v" are read as ü, which
// takes ǖ ǘ ǚ ǜ. Tone 5 stays unmarked. A non-empty result ends with one
// blank.
QString toneMarkSyllable(const QString &token);

// A line of syllables separated by blanks (U+0020); runs of blanks collapse,
// pieces of one character vanish, and the result is trimmed.
QString pinyinNumbersIntoToneMarks(const QString &text);

} // namespace korvana
