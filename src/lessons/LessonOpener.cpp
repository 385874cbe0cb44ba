#include "lessons/LessonOpener.h"
#include "lessons/LessonStore.h"
#include "platform/richtext/CodePages.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

namespace korvana {

QByteArray lessonDigest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QString lineState(const QString &line)
{
    const qsizetype at = line.indexOf(QLatin1String("<st="), 0, Qt::CaseInsensitive);
    if (at < 0 || at + 4 >= line.size())
        return QStringLiteral("u");
    const QChar c = line[at + 4].toLower();
    if (c == u'l' || c == u'd')
        return QString(c);
    return QStringLiteral("u");
}

void removeStateTags(RichEdit &doc, int line)
{
    // Taking a tag out can join what stood around it into a new one
    // ("<ST<ST=l>=d>"): that goes too, or a saved and reopened lesson would
    // lose it only then and its term would change.
    for (;;) {
        const QString text = doc.line(line);
        struct Range {
            int from, length;
        };
        QList<Range> tags;
        qsizetype at = 0;
        while ((at = text.indexOf(QLatin1String("<st="), at, Qt::CaseInsensitive)) >= 0) {
            const qsizetype close = text.indexOf(u'>', at + 4);
            if (close < 0)
                break; // an unclosed tag is no tag; the rest of the line is left alone
            tags.append({int(at), int(close - at + 1)});
            at = close + 1;
        }
        if (tags.isEmpty())
            return;
        const int lineStart = doc.toSelectionPos(doc.lineIndex(line));
        // Last first, so the earlier ranges keep their positions.
        for (qsizetype i = tags.size() - 1; i >= 0; --i) {
            doc.setSelStart(lineStart + tags[i].from);
            doc.setSelLength(tags[i].length);
            doc.setSelText(QString());
        }
    }
}

namespace {

enum class LessonEncoding { Rtf, Utf16, Utf8, EightBit };

bool isUtf16Bom(const QByteArray &b)
{
    return b.size() >= 2
        && ((uchar(b[0]) == 0xFF && uchar(b[1]) == 0xFE) || (uchar(b[0]) == 0xFE && uchar(b[1]) == 0xFF));
}

QByteArray withoutUtf8Bom(const QByteArray &b)
{
    return b.startsWith("\xEF\xBB\xBF") ? b.mid(3) : b;
}

bool isRtf(const QByteArray &bytes)
{
    const QByteArray head = withoutUtf8Bom(bytes).trimmed().left(5).toLower();
    return head == "{\\rtf" || head == "{urtf";
}

// Control characters that no text file holds (tab, line and page ends and the
// old end-of-file mark are fine).
bool hasForeignControls(QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f' && u != u'\v' && u != 0x1A)
            return true;
    }
    return false;
}

// The encoding of bytes that can be a lesson; false when they cannot.
bool classify(const QByteArray &bytes, LessonEncoding *enc, QString *text)
{
    if (isUtf16Bom(bytes)) {
        QStringDecoder dec(QStringDecoder::Utf16, QStringDecoder::Flag::Stateless);
        QString s = dec.decode(bytes);
        if (dec.hasError() || hasForeignControls(s))
            return false;
        if (!s.isEmpty() && s[0] == QChar(0xFEFF))
            s.remove(0, 1);
        *enc = LessonEncoding::Utf16;
        *text = s;
        return true;
    }
    if (bytes.contains('\0'))
        return false;
    if (isRtf(bytes)) {
        *enc = LessonEncoding::Rtf;
        return true;
    }
    const QByteArray body = withoutUtf8Bom(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(body);
    if (!utf8.hasError()) {
        if (hasForeignControls(s))
            return false;
        *enc = LessonEncoding::Utf8;
        *text = s;
        return true;
    }
    // Old lessons saved as 8-bit text in the Western code page.
    s = CodePageDecoder().decode(body, 1252);
    if (hasForeignControls(s))
        return false;
    *enc = LessonEncoding::EightBit;
    *text = s;
    return true;
}

int messageLength(const RichEdit &doc)
{
    return doc.toMessagePos(doc.textLength());
}

} // namespace

bool isLessonData(const QByteArray &bytes)
{
    LessonEncoding enc;
    QString text;
    return classify(bytes, &enc, &text);
}

void loadLessonData(RichEdit &doc, const QByteArray &bytes)
{
    LessonEncoding enc;
    QString text;
    if (!classify(bytes, &enc, &text))
        throw RichTextError("not a lesson");
    doc.clear();
    if (enc == LessonEncoding::Rtf)
        doc.fromRtf(withoutUtf8Bom(bytes));
    else
        doc.setText(text);
}

QStringList uniqueLessonNames(const QStringList &names)
{
    QStringList result;
    QSet<QString> seen;
    for (const QString &name : names) {
        const QString key = name.isEmpty() ? name : QDir::cleanPath(QFileInfo(name).absoluteFilePath());
        if (seen.contains(key))
            continue;
        seen.insert(key);
        result.append(name);
    }
    return result;
}

LessonOpener::LessonOpener(LessonStore &store, LoadedLessons &loaded) : m_store(store), m_loaded(loaded)
{
    RichEdit2.setWordWrap(false);
}

QStringList LessonOpener::openAll(const std::function<void()> &afterEachFile)
{
    m_store.reMain.setTextLimit(LessonStore::TextLimit);
    // A lesson named twice would load its terms twice, and saving would write
    // the file twice over, the second time from half its rows.
    m_store.FOpenLessons = uniqueLessonNames(m_store.FOpenLessons);
    m_store.clear();
    m_loaded.clear();
    m_termLines = 0;

    QStringList failed;
    for (const QString &file : std::as_const(m_store.FOpenLessons)) {
        if (!appendLesson(file))
            failed.append(file);
        if (afterEachFile)
            afterEachFile();
    }
    // Drop the spare row the table keeps while lessons load.
    m_store.StringGrid1.setRowCount(m_store.StringGrid1.rowCount() - 1);
    return failed;
}

bool LessonOpener::appendLesson(const QString &file)
{
    m_store.FLoadingFile = file;

    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return false;
    f.close();
    if (!isLessonData(bytes))
        return false;

    RichEdit &reMain = m_store.reMain;
    TermGrid &grid = m_store.StringGrid1;
    QList<LinkedFile> links;
    QStringList states;
    try {
        // Take the lesson apart in the scratch document first: linked-file
        // lines out, each term's state read and its state tags removed, then
        // blank lines out, so that every line left is exactly one term.
        RichEdit2.clear();
        loadLessonData(RichEdit2, bytes);
        links = ReadParTags(RichEdit2);
        for (int i = RichEdit2.lineCount() - 1; i >= 0; --i) {
            QString line = RichEdit2.line(i);
            const QString state = lineState(line);
            if (line.contains(QLatin1String("<st="), Qt::CaseInsensitive)) {
                removeStateTags(RichEdit2, i);
                line = RichEdit2.line(i);
            }
            if (trimControls(line).isEmpty()) {
                RichEdit2.deleteLine(i);
                continue;
            }
            states.prepend(state);
        }
    } catch (const std::exception &) {
        return false;
    }
    const int terms = int(states.size());
    if (terms == 0 ? !trimControls(RichEdit2.text()).isEmpty() : RichEdit2.lineCount() != terms)
        return false;

    // Never past the lesson text's limit: a control at its limit would cut the
    // lesson short, and saving would then write the cut lesson back.
    const int separator = m_termLines > 0 ? 1 : 0;
    const qint64 total = qint64(messageLength(reMain)) + separator + messageLength(RichEdit2);
    if (total > LessonStore::TextLimit)
        return false;

    // Commit: append the terms and make their rows; undo both when the
    // result is not one row per line.
    const int textBefore = reMain.textLength();
    const int rowsBefore = grid.rowCount();
    auto rollback = [&] {
        if (reMain.textLength() > textBefore) {
            reMain.setSelStart(textBefore);
            reMain.setSelLength(reMain.textLength() - textBefore);
            reMain.setSelText(QString());
        }
        grid.setRowCount(rowsBefore);
        for (int c = 0; c < TermGrid::ColCount; ++c)
            grid.setCell(c, rowsBefore - 1, QString());
    };
    try {
        if (terms > 0) {
            if (m_termLines > 0)
                reMain.addLine(QString());
            reMain.setSelStart(reMain.textLength());
            RichEdit2.setSelStart(0);
            CopyRTF(&RichEdit2, &reMain);
            // Blank lines go only within what was just appended: a line of an
            // earlier lesson never moves away from its row.
            for (int i = reMain.lineCount() - 1; i >= m_termLines; --i) {
                if (trimControls(reMain.line(i)).isEmpty())
                    reMain.deleteLine(i);
            }
            if (reMain.lineCount() != m_termLines + terms) {
                rollback();
                return false;
            }
            m_store.NacistDoStringgridu(file);
            if (grid.rowCount() - 1 != m_termLines + terms) {
                rollback();
                return false;
            }
            for (int k = 0; k < terms; ++k)
                grid.setCell(TermGrid::TermStatus, m_termLines + k, states[k]);
        }
    } catch (const std::exception &) {
        rollback();
        return false;
    }

    for (const LinkedFile &link : std::as_const(links)) {
        m_store.FParFiles.append(link.file);
        m_store.FParLessons.append(file);
        m_store.FParDescriptions.append(link.description);
    }
    m_termLines += terms;
    m_loaded.insert(file, lessonDigest(bytes));
    m_store.FCurrentLesson = file;
    return true;
}

} // namespace korvana
