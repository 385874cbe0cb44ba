#include "practice/TFormFlash.h"

TFormFlash *FormFlash = nullptr;

TFormFlash::TFormFlash(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormFlash"));
    setWindowTitle(QStringLiteral("Flash"));
}
