// The main window's creation, showing and first activation.
#include "app/CharacterHover.h"
#include "app/DictionaryLoader.h"
#include "app/FlashRunner.h"
#include "app/HiddenPanes.h"
#include "app/HoverLabel.h"
#include "app/LessonEditorCommands.h"
#include "app/LessonFileCommands.h"
#include "app/MainWindow.h"
#include "app/NumbersDrillRunner.h"
#include "app/OptionsRoundTrip.h"
#include "app/PaneCommands.h"
#include "app/PinyinTones.h"
#include "app/ProgramWindows.h"
#include "app/StatusLine.h"
#include "app/TermMedia.h"
#include "app/WindowChrome.h"
#include "app/WindowSkin.h"
#include "editing/LessonEditorWindow.h"
#include "platform/files/SafeFiles.h"
#include "platform/speech/EspeakVoice.h"
#include "platform/speech/SpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Errors.h"
#include "practice/ScreenBackgroundWindow.h"
#include "practice/ToolBarWindow.h"
#include "settings/Colors.h"
#include "settings/OptionsDialog.h"
#include "settings/ProgramPaths.h"
#include "settings/ReminderDialog.h"
#include "settings/SettingsFile.h"
#include "settings/Skin.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPainterPath>
#include <QPalette>
#include <QPushButton>
#include <QRegion>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

using korvana::Pane;

// What the program found at start-up and where it keeps the user's settings,
// for whoever installs or packages it: off unless asked for with
// QT_LOGGING_RULES="korvana.startup.info=true".
Q_LOGGING_CATEGORY(startupLog, "korvana.startup", QtWarningMsg)

namespace {

// A save into a file that was killed before it finished leaves the file part
// old, part new, and a copy of its old content: the user learns where.
void tellInterruptedSaves(QWidget *parent, const QList<korvana::files::InterruptedSave> &saves)
{
    if (saves.isEmpty())
        return;
    QString text = QStringLiteral("A save was interrupted before it finished. "
                                  "What the file held before that save is kept in a copy:");
    for (const korvana::files::InterruptedSave &save : saves)
        text += u'\n' + QDir::toNativeSeparators(save.file) + QStringLiteral("\n    copy: ")
                + QDir::toNativeSeparators(save.copy);
    korvana::Dialogs::instance().message(parent, text, korvana::MsgButtons::Ok, korvana::MsgIcon::Warning);
}

} // namespace

MainWindow::VoiceFactory MainWindow::voiceFactory = [] {
    return std::unique_ptr<korvana::SpeechVoice>(new korvana::EspeakVoice);
};

MainWindow::MainWindow(ProgramWindows &windows, QWidget *parent)
    : QWidget(parent), m_windows(windows), m_dictionary(windows.state.dictionary), m_settings(windows.state.settings),
      m_store(windows.state.store), m_voice(windows.state.voice), m_referenceData(windows.state.referenceData)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Korvana"));
    buildControls();
    // Every search and hover lookup loads what start-up left for later first.
    m_dictionary.setBeforeRead([this] { loadPendingData(); });
    onCreate();
    // Told once the save that met it is over, never in the middle of writing.
    korvana::files::setInterruptedSaveHandler([this](const korvana::files::InterruptedSave &save) {
        QTimer::singleShot(0, this, [this, save] { tellInterruptedSaves(this, {save}); });
    });
    // The window keeps the size its layout asks for with every control in
    // place, the skin's buttons included: nothing it shows later (a lesson's
    // linked files, long counts or status texts) grows or shrinks it.
    mainLayout->activate();
    setFixedSize(size());
}

MainWindow::~MainWindow()
{
    m_dictionary.setBeforeRead({});
    korvana::files::setInterruptedSaveHandler({});
}

