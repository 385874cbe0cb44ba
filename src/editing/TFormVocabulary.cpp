#include "editing/TFormVocabulary.h"

#include "app/TForm1.h"
#include "editing/VocabularyPrinter.h"
#include "platform/ui/Errors.h"

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

TFormVocabulary *FormVocabulary = nullptr;

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

TFormVocabulary::TFormVocabulary(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormVocabulary"));
    setWindowTitle(QStringLiteral("Vocabulary"));
    setSizeGripEnabled(true);
    resize(544, 456);
    setMinimumSize(544, 450);

    chlbInclude = checkList(this, QStringLiteral("chlbInclude"),
                            {QStringLiteral("Words"), QStringLiteral("Phrases")});

    auto *display = new DisplayOrderList(this);
    display->setObjectName(QStringLiteral("chlbDisplay"));
    for (VocabularyField field : {VocabularyField::Translation, VocabularyField::Pinyin,
                                  VocabularyField::Chinese, VocabularyField::Notes}) {
        auto *item = new QListWidgetItem(vocabularyFieldCaption(field), display);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setCheckState(Qt::Unchecked);
        item->setData(FieldRole, int(field));
    }
    display->dragOver = [this](QObject *source) { return chlbDisplayDragOver(source); };
    display->dragDrop = [this](QObject *source, const QPoint &pos) { chlbDisplayDragDrop(source, pos); };
    chlbDisplay = display;

    Edit1 = new QLineEdit(QStringLiteral("^t"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    chlbOptions = checkList(this, QStringLiteral("chlbOptions"),
                            {QStringLiteral("Sorted"), QStringLiteral("Numbered"), QStringLiteral("Lessons")});

    JvLabel1 = new QLabel(QStringLiteral("Set the above options and click the Build Vocabulary button.  "
                                         "Then copy the vocabulary into Word or print it."),
                          this);
    JvLabel1->setObjectName(QStringLiteral("JvLabel1"));
    JvLabel1->setFrameShape(QFrame::Box);
    JvLabel1->setWordWrap(true);

    bCreate = new QPushButton(QStringLiteral("build  vocabulary"), this);
    bCreate->setObjectName(QStringLiteral("bCreate"));
    bCreate->setToolTip(QStringLiteral("Build vocabulary from opened lessons"));
    bCreate->setAutoDefault(false);

    reVoc = new RichEdit(this);
    reVoc->setObjectName(QStringLiteral("reVoc"));
    reVocView = new QTextEdit(this);
    reVocView->setObjectName(QStringLiteral("reVocView"));
    reVocView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reVocView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reVoc->attachView(reVocView);
    reVoc->setWordWrap(false);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    lblWait = new QLabel(QStringLiteral("Wait please..."), this);
    lblWait->setObjectName(QStringLiteral("lblWait"));
    lblWait->hide();

    BitBtn1 = new QPushButton(QStringLiteral("save"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn3 = new QPushButton(QStringLiteral("print"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn2 = new QPushButton(QStringLiteral("close"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton *b : {BitBtn1, BitBtn3, BitBtn2})
        b->setAutoDefault(false);

    SaveDialog1.filter = QStringLiteral("RTF|*.rtf|AllFiles|*.*");
    SaveDialog1.defaultExt.clear();
    SaveDialog1.overwritePrompt = false;

    // Layout: the three choice lists with the separator across the top, the
    // note and the build button, the document, and the buttons below it.
    auto *top = new QGridLayout;
    auto caption = [this](const QString &text) { return new QLabel(text, this); };
    top->addWidget(caption(QStringLiteral("Include")), 0, 0);
    top->addWidget(chlbInclude, 1, 0);
    top->addWidget(caption(QStringLiteral("Display Order")), 0, 1);
    top->addWidget(chlbDisplay, 1, 1);
    top->addWidget(caption(QStringLiteral("Drag to change order")), 2, 1);
    auto *separatorBox = new QVBoxLayout;
    separatorBox->addWidget(caption(QStringLiteral("Separator")));
    separatorBox->addWidget(Edit1);
    separatorBox->addWidget(caption(QStringLiteral("^t = Tab (default)")));
    separatorBox->addStretch();
    top->addLayout(separatorBox, 1, 2);
    top->addWidget(caption(QStringLiteral("Options")), 0, 3);
    top->addWidget(chlbOptions, 1, 3);
    for (QListWidget *l : {chlbInclude, chlbDisplay, chlbOptions})
        l->setMaximumHeight(90);

    auto *buildRow = new QHBoxLayout;
    buildRow->addWidget(JvLabel1, 1);
    buildRow->addWidget(bCreate);

    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(lblWait);
    progressRow->addWidget(ProgressBar1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buildRow);
    layout->addWidget(reVocView, 1);
    layout->addLayout(progressRow);
    layout->addLayout(buttons);

    connect(bCreate, &QPushButton::clicked, this, [this] { bCreateClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    // The window previews the keys of its controls, so Escape closes it
    // wherever the focus is.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    FormCreate();
}

TFormVocabulary::~TFormVocabulary() = default;

void TFormVocabulary::FormCreate()
{
    chlbInclude->item(0)->setCheckState(Qt::Checked);
    for (int i = 0; i < 3; ++i)
        chlbDisplay->item(i)->setCheckState(Qt::Checked);
}

VocabularyOptions TFormVocabulary::options() const
{
    VocabularyOptions o;
    o.words = checked(chlbInclude, 0);
    o.phrases = checked(chlbInclude, 1);
    for (int p = 0; p < 4; ++p) {
        const QListWidgetItem *item = chlbDisplay->item(p);
        o.columns[size_t(p)] = {VocabularyField(item->data(FieldRole).toInt()),
                                item->checkState() == Qt::Checked};
    }
    o.separatorText = Edit1->text();
    o.sorted = checked(chlbOptions, 0);
    o.numbered = checked(chlbOptions, 1);
    o.lessons = checked(chlbOptions, 2);
    return o;
}

void TFormVocabulary::bCreateClick()
{
    if (!Form1)
        return;
    if (Form1->FLoadingFile.isEmpty()) {
        Dialogs::instance().message(this, QStringLiteral("To compile vocabulary you must first open one or more lessons"),
                                    MsgButtons::Ok);
        return;
    }
    lblWait->show();
    repaint();
    reVocView->setEnabled(false);
    reVoc->clear();

    VocabularyOptions o = options();
    o.setKanjiFont = Form1->FSetKanjiFont;
    o.kanjiFont = Form1->FKanjiFont;
    o.rotateKanji = Form1->FRotateKanji;
    o.boldKanji = Form1->FBoldKanji;

    ProgressBar1->setValue(0);
    ProgressBar1->show();
    ProgressBar1->setRange(0, Form1->StringGrid1.rowCount());
    builder.onRow = [this] { ProgressBar1->setValue(ProgressBar1->value() + 1); };
    // The build runs to its end without letting other events in: it reads the
    // lesson text that those events could change.
    m_incomplete = !builder.build(Form1->reMain, Form1->StringGrid1, *reVoc, o);
    builder.onRow = nullptr;
    // Also after a build that stopped short: "Wait please..." must not stay
    // up over a build that has ended.
    reVocView->setEnabled(true);
    lblWait->hide();
    ProgressBar1->hide();
}

void TFormVocabulary::BitBtn1Click()
{
    if (Form1)
        SaveDialog1.initialDir = Form1->FWorkingDirectory;
    QString name = Dialogs::instance().saveFile(this, SaveDialog1);
    if (name.isEmpty())
        return;
    // Only the file's own name counts: a dot in a folder name ("j.doe",
    // ".local") is no extension.
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.')))
        name += QStringLiteral(".rtf");
    // Asked here, after the extension is added, so that the question names
    // the file that would really be replaced.
    if (QFileInfo::exists(name) &&
        Dialogs::instance().message(this, name + QStringLiteral(" already exists.\nDo you want to replace it?"),
                                    MsgButtons::YesNo, MsgIcon::Warning) != MsgResult::Yes)
        return;
    // Written to a temporary file that then replaces the old one, so a failed
    // write never leaves half a file behind.
    try {
        reVoc->saveToFile(name);
    } catch (const std::exception &e) {
        reportUnhandledError(QStringLiteral("The vocabulary was not saved; the file on disk is unchanged.\n") +
                             errorText(e));
    }
}

void TFormVocabulary::BitBtn3Click()
{
    DocumentPrinter::instance().print(*reVoc->document(), QStringLiteral("Korvana"));
}

// Closing ends the modal run with Cancel, as the program's windows do.
void TFormVocabulary::BitBtn2Click() { done(2); }

void TFormVocabulary::FormKeyDown(int Key)
{
    if (Key == 27)
        done(2);
}

bool TFormVocabulary::chlbDisplayDragOver(QObject *Source) const { return Source == chlbDisplay; }

void TFormVocabulary::chlbDisplayDragDrop(QObject *Source, const QPoint &Pos)
{
    if (Source != chlbDisplay)
        return;
    const int from = chlbDisplay->currentRow();
    QListWidgetItem *target = chlbDisplay->itemAt(Pos);
    if (from < 0 || !target)
        return;
    QListWidgetItem *dragged = chlbDisplay->item(from);
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

void TFormVocabulary::showEvent(QShowEvent *e)
{
    if (Form1) {
        QRect frame = frameGeometry();
        frame.moveCenter(Form1->frameGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(e);
}

void TFormVocabulary::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        FormKeyDown(27);
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TFormVocabulary::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape) {
        FormKeyDown(27);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
