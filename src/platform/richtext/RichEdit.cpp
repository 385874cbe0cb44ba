#include "RichEdit.h"
#include "ChineseFonts.h"
#include "CodePages.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "platform/files/SafeFiles.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <limits>

namespace korvana {

namespace {

// The Windows charset of a run, kept with its format so that it survives
// copies and saves.
constexpr int kCharsetProperty = QTextFormat::UserProperty + 0x4b31;

QString normalizeLineEnds(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// Rich text handed over as a string: characters beyond 8 bits cannot be
// bytes of the stream, so they travel as \uN.
QByteArray rtfBytesFromString(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u <= 0xFF) {
            out += char(u);
        } else {
            out += "\\u";
            out += QByteArray::number(int(int16_t(u)));
            out += '?';
        }
    }
    return out;
}

rtf::Align alignOf(const QTextBlock &block)
{
    const QTextBlockFormat bf = block.blockFormat();
    if (!bf.hasProperty(QTextFormat::BlockAlignment))
        return rtf::Align::Unset;
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        return rtf::Align::Center;
    if (a & Qt::AlignRight)
        return rtf::Align::Right;
    if (a & Qt::AlignJustify)
        return rtf::Align::Justify;
    return rtf::Align::Left;
}

Qt::Alignment qtAlign(rtf::Align a)
{
    switch (a) {
    case rtf::Align::Center:
        return Qt::AlignHCenter;
    case rtf::Align::Right:
        return Qt::AlignRight;
    case rtf::Align::Justify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

rtf::CharFormat fromQt(const QTextCharFormat &f)
{
    rtf::CharFormat r;
    if (f.hasProperty(QTextFormat::FontFamilies))
        r.family = f.fontFamilies().toStringList().value(0);
    if (f.hasProperty(kCharsetProperty))
        r.charset = f.intProperty(kCharsetProperty);
    if (f.hasProperty(QTextFormat::FontPointSize))
        r.halfPoints = qRound(f.fontPointSize() * 2);
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        r.color = f.foreground().color();
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        r.highlight = f.background().color();
    r.bold = f.fontWeight() >= QFont::DemiBold;
    r.italic = f.fontItalic();
    r.underline = f.fontUnderline();
    return r;
}

QTextCharFormat toQt(const rtf::CharFormat &r)
{
    QTextCharFormat f;
    if (!r.family.isEmpty())
        f.setFontFamilies(fonts::familiesForRun(r.family, r.charset));
    if (r.charset >= 0)
        f.setProperty(kCharsetProperty, r.charset);
    if (r.halfPoints > 0)
        f.setFontPointSize(r.halfPoints / 2.0);
    if (r.color.isValid())
        f.setForeground(r.color);
    if (r.highlight.isValid())
        f.setBackground(r.highlight);
    if (r.bold)
        f.setFontWeight(QFont::Bold);
    if (r.italic)
        f.setFontItalic(true);
    if (r.underline)
        f.setFontUnderline(true);
    return f;
}

} // namespace

struct RichEdit::Impl {
    RichEdit *q = nullptr;
    QTextDocument *doc = nullptr;
    QPointer<QTextEdit> view;
    QTextCursor sel; // the selection while no view is attached
    // The selection runs through the final paragraph mark; valid only while
    // the cursor still stands where it was put.
    bool markSelected = false;
    int markAnchor = -1, markPosition = -1;
    TextAlignment align = TextAlignment::Left;
    bool wrap = true;
    QString defaultFamily = QStringLiteral("Arial");
    double defaultPoints = 10;

    int length() const { return doc->characterCount() - 1; }
    int textLength() const { return length() + doc->blockCount() - 1; }

    QTextCursor cursor() const { return view ? view->textCursor() : sel; }
    void setCursor(const QTextCursor &c, bool mark = false)
    {
        if (view)
            view->setTextCursor(c);
        else
            sel = c;
        markSelected = mark;
        markAnchor = c.anchor();
        markPosition = c.position();
    }

    struct Range {
        int start, end;
        bool mark;
    };
    Range range() const
    {
        const QTextCursor c = cursor();
        Range r{c.selectionStart(), c.selectionEnd(), false};
        r.mark = markSelected && c.anchor() == markAnchor && c.position() == markPosition && r.end == length();
        return r;
    }

    int toSelectionPos(int m) const
    {
        if (m <= 0)
            return 0;
        if (m > length())
            return textLength() + 2;
        return m + doc->findBlock(m).blockNumber();
    }

    int toMessagePos(int s) const
    {
        if (s <= 0)
            return 0;
        const int tl = textLength();
        if (s > tl)
            return length() + 1;
        if (s == tl)
            return length();
        // Largest block b whose start, in selection counting, is at or before s.
        int lo = 0, hi = doc->blockCount() - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (doc->findBlockByNumber(mid).position() + mid <= s)
                lo = mid;
            else
                hi = mid - 1;
        }
        const QTextBlock b = doc->findBlockByNumber(lo);
        const int m = s - lo;
        // A position between CR and LF rounds down to the line's end.
        return std::min(m, b.position() + b.length() - 1);
    }

    // The formats of the document's fragments, converted once: a lesson
    // text holds a few formats over and over. A format is found again by
    // its shared data, so a lookup costs a pointer comparison.
    mutable QList<std::pair<QTextCharFormat, rtf::CharFormat>> formatCache;
    rtf::CharFormat formatOf(const QTextCharFormat &qf) const
    {
        for (const auto &k : std::as_const(formatCache))
            if (k.first == qf)
                return k.second;
        if (formatCache.size() >= 64)
            formatCache.removeFirst();
        formatCache.append({qf, fromQt(qf)});
        return formatCache.constLast().second;
    }

    rtf::Content contentOf(int start, int end, bool mark) const
    {
        rtf::Content c;
        QTextBlock b = doc->findBlock(start);
        while (b.isValid()) {
            const int bpos = b.position();
            const int bend = bpos + b.length() - 1;
            if (bpos > end)
                break;
            rtf::Paragraph p;
            p.align = alignOf(b);
            // A block's fragments follow one another from its start; their
            // text is cut from the block's.
            const QString blockText = b.text();
            int fe = bpos;
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment frag = it.fragment();
                const int fs = fe;
                fe = fs + frag.length();
                const int s = std::max(fs, start), e = std::min(fe, end);
                if (s >= e)
                    continue;
                rtf::CharFormat f = formatOf(frag.charFormat());
                const QString text = blockText.mid(s - bpos, e - s);
                if (!p.runs.isEmpty() && p.runs.last().format == f)
                    p.runs.last().text += text;
                else
                    p.runs.append(rtf::Run{text, std::move(f)});
            }
            c.paragraphs.append(std::move(p));
            if (end <= bend)
                break;
            b = b.next();
        }
        if (c.paragraphs.isEmpty())
            c.paragraphs.append(rtf::Paragraph());
        if (mark)
            c.paragraphs.append(rtf::Paragraph());
        return c;
    }

