// Opening lessons, the list of linked reading files, saving lessons,
// sessions; and the main window's own lesson-store helpers and the commands
// it keeps for its menus.
#include "app/LessonFileCommands.h"
#include "app/HoverLabel.h"
#include "app/MainWindow.h"
#include "app/MainWindowControls.h"
#include "app/ProgramWindows.h"
#include "editing/LessonEditorWindow.h"
#include "lessons/LessonLine.h"
#include "lessons/LessonOpener.h"
#include "lessons/LessonSaver.h"
#include "lessons/LinkedFiles.h"
#include "lessons/Sessions.h"
#include "platform/ui/Dialogs.h"
#include "practice/NumbersDrill.h"
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

struct LessonFileCommands::LessonFiles {
    explicit LessonFiles(korvana::LessonStore &store) : opener(store, loaded), saver(store, loaded) {}
    korvana::LoadedLessons loaded;
    korvana::LessonOpener opener;
    korvana::LessonSaver saver;
};

LessonFileCommands::LessonFileCommands(QWidget &window, MainWindowControls &controls, ProgramWindows &windows,
                                       korvana::NumbersDrill &numbers, WindowCalls calls)
    : m_window(window), m_controls(controls), m_windows(windows), m_settings(windows.state.settings),
      m_store(windows.state.store), m_numbers(numbers), m_calls(std::move(calls))
{
}

LessonFileCommands::~LessonFileCommands() = default;

LessonFileCommands::LessonFiles &LessonFileCommands::files()
{
    if (!m_files)
        m_files = std::make_unique<LessonFiles>(m_store);
    return *m_files;
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
    LinkedFilesDelegate(LessonFileCommands *commands, QObject *parent)
        : QStyledItemDelegate(parent), m_commands(commands)
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_commands->drawLinkedFileItem(painter, index.row(), option.rect,
                                       option.state.testFlag(QStyle::State_Selected));
    }
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override { return {165, 16}; }

private:
    LessonFileCommands *m_commands;
};

// Sends the pointer's moves over the list to linkedFilesListMouseMoved.
class LinkedFilesMouse : public QObject {
public:
    LinkedFilesMouse(LessonFileCommands *commands, QObject *parent) : QObject(parent), m_commands(commands) {}
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseMove)
            m_commands->linkedFilesListMouseMoved(static_cast<QMouseEvent *>(e)->position().toPoint());
        return QObject::eventFilter(watched, e);
    }

private:
    LessonFileCommands *m_commands;
};

// Shows a linked file in the reader window, when there is one.
void showInReader(ReaderWindow *reader, const QString &fullName, const QString &description)
{
    if (reader)
        reader->openLinkedFile(fullName, description);
}

} // namespace

void LessonFileCommands::buildLessonControls()
{
    m_controls.linkedFilesList = new QListWidget(&m_window);
    m_controls.linkedFilesList->setObjectName(QStringLiteral("linkedFilesList"));
    m_controls.linkedFilesList->setGeometry(184, 168, 165, 60);
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setBold(true);
    m_controls.linkedFilesList->setFont(font);
    m_controls.linkedFilesList->setToolTip(QStringLiteral("Double click to open"));
    m_controls.linkedFilesList->setUniformItemSizes(true);
    m_controls.linkedFilesList->setItemDelegate(new LinkedFilesDelegate(this, m_controls.linkedFilesList));
    m_controls.linkedFilesList->setMouseTracking(true);
    m_controls.linkedFilesList->viewport()->setMouseTracking(true);
    m_controls.linkedFilesList->viewport()->installEventFilter(new LinkedFilesMouse(this, m_controls.linkedFilesList));
    m_controls.linkedFilesList->setStyleSheet(QStringLiteral("QListWidget { background: #FFFBF0; }"));
    QObject::connect(m_controls.linkedFilesList, &QListWidget::itemDoubleClicked, &m_window,
                     [this] { linkedFilesListDoubleClicked(); });
    m_controls.linkedFilesList->hide();
    korvana::keepRoomWhenHidden(m_controls.linkedFilesList);

    auto *open = new HoverLabel(QStringLiteral("Open"), &m_window);
    open->setObjectName(QStringLiteral("openLinkedFileLabel"));
    open->setCursor(Qt::PointingHandCursor);
    open->setGeometry(184, 230, 40, 16);
    QObject::connect(open, &HoverLabel::clicked, &m_window, [this] { linkedFilesListDoubleClicked(); });
    open->hide();
    korvana::keepRoomWhenHidden(open);
    m_controls.openLinkedFileLabel = open;

    m_controls.termNumberEdit = new QLineEdit(&m_window);
    m_controls.termNumberEdit->setObjectName(QStringLiteral("termNumberEdit"));
    m_controls.termNumberEdit->setGeometry(184, 250, 48, 20);
    // Room for five digits whatever the font, so "2999" never reads "999".
    const QMargins m = m_controls.termNumberEdit->textMargins();
    QLineEdit *number = m_controls.termNumberEdit;
    number->setFixedWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + m.left() + m.right() + 14);
    m_controls.termNumberEdit->setText(QStringLiteral("0"));
}

