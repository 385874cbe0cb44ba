#include "practice/TformPicture.h"

TformPicture *formPicture = nullptr;

TformPicture::TformPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("formPicture"));
    setWindowTitle(QStringLiteral("Picture"));
}
