#pragma once
// The options dialog: a page tree on the left and a book of pages on the
// right. It edits only its own controls; the main window copies its settings
// in before showing it and takes them back after it closes. A few controls
// (automatic-mode intervals, flash settings, the voice list, the pinyin input
// system) are never copied: the program reads them straight from here, so
// they keep their designed values at every start and the user's choice for
// the rest of the run. The colour pickers act at once on the main window,
// through the host below.
#include "lessons/Pane.h"

#include <QColor>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QStackedWidget;
class QTextEdit;
class QToolButton;
class QTreeWidget;

namespace korvana {
class RichEdit;
struct MainSettings;

// A filled square whose brush colour is one of the program's colour values.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget *parent = nullptr);
    quint32 brushColor() const { return m_color; }
    void setBrushColor(quint32 color);
signals:
    void mouseDown();

protected:
    void mousePressEvent(class QMouseEvent *e) override;

private:
    quint32 m_color = 0;
};

// An up-down bound to an edit: its arrows step the edit's number within
// [min, max]; text typed into the edit is left as it is.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit *buddy, int min, int max, int step, QWidget *parent = nullptr);
    void stepUp();
    void stepDown();

private:
    void moveBy(int delta);
    QLineEdit *m_buddy;
    int m_min, m_max, m_step;
    int m_position;
};

