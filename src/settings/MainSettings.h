#pragma once
// The user's preferences as the main window holds them between reading the
// settings file at its creation and writing it at its closing. The main window
// inherits this struct, so these are its fields; every other window reads and
// writes them there. Like every field of the main window they start as zero,
// false or empty text; reading the settings gives them their values.
#include <QString>
#include <QtGlobal>

namespace korvana {

// The point sizes the program takes, from the settings file and from the
// options dialog: a size outside the range would give unreadable or
// window-filling text.
inline constexpr int MinFontSize = 4;
inline constexpr int MaxFontSize = 400;
inline int clampFontSize(int size)
{
    return size < MinFontSize ? MinFontSize : size > MaxFontSize ? MaxFontSize : size;
}

struct MainSettings {
    bool FAutoSaveLessons = false;     // closing saves every open lesson
    QString FWorkingDirectory;         // starting folder of the file dialogs, with "/" at the end
    QString FDictFile;                 // dictionary loaded at start
    QString FSkin;                     // skin applied at start ("*standard*" is the built-in look)
    int FFontsizeTranslation = 0;      // point sizes of the four panes and editor fields
    int FFontsizePinyin = 0;
    int FFontsizeKanji = 0;            // also flash and the numbers drill
    int FFontsizeNotes = 0;
    bool FShowReadingProgress = false; // spoken characters highlighted while reading aloud
    bool FSoundExcludesSynthesis = false; // no speech for a term whose sound was played
    bool FSetKanjiFont = false;        // the characters use FKanjiFont
    QString FKanjiFont;
    bool FShowToneColours = false;     // pinyin coloured by tone
    bool FSetKanjiColor = false;       // the characters are drawn in FKanjiColor
    quint32 FKanjiColor = 0;
    bool FSetKanjiBackgroundColor = false; // the characters pane takes FKanjiBackgroundColor
    quint32 FKanjiBackgroundColor = 0;
    bool FBoldKanji = false;
    bool FRotateKanji = false;         // vertical form of the font ("@" + name)
    QString FExternalEditor;           // edits lessons when FEditInWord is false
    bool FEditInWord = false;          // lessons edited in a word processor
    bool FShowHanziInfo = false;       // character information on hover
    bool FShowHiddenOnHover = false;   // hidden panes revealed under the mouse
    quint32 FScreenBackgroundColor = 0; // colour of the full-screen background
    bool FDisplayScreenBackground = false; // background shown with the main window
    bool FDisplayToolBar = false;      // tool bar shown with the main window

    friend bool operator==(const MainSettings &, const MainSettings &) = default;
};

// The reading order of the four panes. The panes themselves hold it during a
// run; the main window applies these values to them after reading the
// settings and takes them back from the panes before writing.
struct TextDirections {
    bool hanziLeftToRight = true;       // reChin
    bool translationLeftToRight = true; // reOrig
    bool pinyinLeftToRight = true;      // rePin
    bool notesLeftToRight = true;       // reNotes

    friend bool operator==(const TextDirections &, const TextDirections &) = default;
};

} // namespace korvana