    // Text without a font or size of its own is drawn in the document's
    // default font, which its owner may have changed (a field's design font):
    // it is written and reported as drawn.
    QString shownFamily() const
    {
        const QString family = doc->defaultFont().family();
        return family.isEmpty() ? defaultFamily : family;
    }
    double shownPoints() const
    {
        const double points = doc->defaultFont().pointSizeF();
        return points > 0 ? points : defaultPoints;
    }

    rtf::WriterDefaults writerDefaults() const
    {
        rtf::WriterDefaults d;
        d.family = shownFamily();
        d.halfPoints = qRound(shownPoints() * 2);
        return d;
    }

    // Inserts content at c; a whole load drops the break of a last \par, which
    // the final paragraph mark stands for.
    void insertContent(QTextCursor &c, const rtf::Content &content, bool wholeDocument)
    {
        qsizetype n = content.paragraphs.size();
        if (wholeDocument && content.endsWithBreak())
            --n;
        c.beginEditBlock();
        // Word processors switch between a few looks over and over (one per
        // field of a lesson line): each is converted once.
        QList<std::pair<const rtf::CharFormat *, QTextCharFormat>> looks;
        auto qtFormat = [&looks](const rtf::CharFormat &f) -> const QTextCharFormat & {
            for (const auto &l : std::as_const(looks))
                if (*l.first == f)
                    return l.second;
            if (looks.size() >= 32)
                looks.removeFirst();
            looks.append({&f, toQt(f)});
            return looks.constLast().second;
        };
        const QTextBlockFormat firstFormat = c.blockFormat();
        for (qsizetype i = 0; i < n; ++i) {
            const rtf::Paragraph &p = content.paragraphs.at(i);
            // A paragraph without an alignment of its own takes the control's;
            // the first one keeps the paragraph it is inserted into.
            if (i > 0 || p.align != rtf::Align::Unset) {
                QTextBlockFormat bf = i > 0 ? QTextBlockFormat(firstFormat) : c.blockFormat();
                bf.setAlignment(p.align != rtf::Align::Unset ? qtAlign(p.align) : controlAlign());
                if (i > 0)
                    c.insertBlock(bf);
                else
                    c.setBlockFormat(bf);
            }
            for (const rtf::Run &r : p.runs)
                c.insertText(r.text, qtFormat(r.format));
        }
        c.endEditBlock();
    }

