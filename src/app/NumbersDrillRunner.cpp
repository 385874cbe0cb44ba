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

using korvana::Pane;

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
    if (m_numberBoxesHooked || !m_controls.panes[Pane::Translation].box)
        return;
    m_numberBoxesHooked = true;
    for (Pane p : korvana::allPanes) {
        // The notes handler would refill the pane from the last lesson term.
        connect(m_controls.panes[p].box, &QCheckBox::toggled, this, [this, p] {
            if (!m_drill.on)
                return;
            if (p == Pane::Notes)
                m_controls.panes[p].text->clear();
            else
                showNumberPane(p, false);
        });
    }
}

void NumbersDrillRunner::showNumberPane(Pane pane, bool force)
{
    switch (pane) {
    case Pane::Translation:
        showNumberDigits(force);
        break;
    case Pane::Pinyin:
        showNumberPinyin(force);
        break;
    case Pane::Characters:
        showNumberCharacters(force);
        break;
    case Pane::Notes:
        break;
    }
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
    m_controls.panes[Pane::Notes].text->clear();
    showNumberDigits(false);
    // The pinyin is built from the numeral text showNumberCharacters has just made.
    showNumberCharacters(false);
    showNumberPinyin(false);
}

void NumbersDrillRunner::showNumberDigits(bool force)
{
    m_controls.panes[Pane::Translation].text->clear();
    if (!force && !m_controls.panes[Pane::Translation].box->isChecked())
        return;
    m_controls.panes[Pane::Translation].text->setText(QString::number(m_drill.number));
    m_controls.panes[Pane::Translation].text->setSel(0, -1);
    m_controls.panes[Pane::Translation].text->setSelSize(m_settings.fontSizes[Pane::Translation]);
    m_controls.panes[Pane::Translation].text->setSelStart(0);
}

void NumbersDrillRunner::showNumberCharacters(bool force)
{
    m_drill.numeral = korvana::chineseNumeral(m_drill.number);
    m_controls.termCharactersText->clear();
    m_controls.termCharactersText->setText(m_drill.numeral);

    m_controls.panes[Pane::Characters].text->clear();
    if (!force && !m_controls.panes[Pane::Characters].box->isChecked())
        return;
    m_hooks.applyCharactersLook(m_controls.termCharactersText);
    // Everything but the final paragraph mark.
    m_controls.termCharactersText->setSelStart(0);
    m_controls.termCharactersText->setSelLength(m_controls.termCharactersText->textLength());
    if (m_controls.termCharactersText->selLength() > 0)
        korvana::copyRichText(m_controls.termCharactersText, m_controls.panes[Pane::Characters].text);
    m_controls.panes[Pane::Characters].text->setSelStart(0);
    if (QTextEdit *v = m_controls.panes[Pane::Characters].text->view())
        v->viewport()->repaint();
}

void NumbersDrillRunner::showNumberPinyin(bool force)
{
    m_controls.panes[Pane::Pinyin].text->clear();
    if (!force && !m_controls.panes[Pane::Pinyin].box->isChecked())
        return;
    appendNumeralPinyin();
    m_controls.panes[Pane::Pinyin].text->setSelStart(0);
}

void NumbersDrillRunner::appendNumeralPinyin()
{
    for (const QChar c : m_drill.numeral) {
        if (const int line = korvana::numeralPinyinLine(c))
            copyNumeralPinyinLine(line);
    }
}

void NumbersDrillRunner::copyNumeralPinyinLine(int n)
{
    if (n < 1)
        return;
    const int start = m_drill.numeralPinyin.lineIndex(n - 1);
    if (start < 0)
        return; // the numerals' pinyin holds fewer lines
    // Up to the next line's start less its line break; the last line runs to
    // the end of the text, without the final paragraph mark.
    const int next = m_drill.numeralPinyin.lineIndex(n);
    const int end = next >= 0 ? next - 1 : m_drill.numeralPinyin.toMessagePos(m_drill.numeralPinyin.textLength());
    // An empty selection would make the copy take all of the numerals' pinyin.
    if (end <= start)
        return;
    m_drill.numeralPinyin.setSel(start, end);
    m_controls.panes[Pane::Pinyin].text->setSelStart(m_controls.panes[Pane::Pinyin].text->textLength());
    korvana::copyRichText(&m_drill.numeralPinyin, m_controls.panes[Pane::Pinyin].text);
}
