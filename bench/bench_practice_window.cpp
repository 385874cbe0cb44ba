// Figures of a whole Next step in the main window on a lesson text of 100,000
// terms: counting, checking, choosing the row and showing it in the four
// panes (the line copied out of the lesson text as rich text).
#include "app/KorvanaApplication.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    korvana::KorvanaApplication app(argc, argv);
    CreateForms();

    const int terms = 100000;
    QStringList lines;
    lines.reserve(terms);
    for (int i = 0; i < terms; ++i)
        lines << QStringLiteral("<OR=term %1><PI=ni3 hao3><CH=\u4f60\u597d%2><NO=note><TY=%3>")
                     .arg(i)
                     .arg(QChar(0x4e00 + i % 2000))
                     .arg(i % 3 ? QLatin1Char('w') : QLatin1Char('p'));
    QElapsedTimer t;
    t.start();
    Form1->reMain.setText(lines.join(QStringLiteral("\r\n")));
    Form1->NacistDoStringgridu(QStringLiteral("/lessons/big.kvl"));
    Form1->StringGrid1.setRowCount(Form1->StringGrid1.rowCount() - 1);
    Form1->FCurrentLesson = QStringLiteral("/lessons/big.kvl");
    Form1->TermTableChanged();
    const double fill = t.nsecsElapsed() / 1e6;

    const int reps = 300;
    t.start();
    for (int i = 0; i < reps; ++i)
        Form1->bNextClick();
    const double inOrder = t.nsecsElapsed() / double(reps) / 1e6;

    Form1->chbNahodne->setChecked(true);
    t.start();
    for (int i = 0; i < reps; ++i)
        Form1->bNextClick();
    const double random = t.nsecsElapsed() / double(reps) / 1e6;

    t.start();
    for (int i = 0; i < reps; ++i)
        Form1->CountTerms();
    const double count = t.nsecsElapsed() / double(reps) / 1e6;

    std::printf("main window, %d terms (store filled in %.0f ms)\n", terms, fill);
    std::printf("  Next in order   %.3f ms (goal < 2 ms)\n", inOrder);
    std::printf("  Next at random  %.3f ms (goal < 2 ms)\n", random);
    std::printf("  CountTerms      %.4f ms\n", count);
    DestroyForms();
    return 0;
}
