#include "reference/TFormKeybRefer.h"

TFormKeybRefer *FormKeybRefer = nullptr;

TFormKeybRefer::TFormKeybRefer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormKeybRefer"));
    setWindowTitle(QStringLiteral("Keyboard reference"));
}
