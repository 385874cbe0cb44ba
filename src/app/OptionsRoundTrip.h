#pragma once
// The options round trip: the options dialog is filled from the settings
// fields each time it opens, and its values are taken back and applied when
// it closes. The panes' reading order, which the dialog sets, is kept here
// between reading and writing the settings file.
#include "settings/MainSettings.h"

#include <QtGlobal>
#include <functional>

class DictionaryLoader;
struct MainWindowControls;
class ProgramWindows;

class OptionsRoundTrip {
public:
    // What the round trip asks of the window it works on.
    struct WindowCalls {
        std::function<void()> hideAllMenus;
        std::function<void()> changeVoice;
        // The window drawn again and its term shown anew in the new look.
        std::function<void()> showTermAgain;
    };
    OptionsRoundTrip(MainWindowControls &controls, ProgramWindows &windows, DictionaryLoader &dictionary,
                     WindowCalls calls);

    // Fills the dialog, runs it, and takes its values back.
    void preferencesCommand();
    // Takes the options dialog's values back into the settings fields and
    // applies them; preferencesCommand runs it after the dialog has closed.
    void takeOptions();
    // The "[Options]" label of the practice area: the dialog on its
    // automatic-mode page.
    void autoOptionsLabelClicked();
    // Colours the screen background window (the options dialog's swatch).
    void applyScreenBackgroundColor(quint32 color);

    // The reading order of the four panes, read with the settings; the panes
    // apply it and it is written back when the window closes.
    korvana::TextDirections &textDirections() { return m_textDirections; }
    void applyTextDirections(); // settings -> panes
    void takeTextDirections();  // panes -> settings

private:
    MainWindowControls &m_controls;
    ProgramWindows &m_windows;
    korvana::MainSettings &m_settings;
    DictionaryLoader &m_dictionary;
    WindowCalls m_calls;
    korvana::TextDirections m_textDirections;
};