void LessonFileCommands::drawLinkedFileItem(QPainter *canvas, int index, const QRect &rect, bool selected) const
{
    canvas->save();
    canvas->fillRect(rect, selected ? QColor(Qt::black) : QColor(0xFF, 0xFB, 0xF0));
    canvas->setPen(selected ? Qt::white : Qt::black);
    canvas->setFont(m_controls.linkedFilesList ? m_controls.linkedFilesList->font() : canvas->font());
    const QListWidget *list = m_controls.linkedFilesList;
    const QString text = list && list->item(index) ? list->item(index)->text() : QString();
    canvas->drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    canvas->restore();
}

QString LessonFileCommands::linkedFileFullName(int j) const
{
    return korvana::resolveLinkedFile(m_store.linkedFiles.value(j), m_store.linkedFileLessons.value(j),
                                      QDir::currentPath());
}

void LessonFileCommands::linkedFilesListMouseMoved(const QPoint &pos)
{
    const QModelIndex index = m_controls.linkedFilesList->indexAt(pos);
    if (index.isValid() && index.row() < m_store.linkedFiles.size())
        m_calls.showStatus(linkedFileFullName(index.row()));
    else
        m_controls.statusLabel->clear();
}

void LessonFileCommands::linkedFilesListDoubleClicked()
{
    const int j = m_controls.linkedFilesList->currentRow();
    if (j < 0 || j >= m_store.linkedFiles.size())
        return;
    const QString fullName = linkedFileFullName(j);
    // A folder, pipe or device that is there is no missing file: the reader
    // says what it is, as its own Open does.
    if (!QFileInfo::exists(fullName)) {
        Dialogs::instance().message(&m_window, QStringLiteral("File ") + fullName + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
        return;
    }
    try {
        showInReader(m_windows.readerWindow.get(), fullName, m_store.linkedFileDescriptions.value(j));
    } catch (const std::exception &) {
        Dialogs::instance().message(&m_window, QStringLiteral("File ") + fullName + QStringLiteral(" not found"),
                                    MsgButtons::Ok);
    }
}

// --- opening lessons ------------------------------------------------------------------

QString LessonFileCommands::tempSessionFile()
{
    return korvana::ProgramPaths::userDataFolder() + QStringLiteral("temp.ses");
}

void LessonFileCommands::openLessonFiles(OpenMode mode)
{
    m_calls.hideAllMenus();
    m_loadErrors.clear();

    if (mode == OpenMode::Lesson) {
        korvana::FileDialogRequest request;
        request.filter = kLessonFilter;
        request.initialDir = m_settings.workingDirectory;
        request.fileName.clear();
        request.allowMultiple = true;
        request.fileMustExist = true;
        QStringList chosen = Dialogs::instance().openFiles(&m_window, request);
        if (chosen.isEmpty())
            return;
        for (QString &f : chosen)
            f = QFileInfo(f).absoluteFilePath();
        std::stable_sort(chosen.begin(), chosen.end(),
                         [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        m_store.openLessons = chosen;
        m_sessionFile.clear();
        m_store.startIndex = 1;
    }

    const bool tempSession = mode == OpenMode::TempSession;
    const QString keptSession = m_sessionFile;
    if (tempSession)
        m_sessionFile = tempSessionFile();

    m_numbers.on = false;
    m_calls.showStatus(QStringLiteral("Wait please..."));
    m_window.repaint();

    // Marks made since the lessons were read or saved live only in the term
    // table; reopening after the editor must not drop them.
    const QHash<QString, QString> marks = tempSession ? unsavedMarks() : QHash<QString, QString>();
    const QStringList failed = files().opener.openAll([this] { m_controls.statusLabel->clear(); });
    noteFileStates();
    if (!marks.isEmpty())
        applyMarks(marks);
    // What was shown belongs to the lessons just closed.
    if (!files().loaded.contains(m_store.currentLesson))
        m_store.currentLesson.clear();
    clearTermDisplay();
    QStringList notLoaded;
    for (const QString &f : failed)
        notLoaded.append(withReason(f, files().opener.failureReason(f)));
    m_loadErrors = boundedList(notLoaded, QLatin1String(), QLatin1String("\n"));
    if (!m_loadErrors.isEmpty())
        Dialogs::instance().message(&m_window, QStringLiteral("Some files were not loaded:\n") + m_loadErrors,
                                    MsgButtons::Ok);

    m_controls.linkedFilesList->clear();
    m_controls.linkedFilesList->addItems(m_store.linkedFileDescriptions);
    const bool anyLinks = m_controls.linkedFilesList->count() > 0;
    if (anyLinks)
        m_controls.linkedFilesList->setCurrentRow(0);
    m_controls.linkedFilesList->setVisible(anyLinks);
    m_controls.openLinkedFileLabel->setVisible(anyLinks);

    m_store.currentIndex = std::max(m_store.startIndex - 1, 0);
    m_calls.nextButtonClicked();
    m_controls.termNumberEdit->setText(QString::number(m_store.currentIndex));
    m_calls.countTerms();

    if (tempSession)
        m_sessionFile = keptSession;
    m_calls.updateLessonSessionLabels();
}

// Each term is known across a reload by its line and by how many equal lines
// of its lesson stand before it.
namespace {
QString markKey(const QString &lesson, const QString &line, int occurrence)
{
    return lesson + QChar(0) + line + QChar(0) + QString::number(occurrence);
}
} // namespace

void LessonFileCommands::noteFileStates()
{
    QHash<QString, QStringList> states;
    for (int r = 0; r < m_store.termTable.rowCount(); ++r)
        if (!m_store.termTable.lesson(r).isEmpty())
            states[m_store.termTable.lesson(r)].append(m_store.termTable.state(r));
    files().saver.fileStates = states;
}

QHash<QString, QString> LessonFileCommands::unsavedMarks()
{
    QHash<QString, QString> marks;
    QHash<QString, int> rowOfLesson;
    QHash<QString, int> seen;
    const QHash<QString, QStringList> &known = files().saver.fileStates;
    for (int r = 0; r < m_store.termTable.rowCount(); ++r) {
        const QString lesson = m_store.termTable.lesson(r);
        if (lesson.isEmpty())
            continue;
        const int k = rowOfLesson[lesson]++;
        const QString line = m_store.lessonText.line(r);
        const int occurrence = seen[lesson + QChar(0) + line]++;
        const auto fileState = known.constFind(lesson);
        if (fileState == known.constEnd() || fileState.value().value(k) != m_store.termTable.state(r))
            marks.insert(markKey(lesson, line, occurrence), m_store.termTable.state(r));
    }
    return marks;
}

void LessonFileCommands::applyMarks(const QHash<QString, QString> &marks)
{
    QHash<QString, int> seen;
    for (int r = 0; r < m_store.termTable.rowCount(); ++r) {
        const QString lesson = m_store.termTable.lesson(r);
        if (lesson.isEmpty())
            continue;
        const QString line = m_store.lessonText.line(r);
        const int occurrence = seen[lesson + QChar(0) + line]++;
        const auto mark = marks.constFind(markKey(lesson, line, occurrence));
        if (mark != marks.constEnd())
            m_store.termTable.setCell(korvana::TermGrid::TermStatus, r, mark.value());
    }
}

void LessonFileCommands::clearTermDisplay()
{
    for (const MainWindowControls::PaneControls &pane : m_controls.panes)
        if (pane.text)
            pane.text->clear();
    if (m_controls.termLineText)
        m_controls.termLineText->clear();
    if (m_controls.viewPictureLabel)
        m_controls.viewPictureLabel->hide();
    if (m_windows.pictureWindow && m_windows.pictureWindow->isVisible())
        m_windows.pictureWindow->close();
    if (m_controls.markDifficultButton)
        m_controls.markDifficultButton->setLatched(false);
    if (m_controls.markUnlearnedButton)
        m_controls.markUnlearnedButton->setLatched(false);
    if (m_controls.playSoundLabel)
        m_controls.playSoundLabel->hide();
    m_calls.forgetShownTerm();
}

// --- saving lessons -------------------------------------------------------------------

void LessonFileCommands::saveLessons()
{
    if (m_store.openLessons.isEmpty()) {
        m_calls.hideAllMenus();
        Dialogs::instance().message(&m_window, QStringLiteral("No open lessons"), MsgButtons::Ok);
        return;
    }
    m_calls.showStatus(QStringLiteral("Saving lessons..."));
    QStringList failed;
    files().saver.heldLessons = lessonsHeldByEditor();
    try {
        failed = files().saver.saveAll();
    } catch (const std::exception &) {
        failed = m_store.openLessons;
    }
    if (failed.isEmpty()) {
        m_calls.showStatus(QStringLiteral("Lessons saved"));
        return;
    }
    QStringList notSaved;
    for (const QString &f : failed)
        notSaved.append(withReason(f, files().saver.failureReason(f)));
    const QString list = boundedList(notSaved, QLatin1String("\n"), QLatin1String());
    Dialogs::instance().message(&m_window, QStringLiteral("Some lessons couldn't be saved:\n") + list, MsgButtons::Ok);
}

QStringList LessonFileCommands::lessonsHeldByEditor() const
{
    if (!m_windows.lessonEditorWindow || !m_windows.lessonEditorWindow->isVisible()
        || m_windows.lessonEditorWindow->fileName.isEmpty())
        return {};
    const QString held = QFileInfo(m_windows.lessonEditorWindow->fileName).absoluteFilePath();
    QStringList lessons;
    for (const QString &lesson : m_store.openLessons)
        if (QFileInfo(lesson).absoluteFilePath() == held)
            lessons.append(lesson);
    return lessons;
}

void LessonFileCommands::saveLessonsCommand()
{
    m_calls.hideAllMenus();
    saveLessons();
}

// --- sessions ---------------------------------------------------------------------------

bool LessonFileCommands::saveSession(const QString &fileName)
{
    saveLessons();
    try {
        korvana::writeSession(fileName, m_store.openLessons, m_store.currentIndex);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void LessonFileCommands::saveSessionCommand()
{
    if (m_sessionFile.isEmpty()) {
        saveSessionAsCommand();
        return;
    }
    m_sessionFile = korvana::sessionPath(m_sessionFile, m_settings.workingDirectory);
    m_calls.showStatus(saveSession(m_sessionFile) ? QStringLiteral("Session saved")
                                                  : QStringLiteral("Unable to save session"));
    m_calls.hideAllMenus();
}

void LessonFileCommands::saveSessionAsCommand()
{
    if (m_store.openLessons.isEmpty()) {
        m_calls.hideAllMenus();
        Dialogs::instance().message(&m_window, QStringLiteral("You must open one or more lessons to save a session"),
                                    MsgButtons::Ok);
        return;
    }
    korvana::FileDialogRequest request;
    request.filter = kSessionFilter;
    request.initialDir = m_settings.workingDirectory;
    request.defaultExt = QStringLiteral("ses");
    request.overwritePrompt = true;
    const QString chosen = Dialogs::instance().saveFile(&m_window, request);
    if (chosen.isEmpty())
        return;
    m_sessionFile = korvana::withSessionExtension(chosen);
    m_calls.showStatus(saveSession(m_sessionFile) ? QStringLiteral("Session saved")
                                                  : QStringLiteral("Unable to save session"));
    m_calls.hideAllMenus();
}

void LessonFileCommands::openSessionCommand()
{
    m_calls.hideAllMenus();
    korvana::FileDialogRequest request;
    request.filter = kSessionFilter;
    request.initialDir = m_settings.workingDirectory;
    request.allowMultiple = false;
    request.fileMustExist = true;
    const QStringList chosen = Dialogs::instance().openFiles(&m_window, request);
    if (chosen.isEmpty())
        return;
    // A file that is no session leaves the open lessons (and their unsaved
    // marks) as they are.
    korvana::SessionContents session;
    QString problem;
    if (!korvana::openSessionFile(chosen.first(), &session, &problem)) {
        Dialogs::instance().message(&m_window, problem, MsgButtons::Ok);
        return;
    }
    m_sessionFile = chosen.first();
    m_calls.showStatus(m_sessionFile);
    m_store.openLessons = session.lessons;
    m_store.startIndex = session.position;
    openLessonFiles(OpenMode::SessionFiles);
}

// The lesson and session commands the main window's menus and callers reach
// on the window itself.

void MainWindow::loadIntoTermTable(const QString &lessonFile)
{
    m_store.loadIntoTermTable(lessonFile);
}

void MainWindow::buildLessonControls()
{
    m_lessonFiles->buildLessonControls();
}
void MainWindow::openLessonFiles(OpenMode mode)
{
    m_lessonFiles->openLessonFiles(mode);
}
void MainWindow::saveLessons()
{
    m_lessonFiles->saveLessons();
}
void MainWindow::saveLessonsCommand()
{
    m_lessonFiles->saveLessonsCommand();
}
void MainWindow::openSessionCommand()
{
    m_lessonFiles->openSessionCommand();
}
void MainWindow::saveSessionCommand()
{
    m_lessonFiles->saveSessionCommand();
}
void MainWindow::saveSessionAsCommand()
{
    m_lessonFiles->saveSessionAsCommand();
}
QString MainWindow::tempSessionFile()
{
    return LessonFileCommands::tempSessionFile();
}
