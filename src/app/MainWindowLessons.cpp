// The main window's operations on the lesson store: opening lessons, the list
// of linked reading files, saving lessons, sessions.
#include "app/HoverLabel.h"
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/ProgramWindows.h"
#include "lessons/LessonLine.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LinkedFiles.h"
#include "lessons/Sessions.h"
#include "platform/ui/Dialogs.h"
#include "practice/PictureWindow.h"
#include "reference/ReaderWindow.h"
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

struct MainWindow::LessonFiles {
    explicit LessonFiles(korvana::LessonStore &store) : opener(store, loaded), saver(store, loaded) {}
    korvana::LoadedLessons loaded;
    korvana::LessonOpener opener;
    korvana::LessonSaver saver;
};

MainWindow::LessonFiles &MainWindow::files()
{
    if (!lessonFiles)
        lessonFiles = std::make_shared<LessonFiles>(store);
    return *lessonFiles;
}

QString MainWindow::tagContent(const QString &Line, const QString &Tag) const
{
    return korvana::tagContent(Line, Tag);
}

QString MainWindow::valueAt(int StartPos, const QString &Tag)
{
    return store.valueAt(StartPos, Tag);
}

void MainWindow::removeNumberTags()
{
    store.removeNumberTags();
}

void MainWindow::loadIntoTermTable(const QString &LessonFile)
{
    store.loadIntoTermTable(LessonFile);
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

// A message lists at most this many files; a session of thousands of
// missing lessons must still give a box that fits the screen, at once.
constexpr qsizetype ListedFiles = 20;

// The first ListedFiles lines, each with `before` in front and `after`
// behind it, then "… and N more" for the rest.
QString boundedList(const QStringList &lines, QLatin1String before, QLatin1String after)
{
    QString list;
    for (qsizetype i = 0; i < std::min(lines.size(), ListedFiles); ++i)
        list += before + lines[i] + after;
    if (lines.size() > ListedFiles)
        list += before + QStringLiteral("\u2026 and %1 more").arg(lines.size() - ListedFiles) + after;
    return list;
}

// Draws the list's items as the main window does (drawLinkedFileItem).
class LinkedFilesDelegate : public QStyledItemDelegate {
public:
    LinkedFilesDelegate(MainWindow *form, QObject *parent) : QStyledItemDelegate(parent), m_form(form) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_form->drawLinkedFileItem(painter, index.row(), option.rect,
                                  option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {165, 16}; }

private:
    MainWindow *m_form;
};

// Sends the pointer's moves over the list to linkedFilesListMouseMoved.
class LinkedFilesMouse : public QObject {
public:
    LinkedFilesMouse(MainWindow *form, QObject *parent) : QObject(parent), m_form(form) {}
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove)
            m_form->linkedFilesListMouseMoved(static_cast<QMouseEvent *>(e)->position().toPoint());
        return QObject::eventFilter(watched, e);
    }

private:
    MainWindow *m_form;
};

// Shows a linked file in the reader window, when there is one.
void showInReader(ReaderWindow *reader, const QString &fullName, const QString &description)
{
    if (reader)
        reader->openLinkedFile(fullName, description);
}

} // namespace

