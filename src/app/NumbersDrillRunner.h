#pragma once
// The numbers drill: while the drill is on, every step of the practice
// engine draws a whole number of the chosen range and shows it in the panes
// in place of a lesson term: the digits, the Chinese numeral and its pinyin.
#include "lessons/Pane.h"
#include "practice/NumbersDrill.h"

#include <QObject>
#include <functional>

class ProgramWindows;
class QWidget;
struct MainWindowControls;
namespace korvana {
struct MainSettings;
class ReferenceData;
class RichEdit;
} // namespace korvana

// A QObject so that its connections to the pane boxes end with it.
class NumbersDrillRunner : public QObject {
public:
    // What the drill asks of the main window.
    struct WindowHooks {
        std::function<void()> loadPendingData; // before the character database is read
        std::function<void()> next;            // a step of the practice (Next)
        std::function<void()> read;            // reading aloud (the Read button)
        std::function<void()> startAutoTimer;
        std::function<void(korvana::RichEdit *)> applyCharactersLook;
    };
    // window is the main window, whose controls are controls.
    NumbersDrillRunner(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                       const korvana::MainSettings &settings, korvana::ReferenceData &referenceData, WindowHooks hooks);

    korvana::NumbersDrill &drill() { return m_drill; }

    // The range dialog, the stored pinyin of the numerals into the drill's
    // numeralPinyin, then a first step (numbersCommand runs this after
    // closing the menus).
    void showNumbersDialog();
    // Draws the next number of the range and shows it; reads it aloud and
    // keeps the automatic mode going as a shown term does.
    void newNumber();
    // Fills the panes from number: the digits, the numeral, its pinyin; the
    // notes pane stays empty.
    void showNumber();
    // One pane: the digits, the numeral or its pinyin; the notes pane has
    // nothing of the drill. With force the content shows whatever the pane's
    // box says (the hover reveal).
    void showNumberPane(korvana::Pane pane, bool force);

private:
    // The numeral and termCharactersText are built even while the
    // characters pane is hidden, since reading aloud and the pinyin read
    // them.
    void showNumberDigits(bool force);
    void showNumberCharacters(bool force);
    void showNumberPinyin(bool force);
    // Appends line n (1-based) of numeralPinyin, its syllable and blank, to pinyinText.
    void copyNumeralPinyinLine(int n);
    // Appends the syllables of numeral to pinyinText.
    void appendNumeralPinyin();
    void hookNumberPaneBoxes();

    QWidget &m_window;
    MainWindowControls &m_controls;
    ProgramWindows &m_windows;
    const korvana::MainSettings &m_settings;
    korvana::ReferenceData &m_referenceData;
    WindowHooks m_hooks;
    korvana::NumbersDrill m_drill;
    bool m_numberBoxesHooked = false;
};
