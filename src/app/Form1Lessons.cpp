// The main window's operations on the lesson store.
#include "app/TForm1.h"
#include "lessons/LessonLine.h"

QString TForm1::GetTagContent(const QString &Line, const QString &Tag) const
{
    return korvana::GetTagContent(Line, Tag);
}

QString TForm1::GetValue(int StartPos, const QString &Tag)
{
    return store.GetValue(StartPos, Tag);
}

void TForm1::VymazatCisla()
{
    store.VymazatCisla();
}

void TForm1::NacistDoStringgridu(const QString &LessonFile)
{
    store.NacistDoStringgridu(LessonFile);
}
