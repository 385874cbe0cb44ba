#pragma once
#include <QWidget>

// Reader window. One instance, FormAsocFile, lives for the whole run.
class TFormAsocFile : public QWidget {
    Q_OBJECT
public:
    explicit TFormAsocFile(QWidget *parent = nullptr);
};

extern TFormAsocFile *FormAsocFile;
