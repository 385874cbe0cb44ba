#pragma once
// Every message box and file dialog of the program goes through Dialogs, so
// that tests can answer them without a person. The Qt backend shows real
// dialogs; tests install a scripted one of their own with setInstance().
#include <QColor>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace korvana {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
// The values of the modal results the program compares against.
enum class MsgResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class MsgIcon { None, Information, Warning, Error, Question };

struct FileDialogRequest {
    QString title;
    // Filter in the program's notation: "Lessons (*.kvl)|*.kvl|All files|*.*".
    QString filter;
    int filterIndex = 1; // 1-based
    QString initialDir;
    QString fileName;            // proposed name (save) or preselection
    QString defaultExt;          // without the dot, added when the name has none
    bool allowMultiple = false;  // open only
    bool fileMustExist = true;   // open only
    bool overwritePrompt = true; // save only
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MsgResult message(QWidget *parent, const QString &text, MsgButtons buttons, MsgIcon icon = MsgIcon::None,
                              const QString &title = {}) = 0;
    // Empty list when cancelled.
    virtual QStringList openFiles(QWidget *parent, const FileDialogRequest &request) = 0;
    // Empty string when cancelled.
    virtual QString saveFile(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual QString chooseFolder(QWidget *parent, const QString &title, const QString &start) = 0;
    // false when cancelled; colour left as it was.
    virtual bool chooseColor(QWidget *parent, QColor &color) = 0;
    // Shows one of the program's own modal windows and returns its modal
    // result (1 OK, 2 Cancel).
    virtual int execModal(QDialog *dialog) = 0;

    static Dialogs &instance();
    // Installs another implementation (tests); nullptr restores the Qt one.
    // The caller keeps ownership.
    static void setInstance(Dialogs *dialogs);

    // Converts the program's filter notation to Qt's ("Desc (*.a);;Desc2 (*.b)").
    static QString toQtFilter(const QString &filter);
};

// Shows real Qt dialogs.
class QtDialogs : public Dialogs {
public:
    MsgResult message(QWidget *parent, const QString &text, MsgButtons buttons, MsgIcon icon,
                      const QString &title) override;
    QStringList openFiles(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFile(QWidget *parent, const FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    bool chooseColor(QWidget *parent, QColor &color) override;
    int execModal(QDialog *dialog) override;
};

} // namespace korvana
