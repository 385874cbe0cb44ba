// The main window's operations on the lesson store: opening lessons, the list
// of linked reading files, saving lessons, sessions.
#include "app/HoverLabel.h"
#include "app/TForm1.h"
#include "lessons/LessonLine.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LinkedFiles.h"
#include "lessons/Sessions.h"
#include "platform/ui/Dialogs.h"
#include "reference/TFormAsocFile.h"
#include "settings/ProgramPaths.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

using korvana::Dialogs;
using korvana::MsgButtons;

struct TForm1::LessonFiles {
    explicit LessonFiles(korvana::LessonStore &store) : opener(store, loaded), saver(store, loaded) {}
    korvana::LoadedLessons loaded;
    korvana::LessonOpener opener;
    korvana::LessonSaver saver;
};

TForm1::LessonFiles &TForm1::files()
{
    if (!lessonFiles)
        lessonFiles = std::make_shared<LessonFiles>(store);
    return *lessonFiles;
}

QString TForm1::GetTagContent(const QString &Line, const QString &Tag) const
{
    return korvana::GetTagContent(Line, Tag);
}

QString TForm1::GetValue(int StartPos, const QString &Tag)
{
    return store.GetValue(StartPos, Tag);
}

void TForm1::VymazatCisla()
{
    store.VymazatCisla();
}

void TForm1::NacistDoStringgridu(const QString &LessonFile)
{
    store.NacistDoStringgridu(LessonFile);
}

// --- the list of linked files ---------------------------------------------------

namespace {

const QString kLessonFilter = QStringLiteral("Korvana Lessons|*.kvl|All Files|*.*");
const QString kSessionFilter = QStringLiteral("Korvana Sessions|*.ses|All Files|*.*");

// A file's name in a list of files that failed, with why in a few words.
QString withReason(const QString &file, const QString &reason)
{
    return reason.isEmpty() ? file : file + QStringLiteral(" (") + reason + QLatin1Char(')');
}

// Draws the list's items as the main window does (lbSouboryDrawItem).
class LinkedFilesDelegate : public QStyledItemDelegate {
public:
    LinkedFilesDelegate(TForm1 *form, QObject *parent) : QStyledItemDelegate(parent), m_form(form) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_form->lbSouboryDrawItem(painter, index.row(), option.rect,
                                  option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {165, 16}; }

private:
    TForm1 *m_form;
};

// Sends the pointer's moves over the list to lbSouboryMouseMove.
class LinkedFilesMouse : public QObject {
public:
    LinkedFilesMouse(TForm1 *form, QObject *parent) : QObject(parent), m_form(form) {}
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove)
            m_form->lbSouboryMouseMove(static_cast<QMouseEvent *>(e)->position().toPoint());
        return QObject::eventFilter(watched, e);
    }

private:
    TForm1 *m_form;
};

// Shows a linked file in the reader window.
void showInReader(const QString &fullName, const QString &description)
{
    if (FormAsocFile)
        FormAsocFile->openLinkedFile(fullName, description);
}

} // namespace

void TForm1::buildLessonControls()
{
    lbSoubory = new QListWidget(this);
    lbSoubory->setObjectName(QStringLiteral("lbSoubory"));
    lbSoubory->setGeometry(184, 168, 165, 60);
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setBold(true);
    lbSoubory->setFont(font);
    lbSoubory->setToolTip(QStringLiteral("Double click to open"));
    lbSoubory->setUniformItemSizes(true);
    lbSoubory->setItemDelegate(new LinkedFilesDelegate(this, lbSoubory));
    lbSoubory->setMouseTracking(true);
    lbSoubory->viewport()->setMouseTracking(true);
    lbSoubory->viewport()->installEventFilter(new LinkedFilesMouse(this, lbSoubory));
    lbSoubory->setStyleSheet(QStringLiteral("QListWidget { background: #FFFBF0; }"));
    connect(lbSoubory, &QListWidget::itemDoubleClicked, this, [this] { lbSouboryDblClick(); });
    lbSoubory->hide();

    auto *open = new HoverLabel(QStringLiteral("Open"), this);
    open->setObjectName(QStringLiteral("lblOpen"));
    open->setCursor(Qt::PointingHandCursor);
    open->setGeometry(184, 230, 40, 16);
    connect(open, &HoverLabel::clicked, this, [this] { lbSouboryDblClick(); });
    open->hide();
    lblOpen = open;

    eLineNr = new QLineEdit(this);
    eLineNr->setObjectName(QStringLiteral("eLineNr"));
    eLineNr->setGeometry(184, 250, 48, 20);
    // Room for five digits whatever the font, so "2999" never reads "999".
    const QMargins m = eLineNr->textMargins();
    eLineNr->setFixedWidth(eLineNr->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + m.left()
                           + m.right() + 14);
    eLineNr->setText(QStringLiteral("0"));
}

