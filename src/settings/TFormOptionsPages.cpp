// The options dialog's seven pages: their controls with the designed
// captions and values, and the connections to the dialog's handlers.
#include "settings/TFormOptions.h"

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

// A label that runs Handler when clicked.
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

QComboBox *sizeBox(const char *name, QWidget *parent)
{
    auto *cb = named(new QComboBox(parent), name);
    cb->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28})
        cb->addItem(QString::number(size));
    cb->setCurrentIndex(0);
    return cb;
}
} // namespace

void TFormOptions::buildApplicationPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    chbHanziInfo = named(new QCheckBox(QStringLiteral("Display Hanzi and dictionary info on mouse hover"), page),
                         "chbHanziInfo");
    chbHanziInfo->setChecked(true);
    chbHover = named(new QCheckBox(QStringLiteral("Show hidden fields on mouse hover"), page), "chbHover");
    ShScreenBgColor = named(new ColorSwatch(page), "ShScreenBgColor");
    ShScreenBgColor->setBrushColor(korvana::colors::clFuchsia);
    edWorkDir = named(new QLineEdit(QStringLiteral("edWorkDir"), page), "edWorkDir");
    tbOpen = named(new QToolButton(page), "tbOpen");
    tbOpen->setText(QStringLiteral("..."));
    chbAutoSave = named(new QCheckBox(QStringLiteral("Auto save lessons on exit"), page), "chbAutoSave");
    edDictionary = named(new QLineEdit(QStringLiteral("cedict.gb"), page), "edDictionary");
    tbDictOpen = named(new QToolButton(page), "tbDictOpen");
    tbDictOpen->setText(QStringLiteral("..."));

    g->addWidget(chbHanziInfo, 0, 0, 1, 3);
    g->addWidget(chbHover, 1, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Screen Background Color"), page), 2, 0);
    g->addWidget(ShScreenBgColor, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Working directory"), page), 3, 0, 1, 3);
    g->addWidget(edWorkDir, 4, 0, 1, 2);
    g->addWidget(tbOpen, 4, 2);
    g->addWidget(chbAutoSave, 5, 0, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Dictionary"), page), 6, 0, 1, 3);
    g->addWidget(edDictionary, 7, 0, 1, 2);
    g->addWidget(tbDictOpen, 7, 2);
    g->setRowStretch(8, 1);

    connect(ShScreenBgColor, &ColorSwatch::mouseDown, this, &TFormOptions::ShScreenBgColorMouseDown);
    connect(tbOpen, &QToolButton::clicked, this, &TFormOptions::tbOpenclick);
    connect(tbDictOpen, &QToolButton::clicked, this, &TFormOptions::tbDictOpenClick);
}

void TFormOptions::buildSoundPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    cbVoices = named(new QComboBox(page), "cbVoices");
    tbSpeed = named(new QSlider(Qt::Horizontal, page), "tbSpeed");
    tbSpeed->setRange(-10, 10);
    tbSpeed->setTickPosition(QSlider::TicksBelow);
    tbSpeed->setTickInterval(1);
    tbSpeed->setValue(0);
    chbProgress = named(new QCheckBox(QStringLiteral("Show progress while reading"), page), "chbProgress");
    chbUseSynthesis = named(
        new QCheckBox(QStringLiteral("Use synthesis only if  not present  recorded sound"), page), "chbUseSynthesis");
    chbUseSynthesis->setChecked(true);

    g->addWidget(new QLabel(QStringLiteral("Voice engine"), page), 0, 0);
    g->addWidget(cbVoices, 0, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Speed"), page), 1, 0);
    g->addWidget(tbSpeed, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("-10"), page), 2, 1, Qt::AlignLeft);
    g->addWidget(new QLabel(QStringLiteral("0"), page), 2, 2, Qt::AlignHCenter);
    g->addWidget(new QLabel(QStringLiteral("10"), page), 2, 3, Qt::AlignRight);
    g->addWidget(chbProgress, 3, 0, 1, 4);
    g->addWidget(chbUseSynthesis, 4, 0, 1, 4);
    g->setRowStretch(5, 1);
}

void TFormOptions::buildFontsPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    cbTrans = sizeBox("cbTrans", page);
    cbPin = sizeBox("cbPin", page);
    cbNotes = sizeBox("cbNotes", page);
    cbChin = sizeBox("cbChin", page);
    chbTransRL = named(new QCheckBox(QStringLiteral("Right to left"), page), "chbTransRL");
    chbPinRL = named(new QCheckBox(QStringLiteral("Right to left"), page), "chbPinRL");
    chbNotesRL = named(new QCheckBox(QStringLiteral("Right to left"), page), "chbNotesRL");
    chbChinRL = named(new QCheckBox(QStringLiteral("Right to left"), page), "chbChinRL");
    const struct {
        const char *label;
        QComboBox *box;
        QCheckBox *rl;
    } sizes[] = {{"Translation", cbTrans, chbTransRL},
                 {"Pin yin", cbPin, chbPinRL},
                 {"Notes", cbNotes, chbNotesRL},
                 {"Hanzi", cbChin, chbChinRL}};
    int row = 0;
    for (const auto &s : sizes) {
        g->addWidget(new QLabel(QLatin1String(s.label), page), row, 0);
        g->addWidget(s.box, row, 1);
        g->addWidget(s.rl, row, 2);
        ++row;
    }

    chbColorCoding = named(new QCheckBox(QStringLiteral("Show Pinyin tones in color"), page), "chbColorCoding");
    auto *legend = new QHBoxLayout;
    const struct {
        const char *text;
        const char *color;
    } tones[] = {{"1st", "red"}, {"2nd", "blue"}, {"3rd", "palette(window-text)"}, {"4th", "green"},
                 {"5th", "grey"}};
    for (const auto &t : tones) {
        auto *l = new QLabel(QLatin1String(t.text), page);
        l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(t.color)));
        legend->addWidget(l);
    }
    g->addWidget(chbColorCoding, row, 0, 1, 2);
    g->addLayout(legend, row++, 2);

    chbSetKanjiFont = named(new QCheckBox(QStringLiteral("Force hanzi font"), page), "chbSetKanjiFont");
    cbKanjiFont = named(new QComboBox(page), "cbKanjiFont");
    lblFilter = named(new QLabel(QStringLiteral("Display"), page), "lblFilter");
    cbFilterFonts = named(new QComboBox(page), "cbFilterFonts");
    cbFilterFonts->addItems({QStringLiteral("Simplified Chinese"), QStringLiteral("Traditional Chinese"),
                             QStringLiteral("All fonts")});
    cbFilterFonts->setCurrentIndex(2);
    g->addWidget(chbSetKanjiFont, row, 0);
    g->addWidget(cbKanjiFont, row++, 1, 1, 2);
    g->addWidget(lblFilter, row, 0);
    g->addWidget(cbFilterFonts, row++, 1, 1, 2);

    reSample = new korvana::RichEdit(this);
    reSample->setObjectName(QStringLiteral("reSample"));
    reSampleView = named(new QTextEdit(page), "reSampleView");
    reSampleView->setReadOnly(true);
    reSampleView->setFixedHeight(48);
    reSample->attachView(reSampleView);
    QPalette p = reSampleView->palette();
    p.setColor(QPalette::Base, korvana::toQColor(korvana::colors::clCream));
    reSampleView->setPalette(p);
    g->addWidget(reSampleView, row++, 0, 1, 3);

    chbRotate = named(new QCheckBox(QStringLiteral("Rotate"), page), "chbRotate");
    chbBold = named(new QCheckBox(QStringLiteral("Bold"), page), "chbBold");
    chbColor = named(new QCheckBox(page), "chbColor");
    lblColor = named(new ClickableLabel(QStringLiteral("Color"), [this] { lblColorClick(); }, page), "lblColor");
    chbBgColor = named(new QCheckBox(page), "chbBgColor");
    lblBgColor =
        named(new ClickableLabel(QStringLiteral("Background"), [this] { lblBgColorClick(); }, page), "lblBgColor");
    auto *styles = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{chbRotate, chbBold, chbColor, lblColor, chbBgColor, lblBgColor})
        styles->addWidget(w);
    g->addLayout(styles, row++, 0, 1, 3);
    g->setRowStretch(row, 1);

    connect(cbFilterFonts, &QComboBox::currentIndexChanged, this, &TFormOptions::cbFilterFontsChange);
    connect(cbKanjiFont, &QComboBox::currentIndexChanged, this, &TFormOptions::cbKanjiFontChange);
    connect(cbChin, &QComboBox::currentIndexChanged, this, &TFormOptions::cbKanjiFontChange);
    connect(cbChin, &QComboBox::editTextChanged, this, &TFormOptions::cbKanjiFontChange);
    // Only the user's own choice replaces the stored font.
    connect(cbKanjiFont, &QComboBox::activated, this, [this](int i) { pickedKanjiFont = cbKanjiFont->itemText(i); });
    connect(chbRotate, &QCheckBox::toggled, this, &TFormOptions::chbRotateClick);
    connect(chbBold, &QCheckBox::toggled, this, &TFormOptions::chbBoldClick);
    connect(chbColor, &QCheckBox::toggled, this, &TFormOptions::chbColorClick);
    connect(chbBgColor, &QCheckBox::toggled, this, &TFormOptions::chbColorClick);
    connect(chbSetKanjiFont, &QCheckBox::toggled, this, &TFormOptions::chbSetKanjiFontClick);
}

