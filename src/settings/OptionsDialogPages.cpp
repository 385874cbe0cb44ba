// The options dialog's seven pages: their controls with the designed
// captions and values, and the connections to the dialog's handlers.
#include "settings/OptionsDialog.h"

#include "platform/richtext/RichEdit.h"
#include "settings/Colors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextEdit>
#include <QToolButton>

using korvana::ColorSwatch;
using korvana::UpDown;

namespace {

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// A label that runs handler when clicked.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(const QString &text, std::function<void()> handler, QWidget *parent)
        : QLabel(text, parent), m_handler(std::move(handler))
    {
        setCursor(Qt::PointingHandCursor);
        setStyleSheet(QStringLiteral("color: navy;"));
    }

protected:
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            m_handler();
    }

private:
    std::function<void()> m_handler;
};

QComboBox *sizeBox(const QString &name, QWidget *parent)
{
    auto *cb = new QComboBox(parent);
    cb->setObjectName(name);
    cb->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28})
        cb->addItem(QString::number(size));
    cb->setCurrentIndex(0);
    return cb;
}
} // namespace

void OptionsDialog::buildApplicationPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    characterInfoSwitch = named(new QCheckBox(QStringLiteral("Display Hanzi and dictionary info on mouse hover"), page),
                                "characterInfoSwitch");
    characterInfoSwitch->setChecked(true);
    revealOnHoverSwitch =
        named(new QCheckBox(QStringLiteral("Show hidden fields on mouse hover"), page), "revealOnHoverSwitch");
    screenBackgroundSwatch = named(new ColorSwatch(page), "screenBackgroundSwatch");
    screenBackgroundSwatch->setBrushColor(korvana::colors::clFuchsia);
    workingDirectoryEdit = named(new QLineEdit(QStringLiteral("edWorkDir"), page), "workingDirectoryEdit");
    workingDirectoryOpenButton = named(new QToolButton(page), "workingDirectoryOpenButton");
    workingDirectoryOpenButton->setText(QStringLiteral("..."));
    autoSaveSwitch = named(new QCheckBox(QStringLiteral("Auto save lessons on exit"), page), "autoSaveSwitch");
    dictionaryEdit = named(new QLineEdit(QStringLiteral("cedict.gb"), page), "dictionaryEdit");
    dictionaryOpenButton = named(new QToolButton(page), "dictionaryOpenButton");
    dictionaryOpenButton->setText(QStringLiteral("..."));

    g->addWidget(characterInfoSwitch, 0, 0, 1, 3);
    g->addWidget(revealOnHoverSwitch, 1, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Screen Background Color"), page), 2, 0);
    g->addWidget(screenBackgroundSwatch, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Working directory"), page), 3, 0, 1, 3);
    g->addWidget(workingDirectoryEdit, 4, 0, 1, 2);
    g->addWidget(workingDirectoryOpenButton, 4, 2);
    g->addWidget(autoSaveSwitch, 5, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Dictionary"), page), 6, 0, 1, 3);
    g->addWidget(dictionaryEdit, 7, 0, 1, 2);
    g->addWidget(dictionaryOpenButton, 7, 2);
    g->setRowStretch(8, 1);

    connect(screenBackgroundSwatch, &ColorSwatch::mouseDown, this, &OptionsDialog::screenBackgroundSwatchMousePressed);
    connect(workingDirectoryOpenButton, &QToolButton::clicked, this, &OptionsDialog::workingDirectoryOpenButtonClicked);
    connect(dictionaryOpenButton, &QToolButton::clicked, this, &OptionsDialog::dictionaryOpenButtonClicked);
}

void OptionsDialog::buildSoundPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    voiceCombo = named(new QComboBox(page), "voiceCombo");
    speedSlider = named(new QSlider(Qt::Horizontal, page), "speedSlider");
    speedSlider->setRange(-10, 10);
    speedSlider->setTickPosition(QSlider::TicksBelow);
    speedSlider->setTickInterval(1);
    speedSlider->setValue(0);
    readingProgressSwitch =
        named(new QCheckBox(QStringLiteral("Show progress while reading"), page), "readingProgressSwitch");
    synthesisFallbackSwitch =
        named(new QCheckBox(QStringLiteral("Use synthesis only if  not present  recorded sound"), page),
              "synthesisFallbackSwitch");
    synthesisFallbackSwitch->setChecked(true);

    g->addWidget(new QLabel(QStringLiteral("Voice engine"), page), 0, 0);
    g->addWidget(voiceCombo, 0, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Speed"), page), 1, 0);
    g->addWidget(speedSlider, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("-10"), page), 2, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("0"), page), 2, 2, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("10"), page), 2, 3, Qt::AlignRight);
    g->addWidget(readingProgressSwitch, 3, 0, 1, 4);
    g->addWidget(synthesisFallbackSwitch, 4, 0, 1, 4);
    g->setRowStretch(5, 1);
}

