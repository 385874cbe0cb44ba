// The options round trip: the dialog is filled from the settings fields each
// time it opens, and the values are taken back and applied when it closes.
#include "app/TForm1.h"

#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "platform/ui/Integers.h"
#include "practice/TFormBackground.h"
#include "settings/Colors.h"
#include "settings/TFormOptions.h"

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

void TForm1::connectOptions()
{
    if (!FormOptions)
        return;
    FormOptions->host.settings = this;
    FormOptions->host.flashColor = &FFlashColor;
    FormOptions->host.flashBackgroundColor = &FFlashBackgroundColor;
    FormOptions->host.reChin = reChin;
    FormOptions->host.screenBackgroundChanged = [this](quint32 Color) { applyScreenBackgroundColor(Color); };
}

void TForm1::applyScreenBackgroundColor(quint32 Color)
{
    if (!FormBackground)
        return;
    QPalette p = FormBackground->palette();
    p.setColor(QPalette::Window, korvana::toQColor(Color));
    FormBackground->setPalette(p);
    FormBackground->setAutoFillBackground(true);
    FormBackground->update();
}

void TForm1::lSetAutoClick()
{
    if (FormOptions)
        FormOptions->selectPage(6);
    Preferences1Click();
}

void TForm1::Preferences1Click()
{
    HideAllMenus();
    TFormOptions *o = FormOptions;
    if (!o)
        return;
    connectOptions();

    showSize(o->cbTrans, FFontsizeTranslation);
    showSize(o->cbChin, FFontsizeKanji);
    showSize(o->cbPin, FFontsizePinyin);
    showSize(o->cbNotes, FFontsizeNotes);

    o->reSample->clear();
    if (reChin) {
        korvana::CopyRTF(reChin, o->reSample);
        reChin->setSelLength(0);
    }

    o->eExtEditor->setText(FExternalEditor);
    if (FEditInWord)
        o->rbWord->setChecked(true);
    else
        o->rbOther->setChecked(true);

    try {
        if (SpVoice)
            o->tbSpeed->setValue(SpVoice->rate());
    } catch (const std::exception &) {
        // The track bar keeps its position.
    }

    o->chbProgress->setChecked(FShowReadingProgress);
    o->chbUseSynthesis->setChecked(FSoundExcludesSynthesis);
    o->chbColorCoding->setChecked(FShowToneColours);
    o->chbSetKanjiFont->setChecked(FSetKanjiFont);
    {
        // The font list is filled when the dialog activates.
        const QSignalBlocker block(o->cbFilterFonts);
        o->cbFilterFonts->setCurrentIndex(0);
    }
    o->chbBold->setChecked(FBoldKanji);
    o->chbRotate->setChecked(FRotateKanji);
    o->chbColor->setChecked(FSetKanjiColor);
    o->chbBgColor->setChecked(FSetKanjiBackgroundColor);
    o->chbHanziInfo->setChecked(FShowHanziInfo);
    o->chbHover->setChecked(FShowHiddenOnHover);
    o->ShScreenBgColor->setBrushColor(FScreenBackgroundColor);
    o->edWorkDir->setText(FWorkingDirectory);
    o->edDictionary->setText(FDictFile);
    o->chbAutoSave->setChecked(FAutoSaveLessons);
    o->chbChinRL->setChecked(readsRightToLeft(reChinView));
    o->chbPinRL->setChecked(readsRightToLeft(rePinView));
    o->chbTransRL->setChecked(readsRightToLeft(reOrigView));
    o->chbNotesRL->setChecked(readsRightToLeft(reNotesView));

    o->pickedKanjiFont.clear();

    // There is no cancel: however the dialog closes, its values are taken.
    // A size that is no number is caught before anything is taken back: the
    // dialog stays (or comes back) on that box, with every other change of
    // the visit still in it.
    do {
        korvana::Dialogs::instance().execModal(o);
    } while (!o->checkFontSizes());

    try {
        SetOptions();
    } catch (const std::exception &e) {
        // The sizes were checked before; an error that still comes stops
        // the taking back there, and the term is not shown again.
        korvana::reportUnhandledError(korvana::errorText(e));
        return;
    }
    update();
    ShowTerm2(FShownIndex);
}

void TForm1::SetOptions()
{
    TFormOptions *o = FormOptions;
    if (!o)
        return;

    try {
        ChangeEngine();
    } catch (const std::exception &) {
        // No voice selected, or the engine refused it: the voice stays.
    }
    FFontsizeTranslation = TFormOptions::fontSize(o->cbTrans);
    FFontsizeKanji = TFormOptions::fontSize(o->cbChin);
    FFontsizePinyin = TFormOptions::fontSize(o->cbPin);
    FFontsizeNotes = TFormOptions::fontSize(o->cbNotes);
    FShowToneColours = o->chbColorCoding->isChecked();
    try {
        if (SpVoice)
            SpVoice->setRate(o->tbSpeed->value());
    } catch (const std::exception &) {
    }
    FSetKanjiFont = o->chbSetKanjiFont->isChecked();
    FBoldKanji = o->chbBold->isChecked();
    FRotateKanji = o->chbRotate->isChecked();
    if (!o->pickedKanjiFont.isEmpty())
        FKanjiFont = o->pickedKanjiFont;
    FSetKanjiColor = o->chbColor->isChecked();
    FSetKanjiBackgroundColor = o->chbBgColor->isChecked();
    if (reChinView) {
        const QColor background = FSetKanjiBackgroundColor ? korvana::toQColor(FKanjiBackgroundColor)
                                                           : korvana::toQColor(korvana::colors::clCream);
        reChinView->setStyleSheet(QStringLiteral("QTextEdit { background: %1; }").arg(background.name()));
    }
    FShowReadingProgress = o->chbProgress->isChecked();
    FSoundExcludesSynthesis = o->chbUseSynthesis->isChecked();
    FEditInWord = o->rbWord->isChecked();
    FExternalEditor = o->eExtEditor->text();
    setDirection(reChin, reChinView, o->chbChinRL->isChecked());
    setDirection(rePin, rePinView, o->chbPinRL->isChecked());
    setDirection(reOrig, reOrigView, o->chbTransRL->isChecked());
    setDirection(reNotes, reNotesView, o->chbNotesRL->isChecked());
    FShowHanziInfo = o->chbHanziInfo->isChecked();
    FShowHiddenOnHover = o->chbHover->isChecked();
    FScreenBackgroundColor = o->ShScreenBgColor->brushColor();
    if (FormBackground && FormBackground->isVisible())
        applyScreenBackgroundColor(FScreenBackgroundColor);
    FAutoSaveLessons = o->chbAutoSave->isChecked();
    FWorkingDirectory = o->edWorkDir->text();
    const QString dictionary = o->edDictionary->text();
    // A dictionary that fails to load is not taken: the one in use keeps its
    // name and setting.
    if (dictionary != FDictFile && LoadDict(dictionary))
        FDictFile = dictionary;
}
