// The options round trip: the dialog is filled from the main window's
// settings, answered by the test while "modal", and its values are taken
// back and applied.
#include "app/FlashRunner.h"
#include "platform/richtext/RichEdit.h"
#include "practice/ScreenBackgroundWindow.h"
#include "reference/DictionaryData.h"
#include "settings/Colors.h"
#include "settings/OptionsDialog.h"
#include "support/ProgramTestCase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

class TestOptions : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true, .firstActivationDone = false}; }
    MainWindow *f = nullptr;
    FakeSpeechVoice *m_voice = nullptr;

    void load(const QStringList &lines) { apptest::loadLines(f, lines); }
    QString writeDictionary(const QString &name, const QString &line)
    {
        return apptest::writeFile(homePath(name), line.toUtf8());
    }
    // Opens the options through the menu command; Answer runs while the
    // dialog is up, as the user would.
    void roundTrip(const std::function<void(OptionsDialog *)> &Answer = {})
    {
        dialogs().onModal = [Answer](QDialog *d) {
            QCOMPARE(d, static_cast<QDialog *>(optionsDialog));
            optionsDialog->onActivate();
            if (Answer)
                Answer(optionsDialog);
        };
        f->preferencesCommand();
        dialogs().onModal = nullptr;
    }

    void beforeProgram() override
    {
        OptionsDialog::fontSource = [] {
            return std::vector<OptionsDialog::FontFace>{{QStringLiteral("SimSun"), {QStringLiteral("CHINESE_GB2312")}},
                                                        {QStringLiteral("KaiTi"), {QStringLiteral("CHINESE_GB2312")}}};
        };
        OptionsDialog::fontFileSource = [] { return std::vector<std::pair<QString, QString>>{}; };
        QFETCH_GLOBAL(bool, pagesWhenNeeded);
        OptionsDialog::buildPagesWhenNeeded = pagesWhenNeeded;
    }
    void programStarted() override
    {
        QFETCH_GLOBAL(bool, pagesWhenNeeded);
        OptionsDialog::buildPagesWhenNeeded = false;
        MainWindow::setVoiceFactory([this] {
            auto v = std::make_unique<FakeSpeechVoice>();
            v->setVoices({FakeSpeechVoice::makeVoice("en", "English", "409"),
                          FakeSpeechVoice::makeVoice("zh", "Chinese", "804")});
            m_voice = v.get();
            return std::unique_ptr<SpeechVoice>(std::move(v));
        });
        QCOMPARE(!optionsDialog->voiceCombo, pagesWhenNeeded);
        f = mainWindow;
        f->onActivate(); // voices listed, the Chinese one chosen
        load({QStringLiteral("<OR=good><PI=hao3><CH=好><NO=n><TY=p><ST=u>")});
        QVERIFY(f->showTerm(1));
    }

