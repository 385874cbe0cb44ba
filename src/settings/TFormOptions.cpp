#include "settings/TFormOptions.h"

#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Integers.h"
#include "settings/Colors.h"
#include "settings/MainSettings.h"
#include "settings/ProgramPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormOptions *FormOptions = nullptr;

using korvana::ColorSwatch;
using korvana::UpDown;

namespace korvana {

ColorSwatch::ColorSwatch(QWidget *parent) : QFrame(parent)
{
    setFixedSize(15, 15);
    setFrameShape(QFrame::Box);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    setBrushColor(0);
}

void ColorSwatch::setBrushColor(quint32 color)
{
    m_color = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(color));
    setPalette(p);
}

void ColorSwatch::mousePressEvent(QMouseEvent *e)
{
    QFrame::mousePressEvent(e);
    emit mouseDown();
}

UpDown::UpDown(QLineEdit *buddy, int min, int max, int step, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_min(min), m_max(max), m_step(step), m_position(min)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto *down = new QToolButton(this);
    down->setArrowType(Qt::LeftArrow);
    auto *up = new QToolButton(this);
    up->setArrowType(Qt::RightArrow);
    row->addWidget(down);
    row->addWidget(up);
    connect(down, &QToolButton::clicked, this, &UpDown::stepDown);
    connect(up, &QToolButton::clicked, this, &UpDown::stepUp);
    m_position = strToIntDef(buddy->text(), min);
}

void UpDown::stepUp() { moveBy(m_step); }
void UpDown::stepDown() { moveBy(-m_step); }

void UpDown::moveBy(int delta)
{
    // The arrows start from what the edit shows when it holds a number; the
    // bounds hold only for the arrows, never for typed text.
    m_position = std::clamp(strToIntDef(m_buddy->text(), m_position), m_min, m_max);
    m_position = std::clamp(m_position + delta, m_min, m_max);
    m_buddy->setText(QString::number(m_position));
}

} // namespace korvana

// --- font sources -------------------------------------------------------------------

namespace {

QString scriptName(QFontDatabase::WritingSystem ws)
{
    switch (ws) {
    case QFontDatabase::Latin: return QStringLiteral("ANSI");
    case QFontDatabase::Greek: return QStringLiteral("GREEK");
    case QFontDatabase::Cyrillic: return QStringLiteral("RUSSIAN");
    case QFontDatabase::Hebrew: return QStringLiteral("HEBREW");
    case QFontDatabase::Arabic: return QStringLiteral("ARABIC");
    case QFontDatabase::Thai: return QStringLiteral("THAI");
    case QFontDatabase::Vietnamese: return QStringLiteral("VIETNAMESE");
    case QFontDatabase::SimplifiedChinese: return QStringLiteral("CHINESE_GB2312");
    case QFontDatabase::TraditionalChinese: return QStringLiteral("CHINESE_BIG5");
    case QFontDatabase::Japanese: return QStringLiteral("SHIFTJIS");
    case QFontDatabase::Korean: return QStringLiteral("HANGEUL");
    case QFontDatabase::Symbol: return QStringLiteral("SYMBOL");
    default: return {};
    }
}

} // namespace

TFormOptions::FontSource TFormOptions::fontSource;
TFormOptions::FontFileSource TFormOptions::fontFileSource;

std::vector<TFormOptions::FontFace> TFormOptions::systemFonts()
{
    std::vector<FontFace> faces;
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        FontFace face{family, {}};
        for (QFontDatabase::WritingSystem ws : QFontDatabase::writingSystems(family)) {
            const QString name = scriptName(ws);
            if (!name.isEmpty() && !face.scripts.contains(name))
                face.scripts << name;
        }
        faces.push_back(face);
    }
    return faces;
}

std::vector<std::pair<QString, QString>> TFormOptions::systemFontFiles()
{
    // The installed font files as fontconfig lists them: "family style" is
    // the display name, the file's own name (without its folder) the data.
    std::vector<std::pair<QString, QString>> files;
    QProcess fcList;
    fcList.start(QStringLiteral("fc-list"), {QStringLiteral("--format"),
                                             QStringLiteral("%{family[0]}|%{style[0]}|%{file}\\n")});
    if (!fcList.waitForFinished(10000))
        return files;
    const QStringList lines = QString::fromUtf8(fcList.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList parts = line.split(u'|');
        if (parts.size() < 3 || parts[0].isEmpty())
            continue;
        QString display = parts[0];
        if (!parts[1].isEmpty())
            display += u' ' + parts[1];
        files.emplace_back(display, QFileInfo(parts[2]).fileName());
    }
    return files;
}

