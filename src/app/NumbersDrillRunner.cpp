#include "app/NumbersDrillRunner.h"
#include "app/MainWindowControls.h"
#include "app/ProgramWindows.h"
#include "platform/ui/Dialogs.h"
#include "practice/RandomGenerator.h"
#include "reference/Numbers.h"
#include "reference/NumbersDialog.h"
#include "reference/ReferenceData.h"
#include "settings/Colors.h"
#include "settings/MainSettings.h"

#include <QCheckBox>
#include <QTextEdit>

NumbersDrillRunner::NumbersDrillRunner(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                                       const korvana::MainSettings &settings, korvana::ReferenceData &referenceData,
                                       WindowHooks hooks)
    : m_window(window), m_controls(controls), m_windows(windows), m_settings(settings), m_referenceData(referenceData),
      m_hooks(std::move(hooks))
{
}

void NumbersDrillRunner::showNumbersDialog()
{
    // How the dialog was closed does not matter: "start" and "stop" have set
    // the drill's switch and range themselves, Escape has left them alone.
    if (m_windows.numbersDialog) {
        m_windows.numbersDialog->bind(&m_drill.on, &m_drill.from, &m_drill.to);
        m_windows.numbersDialog->centreOn(&m_window);
        korvana::Dialogs::instance().execModal(m_windows.numbersDialog.get());
    }
    hookNumberPaneBoxes();

    // The syllables are loaded afresh at every start; an item that cannot be
    // read leaves whatever the numerals' pinyin held.
    m_hooks.loadPendingData();
    const QByteArray rtf = m_referenceData.database().numbersRtf();
    if (!rtf.isEmpty()) {
        try {
            m_drill.numeralPinyin.fromRtf(rtf);
        } catch (...) {
        }
    }
    // A number in the drill, else the next lesson term (or why there is none).
    m_hooks.next();
}

void NumbersDrillRunner::hookNumberPaneBoxes()
{
    // The pane boxes' own handlers redisplay the lesson term; while the drill
    // runs the same change must show the number instead. Connected after
    // theirs, these run last and so decide what the pane shows. The notes box
    // has nothing to show in the drill: its pane stays empty.
    if (m_numberBoxesHooked || !m_controls.translationSwitch)
        return;
    m_numberBoxesHooked = true;
    connect(m_controls.translationSwitch, &QCheckBox::toggled, this, [this] {
        if (m_drill.on)
            showNumberDigits(false);
    });
    connect(m_controls.pinyinSwitch, &QCheckBox::toggled, this, [this] {
        if (m_drill.on)
            showNumberPinyin(false);
    });
    connect(m_controls.charactersSwitch, &QCheckBox::toggled, this, [this] {
        if (m_drill.on)
            showNumberCharacters(false);
    });
    // The notes handler would refill the pane from the last lesson term.
    connect(m_controls.notesSwitch, &QCheckBox::toggled, this, [this] {
        if (m_drill.on)
            m_controls.notesText->clear();
    });
}

void NumbersDrillRunner::newNumber()
{
    // Seeded from the clock before every draw, so two draws within the same
    // millisecond give the same number.
    auto &random = korvana::RandomGenerator::instance();
    random.randomize();
    m_drill.number = korvana::numberInRange({m_drill.from, m_drill.to}, [&random](int n) { return random.random(n); });
    showNumber();
    if (m_controls.readSwitch && m_controls.readSwitch->isChecked())
        m_hooks.read();
    // The engine stops the automatic timer at the start of each step; the
    // drill keeps the automatic mode going as a shown term does.
    if (m_controls.autoSwitch && m_controls.autoSwitch->isChecked())
        m_hooks.startAutoTimer();
}

void NumbersDrillRunner::showNumber()
{
    m_controls.notesText->clear();
    showNumberDigits(false);
    // The pinyin is built from the numeral text showNumberCharacters has just made.
    showNumberCharacters(false);
    showNumberPinyin(false);
}

void NumbersDrillRunner::showNumberDigits(bool Force)
{
    m_controls.translationText->clear();
    if (!Force && !m_controls.translationSwitch->isChecked())
        return;
    m_controls.translationText->setText(QString::number(m_drill.number));
    m_controls.translationText->setSel(0, -1);
    m_controls.translationText->setSelSize(m_settings.translationFontSize);
    m_controls.translationText->setSelStart(0);
}

void NumbersDrillRunner::showNumberCharacters(bool Force)
{
    m_drill.numeral = korvana::chineseNumeral(m_drill.number);
    m_controls.termCharactersText->clear();
    m_controls.termCharactersText->setText(m_drill.numeral);

    m_controls.charactersText->clear();
    if (!Force && !m_controls.charactersSwitch->isChecked())
        return;
    m_hooks.applyKanjiLook(m_controls.termCharactersText);
    // Everything but the final paragraph mark.
    m_controls.termCharactersText->setSelStart(0);
    m_controls.termCharactersText->setSelLength(m_controls.termCharactersText->textLength());
    if (m_controls.termCharactersText->selLength() > 0)
        korvana::copyRichText(m_controls.termCharactersText, m_controls.charactersText);
    m_controls.charactersText->setSelStart(0);
    if (QTextEdit *v = m_controls.charactersText->view())
        v->viewport()->repaint();
}

void NumbersDrillRunner::showNumberPinyin(bool Force)
{
    m_controls.pinyinText->clear();
    if (!Force && !m_controls.pinyinSwitch->isChecked())
        return;
    appendNumeralPinyin();
    m_controls.pinyinText->setSelStart(0);
}

void NumbersDrillRunner::appendNumeralPinyin()
{
    for (const QChar c : m_drill.numeral) {
        if (const int line = korvana::numeralPinyinLine(c))
            copyNumeralPinyinLine(line);
    }
}

void NumbersDrillRunner::copyNumeralPinyinLine(int N)
{
    if (N < 1)
        return;
    const int start = m_drill.numeralPinyin.lineIndex(N - 1);
    if (start < 0)
        return; // the numerals' pinyin holds fewer lines
    // Up to the next line's start less its line break; the last line runs to
    // the end of the text, without the final paragraph mark.
    const int next = m_drill.numeralPinyin.lineIndex(N);
    const int end = next >= 0 ? next - 1 : m_drill.numeralPinyin.toMessagePos(m_drill.numeralPinyin.textLength());
    // An empty selection would make the copy take all of the numerals' pinyin.
    if (end <= start)
        return;
    m_drill.numeralPinyin.setSel(start, end);
    m_controls.pinyinText->setSelStart(m_controls.pinyinText->textLength());
    korvana::copyRichText(&m_drill.numeralPinyin, m_controls.pinyinText);
}