void MainWindow::buildLessonControls()
{
    linkedFilesList = new QListWidget(this);
    linkedFilesList->setObjectName(QStringLiteral("linkedFilesList"));
    linkedFilesList->setGeometry(184, 168, 165, 60);
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setBold(true);
    linkedFilesList->setFont(font);
    linkedFilesList->setToolTip(QStringLiteral("Double click to open"));
    linkedFilesList->setUniformItemSizes(true);
    linkedFilesList->setItemDelegate(new LinkedFilesDelegate(this, linkedFilesList));
    linkedFilesList->setMouseTracking(true);
    linkedFilesList->viewport()->setMouseTracking(true);
    linkedFilesList->viewport()->installEventFilter(new LinkedFilesMouse(this, linkedFilesList));
    linkedFilesList->setStyleSheet(QStringLiteral("QListWidget { background: #FFFBF0; }"));
    connect(linkedFilesList, &QListWidget::itemDoubleClicked, this, [this] { linkedFilesListDoubleClicked(); });
    linkedFilesList->hide();
    korvana::keepRoomWhenHidden(linkedFilesList);

    auto *open = new HoverLabel(QStringLiteral("Open"), this);
    open->setObjectName(QStringLiteral("openLinkedFileLabel"));
    open->setCursor(Qt::PointingHandCursor);
    open->setGeometry(184, 230, 40, 16);
    connect(open, &HoverLabel::clicked, this, [this] { linkedFilesListDoubleClicked(); });
    open->hide();
    korvana::keepRoomWhenHidden(open);
    openLinkedFileLabel = open;

    termNumberEdit = new QLineEdit(this);
    termNumberEdit->setObjectName(QStringLiteral("termNumberEdit"));
    termNumberEdit->setGeometry(184, 250, 48, 20);
    // Room for five digits whatever the font, so "2999" never reads "999".
    const QMargins m = termNumberEdit->textMargins();
    termNumberEdit->setFixedWidth(termNumberEdit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + m.left()
                           + m.right() + 14);
    termNumberEdit->setText(QStringLiteral("0"));
}

