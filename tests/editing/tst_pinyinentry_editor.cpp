// Tone vowels and keyboard layouts in the lesson editor: the lists beside the
// fields, the layout made active on entering a field, and the tone panel's
// insertion as Unicode or in the stored pinyin font.
#include "editing/PinyinEntry.h"
#include "platform/richtext/RichEdit.h"
#include "practice/ToneColours.h"
#include "support/FakeKeyboardLayouts.h"
#include "support/WindowTestFixture.h"

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

LayoutHandle handleOf(QComboBox *cb)
{
    return LayoutHandle(cb->currentData().toULongLong());
}

// The stored pinyin line as a test font: 24 letters, a..x, one per tone vowel.
const char *storedPinyin =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Stored Pinyin Face;}}\\f0\\fs24 abcdefghijklmnopqrstuvwx\\par}";
} // namespace

class TestPinyinEntryEditor : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    FakeKeyboardLayouts *m_layouts = nullptr;
    std::unique_ptr<windowtest::Fixture> f;
    std::unique_ptr<LessonEditorWindow> m_editor;
    LessonEditorWindow *ed() { return m_editor.get(); }

    void useUnicode(bool on) { f->optionsDialog().pinyinSystemCombo->setCurrentIndex(on ? 1 : 0); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        auto fake = std::make_unique<FakeKeyboardLayouts>();
        m_layouts = fake.get();
        // Two layouts named DEU: the first listed (11) is the one offered.
        m_layouts->setLayouts({{11, "DEU"}, {12, "ENU"}, {13, ""}, {14, "CHS"}, {15, "DEU"}, {16, "chs"}});
        m_layouts->setUserLayout(12); // the user types with ENU
        KeyboardLayouts::setInstance(std::move(fake));
        f = std::make_unique<windowtest::Fixture>();
        m_editor = windowtest::makeEditor(*f);
        f->settings.fontSizes[Pane::Pinyin] = 12;
        f->editorHost.loadPending = true;
        ed()->fileName.clear();
        ed()->onActivate();
    }
    void cleanupTestCase()
    {
        m_editor.reset();
        f.reset();
        KeyboardLayouts::setInstance(nullptr);
    }
    void init()
    {
        f->resetDialogs();
        for (const auto &pane : ed()->panes)
            pane.text->clear();
        f->referenceData.toneVowelsText.fromRtf(QByteArray(storedPinyin));
    }

    void listsFilledAtCreationWithCHSForTheCharacters()
    {
        // Sorted ignoring case, one per name, nameless ones dropped; "chs"
        // and "CHS" are one name, and the first listed ("CHS", 14) stays.
        // The Latin fields start on the user's own layout, not on the first.
        for (korvana::Pane p : {korvana::Pane::Translation, korvana::Pane::Pinyin, korvana::Pane::Notes}) {
            QComboBox *cb = ed()->panes[p].layouts;
            QCOMPARE(itemsOf(cb), (QStringList{"CHS", "DEU", "ENU"}));
            QCOMPARE(cb->currentText(), QStringLiteral("ENU"));
        }
        QCOMPARE(itemsOf(ed()->panes[korvana::Pane::Characters].layouts), (QStringList{"CHS", "DEU", "ENU"}));
        QCOMPARE(ed()->panes[korvana::Pane::Characters].layouts->currentText(), QStringLiteral("CHS"));
        QCOMPARE(handleOf(ed()->panes[korvana::Pane::Characters].layouts), LayoutHandle(14));
        ed()->panes[korvana::Pane::Translation].layouts->setCurrentIndex(1);
        QCOMPARE(handleOf(ed()->panes[korvana::Pane::Translation].layouts), LayoutHandle(11));

        // Only an upper-case "CHS" is looked for: otherwise the characters'
        // list starts at its first item like the others.
        m_layouts->setLayouts({{21, "ENU"}, {22, "chs"}, {23, "DEU"}});
        const auto other = windowtest::makeEditor(*f);
        QCOMPARE(itemsOf(other->panes[korvana::Pane::Characters].layouts), (QStringList{"chs", "DEU", "ENU"}));
        QCOMPARE(other->panes[korvana::Pane::Characters].layouts->currentIndex(), 0);
        m_layouts->setLayouts({{31, "CHT"}, {32, "ARA"}, {33, "CHS"}}); // simplified, wherever it sorts
        QCOMPARE(windowtest::makeEditor(*f)->panes[korvana::Pane::Characters].layouts->currentText(),
                 QStringLiteral("CHS"));
        // Opened with a layout whose name is listed under another handle
        // (the second ENU): its name's item; with none known, the first item.
        // The choice is made once: a later opening keeps the user's choice.
        for (const auto &[user, expected] : {std::pair<LayoutHandle, int>{23, 1}, {99, 0}, {0, 0}}) {
            m_layouts->setLayouts({{21, "DEU"}, {22, "ENU"}, {23, "ENU"}});
            m_layouts->setUserLayout(user);
            const auto opened = windowtest::makeEditor(*f);
            f->editorHost.loadPending = true;
            opened->onActivate();
            QCOMPARE(opened->panes[korvana::Pane::Notes].layouts->currentIndex(), expected);
            QCOMPARE(opened->panes[korvana::Pane::Characters].layouts->currentIndex(), 0);
            opened->panes[korvana::Pane::Notes].layouts->setCurrentIndex(1 - expected);
            f->editorHost.loadPending = true;
            opened->onActivate();
            QCOMPARE(opened->panes[korvana::Pane::Notes].layouts->currentIndex(), 1 - expected);
        }
        m_layouts->setLayouts({});
        const auto none = windowtest::makeEditor(*f);
        QCOMPARE(none->panes[korvana::Pane::Pinyin].layouts->count(), 0);
        none->fieldEntered(korvana::Pane::Pinyin); // nothing to activate, the field still counts
        QVERIFY(none->activeField == korvana::Pane::Pinyin);
        ed()->panes[korvana::Pane::Translation].layouts->setCurrentIndex(0);
    }

    void enteringAFieldActivatesItsLayout()
    {
        const int before = m_layouts->activations().size();
        ed()->panes[korvana::Pane::Translation].layouts->setCurrentIndex(2); // ENU
        ed()->panes[korvana::Pane::Notes].layouts->setCurrentIndex(1);       // DEU
        ed()->fieldEntered(korvana::Pane::Translation);
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(12));
        QVERIFY(ed()->activeField == korvana::Pane::Translation);
        ed()->fieldEntered(korvana::Pane::Characters);
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(14));
        QVERIFY(ed()->activeField == korvana::Pane::Characters);
        ed()->fieldEntered(korvana::Pane::Notes);
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(11));
        QVERIFY(ed()->activeField == korvana::Pane::Notes);
        QCOMPARE(m_layouts->activations().mid(before), (QList<LayoutHandle>{12, 14, 11}));

        // Choosing in a list sends the focus back to its field, whose layout
        // (the one just chosen) becomes active.
        ed()->panes[korvana::Pane::Pinyin].layouts->setCurrentIndex(1);
        ed()->layoutListClosed(korvana::Pane::Pinyin);
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(11));
        QVERIFY(ed()->activeField == korvana::Pane::Pinyin);
        QCOMPARE(ed()->focusWidget(), static_cast<QWidget *>(ed()->panes[korvana::Pane::Pinyin].view));
        // A real focus change into a field is an enter too.
        ed()->panes[korvana::Pane::Translation].layouts->setCurrentIndex(2);
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(ed()->panes[korvana::Pane::Translation].view, &in);
        QVERIFY(ed()->activeField == korvana::Pane::Translation);
        QCOMPARE(m_layouts->activeLayout(), LayoutHandle(12));
    }

    void noFieldYetInsertsNothing()
    {
        const auto fresh = windowtest::makeEditor(*f);
        QVERIFY(fresh->activeField == std::nullopt);
        for (bool unicode : {true, false}) {
            useUnicode(unicode);
            fresh->insertToneVowel(3);
            for (const auto &field : fresh->panes)
                QCOMPARE(field.text->text(), QString());
        }
    }

    void unicodeVowelsInTimesNewRomanThenTheFieldsFont()
    {
        useUnicode(true);
        RichEdit *pin = ed()->panes[korvana::Pane::Pinyin].text;
        ed()->fieldEntered(korvana::Pane::Pinyin);
        pin->setText(QStringLiteral("ni"));
        pin->setSel(2, 2);
        ed()->insertToneVowel(toneVowelIndex(0, 3)); // a, third tone
        ed()->insertToneVowel(toneVowelIndex(5, 3)); // u with diaeresis, third tone
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
        QTest::keyClick(ed()->panes[korvana::Pane::Pinyin].view, Qt::Key_N);
        QCOMPARE(pin->text(), QStringLiteral("ni") + QChar(0x01CE) + QChar(0x01DA) + QLatin1Char('n'));
        QCOMPARE(charAt(pin, 4).fontName, ed()->panes[korvana::Pane::Pinyin].view->font().family());
        QVERIFY(ed()->panes[korvana::Pane::Pinyin].view->font().family() != QStringLiteral("Times New Roman"));
    }

    void aVowelReplacesTheSelection()
    {
        useUnicode(true);
        ed()->fieldEntered(korvana::Pane::Notes);
        RichEdit *note = ed()->panes[korvana::Pane::Notes].text;
        note->setText(QStringLiteral("hxxo"));
        note->setSel(1, 3);
        ed()->insertToneVowel(toneVowelIndex(1, 4));
        QCOMPARE(note->text(), QStringLiteral("h") + QChar(0x00E8) + QStringLiteral("o"));
        QCOMPARE(note->selStart(), 2);
        // The other fields are untouched.
        QCOMPARE(ed()->panes[korvana::Pane::Pinyin].text->text(), QString());
    }

    void legacyFontVowelsComeFromTheStoredText()
    {
        useUnicode(false);
        ed()->fieldEntered(korvana::Pane::Characters);
        RichEdit *chin = ed()->panes[korvana::Pane::Characters].text;
        chin->setText(QStringLiteral("xy"));
        chin->setSel(1, 1);
        ed()->insertToneVowel(toneVowelIndex(1, 1)); // index 5: the fifth stored character
        ed()->insertToneVowel(24);
        QCOMPARE(chin->text(), QStringLiteral("xexy"));
        QCOMPARE(charAt(chin, 1).fontName, QStringLiteral("Stored Pinyin Face"));
        QCOMPARE(charAt(chin, 2).fontName, QStringLiteral("Stored Pinyin Face"));

        // A stored text too short for the index (or missing) gives nothing,
        // never the whole stored text.
        f->referenceData.toneVowelsText.setText(QStringLiteral("abc"));
        chin->clear();
        ed()->insertToneVowel(10);
        QCOMPARE(chin->text(), QString());
        f->referenceData.toneVowelsText.clear();
        ed()->insertToneVowel(1);
        QCOMPARE(chin->text(), QString());
    }

    void panelImagesInsertWithoutTakingTheFocus()
    {
        useUnicode(true);
        QCOMPARE(ed()->toneImages.size(), 24);
        korvana::ToneImage *image = ed()->findChild<korvana::ToneImage *>(QStringLiteral("toneImage6"));
        QVERIFY(image);
        QCOMPARE(image->index(), 2); // a, second tone
        QCOMPARE(image->focusPolicy(), Qt::NoFocus);
        QCOMPARE(ed()->toneImages.at(1), image);

        ed()->fieldEntered(korvana::Pane::Translation);
        QTest::mousePress(image, Qt::LeftButton);
        QVERIFY(image->concealed());
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(),
                 QString()); // the click inserts, the press does not
        QTest::mouseRelease(image, Qt::LeftButton);
        QVERIFY(!image->concealed());
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QString(QChar(0x00E1)));

        // Released outside the image: no click, nothing inserted.
        for (korvana::ToneImage *pressed : {image, ed()->toneImages.last()}) {
            QTest::mousePress(pressed, Qt::LeftButton);
            QVERIFY(pressed->concealed());
            QTest::mouseRelease(pressed, Qt::LeftButton, {}, QPoint(-5, -5));
            QVERIFY(!pressed->concealed());
        }
        QCOMPARE(ed()->panes[korvana::Pane::Translation].text->text(), QString(QChar(0x00E1)));
    }

    void everyTermsCharactersAreWrittenInOneFont()
    {
        // A new lesson typed term by term, the characters committed by an
        // input method (no key event reaches the field): the first term's
        // characters are written in the same font as the others.
        f->editorHost.loadPending = true;
        ed()->fileName.clear();
        ed()->onActivate();
        for (const QString &word : {u"你好"_qs, u"一"_qs}) {
            ed()->panes[korvana::Pane::Translation].text->setText(QStringLiteral("x"));
            ed()->panes[korvana::Pane::Characters].view->setFocus();
            QInputMethodEvent commit;
            commit.setCommitString(word);
            QCoreApplication::sendEvent(ed()->panes[korvana::Pane::Characters].view, &commit);
            ed()->newButtonClicked();
        }
        const QString file = m_home.filePath(QStringLiteral("typed.kvl"));
        f->dialogs().saveAnswers.push_back(file);
        QVERIFY(ed()->saveLesson());
        RichEdit saved;
        saved.loadFromFile(file);
        QStringList fonts;
        const QString text = saved.text();
        for (qsizetype at = text.indexOf(QStringLiteral("<CH=")); at >= 0;
             at = text.indexOf(QStringLiteral("<CH="), at + 1))
            fonts << charAt(&saved, int(at) + 4).fontName;
        QCOMPARE(fonts, QStringList(2, ed()->panes[korvana::Pane::Characters].view->font().family()));
    }

    void theStoredPinyinOfTheDatabaseServesEveryIndex()
    {
        // The program's own stored text, as loaded at start-up.
        f->referenceData.load();
        if (f->referenceData.toneVowelsText.textLength() == 0)
            QSKIP("the character database is not built into this program");
        // The default setting ("Korvana font") gives the same letters as
        // "Unicode": ǎ for the third-tone a, never the breve ă.
        useUnicode(false);
        QCOMPARE(f->optionsDialog().pinyinSystemCombo->currentText(), QStringLiteral("Korvana font"));
        ed()->fieldEntered(korvana::Pane::Pinyin);
        for (int i = 1; i <= 24; ++i) {
            ed()->panes[korvana::Pane::Pinyin].text->clear();
            ed()->insertToneVowel(i);
            QCOMPARE(ed()->panes[korvana::Pane::Pinyin].text->text(), QString(toneVowel(i)));
        }
    }
};

QTEST_MAIN(TestPinyinEntryEditor)
#include "tst_pinyinentry_editor.moc"
