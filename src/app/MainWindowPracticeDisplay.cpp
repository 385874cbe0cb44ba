// The term display: the current term's line and its four panes.
#include "app/FlashRunner.h"
#include "app/MainWindow.h"
#include "app/PinyinTones.h"
#include "app/ProgramWindows.h"
#include "app/TermMedia.h"
#include "lessons/LinkedFiles.h"
#include "platform/files/SafeFiles.h"
#include "practice/PictureWindow.h"
#include "settings/Colors.h"
#include "settings/OptionsDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QTextEdit>

using korvana::Pane;

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

QString MainWindow::tagValue(const QString &name)
{
    const Span s = fieldSpan(termLineText, QLatin1Char('<') + name + QLatin1Char('='));
    if (s.to < 0)
        return {};
    return termLineText->text().mid(s.from, s.length());
}

QString MainWindow::termFileName(const QString &fileName) const
{
    // Sounds and pictures travel with their lesson: its folder first, then
    // the name as given. Only regular files within their kind's bound are
    // offered (the callers check), so a pipe or device named by someone
    // else's lesson cannot hang the window.
    if (fileName.isEmpty())
        return fileName;
    return korvana::resolveLinkedFile(fileName, m_currentLesson, QDir::currentPath());
}

QChar MainWindow::termType()
{
    const QString type = tagValue(QStringLiteral("TY"));
    return type.isEmpty() ? QLatin1Char('w') : type[0];
}

bool MainWindow::showTerm(int n)
{
    const int rows = m_termTable.rowCount();
    if (n < 1 || n > rows)
        return false;
    const int row = n - 1;
    const QString state = m_termTable.state(row);
    if (state == u"l")
        return false;
    if (difficultSwitch->isChecked() && state != u"d")
        return false;

    // The whole line with its line end; the last line runs to the end.
    termLineText->clear();
    m_lessonText.setSel(m_lessonText.lineIndex(row), m_lessonText.lineIndex(row + 1));
    korvana::copyRichText(&m_lessonText, termLineText);

    // A term refused for its type has already become the line the panes
    // read; the panes themselves still show the previous term.
    m_currentType = termType();
    if ((m_currentType == u'p' && !phrasesSwitch->isChecked()) || (m_currentType == u'w' && !wordsSwitch->isChecked()))
        return false;

    m_practice->addShown(row);
    markDifficultButton->setLatched(state == u"d");
    markUnlearnedButton->setLatched(state == u"u");

    for (Pane p : {Pane::Translation, Pane::Pinyin, Pane::Notes, Pane::Characters})
        showPane(p, false);

    m_currentLesson = m_termTable.lesson(row);

    viewPictureLabel->hide();
    if (m_windows.pictureWindow && m_windows.pictureWindow->isVisible())
        m_windows.pictureWindow->close();
    m_pictureFile = termFileName(tagValue(QStringLiteral("GR")));
    if (!m_pictureFile.isEmpty() && korvana::files::isRegularFile(m_pictureFile, PictureWindow::MaxFileBytes)) {
        viewPictureLabel->show();
        viewPictureLabel->setToolTip(m_pictureFile);
        if (pictureSwitch->isChecked())
            m_media->displayPicture();
    }

    playSoundLabel->hide();
    bool played = false;
    m_soundFile = termFileName(tagValue(QStringLiteral("SN")));
    if (!m_soundFile.isEmpty() && korvana::files::isRegularFile(m_soundFile, korvana::MediaPlayer::MaxFileBytes)) {
        playSoundLabel->show();
        playSoundLabel->setToolTip(m_soundFile);
        if (soundSwitch->isChecked()) {
            m_media->playSound();
            played = true;
        }
    }

    if (readSwitch && readSwitch->isChecked() && !(played && m_settings.soundExcludesSynthesis))
        m_media->readButtonClicked();

    m_windows.optionsDialog->buildPages();
    if (panes[Pane::Characters].box->isChecked() && flashSwitch->isChecked()
        && ((m_windows.optionsDialog->flashWordsSwitch->isChecked() && m_currentType == u'w')
            || (m_windows.optionsDialog->flashPhrasesSwitch->isChecked() && m_currentType == u'p'))) {
        m_flash->flash(false);
        m_shownIndex = n;
        return true;
    }
    if (flashSwitch->isChecked() && autoSwitch->isChecked())
        m_flash->flash(true);

    m_shownIndex = n;
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
    korvana::copyRichText(line, pane);
    pane->setSel(0, -1);
    pane->setSelSize(size);
    return true;
}
} // namespace

void MainWindow::showPane(Pane pane, bool force)
{
    if (pane == Pane::Characters) {
        showTermCharacters(force);
        return;
    }
    korvana::RichEdit *text = this->panes[pane].text;
    text->clear();
    if (!force && !this->panes[pane].box->isChecked())
        return;
    const QString tag = QLatin1Char('<') + korvana::paneTag(pane) + QLatin1Char('=');
    const int size = m_settings.fontSizes[pane];
    auto latin = [this](int from, int to) { m_tones->applyLatinFont(termLineText, from, to); };
    if (!fillTextPane(termLineText, text, tag, size, latin))
        return;
    if (pane == Pane::Pinyin && m_settings.showToneColours)
        m_tones->colorPinyinTones();
    caretHome(text);
}

void MainWindow::showTermCharacters(bool force)
{
    // termCharactersText is filled even when the pane is hidden: reading aloud,
    // flashing and the automatic interval read it.
    panes[Pane::Characters].text->clear();
    termCharactersText->clear();
    m_termCharactersBackground = QColor();
    const Span s = fieldSpan(termLineText, QStringLiteral("<CH="));
    if (s.length() <= 0)
        return;
    termLineText->setSelStart(s.from);
    termLineText->setSelLength(s.length());
    korvana::copyRichText(termLineText, termCharactersText);
    applyCharactersLook(termCharactersText);
    if (m_settings.useCharactersFont) {
        if (m_settings.useCharactersBackgroundColor)
            m_termCharactersBackground = korvana::toQColor(m_settings.charactersBackgroundColor);
    }
    // Everything but the final paragraph mark.
    termCharactersText->setSelStart(0);
    termCharactersText->setSelLength(termCharactersText->textLength());
    if (force || panes[Pane::Characters].box->isChecked())
        korvana::copyRichText(termCharactersText, panes[Pane::Characters].text);
    caretHome(panes[Pane::Characters].text);
}

void MainWindow::applyCharactersLook(korvana::RichEdit *edit)
{
    // The characters' size always; font, boldness and colour only when the
    // settings ask for the characters font.
    edit->setSel(0, -1);
    edit->setSelSize(m_settings.fontSizes[Pane::Characters]);
    if (!m_settings.useCharactersFont)
        return;
    // "Rotate Kanji" would ask for the font's vertical "@" form, which Linux
    // fonts do not have, and so draw a fallback font in place of the chosen
    // one: the chosen font stays and the characters are not turned.
    edit->setSelFontName(m_settings.charactersFont);
    if (m_settings.boldCharacters)
        edit->setSelBold(true);
    if (m_settings.useCharactersColor)
        edit->setSelColor(korvana::toQColor(m_settings.charactersColor));
}