void MainWindow::buildControls()
{
    // The classes that work on a part of the window are handed its controls.
    MainWindowControls &controls = *this;
    // A borderless window that draws its own chrome, with rounded corners.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    resize(760, 520);

    m_statusLine = std::make_unique<StatusLine>(*this, controls);
    // The numbers drill and the tone colouring first: the lesson commands,
    // the media and the hidden panes read the drill's state.
    m_tones = std::make_unique<PinyinTones>(controls);
    m_numbers = std::make_unique<NumbersDrillRunner>(
        *this, controls, m_windows, m_settings, m_referenceData,
        NumbersDrillRunner::WindowHooks{[this] { loadPendingData(); }, [this] { nextButtonClicked(); },
                                        [this] { m_media->readButtonClicked(); }, [this] { startAutoTimer(); },
                                        [this](korvana::RichEdit *edit) { applyCharactersLook(edit); }});

    autoTimer = new QTimer(this);
    autoTimer->setObjectName(QStringLiteral("autoTimer"));

    m_chrome = std::make_unique<WindowChrome>(*this, controls, m_windows);
    m_chrome->build();
    m_skin = std::make_unique<WindowSkin>(*this, controls);

    // The practice area below the menu bar: lesson and session labels on
    // top, the panes and switches in the middle, the status line last.
    mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(6, 22, 6, 4);
    auto *labels = new QHBoxLayout;
    labels->addWidget(lessonLabel);
    labels->addStretch();
    labels->addWidget(sessionLabel);
    mainLayout->addLayout(labels);

    bottomRow = new QHBoxLayout;
    m_media = std::make_unique<TermMedia>(*this, controls, m_windows,
                                          TermMedia::Term{m_soundFile, m_pictureFile, m_numbers->drill()}, *m_skin,
                                          [this](const QString &text) { showStatus(text); });
    bottomRow->addStretch();

    // The commands that open and save lessons and sessions, open the editor,
    // load dictionaries and run the options dialog, on the window's controls.
    m_dictionaryLoader =
        std::make_unique<DictionaryLoader>(m_dictionary, [this](const QString &text) { showStatus(text); });
    LessonFileCommands::WindowCalls lessonCalls;
    lessonCalls.hideAllMenus = [this] { hideAllMenus(); };
    lessonCalls.showStatus = [this](const QString &text) { showStatus(text); };
    lessonCalls.forgetShownTerm = [this] {
        m_pictureFile.clear();
        m_soundFile.clear();
        m_shownIndex = 0;
    };
    lessonCalls.nextButtonClicked = [this] { nextButtonClicked(); };
    lessonCalls.countTerms = [this] { countTerms(); };
    lessonCalls.updateLessonSessionLabels = [this] { m_chrome->updateLessonSessionLabels(); };
    m_lessonFiles =
        std::make_unique<LessonFileCommands>(*this, controls, m_windows, m_numbers->drill(), std::move(lessonCalls));
    m_editorCommands =
        std::make_unique<LessonEditorCommands>(*this, m_windows, *m_lessonFiles, [this] { hideAllMenus(); });
    OptionsRoundTrip::WindowCalls optionsCalls;
    optionsCalls.hideAllMenus = [this] { hideAllMenus(); };
    optionsCalls.changeVoice = [this] { changeVoice(); };
    optionsCalls.showTermAgain = [this] {
        update();
        showTerm(m_shownIndex);
    };
    m_options = std::make_unique<OptionsRoundTrip>(controls, m_windows, *m_dictionaryLoader, std::move(optionsCalls));
    buildLessonControls();
    buildPracticeControls();
    m_flash = std::make_unique<FlashRunner>(*this, controls, m_windows, m_settings,
                                            [this](Pane pane, bool force) { showPane(pane, force); });
    m_flash->buildControls();
    m_hover = std::make_unique<CharacterHover>(
        *this, controls, m_windows, m_settings, m_referenceData, m_dictionary,
        CharacterHover::WindowHooks{[this] { loadPendingData(); },
                                    [this](const QString &s) { return pinyinNumbersIntoToneMarks(s); },
                                    [this] { revealPane(Pane::Characters); }});
    m_hover->buildControls();
    m_hiddenPanes = std::make_unique<HiddenPanes>(*this, controls, m_settings,
                                                  HiddenPanes::Actions{
                                                      .reveal = [this](Pane pane) { revealPane(pane); },
                                                      .hideCharacterInfo = [this] { m_hover->hideCharacterInfo(); },
                                                      .hideMenus = [this] { hideAllMenus(); },
                                                  });
    // The linked reading files stand at the right of the bottom row, shown
    // only while the open lessons have some.
    linkedFilesList->setFixedSize(165, 60);
    linkedFilesList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *linked = new QVBoxLayout;
    linked->setSpacing(0);
    linked->addWidget(linkedFilesList);
    linked->addWidget(openLinkedFileLabel);
    bottomRow->addLayout(linked);

    mainLayout->addStretch();
    mainLayout->addLayout(bottomRow);
    mainLayout->addWidget(statusPanel);

    for (QWidget *w : {static_cast<QWidget *>(this), static_cast<QWidget *>(titleLabel), statusPanel,
                       static_cast<QWidget *>(statusLabel)})
        m_chrome->makeDraggable(w);
    m_paneCommands = std::make_unique<PaneCommands>(controls, *m_hiddenPanes);
    m_chrome->arrangeMenus();
}

void MainWindow::hideAllMenus()
{
    m_chrome->hideAllMenus();
}

void MainWindow::showStatus(const QString &text)
{
    m_statusLine->show(text);
}

