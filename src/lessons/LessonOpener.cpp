#include "lessons/LessonOpener.h"
#include "lessons/LessonLine.h"
#include "lessons/LessonStore.h"
#include "platform/files/SafeFiles.h"
#include "platform/richtext/CodePages.h"
#include "platform/richtext/RtfReader.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace korvana {

QByteArray lessonDigest(const QByteArray &bytes)
{
    // Tells a file changed by another program from the one read; nobody
    // forges lesson files against it, so two fast 64-bit hashes and the size
    // do (a cryptographic hash of a big lesson cost more than the rest of
    // opening it).
    QByteArray digest;
    QDataStream out(&digest, QIODevice::WriteOnly);
    out << qint64(bytes.size()) << quint64(qHash(QByteArrayView(bytes), 0x4b6f7276))
        << quint64(qHash(QByteArrayView(bytes), 0x616e6121));
    return digest;
}

namespace {

// A state tag is "<ST=" in any case, one character and ">" at once. Anything
// else that begins "<st=" (a tag that lost its ">" in a hand edit, a note
// that mentions "<st=l then this>") is text and stays as it is.
bool isStateTagAt(QStringView text, qsizetype at)
{
    return at + 6 <= text.size() && text.mid(at, 4).compare(u"<st=", Qt::CaseInsensitive) == 0 && text[at + 4] != u'>'
           && text[at + 5] == u'>';
}

// Where the state tags of text start, in order.
QList<qsizetype> stateTags(QStringView text)
{
    QList<qsizetype> found;
    for (qsizetype at = 0; (at = text.indexOf(u"<st=", at, Qt::CaseInsensitive)) >= 0;) {
        if (isStateTagAt(text, at)) {
            found.append(at);
            at += 6;
        } else {
            ++at;
        }
    }
    return found;
}

QString stateAt(QStringView text, qsizetype at)
{
    const QChar c = text[at + 4].toLower();
    return c == u'l' || c == u'd' ? QString(c) : QStringLiteral("u");
}

constexpr qsizetype kStateTagLength = 6;

} // namespace

