#pragma once
// The skin selection dialog: lists the built-in look and every skin folder,
// applies the chosen one to the main window and stays open, so that several
// skins can be tried in turn. One instance, FormSelect, lives for the whole
// run; it is shown without being modal.
#include <QDialog>

class QListWidget;
class QPushButton;
class TForm1;

class TFormSelect : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelect(QWidget *parent = nullptr);

    // Applies the named skin to the main window. Works only on the window
    // and its skin fields, so the main window's creation calls it before
    // this dialog exists (Form is then the window being created). Never
    // fails outward.
    static void LoadSkin(const QString &N, TForm1 *Form = nullptr);
    // Pushes the main window's skin fields into its elements.
    static void ApplySkin(TForm1 *Form = nullptr);

    // Rebuilds the list: "*standard*" and the skin folders, none selected.
    void FormActivate();
    // "apply" and a double click: the selected skin becomes FSkin and is
    // loaded. Without a selection nothing happens.
    void bOKClick();
    void ListBox1DblClick();
    void bCancelClick();
    void FormKeyDown(int Key);

    QListWidget *ListBox1 = nullptr;
    QPushButton *bOK = nullptr;
    QPushButton *bCancel = nullptr;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};

extern TFormSelect *FormSelect;
