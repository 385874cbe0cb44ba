#pragma once
// Flash mode: the current term's characters shown briefly and repeatedly,
// over the whole screen in the flash window or in the characters pane, and
// after a full-screen flash, optionally, a card with the translation, the
// pinyin and the notes.
#include "lessons/Pane.h"
#include "practice/FlashRun.h"
#include "practice/FlashTiming.h"

#include <QObject>
#include <functional>
#include <memory>

class FlashWindow;
class ProgramWindows;
class QFont;
class QString;
class QWidget;
struct MainWindowControls;
namespace korvana {
struct MainSettings;
struct OptionsHost;
class RichEdit;
} // namespace korvana

// A QObject so that the flash window's and the "Flash" label's connections
// end with it.
class FlashRunner : public QObject {
public:
    // The term display's fill of the translation, pinyin and notes panes;
    // with force, the pane is filled whatever its box says.
    using PaneFill = std::function<void(korvana::Pane pane, bool force)>;
    // window is the main window, whose controls are controls; the flash
    // settings live in the options dialog (optionsDialog: flashDelayEdit,
    // flashRepeatEdit, flashIntervalEdit, flashFullScreenSwitch,
    // flashKeepOpenSwitch); the three numbers are texts, read strictly each
    // time a flash needs them.
    FlashRunner(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                const korvana::MainSettings &settings, PaneFill fill);

    // The "Flash" label beside the flash mode's switch.
    void buildControls();
    void flashNowLabelClicked();
    // Flashes the current term; automatic skips the delay before the first show.
    void flash(bool automatic);
    // Puts the current term into the flash window as a shown flash leaves it.
    void activateFlash();
    // Whether a flash is running now (its waits keep the queue running).
    bool flashRunning() const { return m_run.running(); }
    // The clock flash periods are timed by; tests put in one of their own.
    void setFlashClock(std::shared_ptr<korvana::FlashClock> clock) { m_clock = std::move(clock); }
    // Height in pixels of one line of text in font at the staging copy's
    // selection size, as drawn on control.
    int measureFlashText(QWidget *control, const QString &text, const QFont &font);

    // The flash colours: kept for the run, set in the options dialog.
    quint32 flashColor() const { return m_color; }
    quint32 flashBackgroundColor() const { return m_backgroundColor; }
    void setFlashBackgroundColor(quint32 color) { m_backgroundColor = color; }
    void resetColors();
    // Lets the options dialog edit the colours in place.
    void bindColors(korvana::OptionsHost &host);

private:
    void flashOnce(bool automatic);
    bool flashWait(int ms);
    void flashWindowClosed();
    FlashWindow *connectedFlashWindow();
    void copyCharacters(korvana::RichEdit *target);
    void fillFlashCard();

    QWidget &m_window;
    MainWindowControls &m_controls;
    ProgramWindows &m_windows;
    const korvana::MainSettings &m_settings;
    PaneFill m_fill;
    std::shared_ptr<korvana::FlashClock> m_clock;
    korvana::FlashRun m_run;
    quint32 m_color = 0x0000FF;
    quint32 m_backgroundColor = 0;
};
