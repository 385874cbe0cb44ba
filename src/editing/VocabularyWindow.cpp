#include "editing/VocabularyWindow.h"

#include "editing/VocabularyPrinter.h"
#include "lessons/LessonStore.h"
#include "platform/ui/Errors.h"
#include "settings/MainSettings.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <functional>

using namespace korvana;

namespace {

constexpr int FieldRole = Qt::UserRole + 1;

// The display-order list: an item is dragged onto another to change places
// with it. The window decides what it accepts and what a drop does; the list
// itself never moves or removes items.
class DisplayOrderList : public QListWidget {
public:
    std::function<bool(QObject *)> dragOver;
    std::function<void(QObject *, const QPoint &)> dragDrop;

    explicit DisplayOrderList(QWidget *parent) : QListWidget(parent)
    {
        setSelectionMode(QAbstractItemView::SingleSelection);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DragDrop);
        // A copy, so that the view does not remove the dragged item after a drop.
        setDefaultDropAction(Qt::CopyAction);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *e) override { decide(e); }
    void dragMoveEvent(QDragMoveEvent *e) override { decide(e); }
    void dropEvent(QDropEvent *e) override
    {
        if (dragOver && !dragOver(e->source())) {
            e->ignore();
            return;
        }
        if (dragDrop)
            dragDrop(e->source(), e->position().toPoint());
        e->setDropAction(Qt::CopyAction);
        e->accept();
    }

private:
    void decide(QDropEvent *e)
    {
        if (dragOver && dragOver(e->source())) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        } else {
            e->ignore();
        }
    }
};

QListWidget *checkList(QWidget *parent, const QString &name, const QStringList &items)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    for (const QString &text : items) {
        auto *item = new QListWidgetItem(text, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    return list;
}

bool checked(const QListWidget *list, int row)
{
    const QListWidgetItem *item = list->item(row);
    return item && item->checkState() == Qt::Checked;
}

} // namespace

