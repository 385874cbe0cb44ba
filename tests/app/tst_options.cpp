// The options round trip: the dialog is filled from the main window's
// settings, answered by the test while "modal", and its values are taken
// back and applied.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/richtext/RichEdit.h"
#include "platform/speech/FakeSpeechVoice.h"
#include "platform/ui/Dialogs.h"
#include "practice/TFormBackground.h"
#include "settings/Colors.h"
#include "settings/TFormOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace korvana;

class TestOptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    ScopedScriptedDialogs *m_dialogs = nullptr;
    TForm1 *f = nullptr;
    FakeSpeechVoice *m_voice = nullptr;
    ScriptedDialogs &dialogs() { return m_dialogs->dialogs; }

    void load(const QStringList &lines) { apptest::loadLines(f, lines); }
    QString writeDictionary(const QString &name, const QString &line)
    {
        const QString path = m_home.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(line.toUtf8());
        return path;
    }
    // Opens the options through the menu command; Answer runs while the
    // dialog is up, as the user would.
    void roundTrip(const std::function<void(TFormOptions *)> &Answer = {})
    {
        dialogs().onModal = [Answer](QDialog *d) {
            QCOMPARE(d, static_cast<QDialog *>(FormOptions));
            FormOptions->FormActivate();
            if (Answer)
                Answer(FormOptions);
        };
        f->Preferences1Click();
        dialogs().onModal = nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        TForm1::voiceFactory = [this] {
            auto v = std::make_unique<FakeSpeechVoice>();
            v->setVoices({FakeSpeechVoice::makeVoice("en", "English", "409"),
                          FakeSpeechVoice::makeVoice("zh", "Chinese", "804")});
            m_voice = v.get();
            return std::unique_ptr<SpeechVoice>(std::move(v));
        };
        TFormOptions::fontSource = [] {
            return std::vector<TFormOptions::FontFace>{{QStringLiteral("SimSun"), {QStringLiteral("CHINESE_GB2312")}},
                                                       {QStringLiteral("KaiTi"), {QStringLiteral("CHINESE_GB2312")}}};
        };
        TFormOptions::fontFileSource = [] { return std::vector<std::pair<QString, QString>>{}; };
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        apptest::createFreshForms();
        f = Form1;
        f->FormActivate(); // voices listed, the Chinese one chosen
        load({QStringLiteral("<OR=good><PI=hao3><CH=好><NO=n><TY=p><ST=u>")});
        QVERIFY(f->ShowTerm2(1));
        f->FShownIndex = 1;
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void fillsTheDialogFromTheFields()
    {
        f->FFontsizeTranslation = 13; // no such item
        f->FFontsizeKanji = 24;
        f->FShowReadingProgress = true;
        f->FSetKanjiFont = true;
        f->FBoldKanji = true;
        f->FEditInWord = false;
        f->FExternalEditor = QStringLiteral("/usr/bin/kate");
        f->FScreenBackgroundColor = 0x00404000;
        f->FWorkingDirectory = QStringLiteral("/work/");
        f->FKanjiFont = QStringLiteral("KaiTi");
        m_voice->setRate(-4);
        f->reChinView->setLayoutDirection(Qt::RightToLeft);
        FormOptions->cbFilterFonts->setCurrentIndex(2);

        bool seen = false;
        roundTrip([&](TFormOptions *o) {
            seen = true;
            QCOMPARE(o->cbTrans->currentText(), QStringLiteral("13"));
            QCOMPARE(o->cbTrans->currentIndex(), -1);
            QCOMPARE(o->cbChin->currentIndex(), o->cbChin->findText(QStringLiteral("24")));
            QCOMPARE(o->cbFilterFonts->currentIndex(), 0);
            QCOMPARE(o->cbKanjiFont->currentText(), QStringLiteral("KaiTi"));
            QVERIFY(o->chbProgress->isChecked() && o->chbBold->isChecked());
            QVERIFY(o->cbKanjiFont->isEnabled()); // "Force hanzi font" is on
            QVERIFY(o->rbOther->isChecked());
            QCOMPARE(o->eExtEditor->text(), QStringLiteral("/usr/bin/kate"));
            QCOMPARE(o->tbSpeed->value(), -4);
            QCOMPARE(o->ShScreenBgColor->brushColor(), 0x00404000u);
            QCOMPARE(o->edWorkDir->text(), QStringLiteral("/work/"));
            QVERIFY(o->chbChinRL->isChecked() && !o->chbPinRL->isChecked());
            QCOMPARE(o->reSample->text(), QStringLiteral("好"));
        });
        QVERIFY(seen);
        QCOMPARE(dialogs().modalsShown.back(), QStringLiteral("FormOptions"));
        // Nothing changed: the same values come back.
        QCOMPARE(f->FFontsizeTranslation, 13);
        QCOMPARE(f->FKanjiFont, QStringLiteral("KaiTi"));
        QCOMPARE(f->FExternalEditor, QStringLiteral("/usr/bin/kate"));
        QVERIFY(!f->FEditInWord);
        QCOMPARE(m_voice->rate(), -4);
        QCOMPARE(f->reChinView->layoutDirection(), Qt::RightToLeft);
    }

    void takesBackAndAppliesTheValues()
    {
        f->FSetKanjiBackgroundColor = true;
        f->FKanjiBackgroundColor = colors::clYellow;
        f->reChinView->setLayoutDirection(Qt::RightToLeft);
        f->reChin->setAlignment(TextAlignment::Right);
        FormBackground->show();
        roundTrip([](TFormOptions *o) {
            o->cbVoices->setCurrentIndex(0);
            o->cbPin->setEditText(QStringLiteral("$10"));
            o->cbNotes->setCurrentIndex(o->cbNotes->findText(QStringLiteral("28")));
            o->tbSpeed->setValue(7);
            o->chbColorCoding->setChecked(true);
            o->chbSetKanjiFont->setChecked(true);
            o->chbRotate->setChecked(true);
            QTest::keyClick(o->cbKanjiFont, Qt::Key_Down); // the user picks the second font
            o->chbBgColor->setChecked(false);
            o->chbChinRL->setChecked(false);
            o->chbNotesRL->setChecked(true);
            o->chbHover->setChecked(true);
            o->chbAutoSave->setChecked(true);
            o->rbWord->setChecked(true);
            o->edWorkDir->setText(QStringLiteral("/lessons/"));
            o->ShScreenBgColor->setBrushColor(colors::clTeal);
        });
        QCOMPARE(m_voice->voice().id, QStringLiteral("en"));
        QCOMPARE(m_voice->rate(), 7);
        QCOMPARE(f->FFontsizePinyin, 16);
        QCOMPARE(f->FFontsizeNotes, 28);
        QVERIFY(f->FShowToneColours && f->FSetKanjiFont && f->FRotateKanji && f->FShowHiddenOnHover);
        QVERIFY(f->FAutoSaveLessons && f->FEditInWord);
        QCOMPARE(f->FKanjiFont, QStringLiteral("KaiTi"));
        QCOMPARE(f->FWorkingDirectory, QStringLiteral("/lessons/"));
        QCOMPARE(f->FScreenBackgroundColor, colors::clTeal);
        QCOMPARE(FormBackground->palette().color(QPalette::Window), toQColor(colors::clTeal));
        // The background goes back to cream whatever colour is kept.
        QVERIFY(!f->FSetKanjiBackgroundColor);
        QCOMPARE(f->FKanjiBackgroundColor, colors::clYellow);
        QVERIFY(f->reChinView->styleSheet().contains(toQColor(colors::clCream).name()));
        QCOMPARE(f->reChinView->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(f->reChin->alignment(), TextAlignment::Left);
        QCOMPARE(f->reNotesView->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(f->reNotes->alignment(), TextAlignment::Right);
        // The term is shown again, and counted again.
        QCOMPARE(f->StringGrid1.cell(TermGrid::ShownCount, 0), QStringLiteral("2"));
    }

    void typoKeepsTheDialogOpenAndLosesNothing()
    {
        f->FFontsizePinyin = 11;
        f->FBoldKanji = false;
        f->FAutoSaveLessons = false;
        int visits = 0;
        roundTrip([&visits](TFormOptions *o) {
            if (++visits == 1) {
                o->selectPage(0);
                o->cbPin->setEditText(QStringLiteral("12a"));
                o->chbBold->setChecked(true);
                o->chbAutoSave->setChecked(true);
                o->edWorkDir->setText(QStringLiteral("/lessons/"));
                return;
            }
            // Back on the Fonts page with the typo selected, every change kept.
            QCOMPARE(o->Notebook1->currentIndex(), 2);
            QCOMPARE(o->cbPin->lineEdit()->selectedText(), QStringLiteral("12a"));
            QVERIFY(o->chbBold->isChecked() && o->chbAutoSave->isChecked());
            o->cbPin->setEditText(QStringLiteral("12"));
        });
        QCOMPARE(visits, 2);
        QCOMPARE(dialogs().messages.size(), size_t(1));
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("'12a' is not a valid integer value"));
        QCOMPARE(f->FFontsizePinyin, 12);
        QVERIFY(f->FBoldKanji && f->FAutoSaveLessons);
        QCOMPARE(f->FWorkingDirectory, QStringLiteral("/lessons/"));
        QCOMPARE(f->StringGrid1.cell(TermGrid::ShownCount, 0), QStringLiteral("2"));

        // Sizes are taken within 4..400.
        roundTrip([](TFormOptions *o) {
            o->cbTrans->setEditText(QStringLiteral("0"));
            o->cbChin->setEditText(QStringLiteral("5000"));
            o->cbPin->setEditText(QStringLiteral("-5"));
            o->cbNotes->setEditText(QStringLiteral("2147483647"));
        });
        QCOMPARE(f->FFontsizeTranslation, 4);
        QCOMPARE(f->FFontsizeKanji, 400);
        QCOMPARE(f->FFontsizePinyin, 4);
        QCOMPARE(f->FFontsizeNotes, 400);
    }

    void storedFontStaysUnlessTheUserPicksAnother()
    {
        // The stored font is not installed: the list selects its first one.
        const TFormOptions::FontSource installed = TFormOptions::fontSource;
        TFormOptions::fontSource = [] {
            return std::vector<TFormOptions::FontFace>{
                {QStringLiteral("Droid Sans Fallback"), {QStringLiteral("CHINESE_GB2312")}},
                {QStringLiteral("KaiTi"), {QStringLiteral("CHINESE_GB2312")}}};
        };
        f->FKanjiFont = QStringLiteral("SimSun");
        roundTrip([](TFormOptions *o) {
            QCOMPARE(o->cbKanjiFont->currentText(), QStringLiteral("Droid Sans Fallback"));
        });
        QCOMPARE(f->FKanjiFont, QStringLiteral("SimSun"));

        // The user's pick is taken, and kept when the dialog activates again
        // (after a colour dialog, say).
        roundTrip([](TFormOptions *o) {
            o->chbSetKanjiFont->setChecked(true);
            QTest::keyClick(o->cbKanjiFont, Qt::Key_Down);
            o->FormActivate();
            QCOMPARE(o->cbKanjiFont->currentText(), QStringLiteral("KaiTi"));
        });
        QCOMPARE(f->FKanjiFont, QStringLiteral("KaiTi"));
        TFormOptions::fontSource = installed;
    }

    void reopensCentredOnTheMainWindow()
    {
        f->move(120, 90);
        f->show();
        FormOptions->show();
        const QPoint first = FormOptions->pos();
        QVERIFY((FormOptions->frameGeometry().center() - f->frameGeometry().center()).manhattanLength() <= 2);
        FormOptions->hide();
        // Where a window manager that counts its frame twice would leave it.
        FormOptions->move(first + QPoint(0, 24));
        FormOptions->show();
        QCOMPARE(FormOptions->pos(), first);
        FormOptions->hide();
    }

    void autoSaveWithNothingOpenSaysNothingAtExit()
    {
        f->FAutoSaveLessons = true;
        QVERIFY(f->FOpenLessons.isEmpty());
        f->FormClose();
        QVERIFY(dialogs().messages.empty());
    }

    void dictionaryReloadsOnlyWhenTheNameChanges()
    {
        const QString a = writeDictionary(QStringLiteral("a.uni"), QStringLiteral("# A\na [a1] /first/"));
        const QString b = writeDictionary(QStringLiteral("b.uni"), QStringLiteral("# B\nb [b1] /second/"));
        f->FDictFile = a;
        f->FDictText = QStringLiteral("sentinel");
        roundTrip();
        QCOMPARE(f->FDictText, QStringLiteral("sentinel"));

        roundTrip([&](TFormOptions *o) { o->edDictionary->setText(b); });
        QCOMPARE(f->FDictFile, b);
        QVERIFY(f->FDictText.contains(QStringLiteral("/second/")));

        // A name that cannot be loaded is refused: the dictionary in use keeps
        // its name (the setting) and its text.
        const QString upper = b.left(b.size() - 5) + QStringLiteral("B.uni");
        roundTrip([&](TFormOptions *o) { o->edDictionary->setText(upper); });
        QCOMPARE(f->FDictFile, b);
        QVERIFY(f->FDictText.contains(QStringLiteral("/second/")));
        QVERIFY(f->lStatus->text().startsWith(QStringLiteral("Unable to load ")));
    }

    void pickersActWhileTheDialogIsOpen()
    {
        FormBackground->show();
        dialogs().colorAnswers = {QColor(0, 0, 255), QColor(255, 255, 255), QColor(0, 128, 128)};
        roundTrip([this](TFormOptions *o) {
            o->lblFlashColorClick();
            QCOMPARE(f->FFlashColor, colors::clBlue);
            o->lblColorClick();
            QCOMPARE(f->FKanjiColor, colors::clWhite);
            QVERIFY(o->chbColor->isChecked());
            o->ShScreenBgColorMouseDown();
            QCOMPARE(FormBackground->palette().color(QPalette::Window), QColor(0, 128, 128));
        });
        QVERIFY(f->FSetKanjiColor);
        QCOMPARE(f->FScreenBackgroundColor, colors::clTeal);
    }

    void dialogControlsDriveFlashAndTheTimer()
    {
        // The options label opens the dialog on its automatic-mode page.
        dialogs().onModal = [](QDialog *) {
            QCOMPARE(FormOptions->Notebook1->currentIndex(), 6);
            FormOptions->rbFixedTime->setChecked(true);
            FormOptions->sbFixedIntervalPlus->click();
        };
        emit f->lSetAuto->clicked(); // the "[Options]" label beside Auto
        dialogs().onModal = nullptr;
        f->SetTimer();
        QCOMPARE(f->Timer1->interval(), 4000);
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
