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

    showSize(o->translationSizeCombo, settings.translationFontSize);
    showSize(o->characterSizeCombo, settings.kanjiFontSize);
    showSize(o->pinyinSizeCombo, settings.pinyinFontSize);
    showSize(o->notesSizeCombo, settings.notesFontSize);

    o->sampleText->clear();
    if (charactersText) {
        korvana::copyRichText(charactersText, o->sampleText);
        charactersText->setSelLength(0);
    }

    o->externalEditorEdit->setText(settings.externalEditor);
    if (settings.editInWordProcessor)
        o->wordOption->setChecked(true);
    else
        o->otherEditorOption->setChecked(true);

    try {
        if (voice)
            o->speedSlider->setValue(voice->rate());
    } catch (const std::exception &) {
        // The track bar keeps its position.
    }

    o->readingProgressSwitch->setChecked(settings.showReadingProgress);
    o->synthesisFallbackSwitch->setChecked(settings.soundExcludesSynthesis);
    o->toneColorsSwitch->setChecked(settings.showToneColours);
    o->forceCharacterFontSwitch->setChecked(settings.useKanjiFont);
    {
        // The font list is filled when the dialog activates.
        const QSignalBlocker block(o->fontFilterCombo);
        o->fontFilterCombo->setCurrentIndex(0);
    }
    o->boldSwitch->setChecked(settings.boldKanji);
    o->rotateSwitch->setChecked(settings.rotateKanji);
    o->characterColorSwitch->setChecked(settings.useKanjiColor);
    o->characterBackgroundSwitch->setChecked(settings.useKanjiBackgroundColor);
    o->hanziInfoSwitch->setChecked(settings.hanziInfoOnHover);
    o->revealOnHoverSwitch->setChecked(settings.showHiddenOnHover);
    o->screenBackgroundSwatch->setBrushColor(settings.screenBackgroundColor);
    o->workingDirectoryEdit->setText(settings.workingDirectory);
    o->dictionaryEdit->setText(settings.dictionaryFile);
    o->autoSaveSwitch->setChecked(settings.autoSaveLessons);
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
    settings.translationFontSize = OptionsDialog::fontSize(o->translationSizeCombo);
    settings.kanjiFontSize = OptionsDialog::fontSize(o->characterSizeCombo);
    settings.pinyinFontSize = OptionsDialog::fontSize(o->pinyinSizeCombo);
    settings.notesFontSize = OptionsDialog::fontSize(o->notesSizeCombo);
    settings.showToneColours = o->toneColorsSwitch->isChecked();
    try {
        if (voice)
            voice->setRate(o->speedSlider->value());
    } catch (const std::exception &) {
    }
    settings.useKanjiFont = o->forceCharacterFontSwitch->isChecked();
    settings.boldKanji = o->boldSwitch->isChecked();
    settings.rotateKanji = o->rotateSwitch->isChecked();
    if (!o->pickedKanjiFont.isEmpty())
        settings.kanjiFont = o->pickedKanjiFont;
    settings.useKanjiColor = o->characterColorSwitch->isChecked();
    settings.useKanjiBackgroundColor = o->characterBackgroundSwitch->isChecked();
    if (charactersView) {
        const QColor background = settings.useKanjiBackgroundColor ? korvana::toQColor(settings.kanjiBackgroundColor)
                                                           : korvana::toQColor(korvana::colors::clCream);
        charactersView->setStyleSheet(QStringLiteral("QTextEdit { background: %1; }").arg(background.name()));
    }
    settings.showReadingProgress = o->readingProgressSwitch->isChecked();
    settings.soundExcludesSynthesis = o->synthesisFallbackSwitch->isChecked();
    settings.editInWordProcessor = o->wordOption->isChecked();
    settings.externalEditor = o->externalEditorEdit->text();
    setDirection(charactersText, charactersView, o->characterRightToLeftSwitch->isChecked());
    setDirection(pinyinText, pinyinView, o->pinyinRightToLeftSwitch->isChecked());
    setDirection(translationText, translationView, o->translationRightToLeftSwitch->isChecked());
    setDirection(notesText, notesView, o->notesRightToLeftSwitch->isChecked());
    settings.hanziInfoOnHover = o->hanziInfoSwitch->isChecked();
    settings.showHiddenOnHover = o->revealOnHoverSwitch->isChecked();
    settings.screenBackgroundColor = o->screenBackgroundSwatch->brushColor();
    if (windows.screenBackgroundWindow && windows.screenBackgroundWindow->isVisible())
        applyScreenBackgroundColor(settings.screenBackgroundColor);
    settings.autoSaveLessons = o->autoSaveSwitch->isChecked();
    settings.workingDirectory = o->workingDirectoryEdit->text();
    const QString chosenDictionary = o->dictionaryEdit->text();
    // A dictionary that fails to load is not taken: the one in use keeps its
    // name and setting.
    if (chosenDictionary != settings.dictionaryFile && loadDictionary(chosenDictionary))
        settings.dictionaryFile = chosenDictionary;
}