VocabularyWindow::VocabularyWindow(MainSettings &settings, LessonStore &store, QWidget *mainWidget, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_store(store), m_mainWidget(mainWidget)
{
    setObjectName(QStringLiteral("vocabularyWindow"));
    setWindowTitle(QStringLiteral("Vocabulary"));
    setSizeGripEnabled(true);
    resize(544, 456);
    setMinimumSize(544, 450);

    includeList = checkList(this, QStringLiteral("includeList"), {QStringLiteral("Words"), QStringLiteral("Phrases")});

    auto *display = new DisplayOrderList(this);
    display->setObjectName(QStringLiteral("displayOrderList"));
    for (Pane pane : allPanes) {
        auto *item = new QListWidgetItem(vocabularyFieldCaption(pane), display);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setData(FieldRole, int(pane));
    }
    display->dragOver = [this](QObject *source) { return displayOrderListDragOver(source); };
    display->dragDrop = [this](QObject *source, const QPoint &pos) { displayOrderListDropped(source, pos); };
    displayOrderList = display;

    separatorEdit = new QLineEdit(QStringLiteral("^t"), this);
    separatorEdit->setObjectName(QStringLiteral("separatorEdit"));
    optionsList = checkList(this, QStringLiteral("optionsList"),
                            {QStringLiteral("Sorted"), QStringLiteral("Numbered"), QStringLiteral("Lessons")});

    instructionsLabel = new QLabel(QStringLiteral("Set the above options and click the Build Vocabulary button.  "
                                                  "Then copy the vocabulary into Word or print it."),
                                   this);
    instructionsLabel->setObjectName(QStringLiteral("instructionsLabel"));
    instructionsLabel->setFrameShape(QFrame::Box);
    instructionsLabel->setWordWrap(true);

    buildButton = new QPushButton(QStringLiteral("build  vocabulary"), this);
    buildButton->setObjectName(QStringLiteral("buildButton"));
    buildButton->setToolTip(QStringLiteral("Build vocabulary from opened lessons"));
    buildButton->setAutoDefault(false);

    vocabularyText = new RichEdit(this);
    vocabularyText->setObjectName(QStringLiteral("vocabularyText"));
    vocabularyView = new QTextEdit(this);
    vocabularyView->setObjectName(QStringLiteral("vocabularyView"));
    vocabularyView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    vocabularyView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    vocabularyText->attachView(vocabularyView);
    vocabularyText->setWordWrap(false);

    buildProgress = new QProgressBar(this);
    buildProgress->setObjectName(QStringLiteral("buildProgress"));
    buildProgress->setTextVisible(false);
    buildProgress->hide();
    waitLabel = new QLabel(QStringLiteral("Wait please..."), this);
    waitLabel->setObjectName(QStringLiteral("waitLabel"));
    waitLabel->hide();

    saveButton = new QPushButton(QStringLiteral("save"), this);
    saveButton->setObjectName(QStringLiteral("saveButton"));
    printButton = new QPushButton(QStringLiteral("print"), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    closeButton = new QPushButton(QStringLiteral("close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton *b : {saveButton, printButton, closeButton})
        b->setAutoDefault(false);

    saveFileRequest.filter = QStringLiteral("RTF|*.rtf|AllFiles|*.*");
    saveFileRequest.defaultExt.clear();
    saveFileRequest.overwritePrompt = false;

    // Layout: the three choice lists with the separator across the top, the
    // note and the build button, the document, and the buttons below it.
    auto *top = new QGridLayout;
    auto caption = [this](const QString &text) { return new QLabel(text, this); };
    top->addWidget(caption(QStringLiteral("Include")), 0, 0);
    top->addWidget(includeList, 1, 0);
    top->addWidget(caption(QStringLiteral("Display Order")), 0, 1);
    top->addWidget(displayOrderList, 1, 1);
    top->addWidget(caption(QStringLiteral("Drag to change order")), 2, 1);
    auto *separatorBox = new QVBoxLayout;
    separatorBox->addWidget(caption(QStringLiteral("Separator")));
    separatorBox->addWidget(separatorEdit);
    separatorBox->addWidget(caption(QStringLiteral("^t = Tab (default)")));
    separatorBox->addStretch();
    top->addLayout(separatorBox, 1, 2);
    top->addWidget(caption(QStringLiteral("Options")), 0, 3);
    top->addWidget(optionsList, 1, 3);
    for (QListWidget *l : {includeList, displayOrderList, optionsList})
        l->setMaximumHeight(90);

    auto *buildRow = new QHBoxLayout;
    buildRow->addWidget(instructionsLabel, 1);
    buildRow->addWidget(buildButton);

    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(waitLabel);
    progressRow->addWidget(buildProgress, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(printButton);
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buildRow);
    layout->addWidget(vocabularyView, 1);
    layout->addLayout(progressRow);
    layout->addLayout(buttons);

    connect(buildButton, &QPushButton::clicked, this, [this] { buildButtonClicked(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { saveButtonClicked(); });
    connect(printButton, &QPushButton::clicked, this, [this] { printButtonClicked(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { closeButtonClicked(); });

    // The window previews the keys of its controls, so Escape closes it
    // wherever the focus is.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    onCreate();
}

VocabularyWindow::~VocabularyWindow() = default;

void VocabularyWindow::onCreate()
{
    includeList->item(0)->setCheckState(Qt::Checked);
    for (int i = 0; i < 3; ++i)
        displayOrderList->item(i)->setCheckState(Qt::Checked);
}

VocabularyOptions VocabularyWindow::options() const
{
    VocabularyOptions o;
    o.words = checked(includeList, 0);
    o.phrases = checked(includeList, 1);
    for (int p = 0; p < 4; ++p) {
        const QListWidgetItem *item = displayOrderList->item(p);
        o.columns[size_t(p)] = {Pane(item->data(FieldRole).toInt()), item->checkState() == Qt::Checked};
    }
    o.separatorText = separatorEdit->text();
    o.sorted = checked(optionsList, 0);
    o.numbered = checked(optionsList, 1);
    o.lessons = checked(optionsList, 2);
    return o;
}

void VocabularyWindow::buildButtonClicked()
{
    if (m_store.loadingLesson.isEmpty()) {
        Dialogs::instance().message(
            this, QStringLiteral("To compile vocabulary you must first open one or more lessons"), MsgButtons::Ok);
        return;
    }
    waitLabel->show();
    repaint();
    vocabularyView->setEnabled(false);
    vocabularyText->clear();

    VocabularyOptions o = options();
    o.setCharactersFont = m_settings.useCharactersFont;
    o.charactersFont = m_settings.charactersFont;
    o.rotateCharacters = m_settings.rotateCharacters;
    o.boldCharacters = m_settings.boldCharacters;

    buildProgress->setValue(0);
    buildProgress->show();
    buildProgress->setRange(0, m_store.termTable.rowCount());
    builder.onRow = [this] { buildProgress->setValue(buildProgress->value() + 1); };
    // The build runs to its end without letting other events in: it reads the
    // lesson text that those events could change.
    m_incomplete = !builder.build(m_store.lessonText, m_store.termTable, *vocabularyText, o);
    builder.onRow = nullptr;
    // Also after a build that stopped short: "Wait please..." must not stay
    // up over a build that has ended.
    vocabularyView->setEnabled(true);
    waitLabel->hide();
    buildProgress->hide();
}

void VocabularyWindow::saveButtonClicked()
{
    saveFileRequest.initialDir = m_settings.workingDirectory;
    QString name = Dialogs::instance().saveFile(this, saveFileRequest);
    if (name.isEmpty())
        return;
    // Only the file's own name counts: a dot in a folder name ("j.doe",
    // ".local") is no extension.
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.')))
        name += QStringLiteral(".rtf");
    // Asked here, after the extension is added, so that the question names
    // the file that would really be replaced.
    if (QFileInfo::exists(name)
        && Dialogs::instance().message(this, name + QStringLiteral(" already exists.\nDo you want to replace it?"),
                                       MsgButtons::YesNo, MsgIcon::Warning)
               != MsgResult::Yes)
        return;
    // Written to a temporary file that then replaces the old one, so a failed
    // write never leaves half a file behind.
    try {
        vocabularyText->saveToFile(name);
    } catch (const std::exception &e) {
        reportUnhandledError(QStringLiteral("The vocabulary was not saved; the file on disk is unchanged.\n")
                             + errorText(e));
    }
}

void VocabularyWindow::printButtonClicked()
{
    DocumentPrinter::instance().print(*vocabularyText->document(), QStringLiteral("Korvana"));
}

// Closing ends the modal run with Cancel, as the program's windows do.
void VocabularyWindow::closeButtonClicked()
{
    done(2);
}

void VocabularyWindow::onKeyDown(int key)
{
    if (key == 27)
        done(2);
}

bool VocabularyWindow::displayOrderListDragOver(QObject *source) const
{
    return source == displayOrderList;
}

void VocabularyWindow::displayOrderListDropped(QObject *source, const QPoint &pos)
{
    if (source != displayOrderList)
        return;
    const int from = displayOrderList->currentRow();
    QListWidgetItem *target = displayOrderList->itemAt(pos);
    if (from < 0 || !target)
        return;
    QListWidgetItem *dragged = displayOrderList->item(from);
    if (dragged == target)
        return;
    const QString text = dragged->text();
    const Qt::CheckState state = dragged->checkState();
    const QVariant field = dragged->data(FieldRole);
    dragged->setText(target->text());
    dragged->setCheckState(target->checkState());
    dragged->setData(FieldRole, target->data(FieldRole));
    target->setText(text);
    target->setCheckState(state);
    target->setData(FieldRole, field);
}

void VocabularyWindow::showEvent(QShowEvent *e)
{
    QRect frame = frameGeometry();
    frame.moveCenter(m_mainWidget->frameGeometry().center());
    move(frame.topLeft());
    QDialog::showEvent(e);
}

void VocabularyWindow::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        onKeyDown(27);
        return;
    }
    QDialog::keyPressEvent(e);
}

bool VocabularyWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        onKeyDown(27);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
