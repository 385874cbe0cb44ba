// Times the rich-text control on a lesson of 10,000 terms: loading it,
// saving it, copying every term line out with copyRichText (as the term display
// and the lesson saver do), and taking the state tags out (as opening does).
// Goals on the development machine: load under 0.3 s, save under 0.2 s.
#include "platform/richtext/RichEdit.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace korvana;

namespace {

QByteArray gbEscaped(const char *utf8)
{
    // GB2312 bytes of a few characters, written as \'hh escapes.
    struct Pair {
        const char *utf8;
        const char *gb;
    };
    static const Pair table[] = {
        {"\xE4\xB8\xAD", "\\'d6\\'d0"}, {"\xE6\x96\x87", "\\'ce\\'c4"}, {"\xE9\xB1\xBC", "\\'d3\\'e3"},
        {"\xE4\xBD\xA0", "\\'c4\\'e3"}, {"\xE5\xA5\xBD", "\\'ba\\'c3"}, {"\xE5\xAD\xA6", "\\'d1\\'a7"},
    };
    QByteArray out;
    const QString s = QString::fromUtf8(utf8);
    for (QChar ch : s) {
        const QByteArray one = QString(ch).toUtf8();
        for (const Pair &p : table)
            if (one == p.utf8) {
                out += p.gb;
                break;
            }
    }
    return out;
}

QByteArray unicodeEscaped(const char *utf8)
{
    QByteArray out;
    for (QChar ch : QString::fromUtf8(utf8)) {
        out += "\\u";
        out += QByteArray::number(int(int16_t(ch.unicode())));
        out += '?';
    }
    return out;
}

QByteArray makeLesson(int terms)
{
    static const char *words[] = {"\xE4\xB8\xAD\xE6\x96\x87", "\xE9\xB1\xBC", "\xE4\xBD\xA0\xE5\xA5\xBD",
                                  "\xE5\xAD\xA6\xE4\xB8\xAD\xE6\x96\x87"};
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f2\\froman\\fcharset0 Times New Roman;}"
        "{\\f3\\fnil\\fcharset134 KaiTi;}}\r\n"
        "{\\colortbl "
        ";\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;\\red128\\green0\\blue128;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    for (int i = 0; i < terms; ++i) {
        const char *word = words[i % 4];
        const bool gb = i % 2 == 1;
        rtf += "<OR=word number " + QByteArray::number(i) + ">";
        rtf += "<PI=\\cf" + QByteArray::number(1 + i % 4) + " zh\\u333?ng w\\u233?n\\cf0 >";
        rtf += "<CH=\\f" + QByteArray::number(gb ? 1 : 3) + "\\fs32 ";
        rtf += gb ? gbEscaped(word) : unicodeEscaped(word);
        rtf += "\\f0\\fs20 ><NO=\\f2\\i a note\\i0\\f0 ><TY=w>\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

double seconds(QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int terms = 10000;
    const QByteArray lesson = makeLesson(terms);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lesson.kvl"));
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(lesson) != lesson.size())
            return 1;
    }

    RichEdit store;
    QElapsedTimer t;
    t.start();
    store.loadFromFile(file);
    const double load = seconds(t);
    if (store.lineCount() != terms) {
        std::fprintf(stderr, "loaded %d lines, expected %d\n", store.lineCount(), terms);
        return 1;
    }

    t.restart();
    store.saveToFile(dir.filePath(QStringLiteral("saved.kvl")));
    const double save = seconds(t);

    RichEdit pane;
    t.restart();
    for (int r = 0; r < terms; ++r) {
        pane.clear();
        store.setSel(store.lineIndex(r), r + 1 < store.lineCount() ? store.lineIndex(r + 1) : -1);
        copyRichText(&store, &pane);
    }
    const double copy = seconds(t);

    // Opening a lesson: every "<ST=u>" is found and deleted, each search
    // going on from where the last hit was.
    RichEdit tagged;
    QString text;
    for (int i = 0; i < terms; ++i)
        text += QStringLiteral("<ST=u><OR=word %1><CH=\u4E2D><TY=w>\r\n").arg(i);
    tagged.setText(text);
    t.restart();
    int pos = 0;
    int removed = 0;
    while ((pos = tagged.findText(QStringLiteral("<ST=u>"), pos, 100000000)) >= 0) {
        tagged.setSelStart(pos);
        tagged.setSelLength(6);
        tagged.clearSelection();
        ++removed;
    }
    const double strip = seconds(t);

    std::printf("rich-text control, lesson of %d terms (%lld bytes of RTF)\n", terms, qlonglong(lesson.size()));
    std::printf("  load from file       %8.3f s   (goal < 0.300 s)%s\n", load, load < 0.3 ? "" : "  OVER");
    std::printf("  save to file         %8.3f s   (goal < 0.200 s)%s\n", save, save < 0.2 ? "" : "  OVER");
    std::printf("  copyRichText every line   %8.3f s   (%.1f us a line)\n", copy, copy * 1e6 / terms);
    std::printf("  remove %d state tags %8.3f s\n", removed, strip);
    return 0;
}
