#pragma once
// The rich-text control every pane, work area and store of the program uses,
// a model over a QTextDocument:
//  - Text is UTF-16; lines and positions are 0-based; word wrap is off in the
//    work controls, so a line is a paragraph.
//  - Two countings of positions exist and both are needed by callers:
//      * "message" positions (lineIndex, lineFromChar, setSel, posFromChar,
//        charFromPos) count a line end as ONE character;
//      * "selection" positions (selStart, selLength, findText, and text())
//        count a line end as TWO (CR LF), as text() returns it.
//    A selection position is the message position plus the number of line
//    ends before it.
//  - The document always ends with a final paragraph mark. A range that runs "to the end of the text" includes it,
//    so streaming out the last line yields that line with its line end, and
//    every line copied out of a store arrives with exactly one line end.
//
// The control is a model that needs no window: stores such as the lesson text
// never get one. A view (a QTextEdit) can be attached to show the document;
// the point/scroll operations need that view and answer neutrally without it.

#include "RtfContent.h"

#include <QByteArray>
#include <QColor>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <stdexcept>

class QTextDocument;
class QTextEdit;

namespace korvana {

// Raised when a file cannot be read or written, or when rich text is too
// malformed to load anything at all.
class RichTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Character attributes of the selection (or of the caret when nothing is
// selected), as the program reads and sets them.
struct CharAttributes {
    QString fontName;      // family
    double sizePoints = 0; // font size in points
    QColor color;          // text colour
    bool bold = false;
    int charset = 1; // Windows charset number (0 ANSI, 134 GB2312, 136 Big5, 1 default)
};

enum class TextAlignment { Left, Right, Center };

class RichEdit : public QObject {
    Q_OBJECT
public:
    explicit RichEdit(QObject *parent = nullptr);
    ~RichEdit() override;

    QTextDocument *document() const;

    // --- the view ---------------------------------------------------------
    // Attaches a view showing this document; the view's cursor then is the
    // selection. Passing nullptr detaches. The control does not own the view.
    void attachView(QTextEdit *view);
    QTextEdit *view() const;

    // --- whole text ---------------------------------------------------------
    // Plain text with CR LF line ends (no line end after the last line).
    QString text() const;
    // A text beginning "{\rtf" or "{urtf" (any case) loads as rich text,
    // anything else as plain text (CR LF, CR or LF all end a line).
    void setText(const QString &text);
    int textLength() const; // length of text(), selection counting

    // --- lines -----------------------------------------------------------------
    // An empty line after the last line end is no line, so "" has 0 lines,
    // "a" and "a\r\n" 1, "a\rb" 2. lineIndex() still finds that empty line
    // (it is where the next line goes). addLine appends a line ("a" + "b"
    // gives "a\r\nb", "a\r\n" + "b" gives "a\r\nb\r\n") and leaves the caret
    // after it; deleting the last line keeps the line end before it.
    int lineCount() const;
    QString line(int index) const; // without its line end
    void addLine(const QString &text);
    void deleteLine(int index);
    void clear();

    // --- files -----------------------------------------------------------------
    // The document becomes the file: rich text when it is rich text, else plain
    // text decoded as UTF-8 (or UTF-16 with a BOM, or Windows-1252 when it is
    // not valid UTF-8). Throws RichTextError when the file cannot be read.
    void loadFromFile(const QString &fileName);
    // Writes the whole document as rich text. Throws RichTextError on failure.
    void saveToFile(const QString &fileName) const;

    // --- selection (selection counting) ----------------------------------------
    int selStart() const;
    int selLength() const;
    void setSelStart(int pos);            // collapses the selection at pos
    void setSelLength(int len);           // extends from selStart
    QString selText() const;              // CR LF line ends
    void setSelText(const QString &text); // replaces the selection; "" deletes

    // --- messages (message counting) -------------------------------------------
    // Selects [start, end); end -1 means to the end of the text (final mark
    // included); setSel(0, -1) selects all.
    void setSel(int start, int end);
    void clearSelection();                  // deletes the selected text
    void copy() const;                      // copies the selection to the clipboard
    int lineIndex(int line) const;          // first position of line; -1 past the last line
    int lineFromChar(int pos) const;        // line that holds pos
    QPoint posFromChar(int pos) const;      // needs a view; (0,0) otherwise
    int charFromPos(const QPoint &p) const; // needs a view; 0 otherwise
    void lineScroll(int lines);
    int firstVisibleLine() const;

    // Counting conversions. The final paragraph mark counts one in message
    // counting (setSel(x, -1) ends at the text's length + 1) and two in
    // selection counting, so selText() ends with CR LF when it is selected and
    // selLength() is always selText().length().
    int toSelectionPos(int messagePos) const;
    int toMessagePos(int selectionPos) const;

    // First position (selection counting) at or after start, within length
    // characters, where text occurs ignoring case; -1 when none.
    int findText(const QString &text, int start, int length) const;

    // --- rich-text streams --------------------------------------------------------
    // The selection as rich text (RTF bytes).
    QByteArray streamOutSelection() const;
    // Rich text replacing the selection; afterwards the caret stands right
    // after the inserted text. Throws RichTextError when nothing can be read.
    void streamInSelection(const QByteArray &rtf);
    // The same for rich text already read (no bytes to parse).
    void streamInContent(const rtf::Content &content);
    // The rich text streamOutSelection gives for the selection
    // setSel(start, end) would make, without making it; no paragraph at all
    // when that selection would be empty.
    rtf::Content rangeContent(int start, int end) const;
    // A character format as a control keeps it: what a run inserted with it
    // streams out as.
    static rtf::CharFormat keptFormat(const rtf::CharFormat &format);
    // The whole document as RTF bytes, and loading from RTF bytes.
    QByteArray toRtf() const;
    void fromRtf(const QByteArray &rtf);

    // --- attributes ---------------------------------------------------------------
    CharAttributes selAttributes() const;
    void setSelAttributes(const CharAttributes &a);
    void setSelFontName(const QString &name);
    void setSelSize(double points);
    void setSelColor(const QColor &c);
    void setSelBold(bool bold);
    void setSelCharset(int charset);

    void setAlignment(TextAlignment a); // the whole control
    TextAlignment alignment() const;

    void setWordWrap(bool on);

signals:
    void changed();

private:
    struct Impl;
    Impl *m_d;
};

// The rich text that copying pieces one after another with copyRichText into
// an empty control, with word wrap off and the default font, and saving that
// control gives, built without the control: the pieces go through one
// stream out and in together, instead of one each, and no document is built.
class CopiedRichText {
public:
    // A piece as copyRichText takes it from its source (rangeContent).
    void addPiece(rtf::Content piece);
    // A plain text put into an emptied control and copied whole; false (and
    // nothing added) for text with characters a control would take as line
    // or frame breaks other than LF.
    bool addPlainPiece(const QString &text);
    // A line end typed at the caret (setSelText of CR LF).
    void addLineEnd();
    // An empty last line, as a copied line's own line end leaves, joined to
    // the line before it (deleting the line end before the caret).
    void dropEmptyLastLine() { m_dropEmptyLastLine = true; }
    // The line the caret stands on and whether it stands at that line's start.
    int caretLine() const { return m_lines - 1; }
    bool caretAtLineStart() const { return m_lineEmpty; }
    // The saved bytes; empty when the pieces would not come through the
    // stream as they went in (the caller then copies them one by one).
    QByteArray toRtf() const;

private:
    struct Step {
        int firstParagraph = 0; // into m_pieces; -1 for a line end
        int paragraphs = 0;
    };
    rtf::Content m_pieces; // every piece's paragraphs, one after another
    QList<Step> m_steps;
    int m_lines = 1;
    bool m_lineEmpty = true;
    bool m_dropEmptyLastLine = false;
};

// Copies source's selection (all of source when nothing is selected) into
// target's selection through an in-memory RTF stream, never the clipboard.
// See the implementation for the exact caret and selection rules.
void copyRichText(RichEdit *source, RichEdit *target);

} // namespace korvana
