// The options round trip: the dialog is filled from the settings fields each
// time it opens, and the values are taken back and applied when it closes.
#include "app/OptionsRoundTrip.h"
#include "app/DictionaryLoader.h"
#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "app/ProgramWindows.h"

#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "platform/ui/Integers.h"
#include "practice/ScreenBackgroundWindow.h"
#include "settings/Colors.h"
#include "settings/OptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextEdit>

using korvana::Pane;

namespace {

// The box shows size; the item with that text is selected when there is one,
// else the size stays in the box's own text.
void showSize(QComboBox *box, int size)
{
    const QString text = QString::number(size);
    const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(item);
    if (item < 0)
        box->setEditText(text);
}

// A pane reads left to right with its text on the left, or right to left
// with its text on the right.
void setPaneDirection(korvana::RichEdit *pane, QTextEdit *view, bool leftToRight)
{
    if (view)
        view->setLayoutDirection(leftToRight ? Qt::LeftToRight : Qt::RightToLeft);
    if (pane)
        pane->setAlignment(leftToRight ? korvana::TextAlignment::Left : korvana::TextAlignment::Right);
}

bool paneReadsLeftToRight(QTextEdit *view)
{
    return !view || view->layoutDirection() == Qt::LeftToRight;
}

} // namespace

OptionsRoundTrip::OptionsRoundTrip(MainWindowControls &controls, ProgramWindows &windows, DictionaryLoader &dictionary,
                                   WindowCalls calls)
    : m_controls(controls), m_windows(windows), m_settings(windows.state.settings), m_dictionary(dictionary),
      m_calls(std::move(calls))
{
}

void OptionsRoundTrip::applyScreenBackgroundColor(quint32 color)
{
    if (!m_windows.screenBackgroundWindow)
        return;
    QPalette p = m_windows.screenBackgroundWindow->palette();
    p.setColor(QPalette::Window, korvana::toQColor(color));
    m_windows.screenBackgroundWindow->setPalette(p);
    m_windows.screenBackgroundWindow->setAutoFillBackground(true);
    m_windows.screenBackgroundWindow->update();
}

void OptionsRoundTrip::autoOptionsLabelClicked()
{
    if (m_windows.optionsDialog)
        m_windows.optionsDialog->selectPage(6);
    preferencesCommand();
}

void OptionsRoundTrip::preferencesCommand()
{
    m_calls.hideAllMenus();
    OptionsDialog *o = m_windows.optionsDialog.get();
    if (!o)
        return;
    o->buildPages();

    for (Pane p : korvana::allPanes)
        showSize(o->panes[p].sizeCombo, m_settings.fontSizes[p]);

    o->sampleText->clear();
    if (m_controls.panes[Pane::Characters].text) {
        korvana::copyRichText(m_controls.panes[Pane::Characters].text, o->sampleText);
        m_controls.panes[Pane::Characters].text->setSelLength(0);
    }

    o->externalEditorEdit->setText(m_settings.externalEditor);
    if (m_settings.editInWordProcessor)
        o->wordOption->setChecked(true);
    else
        o->otherEditorOption->setChecked(true);

    try {
        if (m_windows.state.voice)
            o->speedSlider->setValue(m_windows.state.voice->rate());
    } catch (const std::exception &) {
        // The speed slider keeps its position.
    }

    o->readingProgressSwitch->setChecked(m_settings.showReadingProgress);
    o->synthesisFallbackSwitch->setChecked(m_settings.soundExcludesSynthesis);
    o->toneColorsSwitch->setChecked(m_settings.showToneColours);
    o->forceCharacterFontSwitch->setChecked(m_settings.useCharactersFont);
    {
        // The font list is filled when the dialog activates.
        const QSignalBlocker block(o->fontFilterCombo);
        o->fontFilterCombo->setCurrentIndex(0);
    }
    o->boldSwitch->setChecked(m_settings.boldCharacters);
    o->rotateSwitch->setChecked(m_settings.rotateCharacters);
    o->characterColorSwitch->setChecked(m_settings.useCharactersColor);
    o->characterBackgroundSwitch->setChecked(m_settings.useCharactersBackgroundColor);
    o->characterInfoSwitch->setChecked(m_settings.characterInfoOnHover);
    o->revealOnHoverSwitch->setChecked(m_settings.showHiddenOnHover);
    o->screenBackgroundSwatch->setBrushColor(m_settings.screenBackgroundColor);
    o->workingDirectoryEdit->setText(m_settings.workingDirectory);
    o->dictionaryEdit->setText(m_settings.dictionaryFile);
    o->autoSaveSwitch->setChecked(m_settings.autoSaveLessons);
    for (Pane p : korvana::allPanes)
        o->panes[p].rightToLeftSwitch->setChecked(!paneReadsLeftToRight(m_controls.panes[p].view));

    o->pickedCharactersFont.clear();

    // There is no cancel: however the dialog closes, its values are taken.
    // A size that is no number is caught before anything is taken back: the
    // dialog stays (or comes back) on that box, with every other change of
    // the visit still in it.
    do {
        korvana::Dialogs::instance().execModal(o);
    } while (!o->checkFontSizes());

    try {
        takeOptions();
    } catch (const std::exception &e) {
        // The sizes were checked before; an error that still comes stops
        // the taking back there, and the term is not shown again.
        korvana::reportUnhandledError(korvana::errorText(e));
        return;
    }
    m_calls.showTermAgain();
}

