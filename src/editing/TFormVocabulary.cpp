#include "editing/TFormVocabulary.h"

TFormVocabulary *FormVocabulary = nullptr;

TFormVocabulary::TFormVocabulary(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormVocabulary"));
    setWindowTitle(QStringLiteral("Vocabulary builder"));
}
