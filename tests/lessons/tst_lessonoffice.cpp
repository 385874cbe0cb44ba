// Lessons and a word processor: a lesson the program saved opens in
// LibreOffice with the same terms, and a lesson LibreOffice wrote opens here
// with its terms, states and linked files.
#include "LessonFixtures.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LessonStore.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace korvana;
using fixtures::term;

class TestLessonOffice : public QObject {
    Q_OBJECT
    QTemporaryDir tmp;
    QString soffice;

    // Converts file into the folder out with LibreOffice's filter; the name of
    // the converted file.
    QString convert(const QString &file, const QString &filter, const QString &suffix)
    {
        const QString out = tmp.filePath(QStringLiteral("out"));
        QProcess p;
        p.setProgram(soffice);
        p.setArguments({"-env:UserInstallation=" + QUrl::fromLocalFile(tmp.filePath("profile")).toString(),
                        "--headless", "--convert-to", filter, "--outdir", out, file});
        p.start();
        if (!p.waitForFinished(240000) || p.exitCode() != 0)
            return {};
        const QString result = out + "/" + QFileInfo(file).completeBaseName() + "." + suffix;
        return QFileInfo::exists(result) ? result : QString();
    }

private slots:
    void initTestCase()
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
    }

    void savedLessonReadsInLibreOffice()
    {
        LessonStore store;
        LoadedLessons loaded;
        const QString lesson = fixtures::writeLesson(tmp.filePath("mine.kvl"),
                                                     {term("one"), "<ST=l>" + term(QStringLiteral("\u4f60\u597d"), "p"),
                                                      "<PAR FILE=\"r.txt\" DESCRIPTION=\"R\">"});
        store.openLessons = {lesson};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList());
        store.termTable.setCell(TermGrid::TermStatus, 0, QStringLiteral("d"));
        LessonSaver saver(store, loaded);
        QCOMPARE(saver.saveAll(), QStringList());

        // LibreOffice picks its reader by the name's ending.
        const QString asRtf = tmp.filePath("mine.rtf");
        QVERIFY(QFile::copy(lesson, asRtf));
        const QString txt = convert(asRtf, QStringLiteral("txt:Text (encoded):UTF8"), "txt");
        QVERIFY2(!txt.isEmpty(), "LibreOffice did not convert the lesson");
        QString text = QString::fromUtf8(fixtures::readFile(txt));
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        QStringList lines = text.split(QRegularExpression("\r?\n"));
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        QCOMPARE(lines, (QStringList{"<ST=d>" + term("one"), "<ST=l>" + term(QStringLiteral("\u4f60\u597d"), "p"),
                                     "<PAR FILE=\"r.txt\" DESCRIPTION=\"R\">"}));
    }

    void lessonWrittenByLibreOfficeOpens()
    {
        const QStringList source{"<ST=d>" + term(QStringLiteral("\u4e16\u754c")), term("two", "p"),
                                 "<ST=l>" + term("three"), "<PAR FILE=\"a.txt\" DESCRIPTION=\"First\">",
                                 "<PAR FILE=\"b.txt\" DESCRIPTION=\"Second\">"};
        QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>");
        for (const QString &l : source)
            html += "<p>" + l.toHtmlEscaped() + "</p>";
        html += "</body></html>";
        const QString page = fixtures::writeFile(tmp.filePath("theirs.html"), html.toUtf8());
        const QString rtf = convert(page, QStringLiteral("rtf:Rich Text Format"), "rtf");
        QVERIFY2(!rtf.isEmpty(), "LibreOffice did not write the lesson");

        LessonStore store;
        LoadedLessons loaded;
        store.openLessons = {rtf};
        LessonOpener opener(store, loaded);
        QCOMPARE(opener.openAll(), QStringList());
        QCOMPARE(fixtures::lines(store.lessonText),
                 (QStringList{term(QStringLiteral("\u4e16\u754c")), term("two", "p"), term("three")}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermStatus), (QStringList{"d", "u", "l"}));
        QCOMPARE(fixtures::column(store.termTable, TermGrid::TermType), (QStringList{"w", "p", "w"}));
        QCOMPARE(store.linkedFiles, (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(store.linkedFileDescriptions, (QStringList{"First", "Second"}));
    }
};

QTEST_MAIN(TestLessonOffice)
#include "tst_lessonoffice.moc"
