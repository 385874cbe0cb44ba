#include "reference/TFormDict.h"

TFormDict *FormDict = nullptr;

TFormDict::TFormDict(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormDict"));
    setWindowTitle(QStringLiteral("Dictionary"));
}