void MainWindow::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // Rounded corners of 3 by 3 pixels.
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 3, 3);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    if (titleLabel)
        m_chrome->arrangeMenus();
    if (m_chrome)
        m_chrome->dockToolBar();
}

void MainWindow::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    if (m_chrome)
        m_chrome->dockToolBar();
}

void MainWindow::onCreate()
{
    // The settings first: everything after them reads the fields.
    korvana::SettingsFile::load(m_settings, m_options->textDirections(), this);
    m_options->applyTextDirections();
    m_skin->load(m_settings.selectedSkin);
    // The characters pane keeps its cream unless the settings give it a colour.
    if (panes[Pane::Characters].view) {
        const QColor background = m_settings.useCharactersBackgroundColor
                                      ? korvana::toQColor(m_settings.charactersBackgroundColor)
                                      : korvana::toQColor(korvana::colors::clCream);
        panes[Pane::Characters].view->setStyleSheet(
            QStringLiteral("QTextEdit { background: %1; }").arg(background.name()));
    }

    m_store.clear();
    m_openLessons.clear();
    m_currentLesson.clear();
    m_lessonFiles->setSessionFile({});
    m_currentIndex = 0;
    m_flash->resetColors();
    m_numbers->drill().on = false;
    m_hiddenPanes->dropPaneRestore();
    m_hover->forgetLastHoverChar();
    m_firstActivation = true;
    m_editorLoadPending = true;

    if (loadDataAfterFirstPaint) {
        m_referenceData.deferLoading();
        m_dictionaryLoader->leaveForLater();
        return;
    }
    m_referenceData.load();
    m_dictionaryLoader->loadDictionary(m_settings.dictionaryFile);
    reportStartup();
}

void MainWindow::reportStartup()
{
    if (!startupLog().isInfoEnabled())
        return;
    const QString settingsPath = korvana::SettingsFile::path();
    qCInfo(startupLog).noquote() << QStringLiteral("settings: %1 (%2)")
                                        .arg(settingsPath, QFileInfo::exists(settingsPath)
                                                               ? QStringLiteral("read")
                                                               : QStringLiteral("absent, defaults used"));
    // 一, the commonest character, looked up as the hover and the dictionary
    // window look it up.
    const QString one(QChar(0x4E00));
    if (m_referenceData.characterInfoAvailable)
        qCInfo(startupLog).noquote() << QStringLiteral("character database: %1 characters, %2 %3")
                                            .arg(m_referenceData.unihanText.count(u'@'))
                                            .arg(m_referenceData.database().unihanRecordStart(0x4E00) >= 0
                                                     ? QStringLiteral("with")
                                                     : QStringLiteral("without"),
                                                 one);
    else
        qCInfo(startupLog).noquote()
            << QStringLiteral("character database: not loaded: %1").arg(m_referenceData.database().lastError());
    qCInfo(startupLog).noquote() << QStringLiteral("dictionary: %1, %2 lines, %3 entries for %4")
                                        .arg(m_settings.dictionaryFile)
                                        .arg(m_dictionary.text().count(u'\n'))
                                        .arg(m_dictionary.exactFind(one, false).size())
                                        .arg(one);
    qCInfo(startupLog).noquote() << QStringLiteral("skins: %1: %2")
                                        .arg(korvana::ProgramPaths::skinsFolder(),
                                             korvana::skinNames().join(QStringLiteral(", ")));
    qCInfo(startupLog).noquote()
        << QStringLiteral("skin: %1 by %2").arg(m_skin->fields().skinName, m_skin->fields().skinAuthor);
}

bool MainWindow::loadDataAfterFirstPaint = false;

void MainWindow::loadPendingData()
{
    if (!m_referenceData.loadIsPending() && !m_dictionaryLoader->pending())
        return;
    m_referenceData.loadPending();
    if (m_dictionaryLoader->pending())
        m_dictionaryLoader->loadDictionary(m_settings.dictionaryFile);
    reportStartup();
}

void MainWindow::onShow()
{
    if (m_settings.displayScreenBackground && m_windows.screenBackgroundWindow)
        m_windows.screenBackgroundWindow->show();
    if (m_settings.displayToolBar && m_windows.toolBarWindow)
        m_windows.toolBarWindow->show();
}

void MainWindow::onClose()
{
    // A settings file that cannot be written is reported by save(); the
    // lessons are saved all the same.
    m_options->takeTextDirections();
    if (korvana::SettingsFile::save(m_settings, m_options->textDirections(), this))
        qCInfo(startupLog).noquote() << QStringLiteral("settings written: %1").arg(korvana::SettingsFile::path());
    // With nothing open there is nothing to save and nothing to say.
    if (m_settings.autoSaveLessons && !m_openLessons.isEmpty())
        m_lessonFiles->saveLessons();
}

