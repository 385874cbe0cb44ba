#pragma once
// The user's preferences, held in the program's shared state beside the
// windows between reading the settings file at the main window's creation and
// writing it at its closing; every window reads and writes them there. They
// start as zero, false or empty text; reading the settings gives them their
// values.
#include "lessons/Pane.h"

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
    bool autoSaveLessons = false; // closing saves every open lesson
    QString workingDirectory;     // starting folder of the file dialogs, with "/" at the end
    QString dictionaryFile;       // dictionary loaded at start
    QString selectedSkin;         // skin applied at start ("*standard*" is the built-in look)
    // Point sizes of the four panes and editor fields; the characters' also
    // sizes the flash and the numbers drill.
    PaneArray<int> fontSizes;
    bool showReadingProgress = false;    // spoken characters highlighted while reading aloud
    bool soundExcludesSynthesis = false; // no speech for a term whose sound was played
    bool useCharactersFont = false;      // the characters use charactersFont
    QString charactersFont;
    bool showToneColours = false;    // pinyin coloured by tone
    bool useCharactersColor = false; // the characters are drawn in charactersColor
    quint32 charactersColor = 0;
    bool useCharactersBackgroundColor = false; // the characters pane takes charactersBackgroundColor
    quint32 charactersBackgroundColor = 0;
    bool boldCharacters = false;
    bool rotateCharacters = false;        // vertical form of the font ("@" + name)
    QString externalEditor;               // edits lessons when editInWordProcessor is false
    bool editInWordProcessor = false;     // lessons edited in a word processor
    bool characterInfoOnHover = false;    // character information on hover
    bool showHiddenOnHover = false;       // hidden panes revealed under the mouse
    quint32 screenBackgroundColor = 0;    // colour of the full-screen background
    bool displayScreenBackground = false; // background shown with the main window
    bool displayToolBar = false;          // tool bar shown with the main window

    friend bool operator==(const MainSettings &, const MainSettings &) = default;
};

// The reading order of the four panes. The panes themselves hold it during a
// run; the main window applies these values to them after reading the
// settings and takes them back from the panes before writing.
struct TextDirections {
    PaneArray<bool> leftToRight{{true, true, true, true}};

    friend bool operator==(const TextDirections &, const TextDirections &) = default;
};

} // namespace korvana