// --- the window ---------------------------------------------------------------------

namespace {
const char *const kPages[] = {"Application", "Sound", "Fonts", "Editor", "External Editor", "Brain Flash",
                              "Auto mode"};
const char *const kHeaders[] = {"Application", "Sound", "Fonts", "Editor", "External Editor", "Brain Flash",
                                "Auto Mode"};

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

TFormOptions::TFormOptions(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Options"));
    // The designed client area; the layout may grow it where fonts need more.
    resize(478, 318);

    auto *outer = new QVBoxLayout(this);
    auto *body = new QHBoxLayout;
    outer->addLayout(body);

    TreeView1 = named(new QTreeWidget(this), "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setFixedWidth(120);
    for (const char *page : kPages)
        TreeView1->addTopLevelItem(new QTreeWidgetItem(QStringList(QLatin1String(page))));
    TreeView1->setCurrentItem(nullptr);
    TreeView1->clearSelection();
    body->addWidget(TreeView1);

    Notebook1 = named(new QStackedWidget(this), "Notebook1");
    body->addWidget(Notebook1, 1);
    using Builder = void (TFormOptions::*)(QWidget *);
    const Builder builders[] = {&TFormOptions::buildApplicationPage, &TFormOptions::buildSoundPage,
                                &TFormOptions::buildFontsPage,       &TFormOptions::buildEditorPage,
                                &TFormOptions::buildExternalEditorPage, &TFormOptions::buildFlashPage,
                                &TFormOptions::buildAutoPage};
    for (int i = 0; i < 7; ++i) {
        auto *page = new QWidget(Notebook1);
        auto *layout = new QVBoxLayout(page);
        auto *header = new QLabel(QLatin1String(kHeaders[i]), page);
        QFont f = header->font();
        f.setBold(true);
        header->setFont(f);
        layout->addWidget(header);
        auto *content = new QWidget(page);
        layout->addWidget(content, 1);
        (this->*builders[i])(content);
        Notebook1->addWidget(page);
    }
    Notebook1->setCurrentIndex(2);

    FontCharsetComboBox1 = named(new QComboBox(this), "FontCharsetComboBox1");
    FontCharsetComboBox1->hide();

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    JvSpeedButton1 = named(new QPushButton(QStringLiteral("close"), this), "JvSpeedButton1");
    JvSpeedButton1->setAutoDefault(false);
    bottom->addWidget(JvSpeedButton1);
    outer->addLayout(bottom);

    connect(JvSpeedButton1, &QPushButton::clicked, this, &TFormOptions::Button1Click);
    connect(TreeView1, &QTreeWidget::currentItemChanged, this, &TFormOptions::TreeView1Change);
}

TFormOptions::~TFormOptions() = default;

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
    rbWord = named(new QRadioButton(QStringLiteral("Microsoft Word"), page), "rbWord");
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

// --- events ---------------------------------------------------------------------------

bool TFormOptions::event(QEvent *e)
{
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return handled;
}

void TFormOptions::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFormOptions::FormActivate()
{
    cbFilterFontsChange();
    {
        // Selecting the user's font does not refresh the sample.
        const QSignalBlocker block(cbKanjiFont);
        cbKanjiFont->setCurrentIndex(cbKanjiFont->count() > 0 ? 0 : -1);
        if (host.settings) {
            for (int i = 0; i < cbKanjiFont->count(); ++i) {
                if (cbKanjiFont->itemText(i) == host.settings->FKanjiFont) {
                    cbKanjiFont->setCurrentIndex(i);
                    break;
                }
            }
        }
    }
    chbSetKanjiFontClick();
}

void TFormOptions::Button1Click()
{
    // There is no cancel: however the dialog closes, the main window takes
    // the values back.
    close();
}

void TFormOptions::selectPage(int Index)
{
    if (QTreeWidgetItem *item = TreeView1->topLevelItem(Index))
        TreeView1->setCurrentItem(item);
}

void TFormOptions::TreeView1Change()
{
    QTreeWidgetItem *item = TreeView1->currentItem();
    if (!item)
        return;
    Notebook1->setCurrentIndex(TreeView1->indexOfTopLevelItem(item));
}

// --- fonts ------------------------------------------------------------------------------

void TFormOptions::cbFilterFontsChange()
{
    switch (cbFilterFonts->currentIndex()) {
    case 0: FilterFonts(QStringLiteral("CHINESE_GB2312")); break;
    case 1: FilterFonts(QStringLiteral("CHINESE_BIG5")); break;
    case 2: FilterFonts(QString()); break;
    default: break;
    }
}

void TFormOptions::FilterFonts(const QString &Filter)
{
    const QString remembered = cbKanjiFont->currentIndex() >= 0 ? cbKanjiFont->currentText() : QString();
    const std::vector<FontFace> faces = fontSource ? fontSource() : systemFonts();
    {
        const QSignalBlocker block(cbKanjiFont);
        cbKanjiFont->clear();
        for (const FontFace &face : faces) {
            if (face.name.startsWith(u'@'))
                continue;
            if (!Filter.isEmpty()) {
                FontCharsetComboBox1->clear();
                FontCharsetComboBox1->addItems(face.scripts);
                QStringList entries;
                for (int i = 0; i < FontCharsetComboBox1->count(); ++i)
                    entries << FontCharsetComboBox1->itemText(i);
                if (!entries.join(u'\n').contains(Filter))
                    continue;
            }
            cbKanjiFont->addItem(face.name);
        }
        cbKanjiFont->setCurrentIndex(cbKanjiFont->count() > 0 ? 0 : -1);
        const int keep = cbKanjiFont->findText(remembered, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!remembered.isEmpty() && keep >= 0)
            cbKanjiFont->setCurrentIndex(keep);
    }
    cbKanjiFontChange();
}

void TFormOptions::cbKanjiFontChange()
{
    reSample->clear();
    if (host.reChin) {
        korvana::CopyRTF(host.reChin, reSample);
        host.reChin->setSelLength(0);
    }
    if (reSample->text().isEmpty())
        reSample->setText(QStringLiteral("\u4F60\u597D\u5417\uFF1F"));

    reSample->setSel(0, -1);
    // The size is the selected item; while a typed size matches no item the
    // sample keeps the size it has.
    if (cbChin->currentIndex() >= 0) {
        if (const auto size = korvana::parseInteger(cbChin->itemText(cbChin->currentIndex())); size && *size > 0)
            reSample->setSelSize(*size);
    }
    QString font = cbKanjiFont->currentIndex() >= 0 ? cbKanjiFont->currentText() : QString();
    if (chbRotate->isChecked())
        font.prepend(u'@');
    reSample->setSelFontName(font);
    reSampleView->setToolTip(GetFontFileName(reSample->selAttributes().fontName));
    reSample->setSelBold(chbBold->isChecked());
    if (chbColor->isChecked() && host.settings)
        reSample->setSelColor(korvana::toQColor(host.settings->FKanjiColor));
    const quint32 background = chbBgColor->isChecked() && host.settings ? host.settings->FKanjiBackgroundColor
                                                                         : korvana::colors::clCream;
    QPalette p = reSampleView->palette();
    p.setColor(QPalette::Base, korvana::toQColor(background));
    reSampleView->setPalette(p);
    reSample->setSelLength(0);
}

void TFormOptions::chbRotateClick() { cbKanjiFontChange(); }
void TFormOptions::chbBoldClick() { cbKanjiFontChange(); }
void TFormOptions::chbColorClick() { cbKanjiFontChange(); }

QString TFormOptions::GetFontFileName(const QString &FontName)
{
    if (!m_fontFilesRead) {
        m_fontFiles = fontFileSource ? fontFileSource() : systemFontFiles();
        m_fontFilesRead = true;
    }
    for (const auto &[display, file] : m_fontFiles) {
        if (display.startsWith(FontName, Qt::CaseInsensitive))
            return file;
    }
    return {};
}

void TFormOptions::chbSetKanjiFontClick()
{
    const bool on = chbSetKanjiFont->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{cbKanjiFont, lblFilter, cbFilterFonts, reSampleView, chbBold,
                                                       chbRotate})
        w->setEnabled(on);
}

// --- colour pickers -----------------------------------------------------------------------

bool TFormOptions::pickColor(QColor &chosen)
{
    QColor c = ColorDialogColor;
    if (!korvana::Dialogs::instance().chooseColor(this, c))
        return false;
    ColorDialogColor = c;
    chosen = c;
    return true;
}

void TFormOptions::lblColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    if (host.settings)
        host.settings->FKanjiColor = korvana::fromQColor(c);
    // Checking the box refreshes the sample; when it was checked already the
    // new colour still has to show.
    if (chbColor->isChecked())
        cbKanjiFontChange();
    else
        chbColor->setChecked(true);
}

