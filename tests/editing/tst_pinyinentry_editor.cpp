// Tone vowels and keyboard layouts in the lesson editor: the lists beside the
// fields, the layout made active on entering a field, and the tone panel's
// insertion as Unicode or in the stored pinyin font.
#include "app/AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "editing/PinyinEntry.h"
#include "editing/TFormEditor.h"
#include "platform/keyboard/FakeKeyboardLayouts.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "practice/ToneColours.h"
#include "settings/TFormOptions.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

using namespace korvana;

namespace {
CharAttributes charAt(RichEdit *e, int from)
{
    e->setSelStart(from);
    e->setSelLength(1);
    return e->selAttributes();
}

QStringList itemsOf(QComboBox *cb)
{
    QStringList t;
    for (int i = 0; i < cb->count(); ++i)
        t << cb->itemText(i);
    return t;
}

LayoutHandle handleOf(QComboBox *cb) { return LayoutHandle(cb->currentData().toULongLong()); }

// The stored pinyin line as a test font: 24 letters, a..x, one per tone vowel.
const char *storedPinyin = "{\\rtf1\\ansi{\\fonttbl{\\f0 Stored Pinyin Face;}}\\f0\\fs24 abcdefghijklmnopqrstuvwx\\par}";
} // namespace

class TestPinyinEntryEditor : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    FakeKeyboardLayouts *m_layouts = nullptr;
    std::unique_ptr<ScopedScriptedDialogs> m_scripted;
    TFormEditor *ed() { return FormEditor; }

    void useUnicode(bool on) { FormOptions->cbPinyinSystem->setCurrentIndex(on ? 1 : 0); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        apptest::useHomeFolders(m_home);
        auto fake = std::make_unique<FakeKeyboardLayouts>();
        m_layouts = fake.get();
        // Two layouts named DEU: the first listed (11) is the one offered.
        m_layouts->setLayouts({{11, "DEU"}, {12, "ENU"}, {13, ""}, {14, "CHS"}, {15, "DEU"}, {16, "chs"}});
        KeyboardLayouts::setInstance(std::move(fake));
        CreateForms();
        Form1->FFontsizePinyin = 12;
        Form1->FEditorLoadPending = true;
        ed()->FFileName.clear();
        ed()->FormActivate();
    }
    void cleanupTestCase()
    {
        DestroyForms();
        KeyboardLayouts::setInstance(nullptr);
    }
    void init()
    {
        m_scripted = std::make_unique<ScopedScriptedDialogs>();
        for (RichEdit *f : {ed()->reEdOrig, ed()->reEdPin, ed()->reEdChin, ed()->reEdNote})
            f->clear();
        Form1->rePinyin.fromRtf(QByteArray(storedPinyin));
    }
    void cleanup() { m_scripted.reset(); }

    void listsFilledAtCreationWithCHSForTheCharacters()
    {
        // Sorted ignoring case, one per name, nameless ones dropped; "chs"
        // and "CHS" are one name, and the first listed ("CHS", 14) stays.
        for (QComboBox *cb : {ed()->cbOrig, ed()->cbPin, ed()->cbNote}) {
            QCOMPARE(itemsOf(cb), (QStringList{"CHS", "DEU", "ENU"}));
            QCOMPARE(cb->currentIndex(), 0);
        }
        QCOMPARE(itemsOf(ed()->cbChin), (QStringList{"CHS", "DEU", "ENU"}));
        QCOMPARE(ed()->cbChin->currentText(), QStringLiteral("CHS"));
        QCOMPARE(handleOf(ed()->cbChin), LayoutHandle(14));
        ed()->cbOrig->setCurrentIndex(1);
        QCOMPARE(handleOf(ed()->cbOrig), LayoutHandle(11));

        // Only an upper-case "CHS" is looked for: otherwise the characters'
        // list starts at its first item like the others.
        m_layouts->setLayouts({{21, "ENU"}, {22, "chs"}, {23, "DEU"}});
        TFormEditor other;
        QCOMPARE(itemsOf(other.cbChin), (QStringList{"chs", "DEU", "ENU"}));
        QCOMPARE(other.cbChin->currentIndex(), 0);
        m_layouts->setLayouts({});
        TFormEditor none;
        QCOMPARE(none.cbPin->count(), 0);
        none.reEdPinEnter(); // nothing to activate, the field still counts
        QCOMPARE(none.FActiveField, 2);
        ed()->cbOrig->setCurrentIndex(0);
    }

    void enteringAFieldActivatesItsLayout()
    {
        const int before = m_layouts->activations().size();
        ed()->cbOrig->setCurrentIndex(2);  // ENU
        ed()->cbNote->setCurrentIndex(1);  // DEU
        ed()->reEdOrigEnter();
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(12));
        QCOMPARE(ed()->FActiveField, 1);
        ed()->reEdChinEnter();
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(14));
        QCOMPARE(ed()->FActiveField, 3);
        ed()->reEdNoteEnter();
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(11));
        QCOMPARE(ed()->FActiveField, 4);
        QCOMPARE(m_layouts->activations().mid(before), (QList<LayoutHandle>{12, 14, 11}));

        // Choosing in a list sends the focus back to its field, whose layout
        // (the one just chosen) becomes active.
        ed()->cbPin->setCurrentIndex(1);
        ed()->cbPinCloseUp();
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(11));
        QCOMPARE(ed()->FActiveField, 2);
        QCOMPARE(ed()->focusWidget(), static_cast<QWidget *>(ed()->reEdPinView));
        // A real focus change into a field is an enter too.
        ed()->cbOrig->setCurrentIndex(2);
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(ed()->reEdOrigView, &in);
        QCOMPARE(ed()->FActiveField, 1);
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(12));
    }

    void noFieldYetInsertsNothing()
    {
        TFormEditor fresh;
        QCOMPARE(fresh.FActiveField, 0);
        for (bool unicode : {true, false}) {
            useUnicode(unicode);
            fresh.InsertPin2(3);
            for (RichEdit *f : {fresh.reEdOrig, fresh.reEdPin, fresh.reEdChin, fresh.reEdNote})
                QCOMPARE(f->text(), QString());
        }
    }

    void unicodeVowelsInTimesNewRomanThenTheFieldsFont()
    {
        useUnicode(true);
        RichEdit *pin = ed()->reEdPin;
        ed()->reEdPinEnter();
        pin->setText(QStringLiteral("ni"));
        pin->setSel(2, 2);
        ed()->InsertPin2(toneVowelIndex(0, 3));                 // a, third tone
        ed()->InsertPin2(toneVowelIndex(5, 3));                 // u with diaeresis, third tone
        QCOMPARE(pin->text(), QStringLiteral("ni") + QChar(0x01CE) + QChar(0x01DA));
        QCOMPARE(pin->selStart(), 4);
        QCOMPARE(pin->selLength(), 0);
        // The practice pane colours the panel's third-tone a as tone 3, not grey.
        QCOMPARE(korvana::toneColour(korvana::pinyinTone(pin->text().at(2))), korvana::toneColour(3));
        QVERIFY(korvana::toneColour(3) != korvana::kNeutralToneColour);
        const CharAttributes a = charAt(pin, 2);
        QCOMPARE(a.fontName, QStringLiteral("Times New Roman"));
        QCOMPARE(a.charset, 238);
        QCOMPARE(charAt(pin, 3).fontName, QStringLiteral("Times New Roman"));

        // The next typed character goes in the field's own font.
        pin->setSel(4, 4);
        QTest::keyClick(ed()->reEdPinView, Qt::Key_N);
        QCOMPARE(pin->text(), QStringLiteral("ni") + QChar(0x01CE) + QChar(0x01DA) + QLatin1Char('n'));
        QCOMPARE(charAt(pin, 4).fontName, ed()->reEdPinView->font().family());
        QVERIFY(ed()->reEdPinView->font().family() != QStringLiteral("Times New Roman"));
    }

    void aVowelReplacesTheSelection()
    {
        useUnicode(true);
        ed()->reEdNoteEnter();
        RichEdit *note = ed()->reEdNote;
        note->setText(QStringLiteral("hxxo"));
        note->setSel(1, 3);
        ed()->InsertPin2(toneVowelIndex(1, 4));
        QCOMPARE(note->text(), QStringLiteral("h") + QChar(0x00E8) + QStringLiteral("o"));
        QCOMPARE(note->selStart(), 2);
        // The other fields are untouched.
        QCOMPARE(ed()->reEdPin->text(), QString());
    }

    void legacyFontVowelsComeFromTheStoredText()
    {
        useUnicode(false);
        ed()->reEdChinEnter();
        RichEdit *chin = ed()->reEdChin;
        chin->setText(QStringLiteral("xy"));
        chin->setSel(1, 1);
        ed()->InsertPin2(toneVowelIndex(1, 1)); // index 5: the fifth stored character
        ed()->InsertPin2(24);
        QCOMPARE(chin->text(), QStringLiteral("xexy"));
        QCOMPARE(charAt(chin, 1).fontName, QStringLiteral("Stored Pinyin Face"));
        QCOMPARE(charAt(chin, 2).fontName, QStringLiteral("Stored Pinyin Face"));

        // A stored text too short for the index (or missing) gives nothing,
        // never the whole stored text.
        Form1->rePinyin.setText(QStringLiteral("abc"));
        chin->clear();
        ed()->InsertPin2(10);
        QCOMPARE(chin->text(), QString());
        Form1->rePinyin.clear();
        ed()->InsertPin2(1);
        QCOMPARE(chin->text(), QString());
    }

    void panelImagesInsertWithoutTakingTheFocus()
    {
        useUnicode(true);
        QCOMPARE(ed()->toneImages.size(), 24);
        korvana::ToneImage *image = ed()->findChild<korvana::ToneImage *>(QStringLiteral("Image6"));
        QVERIFY(image);
        QCOMPARE(image->index(), 2); // a, second tone
        QCOMPARE(image->focusPolicy(), Qt::NoFocus);
        QCOMPARE(ed()->toneImages.at(1), image);

        ed()->reEdOrigEnter();
        QTest::mousePress(image, Qt::LeftButton);
        QVERIFY(image->concealed());
        QCOMPARE(ed()->reEdOrig->text(), QString()); // the click inserts, the press does not
        QTest::mouseRelease(image, Qt::LeftButton);
        QVERIFY(!image->concealed());
        QCOMPARE(ed()->reEdOrig->text(), QString(QChar(0x00E1)));

        // Released outside the image: no click, nothing inserted.
        QTest::mousePress(image, Qt::LeftButton);
        QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(-5, -5));
        QVERIFY(!image->concealed());
        QCOMPARE(ed()->reEdOrig->text(), QString(QChar(0x00E1)));
    }

    void theStoredPinyinOfTheDatabaseServesEveryIndex()
    {
        // The program's own stored text, as loaded at start-up.
        Form1->ReadDatabases();
        if (Form1->rePinyin.textLength() == 0)
            QSKIP("the character database is not built into this program");
        useUnicode(false);
        ed()->reEdPinEnter();
        for (int i = 1; i <= 24; ++i) {
            ed()->reEdPin->clear();
            ed()->InsertPin2(i);
            QCOMPARE(ed()->reEdPin->text().size(), 1);
        }
    }
};

QTEST_MAIN(TestPinyinEntryEditor)
#include "tst_pinyinentry_editor.moc"