void TFormOptions::buildEditorPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    cbPinyinSystem = named(new QComboBox(page), "cbPinyinSystem");
    cbPinyinSystem->addItems({QStringLiteral("Korvana font"), QStringLiteral("Unicode")});
    cbPinyinSystem->setCurrentIndex(0);
    g->addWidget(new QLabel(QStringLiteral("Insert Pinyin in"), page), 0, 0);
    g->addWidget(cbPinyinSystem, 0, 1);
    g->setRowStretch(1, 1);
}

void TFormOptions::buildExternalEditorPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    rbWord = named(new QRadioButton(QStringLiteral("Edit in word processor"), page), "rbWord");
    rbOther = named(new QRadioButton(QStringLiteral("Other"), page), "rbOther");
    eExtEditor = named(new QLineEdit(page), "eExtEditor");
    SpeedButton1 = named(new QToolButton(page), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("..."));
    g->addWidget(rbWord, 0, 0, 1, 2);
    g->addWidget(rbOther, 1, 0, 1, 2);
    g->addWidget(eExtEditor, 2, 0);
    g->addWidget(SpeedButton1, 2, 1);
    g->setRowStretch(3, 1);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFormOptions::Button2Click);
}

void TFormOptions::buildFlashPage(QWidget *page)
{
    auto *g = new QGridLayout(page);
    auto *warning = new QLabel(QStringLiteral("WARNING! Don't use full screen mode if you suffer from epilepsy or "
                                              "any other kind of brain disorder!"),
                               page);
    warning->setObjectName(QStringLiteral("Label22"));
    warning->setWordWrap(true);
    warning->setStyleSheet(QStringLiteral("color: red;"));
    g->addWidget(warning, 0, 0, 1, 4);

    chbFlashFullScreen = named(new QCheckBox(QStringLiteral("Full Screen"), page), "chbFlashFullScreen");
    chbFlashFullScreen->setChecked(true);
    chbKeepOpen = named(new QCheckBox(QStringLiteral("Keep open"), page), "chbKeepOpen");
    chbKeepOpen->setChecked(true);
    g->addWidget(chbFlashFullScreen, 1, 0, 1, 2);
    g->addWidget(chbKeepOpen, 1, 2, 1, 2);

    chbFlashWords = named(new QCheckBox(QStringLiteral("Words"), page), "chbFlashWords");
    chbFlashWords->setChecked(true);
    chbFlashPhrases = named(new QCheckBox(QStringLiteral("Phrases"), page), "chbFlashPhrases");
    g->addWidget(new QLabel(QStringLiteral("Flash"), page), 2, 0);
    g->addWidget(chbFlashWords, 2, 1);
    g->addWidget(chbFlashPhrases, 2, 2);

    edDelay = named(new QLineEdit(QStringLiteral("1000"), page), "edDelay");
    edRepeat = named(new QLineEdit(QStringLiteral("20"), page), "edRepeat");
    edInterval = named(new QLineEdit(QStringLiteral("40"), page), "edInterval");
    UpDown3 = named(new UpDown(edDelay, 50, 3000, 50, page), "UpDown3");
    UpDown1 = named(new UpDown(edRepeat, 5, 100, 5, page), "UpDown1");
    UpDown2 = named(new UpDown(edInterval, 5, 100, 5, page), "UpDown2");
    const struct {
        const char *label;
        QLineEdit *edit;
        UpDown *ud;
        const char *unit;
    } numbers[] = {{"Delay", edDelay, UpDown3, "miliseconds"},
                   {"Repeat", edRepeat, UpDown1, "times"},
                   {"Interval", edInterval, UpDown2, "miliseconds"}};
    int row = 3;
    for (const auto &n : numbers) {
        g->addWidget(new QLabel(QLatin1String(n.label), page), row, 0);
        g->addWidget(n.edit, row, 1);
        g->addWidget(n.ud, row, 2);
        g->addWidget(new QLabel(QLatin1String(n.unit), page), row++, 3);
    }

    shFlashBgColor = named(new ColorSwatch(page), "shFlashBgColor");
    shFlashBgColor->setBrushColor(korvana::colors::clBlack);
    lblFlashBgColor = named(
        new ClickableLabel(QStringLiteral("Background"), [this] { lblFlashBgColorClick(); }, page), "lblFlashBgColor");
    shFlashColor = named(new ColorSwatch(page), "shFlashColor");
    shFlashColor->setBrushColor(korvana::colors::clRed);
    lblFlashColor =
        named(new ClickableLabel(QStringLiteral("Font"), [this] { lblFlashColorClick(); }, page), "lblFlashColor");
    auto *colours = new QHBoxLayout;
    colours->addWidget(new QLabel(QStringLiteral("Color"), page));
    colours->addWidget(shFlashBgColor);
    colours->addWidget(lblFlashBgColor);
    colours->addWidget(shFlashColor);
    colours->addWidget(lblFlashColor);
    colours->addStretch(1);
    g->addLayout(colours, row++, 0, 1, 4);

    bFlashDefault = named(new QPushButton(QStringLiteral("Reset to default values "), page), "bFlashDefault");
    bFlashDefault->setAutoDefault(false);
    g->addWidget(bFlashDefault, row++, 0, 1, 2);
    g->setRowStretch(row, 1);
    connect(bFlashDefault, &QPushButton::clicked, this, &TFormOptions::bFlashDefaultClick);
}