    rtf::Content parse(const QByteArray &data) const
    {
        rtf::Content content;
        QString error;
        if (!rtf::read(data, &content, &error))
            throw RichTextError(error.toStdString());
        return content;
    }

    void resetDocument()
    {
        doc->clear();
        applyAlignment();
    }

    Qt::Alignment controlAlign() const
    {
        return align == TextAlignment::Center  ? Qt::AlignHCenter
               : align == TextAlignment::Right ? Qt::AlignRight
                                               : Qt::AlignLeft;
    }

    void applyAlignment()
    {
        QTextCursor c(doc);
        c.select(QTextCursor::Document);
        QTextBlockFormat bf;
        bf.setAlignment(controlAlign());
        c.mergeBlockFormat(bf);
    }

    void setPlain(const QString &text)
    {
        resetDocument();
        QTextCursor c(doc);
        c.insertText(normalizeLineEnds(text));
        c.setPosition(0);
        setCursor(c);
    }

    void applyCharFormat(const QTextCharFormat &f)
    {
        if (view) {
            view->mergeCurrentCharFormat(f);
        } else {
            sel.mergeCharFormat(f);
        }
    }
};

RichEdit::RichEdit(QObject *parent) : QObject(parent), m_d(new Impl)
{
    m_d->q = this;
    m_d->doc = new QTextDocument(this);
    // Stores such as the lesson text take many edits; no undo history for them.
    m_d->doc->setUndoRedoEnabled(false);
    m_d->doc->setDefaultFont(QFont(m_d->defaultFamily, int(m_d->defaultPoints)));
    m_d->sel = QTextCursor(m_d->doc);
    connect(m_d->doc, &QTextDocument::contentsChanged, this, &RichEdit::changed);
}

RichEdit::~RichEdit()
{
    if (m_d->view)
        m_d->view->setDocument(nullptr);
    delete m_d;
}

QTextDocument *RichEdit::document() const
{
    return m_d->doc;
}

