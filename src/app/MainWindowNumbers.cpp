// The numbers drill: while the drill is on, every step of the practice
// engine draws a whole number of the chosen range and shows it in the panes
// in place of a lesson term: the digits, the Chinese numeral and its pinyin.
#include "app/MainWindow.h"
#include "app/ProgramWindows.h"
#include "app/TermMedia.h"
#include "platform/ui/Dialogs.h"
#include "practice/RandomGenerator.h"
#include "reference/Numbers.h"
#include "reference/NumbersDialog.h"
#include "settings/Colors.h"

#include <QCheckBox>
#include <QTextEdit>

void MainWindow::showNumbersDialog()
{
    // How the dialog was closed does not matter: "start" and "stop" have set
    // the drill's switch and range themselves, Escape has left them alone.
    if (windows.numbersDialog) {
        windows.numbersDialog->bind(&m_numbers.on, &m_numbers.from, &m_numbers.to);
        windows.numbersDialog->centreOn(this);
        korvana::Dialogs::instance().execModal(windows.numbersDialog.get());
    }
    hookNumberPaneBoxes();

    // The syllables are loaded afresh at every start; an item that cannot be
    // read leaves whatever the numerals' pinyin held.
    loadPendingData();
    const QByteArray rtf = referenceData.database().numbersRtf();
    if (!rtf.isEmpty()) {
        try {
            m_numbers.numeralPinyin.fromRtf(rtf);
        } catch (...) {
        }
    }
    // A number in the drill, else the next lesson term (or why there is none).
    nextButtonClicked();
}

void MainWindow::hookNumberPaneBoxes()
{
    // The pane boxes' own handlers redisplay the lesson term; while the drill
    // runs the same change must show the number instead. Connected after
    // theirs, these run last and so decide what the pane shows. The notes box
    // has nothing to show in the drill: its pane stays empty.
    if (m_numberBoxesHooked || !translationSwitch)
        return;
    m_numberBoxesHooked = true;
    connect(translationSwitch, &QCheckBox::toggled, this, [this] {
        if (m_numbers.on)
            showNumberDigits(false);
    });
    connect(pinyinSwitch, &QCheckBox::toggled, this, [this] {
        if (m_numbers.on)
            showNumberPinyin(false);
    });
    connect(charactersSwitch, &QCheckBox::toggled, this, [this] {
        if (m_numbers.on)
            showNumberCharacters(false);
    });
    // The notes handler would refill the pane from the last lesson term.
    connect(notesSwitch, &QCheckBox::toggled, this, [this] {
        if (m_numbers.on)
            notesText->clear();
    });
}

void MainWindow::newNumber()
{
    // Seeded from the clock before every draw, so two draws within the same
    // millisecond give the same number.
    auto &random = korvana::RandomGenerator::instance();
    random.randomize();
    m_numbers.number = korvana::numberInRange({m_numbers.from, m_numbers.to}, [&random](int n) { return random.random(n); });
    showNumber();
    if (readSwitch && readSwitch->isChecked())
        m_media->readButtonClicked();
    // The engine stops the automatic timer at the start of each step; the
    // drill keeps the automatic mode going as a shown term does.
    if (autoSwitch && autoSwitch->isChecked())
        startAutoTimer();
}

void MainWindow::showNumber()
{
    notesText->clear();
    showNumberDigits(false);
    // The pinyin is built from the numeral text showNumberCharacters has just made.
    showNumberCharacters(false);
    showNumberPinyin(false);
}

void MainWindow::showNumberDigits(bool Force)
{
    translationText->clear();
    if (!Force && !translationSwitch->isChecked())
        return;
    translationText->setText(QString::number(m_numbers.number));
    translationText->setSel(0, -1);
    translationText->setSelSize(settings.translationFontSize);
    translationText->setSelStart(0);
}

void MainWindow::showNumberCharacters(bool Force)
{
    m_numbers.numeral = korvana::chineseNumeral(m_numbers.number);
    termCharactersText->clear();
    termCharactersText->setText(m_numbers.numeral);

    charactersText->clear();
    if (!Force && !charactersSwitch->isChecked())
        return;
    applyKanjiLook(termCharactersText);
    // Everything but the final paragraph mark.
    termCharactersText->setSelStart(0);
    termCharactersText->setSelLength(termCharactersText->textLength());
    if (termCharactersText->selLength() > 0)
        korvana::copyRichText(termCharactersText, charactersText);
    charactersText->setSelStart(0);
    if (QTextEdit *v = charactersText->view())
        v->viewport()->repaint();
}

void MainWindow::showNumberPinyin(bool Force)
{
    pinyinText->clear();
    if (!Force && !pinyinSwitch->isChecked())
        return;
    appendNumeralPinyin();
    pinyinText->setSelStart(0);
}

void MainWindow::appendNumeralPinyin()
{
    for (const QChar c : m_numbers.numeral) {
        if (const int line = korvana::numeralPinyinLine(c))
            copyNumeralPinyinLine(line);
    }
}

void MainWindow::copyNumeralPinyinLine(int N)
{
    if (N < 1)
        return;
    const int start = m_numbers.numeralPinyin.lineIndex(N - 1);
    if (start < 0)
        return; // the numerals' pinyin holds fewer lines
    // Up to the next line's start less its line break; the last line runs to
    // the end of the text, without the final paragraph mark.
    const int next = m_numbers.numeralPinyin.lineIndex(N);
    const int end = next >= 0 ? next - 1 : m_numbers.numeralPinyin.toMessagePos(m_numbers.numeralPinyin.textLength());
    // An empty selection would make the copy take all of the numerals' pinyin.
    if (end <= start)
        return;
    m_numbers.numeralPinyin.setSel(start, end);
    pinyinText->setSelStart(pinyinText->textLength());
    korvana::copyRichText(&m_numbers.numeralPinyin, pinyinText);
}