void TFormOptions::lblBgColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    if (host.settings)
        host.settings->FKanjiBackgroundColor = korvana::fromQColor(c);
    if (chbBgColor->isChecked())
        cbKanjiFontChange();
    else
        chbBgColor->setChecked(true);
}

void TFormOptions::lblFlashBgColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    if (host.flashBackgroundColor)
        *host.flashBackgroundColor = value;
    shFlashBgColor->setBrushColor(value);
}

void TFormOptions::lblFlashColorClick()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    if (host.flashColor)
        *host.flashColor = value;
    shFlashColor->setBrushColor(value);
}

void TFormOptions::ShScreenBgColorMouseDown()
{
    QColor c;
    if (!pickColor(c))
        return;
    const quint32 value = korvana::fromQColor(c);
    ShScreenBgColor->setBrushColor(value);
    if (host.screenBackgroundChanged)
        host.screenBackgroundChanged(value);
}

// --- flash and automatic mode ----------------------------------------------------------------

void TFormOptions::bFlashDefaultClick()
{
    edDelay->setText(QStringLiteral("1000"));
    edRepeat->setText(QStringLiteral("20"));
    edInterval->setText(QStringLiteral("40"));
    chbFlashFullScreen->setChecked(true);
    shFlashBgColor->setBrushColor(korvana::colors::clBlack);
    if (host.flashBackgroundColor)
        *host.flashBackgroundColor = korvana::colors::clBlack;
    shFlashColor->setBrushColor(korvana::colors::clRed);
    if (host.flashColor)
        *host.flashColor = korvana::colors::clRed;
    chbFlashWords->setChecked(true);
    chbFlashPhrases->setChecked(false);
}

