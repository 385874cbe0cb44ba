// The options round trip: the dialog is filled from the settings fields each
// time it opens, and the values are taken back and applied when it closes.
#include "app/MainWindow.h"
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

namespace {

// The box shows Size; the item with that text is selected when there is one,
// else the size stays in the box's own text.
void showSize(QComboBox *box, int Size)
{
    const QString text = QString::number(Size);
    const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(item);
    if (item < 0)
        box->setEditText(text);
}

bool readsRightToLeft(QTextEdit *view)
{
    return view && view->layoutDirection() == Qt::RightToLeft;
}

void setDirection(korvana::RichEdit *pane, QTextEdit *view, bool rightToLeft)
{
    if (view)
        view->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (pane)
        pane->setAlignment(rightToLeft ? korvana::TextAlignment::Right : korvana::TextAlignment::Left);
}

} // namespace

void MainWindow::applyScreenBackgroundColor(quint32 Color)
{
    if (!windows.screenBackgroundWindow)
        return;
    QPalette p = windows.screenBackgroundWindow->palette();
    p.setColor(QPalette::Window, korvana::toQColor(Color));
    windows.screenBackgroundWindow->setPalette(p);
    windows.screenBackgroundWindow->setAutoFillBackground(true);
    windows.screenBackgroundWindow->update();
}

void MainWindow::autoOptionsLabelClicked()
{
    if (windows.optionsDialog)
        windows.optionsDialog->selectPage(6);
    preferencesCommand();
}

void MainWindow::preferencesCommand()
{
    hideAllMenus();
    OptionsDialog *o = windows.optionsDialog.get();
    if (!o)
        return;
    o->buildPages();

    showSize(o->translationSizeCombo, translationFontSize);
    showSize(o->characterSizeCombo, kanjiFontSize);
    showSize(o->pinyinSizeCombo, pinyinFontSize);
    showSize(o->notesSizeCombo, notesFontSize);

    o->sampleText->clear();
    if (charactersText) {
        korvana::copyRichText(charactersText, o->sampleText);
        charactersText->setSelLength(0);
    }

    o->externalEditorEdit->setText(externalEditor);
    if (editInWordProcessor)
        o->wordOption->setChecked(true);
    else
        o->otherEditorOption->setChecked(true);

    try {
        if (voice)
            o->speedSlider->setValue(voice->rate());
    } catch (const std::exception &) {
        // The track bar keeps its position.
    }

    o->readingProgressSwitch->setChecked(showReadingProgress);
    o->synthesisFallbackSwitch->setChecked(soundExcludesSynthesis);
    o->toneColorsSwitch->setChecked(showToneColours);
    o->forceCharacterFontSwitch->setChecked(useKanjiFont);
    {
        // The font list is filled when the dialog activates.
        const QSignalBlocker block(o->fontFilterCombo);
        o->fontFilterCombo->setCurrentIndex(0);
    }
    o->boldSwitch->setChecked(boldKanji);
    o->rotateSwitch->setChecked(rotateKanji);
    o->characterColorSwitch->setChecked(useKanjiColor);
    o->characterBackgroundSwitch->setChecked(useKanjiBackgroundColor);
    o->hanziInfoSwitch->setChecked(hanziInfoOnHover);
    o->revealOnHoverSwitch->setChecked(showHiddenOnHover);
    o->screenBackgroundSwatch->setBrushColor(screenBackgroundColor);
    o->workingDirectoryEdit->setText(workingDirectory);
    o->dictionaryEdit->setText(dictionaryFile);
    o->autoSaveSwitch->setChecked(autoSaveLessons);
    o->characterRightToLeftSwitch->setChecked(readsRightToLeft(charactersView));
    o->pinyinRightToLeftSwitch->setChecked(readsRightToLeft(pinyinView));
    o->translationRightToLeftSwitch->setChecked(readsRightToLeft(translationView));
    o->notesRightToLeftSwitch->setChecked(readsRightToLeft(notesView));

    o->pickedKanjiFont.clear();

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
    update();
    showTerm(shownIndex);
}

void MainWindow::takeOptions()
{
    OptionsDialog *o = windows.optionsDialog.get();
    if (!o)
        return;
    o->buildPages();

    try {
        changeVoice();
    } catch (const std::exception &) {
        // No voice selected, or the engine refused it: the voice stays.
    }
    translationFontSize = OptionsDialog::fontSize(o->translationSizeCombo);
    kanjiFontSize = OptionsDialog::fontSize(o->characterSizeCombo);
    pinyinFontSize = OptionsDialog::fontSize(o->pinyinSizeCombo);
    notesFontSize = OptionsDialog::fontSize(o->notesSizeCombo);
    showToneColours = o->toneColorsSwitch->isChecked();
    try {
        if (voice)
            voice->setRate(o->speedSlider->value());
    } catch (const std::exception &) {
    }
    useKanjiFont = o->forceCharacterFontSwitch->isChecked();
    boldKanji = o->boldSwitch->isChecked();
    rotateKanji = o->rotateSwitch->isChecked();
    if (!o->pickedKanjiFont.isEmpty())
        kanjiFont = o->pickedKanjiFont;
    useKanjiColor = o->characterColorSwitch->isChecked();
    useKanjiBackgroundColor = o->characterBackgroundSwitch->isChecked();
    if (charactersView) {
        const QColor background = useKanjiBackgroundColor ? korvana::toQColor(kanjiBackgroundColor)
                                                           : korvana::toQColor(korvana::colors::clCream);
        charactersView->setStyleSheet(QStringLiteral("QTextEdit { background: %1; }").arg(background.name()));
    }
    showReadingProgress = o->readingProgressSwitch->isChecked();
    soundExcludesSynthesis = o->synthesisFallbackSwitch->isChecked();
    editInWordProcessor = o->wordOption->isChecked();
    externalEditor = o->externalEditorEdit->text();
    setDirection(charactersText, charactersView, o->characterRightToLeftSwitch->isChecked());
    setDirection(pinyinText, pinyinView, o->pinyinRightToLeftSwitch->isChecked());
    setDirection(translationText, translationView, o->translationRightToLeftSwitch->isChecked());
    setDirection(notesText, notesView, o->notesRightToLeftSwitch->isChecked());
    hanziInfoOnHover = o->hanziInfoSwitch->isChecked();
    showHiddenOnHover = o->revealOnHoverSwitch->isChecked();
    screenBackgroundColor = o->screenBackgroundSwatch->brushColor();
    if (windows.screenBackgroundWindow && windows.screenBackgroundWindow->isVisible())
        applyScreenBackgroundColor(screenBackgroundColor);
    autoSaveLessons = o->autoSaveSwitch->isChecked();
    workingDirectory = o->workingDirectoryEdit->text();
    const QString chosenDictionary = o->dictionaryEdit->text();
    // A dictionary that fails to load is not taken: the one in use keeps its
    // name and setting.
    if (chosenDictionary != dictionaryFile && loadDictionary(chosenDictionary))
        dictionaryFile = chosenDictionary;
}