void OptionsRoundTrip::takeOptions()
{
    OptionsDialog *o = m_windows.optionsDialog.get();
    if (!o)
        return;
    o->buildPages();

    try {
        m_calls.changeVoice();
    } catch (const std::exception &) {
        // No voice selected, or the engine refused it: the voice stays.
    }
    for (Pane p : korvana::allPanes)
        m_settings.fontSizes[p] = OptionsDialog::fontSize(o->panes[p].sizeCombo);
    m_settings.showToneColours = o->toneColorsSwitch->isChecked();
    try {
        if (m_windows.state.voice)
            m_windows.state.voice->setRate(o->speedSlider->value());
    } catch (const std::exception &) {
    }
    m_settings.useCharactersFont = o->forceCharacterFontSwitch->isChecked();
    m_settings.boldCharacters = o->boldSwitch->isChecked();
    m_settings.rotateCharacters = o->rotateSwitch->isChecked();
    if (!o->pickedCharactersFont.isEmpty())
        m_settings.charactersFont = o->pickedCharactersFont;
    m_settings.useCharactersColor = o->characterColorSwitch->isChecked();
    m_settings.useCharactersBackgroundColor = o->characterBackgroundSwitch->isChecked();
    if (m_controls.panes[Pane::Characters].view) {
        const QColor background = m_settings.useCharactersBackgroundColor
                                      ? korvana::toQColor(m_settings.charactersBackgroundColor)
                                      : korvana::toQColor(korvana::colors::clCream);
        m_controls.panes[Pane::Characters].view->setStyleSheet(
            QStringLiteral("QTextEdit { background: %1; }").arg(background.name()));
    }
    m_settings.showReadingProgress = o->readingProgressSwitch->isChecked();
    m_settings.soundExcludesSynthesis = o->synthesisFallbackSwitch->isChecked();
    m_settings.editInWordProcessor = o->wordOption->isChecked();
    m_settings.externalEditor = o->externalEditorEdit->text();
    for (Pane p : korvana::allPanes)
        setPaneDirection(m_controls.panes[p].text, m_controls.panes[p].view,
                         !o->panes[p].rightToLeftSwitch->isChecked());
    m_settings.characterInfoOnHover = o->characterInfoSwitch->isChecked();
    m_settings.showHiddenOnHover = o->revealOnHoverSwitch->isChecked();
    m_settings.screenBackgroundColor = o->screenBackgroundSwatch->brushColor();
    if (m_windows.screenBackgroundWindow && m_windows.screenBackgroundWindow->isVisible())
        applyScreenBackgroundColor(m_settings.screenBackgroundColor);
    m_settings.autoSaveLessons = o->autoSaveSwitch->isChecked();
    m_settings.workingDirectory = o->workingDirectoryEdit->text();
    const QString chosenDictionary = o->dictionaryEdit->text();
    // A dictionary that fails to load is not taken: the one in use keeps its
    // name and setting.
    if (chosenDictionary != m_settings.dictionaryFile && m_dictionary.loadDictionary(chosenDictionary))
        m_settings.dictionaryFile = chosenDictionary;
}

void OptionsRoundTrip::applyTextDirections()
{
    for (Pane p : korvana::allPanes)
        setPaneDirection(m_controls.panes[p].text, m_controls.panes[p].view, m_textDirections.leftToRight[p]);
}

void OptionsRoundTrip::takeTextDirections()
{
    for (Pane p : korvana::allPanes)
        m_textDirections.leftToRight[p] = paneReadsLeftToRight(m_controls.panes[p].view);
}

// The window's Options menu runs it.
void MainWindow::preferencesCommand()
{
    m_options->preferencesCommand();
}