void RichEdit::attachView(QTextEdit *view)
{
    if (view == m_d->view)
        return;
    const QTextCursor current = m_d->cursor();
    const bool mark = m_d->markSelected;
    if (m_d->view) {
        m_d->view->setDocument(nullptr);
        m_d->view = nullptr;
    }
    m_d->sel = QTextCursor(m_d->doc);
    m_d->sel.setPosition(current.anchor());
    m_d->sel.setPosition(current.position(), QTextCursor::KeepAnchor);
    if (view) {
        m_d->view = view;
        view->setDocument(m_d->doc);
        view->setLineWrapMode(m_d->wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        m_d->doc->setUndoRedoEnabled(true);
    } else {
        m_d->doc->setUndoRedoEnabled(false);
    }
    m_d->setCursor(m_d->sel, mark);
}

QTextEdit *RichEdit::view() const
{
    return m_d->view;
}

QString RichEdit::text() const
{
    QString out;
    out.reserve(m_d->textLength());
    for (QTextBlock b = m_d->doc->begin(); b.isValid(); b = b.next()) {
        if (b != m_d->doc->begin())
            out += QLatin1String("\r\n");
        out += b.text();
    }
    return out;
}

void RichEdit::setText(const QString &text)
{
    static const QLatin1String prefixes[] = {QLatin1String("{\\rtf"), QLatin1String("{urtf"), QLatin1String("{\\urtf")};
    for (const QLatin1String &p : prefixes)
        if (text.startsWith(p, Qt::CaseInsensitive)) {
            fromRtf(rtfBytesFromString(text));
            return;
        }
    m_d->setPlain(text);
}

int RichEdit::textLength() const
{
    return m_d->textLength();
}

int RichEdit::lineCount() const
{
    // An empty last line (the line after a final line end) is no line, so an
    // empty control has none.
    int n = m_d->doc->blockCount();
    if (m_d->doc->lastBlock().length() <= 1)
        --n;
    return n;
}

QString RichEdit::line(int index) const
{
    if (index < 0 || index >= m_d->doc->blockCount())
        return QString();
    return m_d->doc->findBlockByNumber(index).text();
}

void RichEdit::addLine(const QString &text)
{
    QTextCursor c(m_d->doc);
    const QString t = normalizeLineEnds(text);
    const QTextBlock after = m_d->doc->findBlockByNumber(lineCount());
    if (after.isValid()) {
        // The document ends with a line end: the new line goes in front of the
        // empty line after it.
        c.setPosition(after.position());
        c.insertText(t + QLatin1Char('\n'));
    } else {
        c.setPosition(m_d->length());
        c.insertText(QLatin1Char('\n') + t);
    }
    m_d->setCursor(c);
}

void RichEdit::deleteLine(int index)
{
    const int start = lineIndex(index);
    if (index < 0 || start < 0)
        return;
    int end = lineIndex(index + 1);
    if (end < 0)
        end = start + m_d->doc->findBlockByNumber(index).length() - 1;
    QTextCursor c(m_d->doc);
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    m_d->setCursor(c);
}

void RichEdit::clear()
{
    m_d->resetDocument();
    m_d->setCursor(QTextCursor(m_d->doc));
}

void RichEdit::loadFromFile(const QString &fileName)
{
    // Files come from other people (lessons, linked files): a named pipe or a
    // device is refused at once instead of blocking, and so is a file far
    // larger than any document the control can hold.
    constexpr qint64 largestFile = 256 * 1024 * 1024;
    const files::ReadResult read = files::readRegularFile(fileName, largestFile);
    if (!read.ok())
        throw RichTextError(QStringLiteral("Cannot read \"%1\": %2")
                                .arg(QDir::toNativeSeparators(fileName), read.reason)
                                .toStdString());
    const QByteArray &data = read.data;
    if (rtf::looksLikeRtf(data)) {
        try {
            fromRtf(data);
        } catch (const RichTextError &e) {
            throw RichTextError(QStringLiteral("Cannot read \"%1\": %2")
                                    .arg(QDir::toNativeSeparators(fileName), QString::fromStdString(e.what()))
                                    .toStdString());
        }
        return;
    }
    QString text;
    if (data.startsWith("\xFF\xFE")) {
        text = QStringDecoder(QStringConverter::Utf16LE).decode(data.mid(2));
    } else if (data.startsWith("\xFE\xFF")) {
        text = QStringDecoder(QStringConverter::Utf16BE).decode(data.mid(2));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8.decode(data);
        if (utf8.hasError()) {
            CodePageDecoder cp;
            text = cp.decode(data, 1252);
        } else if (text.startsWith(QChar(0xFEFF))) {
            text.remove(0, 1);
        }
    }
    m_d->setPlain(text);
}

void RichEdit::saveToFile(const QString &fileName) const
{
    QString reason;
    if (!files::writeFileAtomically(fileName, toRtf(), &reason))
        throw RichTextError(
            QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason).toStdString());
}

