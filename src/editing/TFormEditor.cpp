#include "editing/TFormEditor.h"

TFormEditor *FormEditor = nullptr;

TFormEditor::TFormEditor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormEditor"));
    setWindowTitle(QStringLiteral("Lesson editor"));
}
