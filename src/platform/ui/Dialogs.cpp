#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>

namespace korvana {

namespace {
QtDialogs g_qtDialogs;
Dialogs *g_current = nullptr;

QString appTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Korvana") : name;
}

// Room for the title in the title bar's font, beside the icon and the
// buttons that desktops put there (about 150 pixels at most).
int messageBoxMinimumWidth(const QString &title)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(title) + 160;
}

QString withDefaultExt(QString name, const QString &ext)
{
    if (!name.isEmpty() && !ext.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += QLatin1Char('.') + ext;
    return name;
}
} // namespace

Dialogs &Dialogs::instance()
{
    return g_current ? *g_current : static_cast<Dialogs &>(g_qtDialogs);
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    g_current = dialogs;
}

QString Dialogs::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!desc.contains(QLatin1Char('(')))
            desc += QStringLiteral(" (%1)").arg(patterns);
        else
            desc = desc.left(desc.indexOf(QLatin1Char('('))).trimmed() + QStringLiteral(" (%1)").arg(patterns);
        out << desc;
    }
    return out.join(QStringLiteral(";;"));
}

MsgResult QtDialogs::message(QWidget *parent, const QString &text, MsgButtons buttons, MsgIcon icon,
                             const QString &title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? appTitle() : title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A short text makes a narrow box, whose title the desktop then cuts
    // down to "K…a" beside its title-bar buttons: the box is kept wide
    // enough for the whole title.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(
            new QSpacerItem(messageBoxMinimumWidth(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
            grid->rowCount(), 0, 1, grid->columnCount());
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Ok:
        return MsgResult::Ok;
    default:
        return MsgResult::Cancel;
    }
}

QStringList QtDialogs::openFiles(QWidget *parent, const FileDialogRequest &r)
{
    QFileDialog dlg(parent, r.title, r.initialDir, toQtFilter(r.filter));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(r.allowMultiple ? QFileDialog::ExistingFiles
                                    : (r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    const QStringList filters = dlg.nameFilters();
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dlg.selectNameFilter(filters[r.filterIndex - 1]);
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

QString QtDialogs::saveFile(QWidget *parent, const FileDialogRequest &r)
{
    QFileDialog dlg(parent, r.title, r.initialDir, toQtFilter(r.filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!r.overwritePrompt)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!r.defaultExt.isEmpty())
        dlg.setDefaultSuffix(r.defaultExt);
    const QStringList filters = dlg.nameFilters();
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
        dlg.selectNameFilter(filters[r.filterIndex - 1]);
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return withDefaultExt(dlg.selectedFiles().first(), r.defaultExt);
}

QString QtDialogs::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

bool QtDialogs::chooseColor(QWidget *parent, QColor &color)
{
    const QColor c = QColorDialog::getColor(color, parent);
    if (!c.isValid())
        return false;
    color = c;
    return true;
}

int QtDialogs::execModal(QDialog *dialog)
{
    return dialog->exec();
}

} // namespace korvana