void MainWindow::closeEvent(QCloseEvent *e)
{
    // The editor's unsaved edits are asked about first, and its lesson comes
    // back to this window before the lessons are written; an editor kept
    // open (Cancel) keeps the program running.
    if (m_windows.lessonEditorWindow && m_windows.lessonEditorWindow->isVisible()) {
        m_windows.lessonEditorWindow->close();
        if (m_windows.lessonEditorWindow->isVisible()) {
            e->ignore();
            return;
        }
    }
    // Closing the main window ends the run: no other window (the screen
    // background, a picture, the dictionary) may keep the program alive
    // without a way back. They go before this one, so that this is the last
    // window to close and the message loop ends.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w != this && w->isVisible())
            w->hide();
    }
    // The windows leave the screen at once; writing the settings and the
    // lessons (each file synced to the disk) follows while the run ends.
    hide();
    // A message of the writes (settings or lessons not saved) comes while no
    // window shows: closing it must not end the run before the next one has
    // been read.
    const bool quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    onClose();
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
    QWidget::closeEvent(e);
}

void MainWindow::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    onShow();
}

bool MainWindow::event(QEvent *e)
{
    const bool handled = QWidget::event(e);
    // Once the window stands painted on the screen, the first activation's
    // work and the data left for later run, before the loop takes the
    // user's first input.
    if (e->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        if (m_activationPending)
            QTimer::singleShot(0, this, [this] { onActivate(); });
        if (m_referenceData.loadIsPending() || m_dictionaryLoader->pending())
            QTimer::singleShot(0, this, [this] { loadPendingData(); });
    }
    if (e->type() == QEvent::WindowActivate)
        onActivate();
    return handled;
}

void MainWindow::onActivate()
{
    // The first activation's work runs once. The reminder below is modal and
    // its closing activates the window again: the guard keeps that nested
    // activation from starting the work a second time.
    if (!m_firstActivation || m_activating)
        return;
    // A program that shows its window first does this work after the first
    // paint.
    if (loadDataAfterFirstPaint && !m_painted) {
        m_activationPending = true;
        return;
    }
    m_activationPending = false;
    m_activating = true;

    try {
        if (korvana::SettingsFile::showReminder())
            korvana::Dialogs::instance().execModal(m_windows.reminderDialog.get());
    } catch (const std::exception &e) {
        korvana::reportUnhandledError(korvana::errorText(e));
    }
    tellInterruptedSaves(this, korvana::files::takeInterruptedSaves());

    bool chineseVoice = false;
    bool engine = true;
    try {
        if (!m_voice)
            m_voice = voiceFactory();
        m_voice->setEventInterests(korvana::SpeechVoice::AllEvents);
        m_media->connectVoice();
        const QList<korvana::VoiceToken> voices = m_voice->getVoices(QString(), QString());
        m_windows.optionsDialog->buildPages();
        int chosen = -1;
        for (int i = 0; i < voices.size(); ++i) {
            m_windows.optionsDialog->voiceCombo->addItem(voices[i].getDescription(), QVariant::fromValue(voices[i].id));
            // The exact text: a voice listing another language after 804 is
            // not chosen. The last Chinese voice wins.
            if (voices[i].getAttribute(QStringLiteral("Language")) == QLatin1String("804"))
                chosen = i;
        }
        m_voices = voices;
        if (m_windows.optionsDialog->voiceCombo->count() > 0 && chosen != -1) {
            m_windows.optionsDialog->voiceCombo->setCurrentIndex(chosen);
            changeVoice();
            chineseVoice = true;
        }
    } catch (const std::exception &) {
        // A speech engine that cannot start means no Chinese voice for this
        // run; the program goes on without reading aloud.
        m_voice.reset();
        engine = false;
        showStatus(QStringLiteral("No speech engine: reading aloud is off"));
    }
    if (!chineseVoice) {
        readSwitch->setChecked(false);
        readSwitch->setEnabled(false);
        readAloudLabel->setEnabled(false);
        readButton->hide();
        if (engine)
            showStatus(QStringLiteral("No Mandarin voice: reading aloud is off"));
    }

    m_media->setSpeaking(false);
    m_flash->activateFlash();
    m_firstActivation = false;
    m_activating = false;
}

void MainWindow::changeVoice()
{
    if (!m_voice)
        return;
    m_windows.optionsDialog->buildPages();
    const int index = m_windows.optionsDialog->voiceCombo->currentIndex();
    if (index < 0 || index >= m_voices.size())
        return;
    m_voice->setVoice(m_voices[index]);
}