void TFormOptions::buildAutoPage(QWidget *page)
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
    rbNasobekZnaku = named(new QRadioButton(QStringLiteral("Variable interval"), page), "rbNasobekZnaku");
    rbNasobekZnaku->setChecked(true);
    stNasobekInterval = caption("stNasobekInterval", "1");
    sbNasobekIntervalMinus = stepper("sbNasobekIntervalMinus", "-");
    sbNasobekIntervalPluus = stepper("sbNasobekIntervalPluus", "+");
    rbFixedTime = named(new QRadioButton(QStringLiteral("Fixed interval"), page), "rbFixedTime");
    stInterval = caption("stInterval", "3");
    sbFixedIntervalMinus = stepper("sbFixedIntervalMinus", "-");
    sbFixedIntervalPlus = stepper("sbFixedIntervalPlus", "+");

    g->addWidget(rbNasobekZnaku, 0, 0, 1, 5);
    g->addWidget(sbNasobekIntervalMinus, 1, 0);
    g->addWidget(stNasobekInterval, 1, 1);
    g->addWidget(sbNasobekIntervalPluus, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("halfseconds"), page), 1, 3);
    auto *note1 = new QLabel(
        QStringLiteral("Time before next term will be shown is calculated from number of Chinese characters"), page);
    note1->setWordWrap(true);
    g->addWidget(note1, 2, 0, 1, 5);
    g->addWidget(rbFixedTime, 3, 0, 1, 5);
    g->addWidget(sbFixedIntervalMinus, 4, 0);
    g->addWidget(stInterval, 4, 1);
    g->addWidget(sbFixedIntervalPlus, 4, 2);
    g->addWidget(new QLabel(QStringLiteral("seconds"), page), 4, 3);
    g->addWidget(new QLabel(QStringLiteral("Time before next term will be shown is always the same"), page), 5, 0, 1,
                 5);
    auto *note = named(
        new QLabel(QStringLiteral("Note: if voice is speaking or sound playing, next term will wait until it stops."),
                   page),
        "JvLabel3");
    note->setWordWrap(true);
    g->addWidget(note, 6, 0, 1, 5);
    g->setRowStretch(7, 1);
    g->setColumnStretch(4, 1);

    connect(sbNasobekIntervalMinus, &QToolButton::clicked, this, &TFormOptions::sbNasobekIntervalMinusClick);
    connect(sbNasobekIntervalPluus, &QToolButton::clicked, this, &TFormOptions::sbNasobekIntervalPluusClick);
    connect(sbFixedIntervalMinus, &QToolButton::clicked, this, &TFormOptions::sbFixedIntervalMinusClick);
    connect(sbFixedIntervalPlus, &QToolButton::clicked, this, &TFormOptions::sbFixedIntervalPlusClick);
}
