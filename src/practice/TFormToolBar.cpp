#include "practice/TFormToolBar.h"

TFormToolBar *FormToolBar = nullptr;

TFormToolBar::TFormToolBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormToolBar"));
    setWindowTitle(QStringLiteral("Tool bar"));
}
