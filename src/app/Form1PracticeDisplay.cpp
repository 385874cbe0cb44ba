// The term display: the current term's line and its four panes.
#include "app/TForm1.h"
#include "lessons/LinkedFiles.h"
#include "platform/files/SafeFiles.h"
#include "practice/TformPicture.h"
#include "settings/Colors.h"
#include "settings/TFormOptions.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QTextEdit>

namespace {

// The span of a field's value in a line: from after "<XX=" to before the next
// ">", in the rich edit's selection counting. Empty when the tag is missing
// or nothing closes it.
struct Span {
    int from = 0;
    int to = -1; // the closing ">", or -1
    int length() const { return to < 0 ? 0 : to - from; }
};

Span fieldSpan(const korvana::RichEdit *line, const QString &tag)
{
    const QString text = line->text();
    const qsizetype at = text.indexOf(tag, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {0, -1};
    Span s;
    s.from = int(at + tag.size());
    s.to = int(text.indexOf(QLatin1Char('>'), s.from));
    return s;
}

void caretHome(korvana::RichEdit *pane)
{
    pane->setSelStart(0);
    if (QTextEdit *v = pane->view())
        v->viewport()->repaint();
}

} // namespace

QString TForm1::GetTagValue(const QString &Name)
{
    const Span s = fieldSpan(reLine, QLatin1Char('<') + Name + QLatin1Char('='));
    if (s.to < 0)
        return {};
    return reLine->text().mid(s.from, s.length());
}

QString TForm1::termFileName(const QString &Name) const
{
    // Sounds and pictures travel with their lesson: its folder first, then
    // the name as given. Only regular files within their kind's bound are
    // offered (the callers check), so a pipe or device named by someone
    // else's lesson cannot hang the window.
    if (Name.isEmpty())
        return Name;
    return korvana::resolveLinkedFile(Name, FCurrentLesson, QDir::currentPath());
}

QChar TForm1::GetTermType()
{
    const QString type = GetTagValue(QStringLiteral("TY"));
    return type.isEmpty() ? QLatin1Char('w') : type[0];
}

bool TForm1::ShowTerm2(int N)
{
    const int rows = StringGrid1.rowCount();
    if (N < 1 || N > rows)
        return false;
    const int row = N - 1;
    const QString state = StringGrid1.state(row);
    if (state == u"l")
        return false;
    if (chbDifficult->isChecked() && state != u"d")
        return false;

    // The whole line with its line end; the last line runs to the end.
    reLine->clear();
    reMain.setSel(reMain.lineIndex(row), reMain.lineIndex(row + 1));
    korvana::CopyRTF(&reMain, reLine);

    // A term refused for its type has already become the line the panes
    // read; the panes themselves still show the previous term.
    FCurrentType = GetTermType();
    if ((FCurrentType == u'p' && !chbPhrases->isChecked()) || (FCurrentType == u'w' && !chbWords->isChecked()))
        return false;

    practice->addShown(row);
    jbMarkDifficult->setLatched(state == u"d");
    jbMarkUnlearned->setLatched(state == u"u");

    ShowOrig2(false);
    ShowPin2(false);
    ShowNotes2(false);
    ShowChin2(false);

    FCurrentLesson = StringGrid1.lesson(row);

    lblView->hide();
    if (formPicture && formPicture->isVisible())
        formPicture->close();
    FPictureFile = termFileName(GetTagValue(QStringLiteral("GR")));
    if (!FPictureFile.isEmpty() && korvana::files::isRegularFile(FPictureFile, TformPicture::MaxFileBytes)) {
        lblView->show();
        lblView->setToolTip(FPictureFile);
        if (chbPicture->isChecked())
            DisplayPicture();
    }

    lblPlay->hide();
    bool played = false;
    FSoundFile = termFileName(GetTagValue(QStringLiteral("SN")));
    if (!FSoundFile.isEmpty() && korvana::files::isRegularFile(FSoundFile, korvana::MediaPlayer::MaxFileBytes)) {
        lblPlay->show();
        lblPlay->setToolTip(FSoundFile);
        if (chbSound->isChecked()) {
            PlaySound();
            played = true;
        }
    }

    if (chbRead && chbRead->isChecked() && !(played && FSoundExcludesSynthesis))
        jbReadclick();

    if (chbChin->isChecked() && chbFlash->isChecked()
        && ((FormOptions->chbFlashWords->isChecked() && FCurrentType == u'w')
            || (FormOptions->chbFlashPhrases->isChecked() && FCurrentType == u'p'))) {
        Flash(false);
        FShownIndex = N;
        return true;
    }
    if (chbFlash->isChecked() && chbAuto->isChecked())
        Flash(true);

    FShownIndex = N;
    return true;
}

namespace {
// Translation, pinyin and notes: the field's span, in a Latin font, at the
// pane's size.
template <typename Latin>
bool fillTextPane(korvana::RichEdit *line, korvana::RichEdit *pane, const QString &tag, int size, Latin latinFont)
{
    const Span s = fieldSpan(line, tag);
    if (s.to >= 0)
        latinFont(s.from, s.to);
    if (s.length() <= 0)
        return false;
    line->setSelStart(s.from);
    line->setSelLength(s.length());
    korvana::CopyRTF(line, pane);
    pane->setSel(0, -1);
    pane->setSelSize(size);
    return true;
}
} // namespace

void TForm1::ShowOrig2(bool Force)
{
    reOrig->clear();
    if (!Force && !chbOrig->isChecked())
        return;
    auto latin = [this](int from, int to) { PrevestJineFontyNaTimes(reLine, from, to); };
    if (fillTextPane(reLine, reOrig, QStringLiteral("<OR="), FFontsizeTranslation, latin))
        caretHome(reOrig);
}

void TForm1::ShowPin2(bool Force)
{
    rePin->clear();
    if (!Force && !chbPin->isChecked())
        return;
    auto latin = [this](int from, int to) { PrevestJineFontyNaTimes(reLine, from, to); };
    if (fillTextPane(reLine, rePin, QStringLiteral("<PI="), FFontsizePinyin, latin)) {
        if (FShowToneColours)
            ColorPinyinTones();
        caretHome(rePin);
    }
}

void TForm1::ShowNotes2(bool Force)
{
    reNotes->clear();
    if (!Force && !chbNotes->isChecked())
        return;
    auto latin = [this](int from, int to) { PrevestJineFontyNaTimes(reLine, from, to); };
    if (fillTextPane(reLine, reNotes, QStringLiteral("<NO="), FFontsizeNotes, latin))
        caretHome(reNotes);
}

void TForm1::ShowChin2(bool Force)
{
    // RichEdit2 is filled even when the pane is hidden: reading aloud,
    // flashing and the automatic interval read it.
    reChin->clear();
    RichEdit2->clear();
    RichEdit2Background = QColor();
    const Span s = fieldSpan(reLine, QStringLiteral("<CH="));
    if (s.length() <= 0)
        return;
    reLine->setSelStart(s.from);
    reLine->setSelLength(s.length());
    korvana::CopyRTF(reLine, RichEdit2);
    applyKanjiLook(RichEdit2);
    if (FSetKanjiFont) {
        if (FSetKanjiBackgroundColor)
            RichEdit2Background = korvana::toQColor(FKanjiBackgroundColor);
    }
    // Everything but the final paragraph mark.
    RichEdit2->setSelStart(0);
    RichEdit2->setSelLength(RichEdit2->textLength());
    if (Force || chbChin->isChecked())
        korvana::CopyRTF(RichEdit2, reChin);
    caretHome(reChin);
}

void TForm1::applyKanjiLook(korvana::RichEdit *Edit)
{
    // The characters' size always; font, boldness and colour only when the
    // settings ask for the Kanji font.
    Edit->setSel(0, -1);
    Edit->setSelSize(FFontsizeKanji);
    if (!FSetKanjiFont)
        return;
    // "Rotate Kanji" named the font's vertical "@" form, which Linux fonts
    // do not have: asking for it put a fallback font in place of the chosen
    // one. The chosen font stays; the characters are not turned.
    Edit->setSelFontName(FKanjiFont);
    if (FBoldKanji)
        Edit->setSelBold(true);
    if (FSetKanjiColor)
        Edit->setSelColor(korvana::toQColor(FKanjiColor));
}