void OptionsDialog::buildFontsPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    // The rows in the order they stand; the characters' controls are named
    // "character...".
    const struct {
        korvana::Pane pane;
        const char *caption;
        const char *name;
    } rows[] = {{korvana::Pane::Translation, "Translation", "translation"},
                {korvana::Pane::Pinyin, "Pin yin", "pinyin"},
                {korvana::Pane::Notes, "Notes", "notes"},
                {korvana::Pane::Characters, "Hanzi", "character"}};
    int row = 0;
    for (const auto &r : rows) {
        PaneControls &controls = panes[r.pane];
        controls.sizeCombo = sizeBox(QLatin1String(r.name) + QStringLiteral("SizeCombo"), page);
        g->addWidget(new QLabel(QLatin1String(r.caption), page), row, 0);
        g->addWidget(controls.sizeCombo, row++, 1);
    }
    // Made after the size boxes, so that Tab goes down the sizes first.
    row = 0;
    for (const auto &r : rows) {
        QCheckBox *&box = panes[r.pane].rightToLeftSwitch;
        box = new QCheckBox(QStringLiteral("Right to left"), page);
        box->setObjectName(QLatin1String(r.name) + QStringLiteral("RightToLeftSwitch"));
        g->addWidget(box, row++, 2);
    }

    toneColorsSwitch = named(new QCheckBox(QStringLiteral("Show Pinyin tones in color"), page), "toneColorsSwitch");
    auto *legend = new QHBoxLayout;
    const struct {
        const char *text;
        const char *color;
    } tones[] = {{"1st", "red"}, {"2nd", "blue"}, {"3rd", "palette(window-text)"}, {"4th", "green"}, {"5th", "grey"}};
    for (const auto &t : tones) {
        auto *l = new QLabel(QLatin1String(t.text), page);
        l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(t.color)));
        legend->addWidget(l);
    }
    g->addWidget(toneColorsSwitch, row, 0, 1, 2);
    g->addLayout(legend, row++, 2);

    forceCharacterFontSwitch =
        named(new QCheckBox(QStringLiteral("Force hanzi font"), page), "forceCharacterFontSwitch");
    characterFontCombo = named(new QComboBox(page), "characterFontCombo");
    fontFilterLabel = named(new QLabel(QStringLiteral("Display"), page), "fontFilterLabel");
    fontFilterCombo = named(new QComboBox(page), "fontFilterCombo");
    fontFilterCombo->addItems(
        {QStringLiteral("Simplified Chinese"), QStringLiteral("Traditional Chinese"), QStringLiteral("All fonts")});
    fontFilterCombo->setCurrentIndex(2);
    g->addWidget(forceCharacterFontSwitch, row, 0);
    g->addWidget(characterFontCombo, row++, 1, 1, 2);
    g->addWidget(fontFilterLabel, row, 0);
    g->addWidget(fontFilterCombo, row++, 1, 1, 2);

    sampleText = new korvana::RichEdit(this);
    sampleText->setObjectName(QStringLiteral("sampleText"));
    sampleView = named(new QTextEdit(page), "sampleView");
    sampleView->setReadOnly(true);
    sampleView->setFixedHeight(48);
    sampleText->attachView(sampleView);
    QPalette p = sampleView->palette();
    p.setColor(QPalette::Base, korvana::toQColor(korvana::colors::clCream));
    sampleView->setPalette(p);
    g->addWidget(sampleView, row++, 0, 1, 3);

    rotateSwitch = named(new QCheckBox(QStringLiteral("Rotate"), page), "rotateSwitch");
    boldSwitch = named(new QCheckBox(QStringLiteral("Bold"), page), "boldSwitch");
    characterColorSwitch = named(new QCheckBox(page), "characterColorSwitch");
    characterColorLabel = named(new ClickableLabel(
                                    QStringLiteral("Color"), [this] { characterColorLabelClicked(); }, page),
                                "characterColorLabel");
    characterBackgroundSwitch = named(new QCheckBox(page), "characterBackgroundSwitch");
    characterBackgroundLabel =
        named(new ClickableLabel(
                  QStringLiteral("Background"), [this] { characterBackgroundLabelClicked(); }, page),
              "characterBackgroundLabel");
    auto *styles = new QHBoxLayout;
    for (QWidget *w :
         std::initializer_list<QWidget *>{rotateSwitch, boldSwitch, characterColorSwitch, characterColorLabel,
                                          characterBackgroundSwitch, characterBackgroundLabel})
        styles->addWidget(w);
    g->addLayout(styles, row++, 0, 1, 3);
    g->setRowStretch(row, 1);

    connect(fontFilterCombo, &QComboBox::currentIndexChanged, this, &OptionsDialog::fontFilterComboChanged);
    connect(characterFontCombo, &QComboBox::currentIndexChanged, this, &OptionsDialog::characterFontComboChanged);
    QComboBox *characterSizeCombo = panes[korvana::Pane::Characters].sizeCombo;
    connect(characterSizeCombo, &QComboBox::currentIndexChanged, this, &OptionsDialog::characterFontComboChanged);
    connect(characterSizeCombo, &QComboBox::editTextChanged, this, &OptionsDialog::characterFontComboChanged);
    // Only the user's own choice replaces the stored font.
    connect(characterFontCombo, &QComboBox::activated, this,
            [this](int i) { pickedCharactersFont = characterFontCombo->itemText(i); });
    connect(rotateSwitch, &QCheckBox::toggled, this, &OptionsDialog::rotateSwitchClicked);
    connect(boldSwitch, &QCheckBox::toggled, this, &OptionsDialog::boldSwitchClicked);
    connect(characterColorSwitch, &QCheckBox::toggled, this, &OptionsDialog::characterColorSwitchClicked);
    connect(characterBackgroundSwitch, &QCheckBox::toggled, this, &OptionsDialog::characterColorSwitchClicked);
    connect(forceCharacterFontSwitch, &QCheckBox::toggled, this, &OptionsDialog::forceCharacterFontSwitchClicked);
}