int RichEdit::selStart() const
{
    return m_d->toSelectionPos(m_d->range().start);
}

int RichEdit::selLength() const
{
    const Impl::Range r = m_d->range();
    const int end = r.mark ? m_d->textLength() + 2 : m_d->toSelectionPos(r.end);
    return end - m_d->toSelectionPos(r.start);
}

void RichEdit::setSelStart(int pos)
{
    QTextCursor c(m_d->doc);
    c.setPosition(std::min(m_d->toMessagePos(pos), m_d->length()));
    m_d->setCursor(c);
}

void RichEdit::setSelLength(int len)
{
    const int start = selStart();
    const qint64 endSel = qint64(start) + std::max(len, 0);
    const int end = m_d->toMessagePos(int(std::min<qint64>(endSel, std::numeric_limits<int>::max())));
    QTextCursor c(m_d->doc);
    c.setPosition(m_d->range().start);
    c.setPosition(std::min(end, m_d->length()), QTextCursor::KeepAnchor);
    m_d->setCursor(c, end > m_d->length());
}

QString RichEdit::selText() const
{
    const Impl::Range r = m_d->range();
    QString t = m_d->cursor().selectedText();
    t.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    if (r.mark)
        t += QLatin1String("\r\n");
    return t;
}

void RichEdit::setSelText(const QString &text)
{
    QTextCursor c = m_d->cursor();
    if (text.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(normalizeLineEnds(text));
    m_d->setCursor(c);
}

void RichEdit::setSel(int start, int end)
{
    const int len = m_d->length();
    if (start < 0) {
        // A negative start only drops the selection, leaving the caret.
        QTextCursor c = m_d->cursor();
        c.setPosition(c.selectionStart());
        m_d->setCursor(c);
        return;
    }
    const bool mark = end < 0 || end > len;
    const int e = mark ? len : end;
    const int s = std::min(start, len);
    QTextCursor c(m_d->doc);
    c.setPosition(s);
    c.setPosition(e, QTextCursor::KeepAnchor);
    m_d->setCursor(c, mark && e >= s);
}

void RichEdit::clearSelection()
{
    QTextCursor c = m_d->cursor();
    c.removeSelectedText();
    m_d->setCursor(c);
}

void RichEdit::copy() const
{
    if (!qGuiApp || selLength() == 0)
        return;
    auto *mime = new QMimeData;
    mime->setText(selText());
    const QByteArray rtf = streamOutSelection();
    mime->setData(QStringLiteral("text/rtf"), rtf);
    mime->setData(QStringLiteral("application/rtf"), rtf);
    QGuiApplication::clipboard()->setMimeData(mime);
}

int RichEdit::lineIndex(int line) const
{
    if (line == -1)
        return m_d->doc->findBlock(m_d->cursor().position()).position();
    if (line < 0 || line >= m_d->doc->blockCount())
        return -1;
    return m_d->doc->findBlockByNumber(line).position();
}

int RichEdit::lineFromChar(int pos) const
{
    if (pos == -1)
        pos = m_d->cursor().selectionStart();
    pos = std::clamp(pos, 0, m_d->length());
    return m_d->doc->findBlock(pos).blockNumber();
}

QPoint RichEdit::posFromChar(int pos) const
{
    if (!m_d->view)
        return QPoint(0, 0);
    QTextCursor c(m_d->doc);
    c.setPosition(std::clamp(pos, 0, m_d->length()));
    return m_d->view->cursorRect(c).topLeft();
}

int RichEdit::charFromPos(const QPoint &p) const
{
    if (!m_d->view)
        return 0;
    return m_d->view->cursorForPosition(p).position();
}

void RichEdit::lineScroll(int lines)
{
    if (!m_d->view || lines == 0)
        return;
    const int target = std::clamp(firstVisibleLine() + lines, 0, m_d->doc->blockCount() - 1);
    QAbstractTextDocumentLayout *layout = m_d->doc->documentLayout();
    const qreal top = layout->blockBoundingRect(m_d->doc->findBlockByNumber(target)).top()
                      - layout->blockBoundingRect(m_d->doc->begin()).top();
    m_d->view->verticalScrollBar()->setValue(qRound(top));
}

int RichEdit::firstVisibleLine() const
{
    if (!m_d->view)
        return 0;
    // Lines start below the document's margin, and lineScroll keeps that
    // margin above the line it brings to the top: the line above shows only
    // in the margin's few pixels. (A point on the border between two lines
    // is taken as in the upper one, so the first pixel row below it decides.)
    const int firstRow = qRound(m_d->doc->documentMargin()) + 1;
    return m_d->view->cursorForPosition(QPoint(0, firstRow)).blockNumber();
}

int RichEdit::toSelectionPos(int messagePos) const
{
    return m_d->toSelectionPos(messagePos);
}
int RichEdit::toMessagePos(int selectionPos) const
{
    return m_d->toMessagePos(selectionPos);
}

int RichEdit::findText(const QString &text, int start, int length) const
{
    if (text.isEmpty() || length <= 0)
        return -1;
    start = std::max(start, 0);
    const int tl = m_d->textLength();
    const qint64 end = std::min<qint64>(qint64(start) + length, tl);
    if (start + qint64(text.size()) > end)
        return -1;
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        // Rare: a search across line ends works on the whole text.
        const QString all = this->text();
        const qsizetype i = all.indexOf(text, start, Qt::CaseInsensitive);
        return i >= 0 && i + text.size() <= end ? int(i) : -1;
    }
    // Line by line from the line that holds start: a search that finds its
    // text early costs nothing for the rest of a long store.
    for (QTextBlock b = m_d->doc->findBlock(std::min(m_d->toMessagePos(start), m_d->length())); b.isValid();
         b = b.next()) {
        const int bSel = b.position() + b.blockNumber();
        if (bSel >= end)
            break;
        const QString t = b.text();
        const int from = std::max(0, start - bSel);
        const qsizetype i = t.indexOf(text, from, Qt::CaseInsensitive);
        if (i >= 0) {
            const qint64 hit = bSel + i;
            return hit + text.size() <= end ? int(hit) : -1;
        }
    }
    return -1;
}