private slots:
    // Every case runs on a dialog built at once and on one whose pages are
    // built when first needed (here by the voice list).
    void initTestCase_data()
    {
        QTest::addColumn<bool>("pagesWhenNeeded");
        QTest::newRow("pages at once") << false;
        QTest::newRow("pages when needed") << true;
    }

    void fillsTheDialogFromTheFields()
    {
        apptest::settings().fontSizes[Pane::Translation] = 13; // no such item
        apptest::settings().fontSizes[Pane::Characters] = 24;
        apptest::settings().showReadingProgress = true;
        apptest::settings().useCharactersFont = true;
        apptest::settings().boldCharacters = true;
        apptest::settings().editInWordProcessor = false;
        apptest::settings().externalEditor = QStringLiteral("/usr/bin/kate");
        apptest::settings().screenBackgroundColor = 0x00404000;
        apptest::settings().workingDirectory = QStringLiteral("/work/");
        apptest::settings().charactersFont = QStringLiteral("KaiTi");
        m_voice->setRate(-4);
        apptest::control<QTextEdit>("charactersView")->setLayoutDirection(Qt::RightToLeft);
        optionsDialog->fontFilterCombo->setCurrentIndex(2);

        bool seen = false;
        roundTrip([&](OptionsDialog *o) {
            seen = true;
            QCOMPARE(o->panes[Pane::Translation].sizeCombo->currentText(), QStringLiteral("13"));
            QCOMPARE(o->panes[Pane::Translation].sizeCombo->currentIndex(), -1);
            QCOMPARE(o->panes[Pane::Characters].sizeCombo->currentIndex(),
                     o->panes[Pane::Characters].sizeCombo->findText(QStringLiteral("24")));
            QCOMPARE(o->fontFilterCombo->currentIndex(), 0);
            QCOMPARE(o->characterFontCombo->currentText(), QStringLiteral("KaiTi"));
            QVERIFY(o->readingProgressSwitch->isChecked() && o->boldSwitch->isChecked());
            QVERIFY(o->characterFontCombo->isEnabled()); // "Force hanzi font" is on
            QVERIFY(o->otherEditorOption->isChecked());
            QCOMPARE(o->externalEditorEdit->text(), QStringLiteral("/usr/bin/kate"));
            QCOMPARE(o->speedSlider->value(), -4);
            QCOMPARE(o->screenBackgroundSwatch->brushColor(), 0x00404000u);
            QCOMPARE(o->workingDirectoryEdit->text(), QStringLiteral("/work/"));
            QVERIFY(o->panes[Pane::Characters].rightToLeftSwitch->isChecked()
                    && !o->panes[Pane::Pinyin].rightToLeftSwitch->isChecked());
            QCOMPARE(o->sampleText->text(), QStringLiteral("好"));
        });
        QVERIFY(seen);
        QCOMPARE(dialogs().modalsShown.back(), QStringLiteral("optionsDialog"));
        // Nothing changed: the same values come back.
        QCOMPARE(apptest::settings().fontSizes[Pane::Translation], 13);
        QCOMPARE(apptest::settings().charactersFont, QStringLiteral("KaiTi"));
        QCOMPARE(apptest::settings().externalEditor, QStringLiteral("/usr/bin/kate"));
        QVERIFY(!apptest::settings().editInWordProcessor);
        QCOMPARE(m_voice->rate(), -4);
        QCOMPARE(apptest::control<QTextEdit>("charactersView")->layoutDirection(), Qt::RightToLeft);
    }

    void takesBackAndAppliesTheValues()
    {
        apptest::settings().useCharactersBackgroundColor = true;
        apptest::settings().charactersBackgroundColor = colors::clYellow;
        apptest::control<QTextEdit>("charactersView")->setLayoutDirection(Qt::RightToLeft);
        apptest::control<korvana::RichEdit>("charactersText")->setAlignment(TextAlignment::Right);
        screenBackgroundWindow->show();
        roundTrip([](OptionsDialog *o) {
            o->voiceCombo->setCurrentIndex(0);
            o->panes[Pane::Pinyin].sizeCombo->setEditText(QStringLiteral("$10"));
            o->panes[Pane::Notes].sizeCombo->setCurrentIndex(
                o->panes[Pane::Notes].sizeCombo->findText(QStringLiteral("28")));
            o->speedSlider->setValue(7);
            o->toneColorsSwitch->setChecked(true);
            o->forceCharacterFontSwitch->setChecked(true);
            o->rotateSwitch->setChecked(true);
            QTest::keyClick(o->characterFontCombo, Qt::Key_Down); // the user picks the second font
            o->characterBackgroundSwitch->setChecked(false);
            o->panes[Pane::Characters].rightToLeftSwitch->setChecked(false);
            o->panes[Pane::Notes].rightToLeftSwitch->setChecked(true);
            o->revealOnHoverSwitch->setChecked(true);
            o->autoSaveSwitch->setChecked(true);
            o->wordOption->setChecked(true);
            o->workingDirectoryEdit->setText(QStringLiteral("/lessons/"));
            o->screenBackgroundSwatch->setBrushColor(colors::clTeal);
        });
        QCOMPARE(m_voice->voice().id, QStringLiteral("en"));
        QCOMPARE(m_voice->rate(), 7);
        QCOMPARE(apptest::settings().fontSizes[Pane::Pinyin], 16);
        QCOMPARE(apptest::settings().fontSizes[Pane::Notes], 28);
        QVERIFY(apptest::settings().showToneColours && apptest::settings().useCharactersFont
                && apptest::settings().rotateCharacters && apptest::settings().showHiddenOnHover);
        QVERIFY(apptest::settings().autoSaveLessons && apptest::settings().editInWordProcessor);
        QCOMPARE(apptest::settings().charactersFont, QStringLiteral("KaiTi"));
        QCOMPARE(apptest::settings().workingDirectory, QStringLiteral("/lessons/"));
        QCOMPARE(apptest::settings().screenBackgroundColor, colors::clTeal);
        QCOMPARE(screenBackgroundWindow->palette().color(QPalette::Window), toQColor(colors::clTeal));
        // The background goes back to cream whatever colour is kept.
        QVERIFY(!apptest::settings().useCharactersBackgroundColor);
        QCOMPARE(apptest::settings().charactersBackgroundColor, colors::clYellow);
        QVERIFY(apptest::control<QTextEdit>("charactersView")->styleSheet().contains(toQColor(colors::clCream).name()));
        QCOMPARE(apptest::control<QTextEdit>("charactersView")->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->alignment(), TextAlignment::Left);
        QCOMPARE(apptest::control<QTextEdit>("notesView")->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(apptest::control<korvana::RichEdit>("notesText")->alignment(), TextAlignment::Right);
        // The term is shown again, and counted again.
        QCOMPARE(apptest::store().termTable.cell(TermGrid::ShownCount, 0), QStringLiteral("2"));
    }

    void typoKeepsTheDialogOpenAndLosesNothing()
    {
        apptest::settings().fontSizes[Pane::Pinyin] = 11;
        apptest::settings().boldCharacters = false;
        apptest::settings().autoSaveLessons = false;
        int visits = 0;
        roundTrip([&visits](OptionsDialog *o) {
            if (++visits == 1) {
                o->selectPage(0);
                o->panes[Pane::Pinyin].sizeCombo->setEditText(QStringLiteral("12a"));
                o->boldSwitch->setChecked(true);
                o->autoSaveSwitch->setChecked(true);
                o->workingDirectoryEdit->setText(QStringLiteral("/lessons/"));
                return;
            }
            // Back on the Fonts page with the typo selected, every change kept.
            QCOMPARE(o->pages->currentIndex(), 2);
            QCOMPARE(o->panes[Pane::Pinyin].sizeCombo->lineEdit()->selectedText(), QStringLiteral("12a"));
            QVERIFY(o->boldSwitch->isChecked() && o->autoSaveSwitch->isChecked());
            o->panes[Pane::Pinyin].sizeCombo->setEditText(QStringLiteral("12"));
        });
        QCOMPARE(visits, 2);
        QCOMPARE(dialogs().messages.size(), size_t(1));
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("'12a' is not a valid integer value"));
        QCOMPARE(apptest::settings().fontSizes[Pane::Pinyin], 12);
        QVERIFY(apptest::settings().boldCharacters && apptest::settings().autoSaveLessons);
        QCOMPARE(apptest::settings().workingDirectory, QStringLiteral("/lessons/"));
        QCOMPARE(apptest::store().termTable.cell(TermGrid::ShownCount, 0), QStringLiteral("2"));

        // Sizes are taken within 4..400.
        roundTrip([](OptionsDialog *o) {
            o->panes[Pane::Translation].sizeCombo->setEditText(QStringLiteral("0"));
            o->panes[Pane::Characters].sizeCombo->setEditText(QStringLiteral("5000"));
            o->panes[Pane::Pinyin].sizeCombo->setEditText(QStringLiteral("-5"));
            o->panes[Pane::Notes].sizeCombo->setEditText(QStringLiteral("2147483647"));
        });
        QCOMPARE(apptest::settings().fontSizes[Pane::Translation], 4);
        QCOMPARE(apptest::settings().fontSizes[Pane::Characters], 400);
        QCOMPARE(apptest::settings().fontSizes[Pane::Pinyin], 4);
        QCOMPARE(apptest::settings().fontSizes[Pane::Notes], 400);
    }

    void storedFontStaysUnlessTheUserPicksAnother()
    {
        // The stored font is not installed: the list selects its first one.
        const OptionsDialog::FontSource installed = OptionsDialog::fontSource;
        OptionsDialog::fontSource = [] {
            return std::vector<OptionsDialog::FontFace>{
                {QStringLiteral("Droid Sans Fallback"), {QStringLiteral("CHINESE_GB2312")}},
                {QStringLiteral("KaiTi"), {QStringLiteral("CHINESE_GB2312")}}};
        };
        apptest::settings().charactersFont = QStringLiteral("SimSun");
        roundTrip([](OptionsDialog *o) {
            QCOMPARE(o->characterFontCombo->currentText(), QStringLiteral("Droid Sans Fallback"));
        });
        QCOMPARE(apptest::settings().charactersFont, QStringLiteral("SimSun"));

        // The user's pick is taken, and kept when the dialog activates again
        // (after a colour dialog, say).
        roundTrip([](OptionsDialog *o) {
            o->forceCharacterFontSwitch->setChecked(true);
            QTest::keyClick(o->characterFontCombo, Qt::Key_Down);
            o->onActivate();
            QCOMPARE(o->characterFontCombo->currentText(), QStringLiteral("KaiTi"));
        });
        QCOMPARE(apptest::settings().charactersFont, QStringLiteral("KaiTi"));
        OptionsDialog::fontSource = installed;
    }

    void reopensCentredOnTheMainWindow()
    {
        f->move(120, 90);
        f->show();
        optionsDialog->show();
        const QPoint first = optionsDialog->pos();
        QVERIFY((optionsDialog->frameGeometry().center() - f->frameGeometry().center()).manhattanLength() <= 2);
        optionsDialog->hide();
        // Where a window manager that counts its frame twice would leave it.
        optionsDialog->move(first + QPoint(0, 24));
        optionsDialog->show();
        QCOMPARE(optionsDialog->pos(), first);
        optionsDialog->hide();
    }

    void autoSaveWithNothingOpenSaysNothingAtExit()
    {
        apptest::settings().autoSaveLessons = true;
        QVERIFY(apptest::store().openLessons.isEmpty());
        f->onClose();
        QVERIFY(dialogs().messages.empty());
    }

    void dictionaryReloadsOnlyWhenTheNameChanges()
    {
        const QString a = writeDictionary(QStringLiteral("a.uni"), QStringLiteral("# A\na [a1] /first/"));
        const QString b = writeDictionary(QStringLiteral("b.uni"), QStringLiteral("# B\nb [b1] /second/"));
        apptest::settings().dictionaryFile = a;
        apptest::state().dictionary.setText(QStringLiteral("sentinel"));
        roundTrip();
        QCOMPARE(apptest::state().dictionary.text(), QStringLiteral("sentinel"));

        roundTrip([&](OptionsDialog *o) { o->dictionaryEdit->setText(b); });
        QCOMPARE(apptest::settings().dictionaryFile, b);
        QVERIFY(apptest::state().dictionary.text().contains(QStringLiteral("/second/")));

        // A name that cannot be loaded is refused: the dictionary in use keeps
        // its name (the setting) and its text.
        const QString upper = b.left(b.size() - 5) + QStringLiteral("B.uni");
        roundTrip([&](OptionsDialog *o) { o->dictionaryEdit->setText(upper); });
        QCOMPARE(apptest::settings().dictionaryFile, b);
        QVERIFY(apptest::state().dictionary.text().contains(QStringLiteral("/second/")));
        QVERIFY(apptest::status().startsWith(QStringLiteral("Unable to load ")));
    }

    void pickersActWhileTheDialogIsOpen()
    {
        screenBackgroundWindow->show();
        dialogs().colorAnswers = {QColor(0, 0, 255), QColor(255, 255, 255), QColor(0, 128, 128)};
        roundTrip([this](OptionsDialog *o) {
            o->flashColorLabelClicked();
            QCOMPARE(f->flash().flashColor(), colors::clBlue);
            o->characterColorLabelClicked();
            QCOMPARE(apptest::settings().charactersColor, colors::clWhite);
            QVERIFY(o->characterColorSwitch->isChecked());
            o->screenBackgroundSwatchMousePressed();
            QCOMPARE(screenBackgroundWindow->palette().color(QPalette::Window), QColor(0, 128, 128));
        });
        QVERIFY(apptest::settings().useCharactersColor);
        QCOMPARE(apptest::settings().screenBackgroundColor, colors::clTeal);
    }

    void dialogControlsDriveFlashAndTheTimer()
    {
        // The options label opens the dialog on its automatic-mode page.
        dialogs().onModal = [](QDialog *) {
            QCOMPARE(optionsDialog->pages->currentIndex(), 6);
            optionsDialog->fixedIntervalOption->setChecked(true);
            optionsDialog->fixedIntervalPlusButton->click();
        };
        emit apptest::control<korvana::ClickLabel>("autoOptionsLabel")->clicked(); // the "[Options]" label beside Auto
        dialogs().onModal = nullptr;
        f->startAutoTimer();
        QCOMPARE(apptest::control<QTimer>("autoTimer")->interval(), 4000);
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