void OptionsDialog::buildEditorPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    pinyinSystemCombo = named(new QComboBox(page), "pinyinSystemCombo");
    pinyinSystemCombo->addItems({QStringLiteral("Korvana font"), QStringLiteral("Unicode")});
    pinyinSystemCombo->setCurrentIndex(0);
    g->addWidget(new QLabel(QStringLiteral("Insert Pinyin in"), page), 0, 0);
    g->addWidget(pinyinSystemCombo, 0, 1);
    g->setRowStretch(1, 1);
}

void OptionsDialog::buildExternalEditorPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    wordOption = named(new QRadioButton(QStringLiteral("Edit in word processor"), page), "wordOption");
    otherEditorOption = named(new QRadioButton(QStringLiteral("Other"), page), "otherEditorOption");
    externalEditorEdit = named(new QLineEdit(page), "externalEditorEdit");
    externalEditorOpenButton = named(new QToolButton(page), "externalEditorOpenButton");
    externalEditorOpenButton->setText(QStringLiteral("..."));
    g->addWidget(wordOption, 0, 0, 1, 2);
    g->addWidget(otherEditorOption, 1, 0, 1, 2);
    g->addWidget(externalEditorEdit, 2, 0);
    g->addWidget(externalEditorOpenButton, 2, 1);
    g->setRowStretch(3, 1);
    connect(externalEditorOpenButton, &QToolButton::clicked, this, &OptionsDialog::externalEditorOpenButtonClicked);
}