QByteArray RichEdit::streamOutSelection() const
{
    const Impl::Range r = m_d->range();
    return rtf::write(m_d->contentOf(r.start, r.end, r.mark), m_d->writerDefaults());
}

void RichEdit::streamInSelection(const QByteArray &rtfData)
{
    streamInContent(m_d->parse(rtfData));
}

void RichEdit::streamInContent(const rtf::Content &content)
{
    QTextCursor c = m_d->cursor();
    c.beginEditBlock();
    c.removeSelectedText();
    m_d->insertContent(c, content, false);
    c.endEditBlock();
    m_d->setCursor(c);
}

rtf::Content RichEdit::rangeContent(int start, int end) const
{
    // As setSel(start, end) followed by streamOutSelection.
    if (start < 0)
        return {};
    const int len = m_d->length();
    const bool mark = end < 0 || end > len;
    const int e = mark ? len : end;
    const int s = std::min(start, len);
    const int from = std::min(s, e), to = std::max(s, e);
    const bool withMark = mark && e >= s;
    const int selLength = (withMark ? m_d->textLength() + 2 : m_d->toSelectionPos(to)) - m_d->toSelectionPos(from);
    if (selLength <= 0)
        return {};
    return m_d->contentOf(from, to, withMark);
}

rtf::CharFormat RichEdit::keptFormat(const rtf::CharFormat &format)
{
    return fromQt(toQt(format));
}

QByteArray RichEdit::toRtf() const
{
    return rtf::write(m_d->contentOf(0, m_d->length(), true), m_d->writerDefaults());
}

void RichEdit::fromRtf(const QByteArray &rtfData)
{
    const rtf::Content content = m_d->parse(rtfData);
    m_d->resetDocument();
    QTextCursor c(m_d->doc);
    m_d->insertContent(c, content, true);
    c.setPosition(0);
    m_d->setCursor(c);
}

