// The numbers drill: while FNumbersMode is set, every step of the practice
// engine draws a whole number of the chosen range and shows it in the panes
// in place of a lesson term: the digits, the Chinese numeral and its pinyin.
#include "app/TForm1.h"
#include "platform/ui/Dialogs.h"
#include "practice/RandomGenerator.h"
#include "reference/Numbers.h"
#include "reference/TFormNumbers.h"
#include "settings/Colors.h"

#include <QCheckBox>
#include <QTextEdit>

void TForm1::ShowNumbersDialog()
{
    // How the dialog was closed does not matter: "start" and "stop" have set
    // the drill's switch and range themselves, Escape has left them alone.
    if (FormNumbers) {
        FormNumbers->bind(&FNumbersMode, &FNumberFrom, &FNumberTo);
        FormNumbers->centreOn(this);
        korvana::Dialogs::instance().execModal(FormNumbers);
    }
    hookNumberPaneBoxes();

    // The syllables are loaded afresh at every start; an item that cannot be
    // read leaves whatever reTemp held.
    const QByteArray rtf = charDatabase.numbersRtf();
    if (!rtf.isEmpty()) {
        try {
            reTemp.fromRtf(rtf);
        } catch (...) {
        }
    }
    // A number in the drill, else the next lesson term (or why there is none).
    bNextClick();
}

void TForm1::hookNumberPaneBoxes()
{
    // The pane boxes' own handlers redisplay the lesson term; while the drill
    // runs the same change must show the number instead. Connected after
    // theirs, these run last and so decide what the pane shows. The notes box
    // has nothing to show in the drill: its pane stays empty.
    if (m_numberBoxesHooked || !chbOrig)
        return;
    m_numberBoxesHooked = true;
    connect(chbOrig, &QCheckBox::toggled, this, [this] {
        if (FNumbersMode)
            ShowOrigNr(false);
    });
    connect(chbPin, &QCheckBox::toggled, this, [this] {
        if (FNumbersMode)
            ShowPinNr(false);
    });
    connect(chbChin, &QCheckBox::toggled, this, [this] {
        if (FNumbersMode)
            ShowChinNr(false);
    });
    // The notes handler would refill the pane from the last lesson term.
    connect(chbNotes, &QCheckBox::toggled, this, [this] {
        if (FNumbersMode)
            reNotes->clear();
    });
}

void TForm1::NewNumber()
{
    // Seeded from the clock before every draw, so two draws within the same
    // millisecond give the same number.
    auto &random = korvana::RandomGenerator::instance();
    random.randomize();
    FNumber = korvana::numberInRange({FNumberFrom, FNumberTo}, [&random](int n) { return random.random(n); });
    ShowNumber();
    if (chbRead && chbRead->isChecked())
        jbReadclick();
    // The engine stops the automatic timer at the start of each step; the
    // drill keeps the automatic mode going as a shown term does.
    if (chbAuto && chbAuto->isChecked())
        SetTimer();
}

void TForm1::ShowNumber()
{
    reNotes->clear();
    ShowOrigNr(false);
    // The pinyin is built from the numeral text ShowChinNr has just made.
    ShowChinNr(false);
    ShowPinNr(false);
}

void TForm1::ShowOrigNr(bool Force)
{
    reOrig->clear();
    if (!Force && !chbOrig->isChecked())
        return;
    reOrig->setText(QString::number(FNumber));
    reOrig->setSel(0, -1);
    reOrig->setSelSize(FFontsizeTranslation);
    reOrig->setSelStart(0);
}

void TForm1::ShowChinNr(bool Force)
{
    FNumberText = korvana::chineseNumeral(FNumber);
    RichEdit2->clear();
    RichEdit2->setText(FNumberText);

    reChin->clear();
    if (!Force && !chbChin->isChecked())
        return;
    applyKanjiLook(RichEdit2);
    // Everything but the final paragraph mark.
    RichEdit2->setSelStart(0);
    RichEdit2->setSelLength(RichEdit2->textLength());
    if (RichEdit2->selLength() > 0)
        korvana::CopyRTF(RichEdit2, reChin);
    reChin->setSelStart(0);
    if (QTextEdit *v = reChin->view())
        v->viewport()->repaint();
}

void TForm1::ShowPinNr(bool Force)
{
    rePin->clear();
    if (!Force && !chbPin->isChecked())
        return;
    AppendNumeralPinyin();
    rePin->setSelStart(0);
}

void TForm1::AppendNumeralPinyin()
{
    for (const QChar c : FNumberText) {
        if (const int line = korvana::numeralPinyinLine(c))
            CopyNumeralPinyinLine(line);
    }
}

void TForm1::CopyNumeralPinyinLine(int N)
{
    if (N < 1)
        return;
    const int start = reTemp.lineIndex(N - 1);
    if (start < 0)
        return; // reTemp holds fewer lines
    // Up to the next line's start less its line break; the last line runs to
    // the end of the text, without the final paragraph mark.
    const int next = reTemp.lineIndex(N);
    const int end = next >= 0 ? next - 1 : reTemp.toMessagePos(reTemp.textLength());
    // An empty selection would make the copy take all of reTemp.
    if (end <= start)
        return;
    reTemp.setSel(start, end);
    rePin->setSelStart(rePin->textLength());
    korvana::CopyRTF(&reTemp, rePin);
}