void OptionsDialog::buildFlashPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    auto *warning = new QLabel(QStringLiteral("WARNING! Don't use full screen mode if you suffer from epilepsy or "
                                              "any other kind of brain disorder!"),
                               page);
    warning->setObjectName(QStringLiteral("warningLabel"));
    warning->setWordWrap(true);
    warning->setStyleSheet(QStringLiteral("color: red;"));
    g->addWidget(warning, 0, 0, 1, 4);

    flashFullScreenSwitch = named(new QCheckBox(QStringLiteral("Full Screen"), page), "flashFullScreenSwitch");
    flashFullScreenSwitch->setChecked(true);
    flashKeepOpenSwitch = named(new QCheckBox(QStringLiteral("Keep open"), page), "flashKeepOpenSwitch");
    flashKeepOpenSwitch->setChecked(true);
    g->addWidget(flashFullScreenSwitch, 1, 0, 1, 2);
    g->addWidget(flashKeepOpenSwitch, 1, 2, 1, 2);

    flashWordsSwitch = named(new QCheckBox(QStringLiteral("Words"), page), "flashWordsSwitch");
    flashWordsSwitch->setChecked(true);
    flashPhrasesSwitch = named(new QCheckBox(QStringLiteral("Phrases"), page), "flashPhrasesSwitch");
    g->addWidget(new QLabel(QStringLiteral("Flash"), page), 2, 0);
    g->addWidget(flashWordsSwitch, 2, 1);
    g->addWidget(flashPhrasesSwitch, 2, 2);

    flashDelayEdit = named(new QLineEdit(QStringLiteral("1000"), page), "flashDelayEdit");
    flashRepeatEdit = named(new QLineEdit(QStringLiteral("20"), page), "flashRepeatEdit");
    flashIntervalEdit = named(new QLineEdit(QStringLiteral("40"), page), "flashIntervalEdit");
    flashDelayUpDown = named(new UpDown(flashDelayEdit, 50, 3000, 50, page), "flashDelayUpDown");
    flashRepeatUpDown = named(new UpDown(flashRepeatEdit, 5, 100, 5, page), "flashRepeatUpDown");
    flashIntervalUpDown = named(new UpDown(flashIntervalEdit, 5, 100, 5, page), "flashIntervalUpDown");
    const struct {
        const char *label;
        QLineEdit *edit;
        UpDown *ud;
        const char *unit;
    } numbers[] = {{"Delay", flashDelayEdit, flashDelayUpDown, "miliseconds"},
                   {"Repeat", flashRepeatEdit, flashRepeatUpDown, "times"},
                   {"Interval", flashIntervalEdit, flashIntervalUpDown, "miliseconds"}};
    int row = 3;
    for (const auto &n : numbers) {
        g->addWidget(new QLabel(QLatin1String(n.label), page), row, 0);
        g->addWidget(n.edit, row, 1);
        g->addWidget(n.ud, row, 2);
        g->addWidget(new QLabel(QLatin1String(n.unit), page), row++, 3);
    }

    flashBackgroundSwatch = named(new ColorSwatch(page), "flashBackgroundSwatch");
    flashBackgroundSwatch->setBrushColor(korvana::colors::clBlack);
    flashBackgroundColorLabel =
        named(new ClickableLabel(
                  QStringLiteral("Background"), [this] { flashBackgroundColorLabelClicked(); }, page),
              "flashBackgroundColorLabel");
    flashColorSwatch = named(new ColorSwatch(page), "flashColorSwatch");
    flashColorSwatch->setBrushColor(korvana::colors::clRed);
    flashColorLabel = named(new ClickableLabel(
                                QStringLiteral("Font"), [this] { flashColorLabelClicked(); }, page),
                            "flashColorLabel");
    auto *colours = new QHBoxLayout;
    colours->addWidget(new QLabel(QStringLiteral("Color"), page));
    colours->addWidget(flashBackgroundSwatch);
    colours->addWidget(flashBackgroundColorLabel);
    colours->addWidget(flashColorSwatch);
    colours->addWidget(flashColorLabel);
    colours->addStretch(1);
    g->addLayout(colours, row++, 0, 1, 4);

    flashDefaultsButton =
        named(new QPushButton(QStringLiteral("Reset to default values "), page), "flashDefaultsButton");
    flashDefaultsButton->setAutoDefault(false);
    g->addWidget(flashDefaultsButton, row++, 0, 1, 2);
    g->setRowStretch(row, 1);
    connect(flashDefaultsButton, &QPushButton::clicked, this, &OptionsDialog::flashDefaultsButtonClicked);
}

