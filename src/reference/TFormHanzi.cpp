#include "reference/TFormHanzi.h"

TFormHanzi *FormHanzi = nullptr;

TFormHanzi::TFormHanzi(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormHanzi"));
    setWindowTitle(QStringLiteral("Character information"));
}