void TFormOptions::stepInterval(QLabel *caption, int lowerBound, int delta)
{
    const int n = korvana::parseInteger(caption->text()).value_or(lowerBound);
    if (delta < 0 && n > lowerBound)
        caption->setText(QString::number(n - 1));
    else if (delta > 0 && n < 20)
        caption->setText(QString::number(n + 1));
}

void TFormOptions::sbNasobekIntervalMinusClick() { stepInterval(stNasobekInterval, 2, -1); }
void TFormOptions::sbNasobekIntervalPluusClick() { stepInterval(stNasobekInterval, 2, +1); }
void TFormOptions::sbFixedIntervalMinusClick() { stepInterval(stInterval, 3, -1); }
void TFormOptions::sbFixedIntervalPlusClick() { stepInterval(stInterval, 3, +1); }

// --- folders and files ------------------------------------------------------------------------

bool TFormOptions::BrowseForFolder(const QString &Title, QString &Path)
{
    const QString chosen = korvana::Dialogs::instance().chooseFolder(this, Title, QString());
    if (chosen.isEmpty())
        return false;
    Path = chosen;
    return true;
}

void TFormOptions::tbOpenclick()
{
    // The whole path is taken: cutting a long one short would name another
    // folder.
    QString path;
    if (BrowseForFolder(QStringLiteral("Select directory"), path))
        edWorkDir->setText(path);
}

void TFormOptions::tbDictOpenClick()
{
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*");
    request.fileName.clear();
    request.initialDir = korvana::ProgramPaths::dataFile(QStringLiteral("dict"));
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (!chosen.isEmpty())
        edDictionary->setText(QFileInfo(chosen.first()).absoluteFilePath());
}

void TFormOptions::Button2Click()
{
    korvana::FileDialogRequest request;
    request.filter = QStringLiteral("Programs|*.exe;*.com;*.bat;*.pif|All Files|*.*");
    request.fileName.clear();
    request.initialDir = eExtEditor->text();
    const QStringList chosen = korvana::Dialogs::instance().openFiles(this, request);
    if (!chosen.isEmpty())
        eExtEditor->setText(QFileInfo(chosen.first()).absoluteFilePath());
}