void OptionsDialog::buildAutoPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    auto stepper = [page](const char *name, const char *text) {
        auto *b = named(new QToolButton(page), name);
        b->setText(QLatin1String(text));
        return b;
    };
    auto caption = [page](const char *name, const char *text) {
        auto *l = named(new QLabel(QLatin1String(text), page), name);
        l->setFrameShape(QFrame::Box);
        l->setAutoFillBackground(true);
        l->setStyleSheet(QStringLiteral("background: #fffbf0;"));
        l->setMinimumWidth(30);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    perCharacterIntervalOption =
        named(new QRadioButton(QStringLiteral("Variable interval"), page), "perCharacterIntervalOption");
    perCharacterIntervalOption->setChecked(true);
    perCharacterIntervalLabel = caption("perCharacterIntervalLabel", "1");
    perCharacterIntervalMinusButton = stepper("perCharacterIntervalMinusButton", "-");
    perCharacterIntervalPlusButton = stepper("perCharacterIntervalPlusButton", "+");
    fixedIntervalOption = named(new QRadioButton(QStringLiteral("Fixed interval"), page), "fixedIntervalOption");
    fixedIntervalLabel = caption("fixedIntervalLabel", "3");
    fixedIntervalMinusButton = stepper("fixedIntervalMinusButton", "-");
    fixedIntervalPlusButton = stepper("fixedIntervalPlusButton", "+");

    g->addWidget(perCharacterIntervalOption, 0, 0, 1, 5);
    g->addWidget(perCharacterIntervalMinusButton, 1, 0);
    g->addWidget(perCharacterIntervalLabel, 1, 1);
    g->addWidget(perCharacterIntervalPlusButton, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("halfseconds"), page), 1, 3);
    auto *note1 = new QLabel(
        QStringLiteral("Time before next term will be shown is calculated from number of Chinese characters"), page);
    note1->setWordWrap(true);
    g->addWidget(note1, 2, 0, 1, 5);
    g->addWidget(fixedIntervalOption, 3, 0, 1, 5);
    g->addWidget(fixedIntervalMinusButton, 4, 0);
    g->addWidget(fixedIntervalLabel, 4, 1);
    g->addWidget(fixedIntervalPlusButton, 4, 2);
    g->addWidget(new QLabel(QStringLiteral("seconds"), page), 4, 3);
    g->addWidget(new QLabel(QStringLiteral("Time before next term will be shown is always the same"), page), 5, 0, 1,
                 5);
    auto *note = named(
        new QLabel(QStringLiteral("Note: if voice is speaking or sound playing, next term will wait until it stops."),
                   page),
        "autoWaitNoteLabel");
    note->setWordWrap(true);
    g->addWidget(note, 6, 0, 1, 5);
    g->setRowStretch(7, 1);
    g->setColumnStretch(4, 1);

    connect(perCharacterIntervalMinusButton, &QToolButton::clicked, this,
            &OptionsDialog::perCharacterIntervalMinusButtonClicked);
    connect(perCharacterIntervalPlusButton, &QToolButton::clicked, this,
            &OptionsDialog::perCharacterIntervalPlusButtonClicked);
    connect(fixedIntervalMinusButton, &QToolButton::clicked, this, &OptionsDialog::fixedIntervalMinusButtonClicked);
    connect(fixedIntervalPlusButton, &QToolButton::clicked, this, &OptionsDialog::fixedIntervalPlusButtonClicked);
}
