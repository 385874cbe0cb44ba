#pragma once
// The skin selection dialog: lists the built-in look and every skin folder,
// applies the chosen one to the main window and stays open, so that several
// skins can be tried in turn. One instance, skinDialog, lives for the whole
// run; it is shown without being modal.
#include <QDialog>

class QListWidget;
class QPushButton;
class MainWindow;

class SkinDialog : public QDialog {
    Q_OBJECT
public:
    explicit SkinDialog(QWidget *parent = nullptr);

    // Applies the named skin to the main window. Works only on the window
    // and its skin fields, so the main window's creation calls it before
    // this dialog exists (target is then the window being created). Never
    // fails outward.
    static void loadSkin(const QString &N, MainWindow *target = nullptr);
    // Pushes the main window's skin fields into its elements.
    static void applySkin(MainWindow *target = nullptr);

    // Rebuilds the list: "*standard*" and the skin folders, none selected.
    void onActivate();
    // "apply" and a double click: the selected skin becomes selectedSkin and is
    // loaded. Without a selection nothing happens.
    void applyButtonClicked();
    void skinListDoubleClicked();
    void closeButtonClicked();
    void onKeyDown(int Key);

    QListWidget *skinList = nullptr;
    QPushButton *applyButton = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};

extern SkinDialog *skinDialog;