CharAttributes RichEdit::selAttributes() const
{
    const QTextCursor c = m_d->cursor();
    QTextCharFormat f;
    if (c.hasSelection()) {
        QTextCursor first(m_d->doc);
        first.setPosition(c.selectionStart() + 1);
        f = first.charFormat();
    } else {
        f = m_d->view ? m_d->view->currentCharFormat() : c.charFormat();
    }
    const rtf::CharFormat r = fromQt(f);
    CharAttributes a;
    a.fontName = r.family.isEmpty() ? m_d->shownFamily() : r.family;
    a.sizePoints = r.halfPoints > 0 ? r.halfPoints / 2.0 : m_d->shownPoints();
    a.color = r.color.isValid() ? r.color : QColor(Qt::black);
    a.bold = r.bold;
    a.charset = r.charset >= 0 ? r.charset : 1;
    return a;
}

void RichEdit::setSelAttributes(const CharAttributes &a)
{
    QTextCharFormat f;
    if (!a.fontName.isEmpty())
        f.setFontFamilies(fonts::familiesForRun(a.fontName, a.charset));
    if (a.sizePoints > 0)
        f.setFontPointSize(a.sizePoints);
    if (a.color.isValid())
        f.setForeground(a.color);
    f.setFontWeight(a.bold ? QFont::Bold : QFont::Normal);
    f.setProperty(kCharsetProperty, a.charset);
    m_d->applyCharFormat(f);
}

void RichEdit::setSelFontName(const QString &name)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{name});
    m_d->applyCharFormat(f);
}

void RichEdit::setSelSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    m_d->applyCharFormat(f);
}

void RichEdit::setSelColor(const QColor &c)
{
    QTextCharFormat f;
    f.setForeground(c);
    m_d->applyCharFormat(f);
}

void RichEdit::setSelBold(bool bold)
{
    QTextCharFormat f;
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    m_d->applyCharFormat(f);
}

void RichEdit::setSelCharset(int charset)
{
    QTextCharFormat f;
    f.setProperty(kCharsetProperty, charset);
    m_d->applyCharFormat(f);
}

void RichEdit::setAlignment(TextAlignment a)
{
    m_d->align = a;
    m_d->applyAlignment();
}

TextAlignment RichEdit::alignment() const
{
    return m_d->align;
}

void RichEdit::setWordWrap(bool on)
{
    m_d->wrap = on;
    if (m_d->view)
        m_d->view->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void CopiedRichText::addPiece(rtf::Content piece)
{
    if (piece.paragraphs.isEmpty())
        return;
    m_steps.append(Step{int(m_pieces.paragraphs.size()), int(piece.paragraphs.size())});
    for (rtf::Paragraph &p : piece.paragraphs) {
        if (&p != &piece.paragraphs.first()) {
            ++m_lines;
            m_lineEmpty = true;
        }
        for (const rtf::Run &r : std::as_const(p.runs))
            m_lineEmpty = m_lineEmpty && r.text.isEmpty();
        m_pieces.paragraphs.append(std::move(p));
    }
}

bool CopiedRichText::addPlainPiece(const QString &text)
{
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == 0 || u == u'\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
            return false;
    }
    if (text.isEmpty())
        return true;
    // An emptied control reads left to right in the default format.
    rtf::Content piece;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        rtf::Paragraph p;
        p.align = rtf::Align::Left;
        if (!line.isEmpty())
            p.runs.append(rtf::Run{line, rtf::CharFormat()});
        piece.paragraphs.append(std::move(p));
    }
    addPiece(std::move(piece));
    return true;
}

void CopiedRichText::addLineEnd()
{
    m_steps.append(Step{-1, 0});
    ++m_lines;
    m_lineEmpty = true;
}