QString lineState(const QString &line)
{
    const QList<qsizetype> tags = stateTags(line);
    return tags.isEmpty() ? QStringLiteral("u") : stateAt(line, tags.first());
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

namespace {

const QString kOverLimit = QStringLiteral("over the 1,000,000-character limit");

bool holdsTermTag(QStringView text)
{
    static const char16_t *const tags[] = {u"<or=", u"<pi=", u"<ch=", u"<no=", u"<ty=", u"<st="};
    for (const char16_t *tag : tags) {
        if (text.contains(QStringView(tag), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString paragraphText(const rtf::Paragraph &p)
{
    if (p.runs.size() == 1)
        return p.runs.first().text;
    QString text;
    for (const rtf::Run &r : p.runs)
        text += r.text;
    return text;
}

// Removes [start, start + length) for each start (in order, not
// overlapping) from the runs of p, keeping every run's format.
void removeRanges(rtf::Paragraph &p, const QList<qsizetype> &starts, qsizetype length)
{
    for (qsizetype k = starts.size() - 1; k >= 0; --k) {
        const qsizetype from = starts[k], to = starts[k] + length;
        qsizetype offset = 0;
        for (rtf::Run &r : p.runs) {
            const qsizetype n = r.text.size();
            const qsizetype a = std::max(from, offset), b = std::min(to, offset + n);
            if (a < b)
                r.text.remove(a - offset, b - a);
            offset += n;
            if (offset >= to)
                break;
        }
    }
    p.runs.removeIf([](const rtf::Run &r) { return r.text.isEmpty(); });
}

} // namespace

// A lesson taken apart paragraph by paragraph as it is read: linked-file
// lines out into the links, each term's state read and its state tags
// removed, blank lines dropped, and the characters counted, so that reading
// stops as soon as the lesson passes the limit.
struct LessonOpener::Parts {
    qint64 room = 0; // characters the lesson text can still take
    QList<rtf::Paragraph> terms;
    QStringList states;
    QStringList types;
    QList<LinkedFile> links;
    qint64 chars = 0;    // of the terms so far, a line end between two
    bool anyTag = false; // a term tag or a linked-file line was seen
    QString over;        // why reading stopped, when it did

    bool take(rtf::Paragraph &&p)
    {
        const QString text = paragraphText(p);
        if (isParLine(text)) {
            // A line that begins "<par" but has no file attribute ("<parade>")
            // is no linked-file line and makes no lesson of the file.
            const QString file = linkedFileAttribute(text, QStringLiteral("file"));
            if (!file.isEmpty() || text.contains(QLatin1String("file="), Qt::CaseInsensitive))
                anyTag = true;
            if (!file.isEmpty())
                links.append({file, linkedFileAttribute(text, QStringLiteral("description"))});
            return true;
        }
        if (!anyTag && holdsTermTag(text))
            anyTag = true;
        QString state = QStringLiteral("u");
        QList<qsizetype> tags = stateTags(text);
        QString line = text;
        if (!tags.isEmpty())
            state = stateAt(text, tags.first());
        // A tag joined from what stood around a removed one goes too.
        while (!tags.isEmpty()) {
            removeRanges(p, tags, kStateTagLength);
            line = paragraphText(p);
            tags = stateTags(line);
        }
        if (trimControls(line).isEmpty())
            return true;
        chars += line.size() + (terms.isEmpty() ? 0 : 1);
        if (chars > LessonStore::TextLimit) {
            over = kOverLimit;
            return false;
        }
        if (chars > room) {
            over = kOverLimit + QStringLiteral(" with the lessons before it");
            return false;
        }
        terms.append(std::move(p));
        states.append(state);
        types.append(termTypeOf(line));
        return true;
    }
};

LessonOpener::LessonOpener(LessonStore &store, LoadedLessons &loaded) : m_store(store), m_loaded(loaded)
{
}

QStringList LessonOpener::openAll(const std::function<void()> &afterEachFile)
{
    // A lesson named twice would load its terms twice, and saving would write
    // the file twice over, the second time from half its rows.
    m_store.openLessons = uniqueLessonNames(m_store.openLessons);
    m_store.clear();
    m_loaded.clear();
    m_reasons.clear();
    m_termLines = 0;

    QStringList failed;
    for (const QString &file : std::as_const(m_store.openLessons)) {
        if (!appendLesson(file))
            failed.append(file);
        if (afterEachFile)
            afterEachFile();
    }
    // Drop the spare row the table keeps while lessons load.
    m_store.termTable.setRowCount(m_store.termTable.rowCount() - 1);
#ifdef __GLIBC__
    // A huge file read and refused leaves its pages with the allocator;
    // hand them back to the system.
    if (!failed.isEmpty())
        malloc_trim(0);
#endif
    return failed;
}

QString LessonOpener::failureReason(const QString &file) const
{
    return m_reasons.value(file);
}

bool LessonOpener::fail(const QString &file, const QString &reason)
{
    m_reasons.insert(file, reason);
    return false;
}

bool LessonOpener::appendLesson(const QString &file)
{
    m_store.loadingLesson = file;

    QByteArray bytes;
    {
        // Named pipes and devices are refused at once, and a file too big
        // to be a lesson is not read at all.
        files::ReadResult read = files::readRegularFile(file, MaxLessonBytes);
        if (read.status == files::ReadStatus::TooLarge)
            return fail(file, kOverLimit);
        if (!read.ok())
            return fail(file, read.reason);
        bytes = std::move(read.data);
    }

    RichEdit &lessonText = m_store.lessonText;
    TermGrid &grid = m_store.termTable;
    const int separator = m_termLines > 0 ? 1 : 0;
    Parts parts;
    parts.room = LessonStore::TextLimit - qint64(messageLength(lessonText)) - separator;
    {
        LessonEncoding enc;
        QString text;
        if (!classify(bytes, &enc, &text))
            return fail(file, QStringLiteral("not a lesson"));
        try {
            if (enc == LessonEncoding::Rtf) {
                QString error;
                const rtf::ParagraphSink sink = [&parts](rtf::Paragraph &&p) { return parts.take(std::move(p)); };
                if (!rtf::read(bytes, sink, &error))
                    return fail(file, QStringLiteral("not a lesson"));
            } else {
                // Plain text: each line a paragraph of the default look.
                // Characters that would end a paragraph of the document end
                // the line here too; its frame markers are no text.
                qsizetype from = 0;
                const qsizetype n = text.size();
                for (qsizetype i = 0; i <= n; ++i) {
                    const char16_t u = i < n ? text[i].unicode() : u'\n';
                    if (u == 0xFDD0 || u == 0xFDD1) {
                        text[i] = QChar(0xFFFD);
                        continue;
                    }
                    if (u != u'\n' && u != u'\r' && u != 0x2029)
                        continue;
                    rtf::Paragraph p;
                    if (i > from)
                        p.runs.append(rtf::Run{text.mid(from, i - from), rtf::CharFormat()});
                    if (!parts.take(std::move(p)))
                        break;
                    if (u == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                        ++i;
                    from = i + 1;
                }
            }
        } catch (const std::exception &) {
            return fail(file, QStringLiteral("not a lesson"));
        }
    }
    if (!parts.over.isEmpty())
        return fail(file, parts.over);
    // A file that holds no term tag and no linked-file line (a reading text
    // picked under "All Files") is not a lesson: loading it would have the
    // next save rewrite it as one.
    if (!parts.anyTag)
        return fail(file, QStringLiteral("not a lesson"));

    const int terms = int(parts.terms.size());
    // Commit: append the terms and make their rows; undo both when the
    // result is not one row per line.
    const int textBefore = lessonText.textLength();
    const int rowsBefore = grid.rowCount();
    auto rollback = [&] {
        if (lessonText.textLength() > textBefore) {
            lessonText.setSelStart(textBefore);
            lessonText.setSelLength(lessonText.textLength() - textBefore);
            lessonText.setSelText(QString());
        }
        grid.setRowCount(rowsBefore);
        for (int c = 0; c < TermGrid::ColCount; ++c)
            grid.setCell(c, rowsBefore - 1, QString());
        return fail(file, QStringLiteral("could not be loaded whole"));
    };
    try {
        if (terms > 0) {
            if (m_termLines > 0)
                lessonText.addLine(QString());
            lessonText.setSelStart(lessonText.textLength());
            rtf::Content content;
            content.paragraphs = std::move(parts.terms);
            lessonText.streamInContent(content);
            if (lessonText.lineCount() != m_termLines + terms)
                return rollback();
            // The rows as the table's own loader makes them (count "0", the
            // type and state of each line, the lesson), from the lines as
            // they were taken apart rather than read back one by one.
            if (grid.rowCount() - 1 != m_termLines)
                return rollback();
            grid.setRowCount(m_termLines + terms + 1);
            for (int k = 0; k < terms; ++k) {
                const int row = m_termLines + k;
                grid.setCell(TermGrid::ShownCount, row, QStringLiteral("0"));
                grid.setCell(TermGrid::TermType, row, parts.types[k]);
                grid.setCell(TermGrid::TermLesson, row, file);
                grid.setCell(TermGrid::TermStatus, row, parts.states[k]);
            }
        }
    } catch (const std::exception &) {
        return rollback();
    }

    for (const LinkedFile &link : std::as_const(parts.links)) {
        m_store.linkedFiles.append(link.file);
        m_store.linkedFileLessons.append(file);
        m_store.linkedFileDescriptions.append(link.description);
    }
    m_termLines += terms;
    m_loaded.insert(file, lessonDigest(bytes));
    m_store.currentLesson = file;
    return true;
}

} // namespace korvana
