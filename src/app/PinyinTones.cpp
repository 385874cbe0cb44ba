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
void PinyinTones::applyLatinFont(korvana::RichEdit *Edit, int FromPos, int ToPos)
{
    if (!Edit)
        return;
    const QString text = Edit->text();
    FromPos = std::max(FromPos, 0);
    ToPos = std::min(ToPos, int(text.size()) - 1);
    if (ToPos < FromPos)
        return;

    const int oldStart = Edit->selStart();
    const int oldLength = Edit->selLength();
    const QString latin = QString::fromUtf16(korvana::kLatinFont);

    auto apply = [Edit, &latin](int from, int to) {
        Edit->setSelStart(from);
        Edit->setSelLength(to - from);
        Edit->setSelFontName(latin);
    };

    int runStart = -1;
    for (int i = FromPos; i <= ToPos; ++i) {
        bool change = false;
        if (!isLineEnd(text[i])) {
            Edit->setSelStart(i);
            Edit->setSelLength(1);
            change = korvana::takesLatinFont(text[i], Edit->selAttributes().fontName);
        }
        if (change && runStart < 0) {
            runStart = i;
        } else if (!change && runStart >= 0) {
            apply(runStart, i);
            runStart = -1;
        }
    }
    if (runStart >= 0)
        apply(runStart, ToPos + 1);

    Edit->setSelStart(oldStart);
    Edit->setSelLength(oldLength);
}

// The whole pane turns the neutral grey; then each syllable that carries a
// tone takes the colour of the last tone character in it, as colouring it
// once per tone character would leave it.
void PinyinTones::colorPinyinTones()
{
    korvana::RichEdit *pinyin = m_controls.pane(Pane::Pinyin).text;
    pinyin->setSel(0, -1);
    pinyin->setSelColor(korvana::toQColor(korvana::kNeutralToneColour));
    for (const korvana::ToneSyllable &s : korvana::toneSyllables(pinyin->text()))
        colorPinyinSyllable(s.tone, s.lastTonePos + 1);
}

void PinyinTones::colorPinyinSyllable(int Tone, int Pos)
{
    if (Tone < 1 || Tone > 4)
        return;
    korvana::RichEdit *pinyin = m_controls.pane(Pane::Pinyin).text;
    const QString text = pinyin->text();
    if (Pos < 1 || Pos > text.size())
        return;
    const korvana::TextRange r = korvana::syllableRange(text, Pos - 1);
    pinyin->setSelStart(r.start);
    pinyin->setSelLength(r.end - r.start);
    pinyin->setSelColor(korvana::toQColor(korvana::toneColour(Tone)));
}