QByteArray CopiedRichText::toRtf() const
{
    if (m_steps.isEmpty())
        return rtf::write(rtf::Content{{rtf::Paragraph{{}, rtf::Align::Left}, rtf::Paragraph()}},
                          rtf::WriterDefaults());

    // What the stream out and in makes of a run depends only on its format:
    // the writer names every property that changes and the reader keeps the
    // others, so a run reads back in a stream of its own as in any other.
    // Each format is streamed once, alone, and then taken as the control
    // keeps it. The text comes back as it went, except NUL and the frame
    // markers, which the copies are left to carry.
    QList<std::pair<rtf::CharFormat, rtf::CharFormat>> kept;
    bool streamable = true;
    auto keptOf = [&kept, &streamable](const rtf::CharFormat &f) -> rtf::CharFormat {
        for (const auto &k : std::as_const(kept))
            if (k.first == f)
                return k.second;
        rtf::Content probe{{rtf::Paragraph{{rtf::Run{QStringLiteral("x"), f}}, rtf::Align::Unset}}};
        rtf::Content back;
        QString error;
        if (!rtf::read(rtf::write(probe), &back, &error) || back.paragraphs.size() != 1
            || back.paragraphs.first().runs.size() != 1) {
            streamable = false;
            return f;
        }
        kept.append({f, RichEdit::keptFormat(back.paragraphs.first().runs.first().format)});
        return kept.constLast().second;
    };

    // Inserted into the control as the stream-in does: a piece's first
    // paragraph continues the caret's line (taking its alignment when it has
    // one), every further one starts a line of its own. The writer leaves a
    // left alignment unsaid, and a piece's empty last paragraph is only the
    // break that ends the stream, read after the stream's group has closed,
    // without an alignment.
    auto streamedAlign = [](rtf::Align a) { return a == rtf::Align::Left ? rtf::Align::Unset : a; };
    rtf::Content out;
    out.paragraphs.append(rtf::Paragraph{{}, rtf::Align::Left});
    for (const Step &step : m_steps) {
        if (step.firstParagraph < 0) {
            out.paragraphs.append(rtf::Paragraph{{}, out.paragraphs.last().align});
            continue;
        }
        for (int i = 0; i < step.paragraphs; ++i) {
            const rtf::Paragraph &p = m_pieces.paragraphs.at(step.firstParagraph + i);
            const rtf::Align align =
                i > 0 && i == step.paragraphs - 1 && p.runs.isEmpty() ? rtf::Align::Unset : streamedAlign(p.align);
            if (i > 0)
                out.paragraphs.append(rtf::Paragraph{{}, align != rtf::Align::Unset ? align : rtf::Align::Left});
            else if (align != rtf::Align::Unset)
                out.paragraphs.last().align = align;
            QList<rtf::Run> &runs = out.paragraphs.last().runs;
            for (const rtf::Run &r : p.runs) {
                for (QChar ch : r.text)
                    if (ch.unicode() == 0 || ch.unicode() == 0xFDD0 || ch.unicode() == 0xFDD1)
                        return {};
                if (r.text.isEmpty())
                    continue;
                const rtf::CharFormat f = keptOf(r.format);
                if (!runs.isEmpty() && runs.last().format == f)
                    runs.last().text += r.text;
                else
                    runs.append(rtf::Run{r.text, f});
            }
        }
    }
    if (!streamable)
        return {};
    if (m_dropEmptyLastLine && out.paragraphs.size() > 1 && out.paragraphs.constLast().runs.isEmpty())
        out.paragraphs.removeLast();
    // Saving runs to the end of the text, its final paragraph mark included.
    out.paragraphs.append(rtf::Paragraph());
    return rtf::write(out, rtf::WriterDefaults());
}

// An empty source leaves target as it was. A source without a selection is
// selected whole (its text, not the final paragraph mark, so a whole lesson
// brings no line end after its last line) and stays selected. The stream
// replaces target's selection and target's caret ends right after what was
// inserted, so copies in a row append in order; a copied range that ended
// with a line end leaves the caret at the start of the next line.
void copyRichText(RichEdit *source, RichEdit *target)
{
    if (!source || !target || source->textLength() == 0)
        return;
    if (source->selLength() == 0) {
        source->setSelStart(0);
        source->setSelLength(source->textLength());
    }
    const QByteArray stream = source->streamOutSelection();
    target->streamInSelection(stream);
}

} // namespace korvana
