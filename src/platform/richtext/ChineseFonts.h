#pragma once
// Chinese glyph forms for Chinese text, whatever the user's locale. Outside a
// Chinese locale the font matcher falls back to the Japanese member of a CJK
// family for Han characters, and Japanese forms differ from the Chinese ones
// in many common characters (直, 骨, 角, 化 ...): a learner would learn wrong
// shapes. Lessons and settings also name Windows Chinese fonts (SimSun,
// MingLiU, ...) that Linux lacks.

#include <QString>
#include <QStringList>

namespace korvana::fonts {

// Makes every font fall back to a simplified-Chinese font for Han characters
// (serif for serif fonts, sans otherwise) and maps the Windows Chinese font
// names onto the installed Song, Hei, Kai or Ming style Chinese fonts, and
// Times New Roman and Arial, where missing, onto a serif and a sans face with
// every pinyin tone vowel. Latin text otherwise keeps its own fonts. Call at
// start-up, before text is laid out; calling again does nothing. Needs the
// GUI application.
void useChineseGlyphForms();

// The installed serif Latin family that holds all 24 pinyin tone vowels, to
// which useChineseGlyphForms() maps Times New Roman; empty when none is
// installed.
QString toneVowelSerifFamily();

// The installed Chinese family for traditional or simplified forms, serif or
// sans; empty when none is installed.
QString chineseFamily(bool traditional, bool serif);

// The families a run in font family with Windows charset is drawn in: the
// font itself, and after it, for a Big5 run (charset 136), the traditional
// Chinese font, so that its Han characters take traditional forms.
QStringList familiesForRun(const QString &family, int charset);

} // namespace korvana::fonts
