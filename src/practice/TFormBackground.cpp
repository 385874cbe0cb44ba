#include "practice/TFormBackground.h"

TFormBackground *FormBackground = nullptr;

TFormBackground::TFormBackground(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormBackground"));
    setWindowTitle(QStringLiteral("Background"));
}
