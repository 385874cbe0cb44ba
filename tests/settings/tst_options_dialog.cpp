// The options dialog on its own: font list and sample, colour pickers,
// steppers, flash defaults and the choosers, with a fake font list and
// scripted dialogs.
#include "platform/richtext/ChineseFonts.h"
#include "platform/richtext/RichEdit.h"
#include "settings/Colors.h"
#include "settings/MainSettings.h"
#include "settings/OptionsDialog.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
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

    OptionsDialog *o = nullptr;
    MainSettings settings;
    quint32 flashColor = colors::clRed;
    quint32 flashBackground = 0;
    RichEdit *charactersText = nullptr;
    QWidget *mainWidget = nullptr;
    QList<quint32> screenColours;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    ScriptedDialogs &dialogs() { return m_dialogs->dialogs; }

    // The sample's attributes over its first character.
    CharAttributes sampleAttributes()
    {
        o->sampleText->setSel(0, 1);
        CharAttributes a = o->sampleText->selAttributes();
        o->sampleText->setSelLength(0);
        return a;
    }

private slots:
    void initTestCase()
    {
        OptionsDialog::fontSource = [] {
            return std::vector<OptionsDialog::FontFace>{
                {QStringLiteral("Arial"), {QStringLiteral("ANSI"), QStringLiteral("GREEK")}},
                {QStringLiteral("SimSun"), {QStringLiteral("ANSI"), QStringLiteral("CHINESE_GB2312")}},
                {QStringLiteral("@SimSun"), {QStringLiteral("CHINESE_GB2312")}},
                {QStringLiteral("MingLiU"), {QStringLiteral("CHINESE_BIG5")}},
                {QStringLiteral("KaiTi"), {QStringLiteral("CHINESE_GB2312"), QStringLiteral("CHINESE_BIG5")}},
                {QStringLiteral("@MingLiU"), {QStringLiteral("CHINESE_BIG5")}},
            };
        };
        OptionsDialog::fontFileSource = [] {
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
        settings.charactersFont = QStringLiteral("KaiTi");
        settings.charactersColor = colors::clBlue;
        settings.charactersBackgroundColor = colors::clYellow;
        flashColor = colors::clRed;
        flashBackground = 0;
        screenColours.clear();
        charactersText = new RichEdit;
        OptionsHost host;
        host.settings = &settings;
        host.flashColor = &flashColor;
        host.flashBackgroundColor = &flashBackground;
        host.charactersText = charactersText;
        host.screenBackgroundChanged = [this](quint32 c) { screenColours << c; };
        mainWidget = new QWidget;
        o = new OptionsDialog(host, mainWidget);
    }

    void cleanup()
    {
        delete o;
        delete mainWidget;
        delete charactersText;
        delete m_dialogs;
    }

    void pagesFollowTheTree()
    {
        QCOMPARE(o->pages->currentIndex(), 2); // Fonts before any choice
        o->selectPage(5);
        QCOMPARE(o->pages->currentIndex(), 5);
        o->pageTree->setCurrentItem(o->pageTree->topLevelItem(0));
        QCOMPARE(o->pages->currentIndex(), 0);
    }

    void filterKeepsTheSelectionAndHidesVerticalFonts()
    {
        o->fontFilterCombo->setCurrentIndex(2); // all fonts
        o->fontFilterComboChanged();
        QCOMPARE(items(o->characterFontCombo), QStringList({QStringLiteral("Arial"), QStringLiteral("SimSun"),
                                                            QStringLiteral("MingLiU"), QStringLiteral("KaiTi")}));
        o->characterFontCombo->setCurrentIndex(3); // KaiTi
        o->fontFilterCombo->setCurrentIndex(0);
        QCOMPARE(items(o->characterFontCombo), QStringList({QStringLiteral("SimSun"), QStringLiteral("KaiTi")}));
        QCOMPARE(o->characterFontCombo->currentText(), QStringLiteral("KaiTi"));

        o->characterFontCombo->setCurrentIndex(0); // SimSun has no Big5
        o->fontFilterCombo->setCurrentIndex(1);
        QCOMPARE(items(o->characterFontCombo), QStringList({QStringLiteral("MingLiU"), QStringLiteral("KaiTi")}));
        QCOMPARE(o->characterFontCombo->currentIndex(), 0);

        // Nothing passes: an empty list with nothing selected.
        o->filterFonts(QStringLiteral("HEBREW"));
        QCOMPARE(o->characterFontCombo->count(), 0);
        QCOMPARE(o->characterFontCombo->currentIndex(), -1);
        QCOMPARE(o->sampleText->text(), QStringLiteral("你好吗？"));
    }

    void activationSelectsTheUsersFontExactly()
    {
        o->fontFilterCombo->setCurrentIndex(0);
        o->onActivate();
        QCOMPARE(o->characterFontCombo->currentText(), QStringLiteral("KaiTi"));

        settings.charactersFont = QStringLiteral("kaiti"); // letter case counts
        o->onActivate();
        QCOMPARE(o->characterFontCombo->currentText(), QStringLiteral("SimSun"));

        settings.charactersFont = QStringLiteral("Not Installed");
        o->characterFontCombo->setCurrentIndex(1);
        o->onActivate();
        QCOMPARE(o->characterFontCombo->currentIndex(), 0);

        // The font controls follow "Force hanzi font"; the colours never.
        QVERIFY(!o->characterFontCombo->isEnabled() && !o->boldSwitch->isEnabled() && !o->sampleView->isEnabled());
        o->forceCharacterFontSwitch->setChecked(true);
        QVERIFY(o->characterFontCombo->isEnabled() && o->fontFilterCombo->isEnabled() && o->rotateSwitch->isEnabled());
        QVERIFY(o->characterColorSwitch->isEnabled() && o->characterBackgroundSwitch->isEnabled());
    }

    void aWindowsNameShowsTheFontItIsDrawnIn()
    {
        // SimSun is not installed here: the list shows the installed font
        // the panes draw it in, not the list's first font.
        fonts::useChineseGlyphForms();
        const QString drawn = fonts::chineseFamily(false, true);
        if (drawn.isEmpty() || QFontDatabase::hasFamily(QStringLiteral("SimSun")))
            QSKIP("needs a simplified-Chinese serif font (fonts-noto-cjk) and no SimSun");
        const auto fake = std::exchange(OptionsDialog::fontSource, nullptr);
        settings.charactersFont = QStringLiteral("SimSun");
        o->fontFilterCombo->setCurrentIndex(0);
        o->onActivate();
        OptionsDialog::fontSource = fake;
        QCOMPARE(o->characterFontCombo->currentText(), drawn);
    }

    void sampleShowsThePaneInTheChosenLook()
    {
        o->fontFilterComboChanged();
        o->characterFontCombo->setCurrentIndex(1); // SimSun
        QCOMPARE(o->sampleText->text(), QStringLiteral("你好吗？"));
        QCOMPARE(sampleAttributes().fontName, QStringLiteral("SimSun"));
        // The first installed file whose name begins with the font, any case.
        QCOMPARE(o->sampleView->toolTip(), QStringLiteral("simsun.ttc"));

        o->panes[Pane::Characters].sizeCombo->setCurrentIndex(
            o->panes[Pane::Characters].sizeCombo->findText(QStringLiteral("24")));
        o->boldSwitch->setChecked(true);
        CharAttributes a = sampleAttributes();
        QCOMPARE(a.sizePoints, 24.0);
        QVERIFY(a.bold);
        // A size that is no item of the list shows too.
        o->panes[Pane::Characters].sizeCombo->setEditText(QStringLiteral("13"));
        QCOMPARE(sampleAttributes().sizePoints, 13.0);

        // Rotating asks for the vertical form, which has no file of its own.
        o->rotateSwitch->setChecked(true);
        QCOMPARE(sampleAttributes().fontName, QStringLiteral("@SimSun"));
        QCOMPARE(o->sampleView->toolTip(), QString());
        o->rotateSwitch->setChecked(false);

        o->characterColorSwitch->setChecked(true);
        QCOMPARE(fromQColor(sampleAttributes().color), colors::clBlue);
        QCOMPARE(o->sampleView->palette().color(QPalette::Base), toQColor(colors::clCream));
        o->characterBackgroundSwitch->setChecked(true);
        QCOMPARE(o->sampleView->palette().color(QPalette::Base), toQColor(colors::clYellow));

        // The characters pane is the sample: its selection when it has one
        // (the selection then goes), else all of it.
        charactersText->setText(QStringLiteral("学习"));
        charactersText->setSel(1, 2);
        o->characterFontComboChanged();
        QCOMPARE(o->sampleText->text(), QStringLiteral("习"));
        QCOMPARE(charactersText->selLength(), 0);
        o->characterFontComboChanged();
        QCOMPARE(o->sampleText->text(), QStringLiteral("学习"));
        QCOMPARE(sampleAttributes().fontName, QStringLiteral("SimSun"));
    }

    void colourPickersActAtOnce()
    {
        o->fontFilterCombo->setCurrentIndex(2);
        // Cancel changes nothing.
        o->characterColorLabelClicked();
        QCOMPARE(settings.charactersColor, colors::clBlue);
        QVERIFY(!o->characterColorSwitch->isChecked());

        dialogs().colorAnswers.push_back(QColor(0, 128, 0));
        o->characterColorLabelClicked();
        QCOMPARE(settings.charactersColor, colors::clGreen);
        QVERIFY(o->characterColorSwitch->isChecked());
        QCOMPARE(fromQColor(sampleAttributes().color), colors::clGreen);
        // Again with the box already checked: the sample still follows.
        dialogs().colorAnswers.push_back(QColor(255, 0, 0));
        o->characterColorLabelClicked();
        QCOMPARE(fromQColor(sampleAttributes().color), colors::clRed);

        dialogs().colorAnswers.push_back(QColor(255, 255, 255));
        o->characterBackgroundLabelClicked();
        QCOMPARE(settings.charactersBackgroundColor, colors::clWhite);
        QVERIFY(o->characterBackgroundSwitch->isChecked());
        QCOMPARE(o->sampleView->palette().color(QPalette::Base), QColor(Qt::white));

        dialogs().colorAnswers.push_back(QColor(0, 0, 128));
        o->flashBackgroundColorLabelClicked();
        QCOMPARE(flashBackground, colors::clNavy);
        QCOMPARE(o->flashBackgroundSwatch->brushColor(), colors::clNavy);
        dialogs().colorAnswers.push_back(QColor(255, 255, 0));
        o->flashColorLabelClicked();
        QCOMPARE(flashColor, colors::clYellow);
        QCOMPARE(o->flashColorSwatch->brushColor(), colors::clYellow);

        o->screenBackgroundSwatchMousePressed(); // cancelled
        QVERIFY(screenColours.isEmpty());
        dialogs().colorAnswers.push_back(QColor(0, 64, 64));
        QTest::mouseClick(o->screenBackgroundSwatch, Qt::LeftButton);
        QCOMPARE(screenColours, QList<quint32>({0x00404000u}));
        QCOMPARE(o->screenBackgroundSwatch->brushColor(), 0x00404000u);
    }

    void flashDefaultsLeaveKeepOpen()
    {
        o->flashDelayEdit->setText(QStringLiteral("x"));
        o->flashRepeatEdit->setText(QStringLiteral("7"));
        o->flashIntervalEdit->setText(QStringLiteral(""));
        o->flashFullScreenSwitch->setChecked(false);
        o->flashKeepOpenSwitch->setChecked(false);
        o->flashWordsSwitch->setChecked(false);
        o->flashPhrasesSwitch->setChecked(true);
        flashColor = colors::clLime;
        flashBackground = colors::clWhite;
        o->flashColorSwatch->setBrushColor(colors::clLime);
        o->flashDefaultsButton->click();
        QCOMPARE(o->flashDelayEdit->text(), QStringLiteral("1000"));
        QCOMPARE(o->flashRepeatEdit->text(), QStringLiteral("20"));
        QCOMPARE(o->flashIntervalEdit->text(), QStringLiteral("40"));
        QVERIFY(o->flashFullScreenSwitch->isChecked());
        QVERIFY(!o->flashKeepOpenSwitch->isChecked());
        QVERIFY(o->flashWordsSwitch->isChecked() && !o->flashPhrasesSwitch->isChecked());
        QCOMPARE(flashColor, colors::clRed);
        QCOMPARE(flashBackground, 0u);
        QCOMPARE(o->flashColorSwatch->brushColor(), colors::clRed);
    }

    void upDownsBoundOnlyTheirArrows()
    {
        o->flashDelayUpDown->stepUp();
        QCOMPARE(o->flashDelayEdit->text(), QStringLiteral("1050"));
        o->flashDelayEdit->setText(QStringLiteral("2990"));
        o->flashDelayUpDown->stepUp();
        QCOMPARE(o->flashDelayEdit->text(), QStringLiteral("3000"));
        o->flashRepeatEdit->setText(QStringLiteral("500")); // typed: kept as typed
        QCOMPARE(o->flashRepeatEdit->text(), QStringLiteral("500"));
        o->flashRepeatUpDown->stepDown();
        QCOMPARE(o->flashRepeatEdit->text(), QStringLiteral("95"));
        o->flashIntervalEdit->setText(QStringLiteral("5"));
        o->flashIntervalUpDown->stepDown();
        QCOMPARE(o->flashIntervalEdit->text(), QStringLiteral("5"));
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
        QLabel *caption = variable ? o->perCharacterIntervalLabel : o->fixedIntervalLabel;
        caption->setText(start);
        QToolButton *b = variable ? (delta < 0 ? o->perCharacterIntervalMinusButton : o->perCharacterIntervalPlusButton)
                                  : (delta < 0 ? o->fixedIntervalMinusButton : o->fixedIntervalPlusButton);
        b->click();
        QCOMPARE(caption->text(), after);
    }

    void choosersFillTheirEdits()
    {
        o->workingDirectoryEdit->setText(QStringLiteral("/old"));
        o->workingDirectoryOpenButton->click(); // cancelled
        QCOMPARE(o->workingDirectoryEdit->text(), QStringLiteral("/old"));
        const QString longPath = QStringLiteral("/data/") + QString(300, u'x');
        dialogs().folderAnswers.push_back(longPath);
        o->workingDirectoryOpenButton->click();
        QCOMPARE(o->workingDirectoryEdit->text(), longPath); // never cut short

        o->dictionaryEdit->setText(QStringLiteral("/d/old.uni"));
        o->dictionaryOpenButton->click(); // cancelled
        QCOMPARE(o->dictionaryEdit->text(), QStringLiteral("/d/old.uni"));
        dialogs().openAnswers.push_back({QStringLiteral("/d/new.uni")});
        o->dictionaryOpenButton->click();
        QCOMPARE(o->dictionaryEdit->text(), QStringLiteral("/d/new.uni"));
        QCOMPARE(dialogs().fileRequests.back().filter, QStringLiteral("Unicode dictionaries|*.uni|All Files|*.*"));
        QVERIFY(dialogs().fileRequests.back().fileName.isEmpty());
        QVERIFY(!dialogs().fileRequests.back().allowMultiple);

        o->otherEditorOption->setChecked(true);
        o->externalEditorEdit->setText(QStringLiteral("/usr/bin"));
        dialogs().openAnswers.push_back({QStringLiteral("/usr/bin/kate")});
        o->externalEditorOpenButton->click();
        QCOMPARE(o->externalEditorEdit->text(), QStringLiteral("/usr/bin/kate"));
        QCOMPARE(dialogs().fileRequests.back().initialDir, QStringLiteral("/usr/bin"));
        // Programs here have no extension: every file is offered first.
        QCOMPARE(dialogs().fileRequests.back().filter,
                 QStringLiteral("All Files|*|Windows programs|*.exe;*.com;*.bat;*.pif"));
        QVERIFY(o->otherEditorOption->isChecked());
        // The option names what it does here.
        QCOMPARE(o->wordOption->text(), QStringLiteral("Edit in word processor"));
    }

    void escapeAndCloseEndTheDialog()
    {
        o->show();
        QVERIFY(o->isVisible());
        QTest::keyClick(o, Qt::Key_Escape);
        QVERIFY(!o->isVisible());
        o->show();
        o->closeButton->click();
        QVERIFY(!o->isVisible());

        // A size that is no number keeps the dialog open on its box.
        o->selectPage(0);
        o->show();
        o->panes[Pane::Pinyin].sizeCombo->setEditText(QStringLiteral("12a"));
        o->closeButton->click();
        QVERIFY(o->isVisible());
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("'12a' is not a valid integer value"));
        QCOMPARE(o->pages->currentIndex(), 2);
        QCOMPARE(o->panes[Pane::Pinyin].sizeCombo->lineEdit()->selectedText(), QStringLiteral("12a"));
        o->panes[Pane::Pinyin].sizeCombo->setEditText(QStringLiteral("12"));
        QTest::keyClick(o, Qt::Key_Escape);
        QVERIFY(!o->isVisible());
    }

    // Built when first shown, the dialog has the same controls, in the same
    // tab order, on the same page, at the same size as one built at once.
    void pagesBuiltWhenShownMatchTheOnesBuiltAtOnce()
    {
        OptionsDialog::buildPagesWhenNeeded = true;
        OptionsDialog late(o->host, mainWidget);
        OptionsDialog::buildPagesWhenNeeded = false;
        QVERIFY(!late.pageTree && !late.voiceCombo && !late.flashDelayEdit);
        const auto tabOrder = [](QWidget *w) {
            QStringList out;
            for (QWidget *c = w->nextInFocusChain(); c != w; c = c->nextInFocusChain())
                out << QString::fromLatin1(c->metaObject()->className()) + u' ' + c->objectName();
            return out;
        };
        late.show();
        o->show();
        QCOMPARE(tabOrder(&late), tabOrder(o));
        QCOMPARE(late.pages->currentIndex(), 2);
        QCOMPARE(late.size(), o->size());
        QCOMPARE(late.flashDelayEdit->text(), o->flashDelayEdit->text());
        QCOMPARE(items(late.characterFontCombo), items(o->characterFontCombo));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
