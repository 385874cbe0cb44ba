#pragma once
// The character information on hover: the character under the mouse in the
// characters pane is looked up in the character tables and the dictionary
// and shown in the popup characterInfoWindow; the reader sends its own text here too.
#include "reference/CharacterHoverState.h"

#include <QPointer>
#include <functional>

class ProgramWindows;
class QObject;
class QPoint;
class QString;
class QTextEdit;
class QWidget;
struct MainWindowControls;
namespace korvana {
class DictionaryData;
struct MainSettings;
class ReferenceData;
} // namespace korvana

class CharacterHover {
public:
    // What the hover asks of the main window.
    struct WindowHooks {
        std::function<void()> loadPendingData;             // before the tables or the dictionary are read
        std::function<QString(const QString &)> toneMarks; // "ni3 hao3" -> tone-marked pinyin
        // The characters pane filled whatever its box says (the hover reveal).
        std::function<void()> revealCharacters;
    };
    // window is the main window, whose controls are controls.
    CharacterHover(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                   const korvana::MainSettings &settings, korvana::ReferenceData &referenceData,
                   korvana::DictionaryData &dictionary, WindowHooks hooks);
    ~CharacterHover();

    // Sends the mouse moves over the characters pane to charactersViewMouseMoved;
    // buildControls() of the window calls it once the panes exist.
    void buildControls();
    // The character under pos (viewport coordinates of sender, a rich-text
    // view) is looked up. For the characters pane (charactersView) the results go
    // to the popup characterInfoWindow; for any other view, such as the reader's text,
    // to the read-only boxes named "characterInfoBox" (one line: the character, its
    // readings and definition) and "dictionaryBox" (dictionary entries) of sender's
    // window, which may be QPlainTextEdit or QTextEdit.
    void charactersViewMouseMoved(QTextEdit *sender, const QPoint &pos);
    // Blanks the popup's character fields; its codes and entries stay.
    void clearCharacterInfo();
    // Hides the popup and forgets the last character, so that the next one
    // under the mouse is looked up afresh.
    void hideCharacterInfo();

    // The character the hover looked up last (0: none, the next is looked up
    // afresh).
    int lastHoverChar() const { return m_state.lastCode(); }
    void setLastHoverChar(int code) { m_state.remember(code); }
    void forgetLastHoverChar() { m_state.forget(); }

private:
    QWidget &m_window;
    MainWindowControls &m_controls;
    ProgramWindows &m_windows;
    const korvana::MainSettings &m_settings;
    korvana::ReferenceData &m_referenceData;
    korvana::DictionaryData &m_dictionary;
    WindowHooks m_hooks;
    korvana::CharacterHoverState m_state;
    // The characters pane's mouse watch, which the pane owns.
    QPointer<QObject> m_paneMouse;
};
