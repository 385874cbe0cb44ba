// The options dialog on its own: font list and sample, colour pickers,
// steppers, flash defaults and the choosers, with a fake font list and
// scripted dialogs.
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "settings/Colors.h"
#include "settings/MainSettings.h"
#include "settings/TFormOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace korvana;

namespace {
QStringList items(QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}
} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT

    TFormOptions *o = nullptr;
    MainSettings settings;
    quint32 flashColor = colors::clRed;
    quint32 flashBackground = 0;
    RichEdit *reChin = nullptr;
    QList<quint32> screenColours;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    ScriptedDialogs &dialogs() { return m_dialogs->dialogs; }

    // The sample's attributes over its first character.
    CharAttributes sampleAttributes()
    {
        o->reSample->setSel(0, 1);
        CharAttributes a = o->reSample->selAttributes();
        o->reSample->setSelLength(0);
        return a;
    }

private slots:
    void initTestCase()
    {
        TFormOptions::fontSource = [] {
            return std::vector<TFormOptions::FontFace>{
                {QStringLiteral("Arial"), {QStringLiteral("ANSI"), QStringLiteral("GREEK")}},
                {QStringLiteral("SimSun"), {QStringLiteral("ANSI"), QStringLiteral("CHINESE_GB2312")}},
                {QStringLiteral("@SimSun"), {QStringLiteral("CHINESE_GB2312")}},
                {QStringLiteral("MingLiU"), {QStringLiteral("CHINESE_BIG5")}},
                {QStringLiteral("KaiTi"), {QStringLiteral("CHINESE_GB2312"), QStringLiteral("CHINESE_BIG5")}},
                {QStringLiteral("@MingLiU"), {QStringLiteral("CHINESE_BIG5")}},
            };
        };
        TFormOptions::fontFileSource = [] {
            return std::vector<std::pair<QString, QString>>{
                {QStringLiteral("Arial (TrueType)"), QStringLiteral("arial.ttf")},
                {QStringLiteral("SIMSUN & NSimSun (TrueType)"), QStringLiteral("simsun.ttc")},
                {QStringLiteral("SimSun-ExtB (TrueType)"), QStringLiteral("simsunb.ttf")},
                {QStringLiteral("KaiTi (TrueType)"), QStringLiteral("simkai.ttf")},
            };
        };
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        settings = MainSettings{};
        settings.FKanjiFont = QStringLiteral("KaiTi");
        settings.FKanjiColor = colors::clBlue;
        settings.FKanjiBackgroundColor = colors::clYellow;
        flashColor = colors::clRed;
        flashBackground = 0;
        screenColours.clear();
        reChin = new RichEdit;
        o = new TFormOptions;
        o->host.settings = &settings;
        o->host.flashColor = &flashColor;
        o->host.flashBackgroundColor = &flashBackground;
        o->host.reChin = reChin;
        o->host.screenBackgroundChanged = [this](quint32 c) { screenColours << c; };
    }

    void cleanup()
    {
        delete o;
        delete reChin;
        delete m_dialogs;
    }

    void pagesFollowTheTree()
    {
        QCOMPARE(o->Notebook1->currentIndex(), 2); // Fonts before any choice
        o->selectPage(5);
        QCOMPARE(o->Notebook1->currentIndex(), 5);
        o->TreeView1->setCurrentItem(o->TreeView1->topLevelItem(0));
        QCOMPARE(o->Notebook1->currentIndex(), 0);
    }

    void filterKeepsTheSelectionAndHidesVerticalFonts()
    {
        o->cbFilterFonts->setCurrentIndex(2); // all fonts
        o->cbFilterFontsChange();
        QCOMPARE(items(o->cbKanjiFont),
                 QStringList({QStringLiteral("Arial"), QStringLiteral("SimSun"), QStringLiteral("MingLiU"),
                              QStringLiteral("KaiTi")}));
        o->cbKanjiFont->setCurrentIndex(3); // KaiTi
        o->cbFilterFonts->setCurrentIndex(0);
        QCOMPARE(items(o->cbKanjiFont), QStringList({QStringLiteral("SimSun"), QStringLiteral("KaiTi")}));
        QCOMPARE(o->cbKanjiFont->currentText(), QStringLiteral("KaiTi"));

        o->cbKanjiFont->setCurrentIndex(0); // SimSun has no Big5
        o->cbFilterFonts->setCurrentIndex(1);
        QCOMPARE(items(o->cbKanjiFont), QStringList({QStringLiteral("MingLiU"), QStringLiteral("KaiTi")}));
        QCOMPARE(o->cbKanjiFont->currentIndex(), 0);

        // Nothing passes: an empty list with nothing selected.
        o->FilterFonts(QStringLiteral("HEBREW"));
        QCOMPARE(o->cbKanjiFont->count(), 0);
        QCOMPARE(o->cbKanjiFont->currentIndex(), -1);
        QCOMPARE(o->reSample->text(), QStringLiteral("你好吗？"));
    }

    void activationSelectsTheUsersFontExactly()
    {
        o->cbFilterFonts->setCurrentIndex(0);
        o->FormActivate();
        QCOMPARE(o->cbKanjiFont->currentText(), QStringLiteral("KaiTi"));

        settings.FKanjiFont = QStringLiteral("kaiti"); // letter case counts
        o->FormActivate();
        QCOMPARE(o->cbKanjiFont->currentText(), QStringLiteral("SimSun"));

        settings.FKanjiFont = QStringLiteral("Not Installed");
        o->cbKanjiFont->setCurrentIndex(1);
        o->FormActivate();
        QCOMPARE(o->cbKanjiFont->currentIndex(), 0);

        // The font controls follow "Force hanzi font"; the colours never.
        QVERIFY(!o->cbKanjiFont->isEnabled() && !o->chbBold->isEnabled() && !o->reSampleView->isEnabled());
        o->chbSetKanjiFont->setChecked(true);
        QVERIFY(o->cbKanjiFont->isEnabled() && o->cbFilterFonts->isEnabled() && o->chbRotate->isEnabled());
        QVERIFY(o->chbColor->isEnabled() && o->chbBgColor->isEnabled());
    }

    void sampleShowsThePaneInTheChosenLook()
    {
        o->cbFilterFontsChange();
        o->cbKanjiFont->setCurrentIndex(1); // SimSun
        QCOMPARE(o->reSample->text(), QStringLiteral("你好吗？"));
        QCOMPARE(sampleAttributes().fontName, QStringLiteral("SimSun"));
        // The first installed file whose name begins with the font, any case.
        QCOMPARE(o->reSampleView->toolTip(), QStringLiteral("simsun.ttc"));

        o->cbChin->setCurrentIndex(o->cbChin->findText(QStringLiteral("24")));
        o->chbBold->setChecked(true);
        CharAttributes a = sampleAttributes();
        QCOMPARE(a.sizePoints, 24.0);
        QVERIFY(a.bold);
        // A size that is no item of the list shows too.
        o->cbChin->setEditText(QStringLiteral("13"));
        QCOMPARE(sampleAttributes().sizePoints, 13.0);

        // Rotating asks for the vertical form, which has no file of its own.
        o->chbRotate->setChecked(true);
        QCOMPARE(sampleAttributes().fontName, QStringLiteral("@SimSun"));
        QCOMPARE(o->reSampleView->toolTip(), QString());
        o->chbRotate->setChecked(false);

        o->chbColor->setChecked(true);
        QCOMPARE(fromQColor(sampleAttributes().color), colors::clBlue);
        QCOMPARE(o->reSampleView->palette().color(QPalette::Base), toQColor(colors::clCream));
        o->chbBgColor->setChecked(true);
        QCOMPARE(o->reSampleView->palette().color(QPalette::Base), toQColor(colors::clYellow));

        // The characters pane is the sample: its selection when it has one
        // (the selection then goes), else all of it.
        reChin->setText(QStringLiteral("学习"));
        reChin->setSel(1, 2);
        o->cbKanjiFontChange();
        QCOMPARE(o->reSample->text(), QStringLiteral("习"));
        QCOMPARE(reChin->selLength(), 0);
        o->cbKanjiFontChange();
        QCOMPARE(o->reSample->text(), QStringLiteral("学习"));
        QCOMPARE(sampleAttributes().fontName, QStringLiteral("SimSun"));
    }

    void colourPickersActAtOnce()
    {
        o->cbFilterFonts->setCurrentIndex(2);
        // Cancel changes nothing.
        o->lblColorClick();
        QCOMPARE(settings.FKanjiColor, colors::clBlue);
        QVERIFY(!o->chbColor->isChecked());

        dialogs().colorAnswers.push_back(QColor(0, 128, 0));
        o->lblColorClick();
        QCOMPARE(settings.FKanjiColor, colors::clGreen);
        QVERIFY(o->chbColor->isChecked());
        QCOMPARE(fromQColor(sampleAttributes().color), colors::clGreen);
        // Again with the box already checked: the sample still follows.
        dialogs().colorAnswers.push_back(QColor(255, 0, 0));
        o->lblColorClick();
        QCOMPARE(fromQColor(sampleAttributes().color), colors::clRed);

        dialogs().colorAnswers.push_back(QColor(255, 255, 255));
        o->lblBgColorClick();
        QCOMPARE(settings.FKanjiBackgroundColor, colors::clWhite);
        QVERIFY(o->chbBgColor->isChecked());
        QCOMPARE(o->reSampleView->palette().color(QPalette::Base), QColor(Qt::white));

        dialogs().colorAnswers.push_back(QColor(0, 0, 128));
        o->lblFlashBgColorClick();
        QCOMPARE(flashBackground, colors::clNavy);
        QCOMPARE(o->shFlashBgColor->brushColor(), colors::clNavy);
        dialogs().colorAnswers.push_back(QColor(255, 255, 0));
        o->lblFlashColorClick();
        QCOMPARE(flashColor, colors::clYellow);
        QCOMPARE(o->shFlashColor->brushColor(), colors::clYellow);

        o->ShScreenBgColorMouseDown(); // cancelled
        QVERIFY(screenColours.isEmpty());
        dialogs().colorAnswers.push_back(QColor(0, 64, 64));
        QTest::mouseClick(o->ShScreenBgColor, Qt::LeftButton);
        QCOMPARE(screenColours, QList<quint32>({0x00404000u}));
        QCOMPARE(o->ShScreenBgColor->brushColor(), 0x00404000u);
    }

    void flashDefaultsLeaveKeepOpen()
    {
        o->edDelay->setText(QStringLiteral("x"));
        o->edRepeat->setText(QStringLiteral("7"));
        o->edInterval->setText(QStringLiteral(""));
        o->chbFlashFullScreen->setChecked(false);
        o->chbKeepOpen->setChecked(false);
        o->chbFlashWords->setChecked(false);
        o->chbFlashPhrases->setChecked(true);
        flashColor = colors::clLime;
        flashBackground = colors::clWhite;
        o->shFlashColor->setBrushColor(colors::clLime);
        o->bFlashDefault->click();
        QCOMPARE(o->edDelay->text(), QStringLiteral("1000"));
        QCOMPARE(o->edRepeat->text(), QStringLiteral("20"));
        QCOMPARE(o->edInterval->text(), QStringLiteral("40"));
        QVERIFY(o->chbFlashFullScreen->isChecked());
        QVERIFY(!o->chbKeepOpen->isChecked());
        QVERIFY(o->chbFlashWords->isChecked() && !o->chbFlashPhrases->isChecked());
        QCOMPARE(flashColor, colors::clRed);
        QCOMPARE(flashBackground, 0u);
        QCOMPARE(o->shFlashColor->brushColor(), colors::clRed);
    }

    void upDownsBoundOnlyTheirArrows()
    {
        o->UpDown3->stepUp();
        QCOMPARE(o->edDelay->text(), QStringLiteral("1050"));
        o->edDelay->setText(QStringLiteral("2990"));
        o->UpDown3->stepUp();
        QCOMPARE(o->edDelay->text(), QStringLiteral("3000"));
        o->edRepeat->setText(QStringLiteral("500")); // typed: kept as typed
        QCOMPARE(o->edRepeat->text(), QStringLiteral("500"));
        o->UpDown1->stepDown();
        QCOMPARE(o->edRepeat->text(), QStringLiteral("95"));
        o->edInterval->setText(QStringLiteral("5"));
        o->UpDown2->stepDown();
        QCOMPARE(o->edInterval->text(), QStringLiteral("5"));
    }

    void intervalSteppers_data()
    {
        QTest::addColumn<bool>("variable");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("after");
        QTest::newRow("designed 1 stays on minus") << true << "1" << -1 << "1";
        QTest::newRow("designed 1 plus gives 2") << true << "1" << 1 << "2";
        QTest::newRow("variable minus at 2") << true << "2" << -1 << "2";
        QTest::newRow("variable plus at 20") << true << "20" << 1 << "20";
        QTest::newRow("variable text plus") << true << "abc" << 1 << "3";
        QTest::newRow("variable text minus") << true << "abc" << -1 << "abc";
        QTest::newRow("fixed minus at 3") << false << "3" << -1 << "3";
        QTest::newRow("fixed plus at 20") << false << "20" << 1 << "20";
        QTest::newRow("fixed hex") << false << "$A" << -1 << "9";
        QTest::newRow("fixed text plus") << false << "" << 1 << "4";
    }

    void intervalSteppers()
    {
        QFETCH(bool, variable);
        QFETCH(QString, start);
        QFETCH(int, delta);
        QFETCH(QString, after);
        QLabel *caption = variable ? o->stNasobekInterval : o->stInterval;
        caption->setText(start);
        QToolButton *b = variable ? (delta < 0 ? o->sbNasobekIntervalMinus : o->sbNasobekIntervalPluus)
                                  : (delta < 0 ? o->sbFixedIntervalMinus : o->sbFixedIntervalPlus);
        b->click();
        QCOMPARE(caption->text(), after);
    }

    void choosersFillTheirEdits()
    {
        o->edWorkDir->setText(QStringLiteral("/old"));
        o->tbOpen->click(); // cancelled
        QCOMPARE(o->edWorkDir->text(), QStringLiteral("/old"));
        const QString longPath = QStringLiteral("/data/") + QString(300, u'x');
        dialogs().folderAnswers.push_back(longPath);
        o->tbOpen->click();
        QCOMPARE(o->edWorkDir->text(), longPath); // never cut short

        o->edDictionary->setText(QStringLiteral("/d/old.uni"));
        o->tbDictOpen->click(); // cancelled
        QCOMPARE(o->edDictionary->text(), QStringLiteral("/d/old.uni"));
        dialogs().openAnswers.push_back({QStringLiteral("/d/new.uni")});
        o->tbDictOpen->click();
        QCOMPARE(o->edDictionary->text(), QStringLiteral("/d/new.uni"));
        QCOMPARE(dialogs().fileRequests.back().filter, QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*"));
        QVERIFY(dialogs().fileRequests.back().fileName.isEmpty());
        QVERIFY(!dialogs().fileRequests.back().allowMultiple);

        o->rbOther->setChecked(true);
        o->eExtEditor->setText(QStringLiteral("/usr/bin"));
        dialogs().openAnswers.push_back({QStringLiteral("/usr/bin/kate")});
        o->SpeedButton1->click();
        QCOMPARE(o->eExtEditor->text(), QStringLiteral("/usr/bin/kate"));
        QCOMPARE(dialogs().fileRequests.back().initialDir, QStringLiteral("/usr/bin"));
        // Programs here have no extension: every file is offered first.
        QCOMPARE(dialogs().fileRequests.back().filter,
                 QStringLiteral("All Files|*|Windows programs|*.exe;*.com;*.bat;*.pif"));
        QVERIFY(o->rbOther->isChecked());
        // The option names what it does here.
        QCOMPARE(o->rbWord->text(), QStringLiteral("Edit in word processor"));
    }

    void escapeAndCloseEndTheDialog()
    {
        o->show();
        QVERIFY(o->isVisible());
        QTest::keyClick(o, Qt::Key_Escape);
        QVERIFY(!o->isVisible());
        o->show();
        o->JvSpeedButton1->click();
        QVERIFY(!o->isVisible());

        // A size that is no number keeps the dialog open on its box.
        o->selectPage(0);
        o->show();
        o->cbPin->setEditText(QStringLiteral("12a"));
        o->JvSpeedButton1->click();
        QVERIFY(o->isVisible());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("'12a' is not a valid integer value"));
        QCOMPARE(o->Notebook1->currentIndex(), 2);
        QCOMPARE(o->cbPin->lineEdit()->selectedText(), QStringLiteral("12a"));
        o->cbPin->setEditText(QStringLiteral("12"));
        QTest::keyClick(o, Qt::Key_Escape);
        QVERIFY(!o->isVisible());
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
