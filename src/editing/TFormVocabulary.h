#pragma once
#include <QDialog>

// Vocabulary builder window. One instance, FormVocabulary, lives for the whole run.
class TFormVocabulary : public QDialog {
    Q_OBJECT
public:
    explicit TFormVocabulary(QWidget *parent = nullptr);
};

extern TFormVocabulary *FormVocabulary;
