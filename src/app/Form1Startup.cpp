// The main window's creation, showing and first activation.
#include "app/TForm1.h"
#include "app/HoverLabel.h"
#include "platform/speech/EspeakVoice.h"
#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "practice/TFormBackground.h"
#include "practice/TFormToolBar.h"
#include "settings/Colors.h"
#include "settings/SettingsFile.h"
#include "settings/TFormOptions.h"
#include "settings/TFormReminder.h"
#include "settings/TFormSelect.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QPalette>
#include <QTimer>
#include <QVBoxLayout>
#include <QPainterPath>
#include <QRegion>

TForm1 *Form1 = nullptr;

TForm1::VoiceFactory TForm1::voiceFactory = [] {
    return std::unique_ptr<korvana::SpeechVoice>(new korvana::EspeakVoice);
};

TForm1::TForm1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Korvana"));
    buildControls();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildControls()
{
    // A borderless window that draws its own chrome, with rounded corners.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    resize(760, 520);

    PanelStatus = new QWidget(this);
    PanelStatus->setObjectName(QStringLiteral("PanelStatus"));
    lStatus = new QLabel(PanelStatus);
    lStatus->setObjectName(QStringLiteral("lStatus"));
    lStatus->setStyleSheet(QStringLiteral("color: lime; background: maroon; font: 8pt sans-serif;"));
    // As high as a line of its font with descenders, whatever the layout
    // around it gives.
    lStatus->ensurePolished();
    lStatus->setMinimumHeight(lStatus->fontMetrics().height() + 2);
    // A long message is cut at the window's edge; it never widens the window.
    lStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *statusLayout = new QHBoxLayout(PanelStatus);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->addWidget(lStatus);

    TimerStatus = new QTimer(this);
    TimerStatus->setObjectName(QStringLiteral("TimerStatus"));
    TimerStatus->setInterval(10000);
    connect(TimerStatus, &QTimer::timeout, this, &TForm1::TimerStatusTimer);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    buildMenus();

    // The practice area below the menu bar: lesson and session labels on
    // top, the panes and switches in the middle, the status line last.
    mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(6, 22, 6, 4);
    auto *labels = new QHBoxLayout;
    labels->addWidget(lLesson);
    labels->addStretch();
    labels->addWidget(lSession);
    mainLayout->addLayout(labels);

    bottomRow = new QHBoxLayout;
    buildMediaControls();
    bottomRow->addStretch();

    buildLessonControls();
    buildPracticeControls();
    buildFlashControls();
    buildHoverControls();
    buildHiddenPaneControls();
    // The linked reading files stand at the right of the bottom row, shown
    // only while the open lessons have some.
    lbSoubory->setFixedSize(165, 60);
    lbSoubory->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *linked = new QVBoxLayout;
    linked->setSpacing(0);
    linked->addWidget(lbSoubory);
    linked->addWidget(lblOpen);
    bottomRow->addLayout(linked);

    mainLayout->addStretch();
    mainLayout->addLayout(bottomRow);
    mainLayout->addWidget(PanelStatus);

    for (QWidget *w : {static_cast<QWidget *>(this), static_cast<QWidget *>(Label10), PanelStatus,
                       static_cast<QWidget *>(lStatus)})
        makeDraggable(w);
    buildCommandControls();
    seraditmenu();
}

void TForm1::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // Rounded corners of 3 by 3 pixels.
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 3, 3);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    if (Label10)
        seraditmenu();
    dockToolBar();
}

void TForm1::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    dockToolBar();
}

void TForm1::dockToolBar()
{
    // However the window got moved or resized (a drag, the window manager,
    // a new screen), the bar stands beside it again.
    if (FormToolBar && FormToolBar->isVisible())
        FormToolBar->SetPosition();
}

void TForm1::FormCreate()
{
    // The settings first: everything after them reads the fields.
    korvana::SettingsFile::load(*this, FTextDirections);
    applyTextDirections();
    TFormSelect::LoadSkin(FSkin, this);
    // The characters pane keeps its cream unless the settings give it a colour.
    if (reChinView) {
        const QColor background = FSetKanjiBackgroundColor ? korvana::toQColor(FKanjiBackgroundColor)
                                                           : korvana::toQColor(korvana::colors::clCream);
        reChinView->setStyleSheet(QStringLiteral("QTextEdit { background: %1; }").arg(background.name()));
    }

    store.clear();
    FOpenLessons.clear();
    FCurrentLesson.clear();
    FSessionFile.clear();
    FCurrentIndex = 0;
    FFlashBackgroundColor = 0;
    FFlashColor = 0x0000FF;
    FNumbersMode = false;
    FRollbackPending = false;
    FLastHoverChar = 0;
    FFirstActivation = true;
    FEditorLoadPending = true;

    ReadDatabases();
    LoadDict(FDictFile);
}