void TForm1::lbSouboryDrawItem(QPainter *Canvas, int Index, const QRect &Rect, bool Selected) const
{
    Canvas->save();
    Canvas->fillRect(Rect, Selected ? QColor(Qt::black) : QColor(0xFF, 0xFB, 0xF0));
    Canvas->setPen(Selected ? Qt::white : Qt::black);
    Canvas->setFont(lbSoubory ? lbSoubory->font() : Canvas->font());
    const QString text = lbSoubory && lbSoubory->item(Index) ? lbSoubory->item(Index)->text() : QString();
    Canvas->drawText(Rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    Canvas->restore();
}

QString TForm1::linkedFileFullName(int j) const
{
    return korvana::resolveLinkedFile(FParFiles.value(j), FParLessons.value(j), QDir::currentPath());
}

void TForm1::lbSouboryMouseMove(const QPoint &Pos)
{
    const QModelIndex index = lbSoubory->indexAt(Pos);
    if (index.isValid() && index.row() < FParFiles.size())
        Status(linkedFileFullName(index.row()));
    else
        lStatus->clear();
}

void TForm1::lbSouboryDblClick()
{
    const int j = lbSoubory->currentRow();
    if (j < 0 || j >= FParFiles.size())
        return;
    const QString fullName = linkedFileFullName(j);
    if (!QFileInfo(fullName).isFile()) {
        Dialogs::instance().message(this, QStringLiteral("File ") + fullName + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
        return;
    }
    try {
        showInReader(fullName, store.FParDescriptions.value(j));
    } catch (const std::exception &) {
        Dialogs::instance().message(this, QStringLiteral("File ") + fullName + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
    }
}

void TForm1::ReadParTags()
{
    const QList<korvana::LinkedFile> links = korvana::ReadParTags(files().opener.RichEdit2);
    for (const korvana::LinkedFile &l : links) {
        FParFiles.append(l.file);
        FParLessons.append(FLoadingFile);
        store.FParDescriptions.append(l.description);
    }
}

QString TForm1::GetParAttribute(const QString &Line, const QString &Name) const
{
    return korvana::GetParAttribute(Line, Name);
}

// --- opening lessons ------------------------------------------------------------------

QString TForm1::tempSessionFile()
{
    return korvana::ProgramPaths::userDataFolder() + QStringLiteral("temp.ses");
}

void TForm1::OpenFile(const QString &Mode)
{
    reMain.setTextLimit(korvana::LessonStore::TextLimit);
    HideAllMenus();
    FLoadErrors.clear();

    if (Mode == QLatin1String("lesson")) {
        korvana::FileDialogRequest request;
        request.filter = kLessonFilter;
        request.initialDir = FWorkingDirectory;
        request.fileName.clear();
        request.allowMultiple = true;
        request.fileMustExist = true;
        QStringList chosen = Dialogs::instance().openFiles(this, request);
        if (chosen.isEmpty())
            return;
        for (QString &f : chosen)
            f = QFileInfo(f).absoluteFilePath();
        std::stable_sort(chosen.begin(), chosen.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        FOpenLessons = chosen;
        FSessionFile.clear();
        FStartIndex = 1;
    }

    const bool tempSession = Mode == QLatin1String("tempsession");
    const QString keptSession = FSessionFile;
    if (tempSession)
        FSessionFile = tempSessionFile();

    FNumbersMode = false;
    Status(QStringLiteral("Wait please..."));
    repaint();

    const QStringList failed = files().opener.openAll([this] { lStatus->clear(); });
    for (const QString &f : failed)
        FLoadErrors += withReason(f, files().opener.failureReason(f)) + QLatin1Char('\n');
    if (!FLoadErrors.isEmpty())
        Dialogs::instance().message(this, QStringLiteral("Some files were not loaded:\n") + FLoadErrors,
                                    MsgButtons::Ok);

    lbSoubory->clear();
    lbSoubory->addItems(store.FParDescriptions);
    const bool anyLinks = lbSoubory->count() > 0;
    if (anyLinks)
        lbSoubory->setCurrentRow(0);
    lbSoubory->setVisible(anyLinks);
    lblOpen->setVisible(anyLinks);

    FCurrentIndex = FStartIndex - 1;
    bNextClick();
    eLineNr->setText(QString::number(FCurrentIndex));
    CountTerms();

    if (tempSession)
        FSessionFile = keptSession;
    CheckLessonSessionLabels();
}

// --- saving lessons -------------------------------------------------------------------

void TForm1::SaveLessons()
{
    if (FOpenLessons.isEmpty()) {
        HideAllMenus();
        Dialogs::instance().message(this, QStringLiteral("No open lessons"), MsgButtons::Ok);
        return;
    }
    Status(QStringLiteral("Saving lessons..."));
    QStringList failed;
    try {
        failed = files().saver.saveAll();
    } catch (const std::exception &) {
        failed = FOpenLessons;
    }
    if (failed.isEmpty()) {
        Status(QStringLiteral("Lessons saved"));
        return;
    }
    QString list;
    for (const QString &f : failed)
        list += QLatin1Char('\n') + withReason(f, files().saver.failureReason(f));
    Dialogs::instance().message(this, QStringLiteral("Some lessons couldn't be saved:\n") + list, MsgButtons::Ok);
}

void TForm1::mlSaveLessonClick()
{
    HideAllMenus();
    SaveLessons();
}

// --- sessions ---------------------------------------------------------------------------

bool TForm1::SaveSession(const QString &FileName)
{
    SaveLessons();
    try {
        korvana::writeSession(FileName, FOpenLessons, FCurrentIndex);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void TForm1::mlSaveSessionClick()
{
    if (FSessionFile.isEmpty()) {
        mlSaveSessionAsClick();
        return;
    }
    FSessionFile = korvana::sessionPath(FSessionFile, FWorkingDirectory);
    Status(SaveSession(FSessionFile) ? QStringLiteral("Session saved") : QStringLiteral("Unable to save session"));
    HideAllMenus();
}

void TForm1::mlSaveSessionAsClick()
{
    if (FOpenLessons.isEmpty()) {
        HideAllMenus();
        Dialogs::instance().message(this, QStringLiteral("You must open one or more lessons to save a session"),
                                    MsgButtons::Ok);
        return;
    }
    korvana::FileDialogRequest request;
    request.filter = kSessionFilter;
    request.initialDir = FWorkingDirectory;
    request.defaultExt = QStringLiteral("ses");
    request.overwritePrompt = true;
    const QString chosen = Dialogs::instance().saveFile(this, request);
    if (chosen.isEmpty())
        return;
    FSessionFile = korvana::withSessionExtension(chosen);
    Status(SaveSession(FSessionFile) ? QStringLiteral("Session saved") : QStringLiteral("Unable to save session"));
    HideAllMenus();
}

void TForm1::mlOpenSessionClick()
{
    HideAllMenus();
    korvana::FileDialogRequest request;
    request.filter = kSessionFilter;
    request.initialDir = FWorkingDirectory;
    request.allowMultiple = false;
    request.fileMustExist = true;
    const QStringList chosen = Dialogs::instance().openFiles(this, request);
    if (chosen.isEmpty())
        return;
    // A file that is no session leaves the open lessons (and their unsaved
    // marks) as they are.
    korvana::SessionContents session;
    QString problem;
    if (!korvana::openSessionFile(chosen.first(), &session, &problem)) {
        Dialogs::instance().message(this, problem, MsgButtons::Ok);
        return;
    }
    FSessionFile = chosen.first();
    Status(FSessionFile);
    FOpenLessons = session.lessons;
    FStartIndex = session.position;
    OpenFile(QStringLiteral("session-files"));
}
