// Pinyin with tone marks, for the hover and the dictionary window.
#include "app/MainWindow.h"
#include "practice/ToneMarkConverter.h"

QString MainWindow::pinyinNumbersIntoToneMarks(const QString &s) const
{
    return korvana::pinyinNumbersIntoToneMarks(s);
}
