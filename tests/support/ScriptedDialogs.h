#pragma once
// Test double of the dialog seam: answers from queues filled by the test and
// records every request. A message with no queued answer gets the first
// button's result (Ok or Yes); a file dialog with no queued answer is
// cancelled.
#include "platform/ui/Dialogs.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace korvana {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
    };
    std::vector<Shown> messages;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<MsgResult> messageAnswers;
    std::deque<QStringList> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QColor> colorAnswers;
    // Modal windows shown (object names) and their queued results; with no
    // queued result a modal window is closed with Cancel (2).
    std::vector<QString> modalsShown;
    std::deque<int> modalAnswers;
    std::function<void(QDialog *)> onModal;
    // Called for each message before answering (a test may act inside the box).
    std::function<void(const Shown &)> onMessage;

    MsgResult message(QWidget *parent, const QString &text, MsgButtons buttons, MsgIcon icon,
                      const QString &title) override;
    QStringList openFiles(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFile(QWidget *parent, const FileDialogRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    bool chooseColor(QWidget *parent, QColor &color) override;
    int execModal(QDialog *dialog) override;

    QString lastMessage() const { return messages.empty() ? QString() : messages.back().text; }
};

// Installs a ScriptedDialogs for the lifetime of the object.
class ScopedScriptedDialogs {
public:
    ScopedScriptedDialogs() { Dialogs::setInstance(&dialogs); }
    ~ScopedScriptedDialogs() { Dialogs::setInstance(nullptr); }
    ScriptedDialogs dialogs;
};

} // namespace korvana