void MainWindow::drawLinkedFileItem(QPainter *Canvas, int Index, const QRect &Rect, bool Selected) const
{
    Canvas->save();
    Canvas->fillRect(Rect, Selected ? QColor(Qt::black) : QColor(0xFF, 0xFB, 0xF0));
    Canvas->setPen(Selected ? Qt::white : Qt::black);
    Canvas->setFont(linkedFilesList ? linkedFilesList->font() : Canvas->font());
    const QString text
        = linkedFilesList && linkedFilesList->item(Index) ? linkedFilesList->item(Index)->text() : QString();
    Canvas->drawText(Rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    Canvas->restore();
}

QString MainWindow::linkedFileFullName(int j) const
{
    return korvana::resolveLinkedFile(linkedFiles.value(j), linkedFileLessons.value(j), QDir::currentPath());
}

void MainWindow::linkedFilesListMouseMoved(const QPoint &Pos)
{
    const QModelIndex index = linkedFilesList->indexAt(Pos);
    if (index.isValid() && index.row() < linkedFiles.size())
        showStatus(linkedFileFullName(index.row()));
    else
        statusLabel->clear();
}

void MainWindow::linkedFilesListDoubleClicked()
{
    const int j = linkedFilesList->currentRow();
    if (j < 0 || j >= linkedFiles.size())
        return;
    const QString fullName = linkedFileFullName(j);
    // A folder, pipe or device that is there is no missing file: the reader
    // says what it is, as its own Open does.
    if (!QFileInfo::exists(fullName)) {
        Dialogs::instance().message(this, QStringLiteral("File ") + fullName + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
        return;
    }
    try {
        showInReader(windows.readerWindow.get(), fullName, store.linkedFileDescriptions.value(j));
    } catch (const std::exception &) {
        Dialogs::instance().message(this, QStringLiteral("File ") + fullName + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
    }
}

void MainWindow::readLinkedFileLines()
{
    const QList<korvana::LinkedFile> links = korvana::parseLinkedFiles(files().opener.linkedFileLinesText);
    for (const korvana::LinkedFile &l : links) {
        linkedFiles.append(l.file);
        linkedFileLessons.append(loadingLesson);
        store.linkedFileDescriptions.append(l.description);
    }
}

QString MainWindow::linkedFileAttribute(const QString &Line, const QString &Name) const
{
    return korvana::linkedFileAttribute(Line, Name);
}

// --- opening lessons ------------------------------------------------------------------

QString MainWindow::tempSessionFile()
{
    return korvana::ProgramPaths::userDataFolder() + QStringLiteral("temp.ses");
}

void MainWindow::openLessonFiles(const QString &Mode)
{
    lessonText.setTextLimit(korvana::LessonStore::TextLimit);
    hideAllMenus();
    loadErrors.clear();

    if (Mode == QLatin1String("lesson")) {
        korvana::FileDialogRequest request;
        request.filter = kLessonFilter;
        request.initialDir = settings.workingDirectory;
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
        openLessons = chosen;
        m_sessionFile.clear();
        startIndex = 1;
    }

    const bool tempSession = Mode == QLatin1String("tempsession");
    const QString keptSession = m_sessionFile;
    if (tempSession)
        m_sessionFile = tempSessionFile();

    m_numbers->drill().on = false;
    showStatus(QStringLiteral("Wait please..."));
    repaint();

    // Marks made since the lessons were read or saved live only in the term
    // table; reopening after the editor must not drop them.
    const QHash<QString, QString> marks = tempSession ? unsavedMarks() : QHash<QString, QString>();
    const QStringList failed = files().opener.openAll([this] { statusLabel->clear(); });
    noteFileStates();
    if (!marks.isEmpty())
        applyMarks(marks);
    // What was shown belongs to the lessons just closed.
    if (!files().loaded.contains(currentLesson))
        currentLesson.clear();
    clearTermDisplay();
    QStringList notLoaded;
    for (const QString &f : failed)
        notLoaded.append(withReason(f, files().opener.failureReason(f)));
    loadErrors = boundedList(notLoaded, QLatin1String(), QLatin1String("\n"));
    if (!loadErrors.isEmpty())
        Dialogs::instance().message(this, QStringLiteral("Some files were not loaded:\n") + loadErrors,
                                    MsgButtons::Ok);

    linkedFilesList->clear();
    linkedFilesList->addItems(store.linkedFileDescriptions);
    const bool anyLinks = linkedFilesList->count() > 0;
    if (anyLinks)
        linkedFilesList->setCurrentRow(0);
    linkedFilesList->setVisible(anyLinks);
    openLinkedFileLabel->setVisible(anyLinks);

    currentIndex = std::max(startIndex - 1, 0);
    nextButtonClicked();
    termNumberEdit->setText(QString::number(currentIndex));
    countTerms();

    if (tempSession)
        m_sessionFile = keptSession;
    updateLessonSessionLabels();
}

// Each term is known across a reload by its line and by how many equal lines
// of its lesson stand before it.
namespace {
QString markKey(const QString &lesson, const QString &line, int occurrence)
{
    return lesson + QChar(0) + line + QChar(0) + QString::number(occurrence);
}
} // namespace

void MainWindow::noteFileStates()
{
    QHash<QString, QStringList> states;
    for (int r = 0; r < termTable.rowCount(); ++r)
        if (!termTable.lesson(r).isEmpty())
            states[termTable.lesson(r)].append(termTable.state(r));
    files().saver.fileStates = states;
}

QHash<QString, QString> MainWindow::unsavedMarks()
{
    QHash<QString, QString> marks;
    QHash<QString, int> rowOfLesson;
    QHash<QString, int> seen;
    const QHash<QString, QStringList> &known = files().saver.fileStates;
    for (int r = 0; r < termTable.rowCount(); ++r) {
        const QString lesson = termTable.lesson(r);
        if (lesson.isEmpty())
            continue;
        const int k = rowOfLesson[lesson]++;
        const QString line = lessonText.line(r);
        const int occurrence = seen[lesson + QChar(0) + line]++;
        const auto fileState = known.constFind(lesson);
        if (fileState == known.constEnd() || fileState.value().value(k) != termTable.state(r))
            marks.insert(markKey(lesson, line, occurrence), termTable.state(r));
    }
    return marks;
}

void MainWindow::applyMarks(const QHash<QString, QString> &marks)
{
    QHash<QString, int> seen;
    for (int r = 0; r < termTable.rowCount(); ++r) {
        const QString lesson = termTable.lesson(r);
        if (lesson.isEmpty())
            continue;
        const QString line = lessonText.line(r);
        const int occurrence = seen[lesson + QChar(0) + line]++;
        const auto mark = marks.constFind(markKey(lesson, line, occurrence));
        if (mark != marks.constEnd())
            termTable.setCell(korvana::TermGrid::TermStatus, r, mark.value());
    }
}

void MainWindow::clearTermDisplay()
{
    for (korvana::RichEdit *pane : {translationText, pinyinText, charactersText, notesText})
        if (pane)
            pane->clear();
    if (termLineText)
        termLineText->clear();
    if (viewPictureLabel)
        viewPictureLabel->hide();
    if (windows.pictureWindow && windows.pictureWindow->isVisible())
        windows.pictureWindow->close();
    if (markDifficultButton)
        markDifficultButton->setLatched(false);
    if (markUnlearnedButton)
        markUnlearnedButton->setLatched(false);
    if (playSoundLabel)
        playSoundLabel->hide();
    pictureFile.clear();
    soundFile.clear();
    shownIndex = 0;
}

// --- saving lessons -------------------------------------------------------------------

void MainWindow::saveLessons()
{
    if (openLessons.isEmpty()) {
        hideAllMenus();
        Dialogs::instance().message(this, QStringLiteral("No open lessons"), MsgButtons::Ok);
        return;
    }
    showStatus(QStringLiteral("Saving lessons..."));
    QStringList failed;
    files().saver.heldLessons = lessonsHeldByEditor();
    try {
        failed = files().saver.saveAll();
    } catch (const std::exception &) {
        failed = openLessons;
    }
    if (failed.isEmpty()) {
        showStatus(QStringLiteral("Lessons saved"));
        return;
    }
    QStringList notSaved;
    for (const QString &f : failed)
        notSaved.append(withReason(f, files().saver.failureReason(f)));
    const QString list = boundedList(notSaved, QLatin1String("\n"), QLatin1String());
    Dialogs::instance().message(this, QStringLiteral("Some lessons couldn't be saved:\n") + list, MsgButtons::Ok);
}

void MainWindow::saveLessonsCommand()
{
    hideAllMenus();
    saveLessons();
}

// --- sessions ---------------------------------------------------------------------------

bool MainWindow::saveSession(const QString &FileName)
{
    saveLessons();
    try {
        korvana::writeSession(FileName, openLessons, currentIndex);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void MainWindow::saveSessionCommand()
{
    if (m_sessionFile.isEmpty()) {
        saveSessionAsCommand();
        return;
    }
    m_sessionFile = korvana::sessionPath(m_sessionFile, settings.workingDirectory);
    showStatus(saveSession(m_sessionFile) ? QStringLiteral("Session saved") : QStringLiteral("Unable to save session"));
    hideAllMenus();
}

void MainWindow::saveSessionAsCommand()
{
    if (openLessons.isEmpty()) {
        hideAllMenus();
        Dialogs::instance().message(this, QStringLiteral("You must open one or more lessons to save a session"),
                                    MsgButtons::Ok);
        return;
    }
    korvana::FileDialogRequest request;
    request.filter = kSessionFilter;
    request.initialDir = settings.workingDirectory;
    request.defaultExt = QStringLiteral("ses");
    request.overwritePrompt = true;
    const QString chosen = Dialogs::instance().saveFile(this, request);
    if (chosen.isEmpty())
        return;
    m_sessionFile = korvana::withSessionExtension(chosen);
    showStatus(saveSession(m_sessionFile) ? QStringLiteral("Session saved") : QStringLiteral("Unable to save session"));
    hideAllMenus();
}

void MainWindow::openSessionCommand()
{
    hideAllMenus();
    korvana::FileDialogRequest request;
    request.filter = kSessionFilter;
    request.initialDir = settings.workingDirectory;
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
    m_sessionFile = chosen.first();
    showStatus(m_sessionFile);
    openLessons = session.lessons;
    startIndex = session.position;
    openLessonFiles(QStringLiteral("session-files"));
}