// What the dialog acts on outside itself: the main window's settings and
// flash colours, its characters pane (the sample's source) and the screen
// background window.
struct OptionsHost {
    MainSettings *settings = nullptr;
    quint32 *flashColor = nullptr;
    quint32 *flashBackgroundColor = nullptr;
    RichEdit *charactersText = nullptr;
    std::function<void(quint32)> screenBackgroundChanged;
};

} // namespace korvana

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // host is what the dialog acts on; the dialog opens centred on
    // mainWidget.
    OptionsDialog(korvana::OptionsHost host, QWidget *mainWidget, QWidget *parent = nullptr);
    ~OptionsDialog() override;

    korvana::OptionsHost host;

    // Set, the pages and their controls are built the first time anything
    // needs them (buildPages(), showing the dialog, selectPage()) rather
    // than with the dialog, so that start-up does not wait for a dialog it
    // does not show. Every reader of a control calls buildPages() first, but
    // for the pinyin entry, which takes the input system's first (designed)
    // choice while there is no list to read it from.
    static bool buildPagesWhenNeeded;
    // Builds the page tree, the pages and their controls, once.
    void buildPages();

    // Where the font list comes from: each screen font's family name with
    // the script names of the character sets it supports ("CHINESE_GB2312",
    // "CHINESE_BIG5", ...), in the platform's order. Tests put in their own.
    struct FontFace {
        QString name;
        QStringList scripts;
    };
    using FontSource = std::function<std::vector<FontFace>()>;
    static FontSource fontSource;
    static std::vector<FontFace> systemFonts();
    // The installed font files: display name and file name, in the system's
    // order. Tests put in their own.
    using FontFileSource = std::function<std::vector<std::pair<QString, QString>>()>;
    static FontFileSource fontFileSource;
    static std::vector<std::pair<QString, QString>> systemFontFiles();

    // --- handlers ---------------------------------------------------------------
    void onActivate();
    void closeButtonClicked();
    void pageTreeChanged();
    void fontFilterComboChanged();
    void characterFontComboChanged();
    void rotateSwitchClicked();
    void boldSwitchClicked();
    void characterColorSwitchClicked();
    void forceCharacterFontSwitchClicked();
    void characterColorLabelClicked();
    void characterBackgroundLabelClicked();
    void flashBackgroundColorLabelClicked();
    void flashColorLabelClicked();
    void screenBackgroundSwatchMousePressed();
    void flashDefaultsButtonClicked();
    void perCharacterIntervalMinusButtonClicked();
    void perCharacterIntervalPlusButtonClicked();
    void fixedIntervalMinusButtonClicked();
    void fixedIntervalPlusButtonClicked();
    void workingDirectoryOpenButtonClicked();
    void dictionaryOpenButtonClicked();
    void externalEditorOpenButtonClicked();

    void filterFonts(const QString &filter);
    QString fontFileName(const QString &fontName);
    bool browseForFolder(const QString &title, QString &path);
    // Selects the page tree's item index (counted from the top).
    void selectPage(int index);

    // The font the user picked from characterFontCombo since the dialog was last
    // filled; empty when none was picked, and the stored font then stays
    // whatever the list happens to select (a font that is not installed is
    // not replaced by the first one listed).
    QString pickedCharactersFont;

    // The point size a size box holds, within MinFontSize..MaxFontSize;
    // fails with "'%s' is not a valid integer value" when it holds no whole
    // number.
    static int fontSize(const QComboBox *box);
    // Checks the four size boxes before anything is taken back. On the
    // first that holds no whole number: says so, shows the Fonts page with
    // that box's text selected and returns false, so that the dialog stays
    // open and nothing of the visit is lost.
    bool checkFontSizes();

    // --- the page tree and the book ----------------------------------------------
    QTreeWidget *pageTree = nullptr;
    QStackedWidget *pages = nullptr;
    QPushButton *closeButton = nullptr; // "close"

    // Application
    QCheckBox *characterInfoSwitch = nullptr, *revealOnHoverSwitch = nullptr, *autoSaveSwitch = nullptr;
    korvana::ColorSwatch *screenBackgroundSwatch = nullptr;
    QLineEdit *workingDirectoryEdit = nullptr, *dictionaryEdit = nullptr;
    QToolButton *workingDirectoryOpenButton = nullptr, *dictionaryOpenButton = nullptr;

    // Sound. The installed speech voices are filled at the main window's
    // first activation; each item's data is the id of its voice token.
    QComboBox *voiceCombo = nullptr;
    QSlider *speedSlider = nullptr;
    QCheckBox *readingProgressSwitch = nullptr, *synthesisFallbackSwitch = nullptr;

    // Fonts: each pane's size box and its "Right to left" box.
    struct PaneControls {
        QComboBox *sizeCombo = nullptr;
        QCheckBox *rightToLeftSwitch = nullptr;
    };
    korvana::PaneArray<PaneControls> panes;
    QCheckBox *toneColorsSwitch = nullptr, *forceCharacterFontSwitch = nullptr;
    QComboBox *characterFontCombo = nullptr;
    QLabel *fontFilterLabel = nullptr;
    QComboBox *fontFilterCombo = nullptr;
    korvana::RichEdit *sampleText = nullptr;
    QTextEdit *sampleView = nullptr;
    QCheckBox *rotateSwitch = nullptr, *boldSwitch = nullptr, *characterColorSwitch = nullptr,
              *characterBackgroundSwitch = nullptr;
    QLabel *characterColorLabel = nullptr, *characterBackgroundLabel = nullptr;
    QComboBox *fontScriptsCombo = nullptr; // hidden: the script names of one font

    // Editor
    QComboBox *pinyinSystemCombo = nullptr;

    // External Editor
    QRadioButton *wordOption = nullptr, *otherEditorOption = nullptr;
    QLineEdit *externalEditorEdit = nullptr;
    QToolButton *externalEditorOpenButton = nullptr;

    // Brain Flash
    QCheckBox *flashFullScreenSwitch = nullptr, *flashKeepOpenSwitch = nullptr, *flashWordsSwitch = nullptr,
              *flashPhrasesSwitch = nullptr;
    QLineEdit *flashDelayEdit = nullptr, *flashRepeatEdit = nullptr, *flashIntervalEdit = nullptr;
    korvana::UpDown *flashDelayUpDown = nullptr, *flashRepeatUpDown = nullptr, *flashIntervalUpDown = nullptr;
    korvana::ColorSwatch *flashBackgroundSwatch = nullptr, *flashColorSwatch = nullptr;
    QLabel *flashBackgroundColorLabel = nullptr, *flashColorLabel = nullptr;
    QPushButton *flashDefaultsButton = nullptr;

    // Auto mode
    QRadioButton *perCharacterIntervalOption = nullptr, *fixedIntervalOption = nullptr;
    QLabel *perCharacterIntervalLabel = nullptr, *fixedIntervalLabel = nullptr;
    QToolButton *perCharacterIntervalMinusButton = nullptr, *perCharacterIntervalPlusButton = nullptr,
                *fixedIntervalMinusButton = nullptr, *fixedIntervalPlusButton = nullptr;

    // The shared colour dialog's colour: it opens on the colour chosen last.
    QColor colorDialogColor = Qt::black;

    void setVisible(bool visible) override;

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void buildApplicationPage(QWidget *page);
    void buildSoundPage(QWidget *page);
    void buildFontsPage(QWidget *page);
    void buildEditorPage(QWidget *page);
    void buildExternalEditorPage(QWidget *page);
    void buildFlashPage(QWidget *page);
    void buildAutoPage(QWidget *page);
    bool pickColor(QColor &chosen);
    void stepInterval(QLabel *caption, int lowerBound, int delta);
    std::vector<std::pair<QString, QString>> m_fontFiles;
    bool m_fontFilesRead = false;
    bool m_pagesBuilt = false;
    QWidget *m_mainWidget;
};
