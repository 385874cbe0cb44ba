#include "app/PinyinTones.h"
#include "app/MainWindowControls.h"
#include "platform/richtext/RichEdit.h"
#include "practice/ToneColours.h"
#include "settings/Colors.h"

#include <algorithm>

using korvana::Pane;

namespace {

bool isLineEnd(QChar ch)
{
    return ch == u'\r' || ch == u'\n';
}

} // namespace

// Positions are in the selection counting, as text() gives them. Runs of
// characters that take the Latin font are changed with one selection each;
// line ends carry no glyph of their own and are left alone.
void PinyinTones::applyLatinFont(korvana::RichEdit *edit, int fromPos, int toPos)
{
    if (!edit)
        return;
    const QString text = edit->text();
    fromPos = std::max(fromPos, 0);
    toPos = std::min(toPos, int(text.size()) - 1);
    if (toPos < fromPos)
        return;

    const int oldStart = edit->selStart();
    const int oldLength = edit->selLength();
    const QString latin = QString::fromUtf16(korvana::kLatinFont);

    auto apply = [edit, &latin](int from, int to) {
        edit->setSelStart(from);
        edit->setSelLength(to - from);
        edit->setSelFontName(latin);
    };

    int runStart = -1;
    for (int i = fromPos; i <= toPos; ++i) {
        bool change = false;
        if (!isLineEnd(text[i])) {
            edit->setSelStart(i);
            edit->setSelLength(1);
            change = korvana::takesLatinFont(text[i], edit->selAttributes().fontName);
        }
        if (change && runStart < 0) {
            runStart = i;
        } else if (!change && runStart >= 0) {
            apply(runStart, i);
            runStart = -1;
        }
    }
    if (runStart >= 0)
        apply(runStart, toPos + 1);

    edit->setSelStart(oldStart);
    edit->setSelLength(oldLength);
}

// The whole pane turns the neutral grey; then each syllable that carries a
// tone takes the colour of the last tone character in it, as colouring it
// once per tone character would leave it.
void PinyinTones::colorPinyinTones()
{
    korvana::RichEdit *pinyin = m_controls.panes[Pane::Pinyin].text;
    pinyin->setSel(0, -1);
    pinyin->setSelColor(korvana::toQColor(korvana::kNeutralToneColour));
    for (const korvana::ToneSyllable &s : korvana::toneSyllables(pinyin->text()))
        colorPinyinSyllable(s.tone, s.lastTonePos + 1);
}

void PinyinTones::colorPinyinSyllable(int tone, int pos)
{
    if (tone < 1 || tone > 4)
        return;
    korvana::RichEdit *pinyin = m_controls.panes[Pane::Pinyin].text;
    const QString text = pinyin->text();
    if (pos < 1 || pos > text.size())
        return;
    const korvana::TextRange r = korvana::syllableRange(text, pos - 1);
    pinyin->setSelStart(r.start);
    pinyin->setSelLength(r.end - r.start);
    pinyin->setSelColor(korvana::toQColor(korvana::toneColour(tone)));
}