namespace {
// A pane reads left to right with its text on the left, or right to left
// with its text on the right.
void setPaneDirection(korvana::RichEdit *pane, QTextEdit *view, bool leftToRight)
{
    if (view)
        view->setLayoutDirection(leftToRight ? Qt::LeftToRight : Qt::RightToLeft);
    if (pane)
        pane->setAlignment(leftToRight ? korvana::TextAlignment::Left : korvana::TextAlignment::Right);
}

bool paneReadsLeftToRight(QTextEdit *view)
{
    return !view || view->layoutDirection() == Qt::LeftToRight;
}
} // namespace

void TForm1::applyTextDirections()
{
    setPaneDirection(reChin, reChinView, FTextDirections.hanziLeftToRight);
    setPaneDirection(reOrig, reOrigView, FTextDirections.translationLeftToRight);
    setPaneDirection(rePin, rePinView, FTextDirections.pinyinLeftToRight);
    setPaneDirection(reNotes, reNotesView, FTextDirections.notesLeftToRight);
}

void TForm1::takeTextDirections()
{
    FTextDirections.hanziLeftToRight = paneReadsLeftToRight(reChinView);
    FTextDirections.translationLeftToRight = paneReadsLeftToRight(reOrigView);
    FTextDirections.pinyinLeftToRight = paneReadsLeftToRight(rePinView);
    FTextDirections.notesLeftToRight = paneReadsLeftToRight(reNotesView);
}

void TForm1::FormShow()
{
    if (FDisplayScreenBackground && FormBackground)
        FormBackground->show();
    if (FDisplayToolBar && FormToolBar)
        FormToolBar->show();
}

void TForm1::FormClose()
{
    // A settings file that cannot be written is reported by save(); the
    // lessons are saved all the same.
    takeTextDirections();
    korvana::SettingsFile::save(*this, FTextDirections, this);
    // With nothing open there is nothing to save and nothing to say.
    if (FAutoSaveLessons && !FOpenLessons.isEmpty())
        SaveLessons();
}

void TForm1::closeEvent(QCloseEvent *e)
{
    FormClose();
    // Closing the main window ends the run: no other window (the screen
    // background, a picture, the dictionary) may keep the program alive
    // without a way back. They go before this one, so that this is the last
    // window to close and the message loop ends.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w != this && w->isVisible())
            w->hide();
    }
    QWidget::closeEvent(e);
}

void TForm1::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    FormShow();
}

bool TForm1::event(QEvent *e)
{
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TForm1::FormActivate()
{
    // The first activation's work runs once. The reminder below is modal and
    // its closing activates the window again: the guard keeps that nested
    // activation from starting the work a second time.
    if (!FFirstActivation || m_activating)
        return;
    m_activating = true;

    try {
        if (korvana::SettingsFile::showReminder())
            korvana::Dialogs::instance().execModal(FormReminder);
    } catch (const std::exception &e) {
        korvana::reportUnhandledError(korvana::errorText(e));
    }

    bool chineseVoice = false;
    bool engine = true;
    try {
        if (!SpVoice)
            SpVoice = voiceFactory();
        SpVoice->setEventInterests(korvana::SpeechVoice::AllEvents);
        connectVoice();
        const QList<korvana::VoiceToken> voices = SpVoice->getVoices(QString(), QString());
        int chosen = -1;
        for (int i = 0; i < voices.size(); ++i) {
            FormOptions->cbVoices->addItem(voices[i].getDescription(), QVariant::fromValue(voices[i].id));
            // The exact text: a voice listing another language after 804 is
            // not chosen. The last Chinese voice wins.
            if (voices[i].getAttribute(QStringLiteral("Language")) == QLatin1String("804"))
                chosen = i;
        }
        m_voices = voices;
        if (FormOptions->cbVoices->count() > 0 && chosen != -1) {
            FormOptions->cbVoices->setCurrentIndex(chosen);
            ChangeEngine();
            chineseVoice = true;
        }
    } catch (const std::exception &) {
        // A speech engine that cannot start means no Chinese voice for this
        // run; the program goes on without reading aloud.
        SpVoice.reset();
        engine = false;
        Status(QStringLiteral("No speech engine: reading aloud is off"));
    }
    if (!chineseVoice) {
        chbRead->setChecked(false);
        chbRead->setEnabled(false);
        lblReadAloud->setEnabled(false);
        jbRead->hide();
        if (engine)
            Status(QStringLiteral("No Mandarin voice: reading aloud is off"));
    }

    FSpeaking = false;
    ActivateFlash();
    FFirstActivation = false;
    m_activating = false;
}

void TForm1::ChangeEngine()
{
    if (!SpVoice)
        return;
    const int index = FormOptions->cbVoices->currentIndex();
    if (index < 0 || index >= m_voices.size())
        return;
    SpVoice->setVoice(m_voices[index]);
}
