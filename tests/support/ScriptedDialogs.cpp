#include "support/ScriptedDialogs.h"

#include <QDialog>
#include <QFileInfo>

namespace korvana {

namespace {
// The default extension, added as the real save dialog adds it.
QString withDefaultExt(QString name, const QString &ext)
{
    if (!name.isEmpty() && !ext.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + ext;
    return name;
}
} // namespace

MsgResult ScriptedDialogs::message(QWidget *, const QString &text, MsgButtons buttons, MsgIcon icon, const QString &)
{
    Shown shown{text, buttons, icon};
    messages.push_back(shown);
    if (onMessage)
        onMessage(shown);
    if (!messageAnswers.empty()) {
        MsgResult r = messageAnswers.front();
        messageAnswers.pop_front();
        return r;
    }
    return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgResult::Yes : MsgResult::Ok;
}

QStringList ScriptedDialogs::openFiles(QWidget *, const FileDialogRequest &request)
{
    fileRequests.push_back(request);
    if (openAnswers.empty())
        return {};
    QStringList r = openAnswers.front();
    openAnswers.pop_front();
    return r;
}

QString ScriptedDialogs::saveFile(QWidget *, const FileDialogRequest &request)
{
    fileRequests.push_back(request);
    if (saveAnswers.empty())
        return {};
    QString r = saveAnswers.front();
    saveAnswers.pop_front();
    return withDefaultExt(r, request.defaultExt);
}

QString ScriptedDialogs::chooseFolder(QWidget *, const QString &, const QString &)
{
    if (folderAnswers.empty())
        return {};
    QString r = folderAnswers.front();
    folderAnswers.pop_front();
    return r;
}

bool ScriptedDialogs::chooseColor(QWidget *, QColor &color)
{
    if (colorAnswers.empty())
        return false;
    color = colorAnswers.front();
    colorAnswers.pop_front();
    return true;
}

int ScriptedDialogs::execModal(QDialog *dialog)
{
    modalsShown.push_back(dialog->objectName());
    if (onModal)
        onModal(dialog);
    if (modalAnswers.empty())
        return 2;
    const int r = modalAnswers.front();
    modalAnswers.pop_front();
    return r;
}

} // namespace korvana
