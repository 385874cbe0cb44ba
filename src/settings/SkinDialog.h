#pragma once
// The skin selection dialog: lists the built-in look and every skin folder,
// has the chosen one applied to the main window and stays open, so that
// several skins can be tried in turn. One instance lives for the
// whole run; it is shown without being modal.
#include <QDialog>

class QListWidget;
class QPushButton;

namespace korvana {
struct MainSettings;
}

class SkinDialog : public QDialog {
    Q_OBJECT
public:
    // The chosen skin is stored in settings' selectedSkin; the dialog opens
    // centred on mainWidget.
    SkinDialog(korvana::MainSettings &settings, QWidget *mainWidget, QWidget *parent = nullptr);

    // Rebuilds the list: "*standard*" and the skin folders, none selected.
    void onActivate();
    // "apply" and a double click: the selected skin becomes selectedSkin and is
    // asked to be loaded. Without a selection nothing happens.
    void applyButtonClicked();
    void skinListDoubleClicked();
    void closeButtonClicked();
    void onKeyDown(int key);

    QListWidget *skinList = nullptr;
    QPushButton *applyButton = nullptr;
    QPushButton *closeButton = nullptr;

signals:
    // The named skin is to be applied to the main window.
    void loadSkinRequested(const QString &name);

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    korvana::MainSettings &m_settings;
    QWidget *m_mainWidget;
};
