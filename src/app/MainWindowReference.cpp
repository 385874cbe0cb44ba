// Pinyin with tone marks, for the hover and the dictionary window.
#include "app/MainWindow.h"
#include "practice/ToneMarkConverter.h"

QString MainWindow::pinyinNumbersIntoToneMarks(const QString &S) const
{
    return korvana::pinyinNumbersIntoToneMarks(S);
}
