// The character information on hover: the popup over the characters pane,
// its switches, the repeat check, the end of a line, characters without a
// record, the reader's boxes, the mouse wiring and the popup's placement.
#include "AppTestSupport.h"
#include "app/ProgramBlock.h"
#include "app/TForm1.h"
#include "platform/richtext/RichEdit.h"
#include "platform/ui/Dialogs.h"
#include "practice/ToneMarkConverter.h"
#include "reference/TFormHanzi.h"
#include "settings/ProgramPaths.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace korvana;

namespace {

const QString Unihan = QStringLiteral(
    "@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle\r\n"
    "@4EBA;;;9.0;REN2;2;man; people\r\n"
    "@5B78;5B66;;39.13;XUE2;16;learning, knowledge\r\n"
    "@56FD;;570B;31.5;GUO2;8;nation, country\r\n"
    "@9F9D;;;214.1;YUE4;17;flute\r\n");
const QString UnihanBadVariant = QStringLiteral("@56FD;;5Z0B;31.5;GUO2;8;nation\r\n");

const QString Radicals = QStringLiteral("@2;20008;gun\r\n@9;20154;ren\r\n@31;22231;wei\r\n@39;23376;zi\r\n@214;40864;yue");

const QString Dict = QStringLiteral(
    "# header\r\n"
    "中 [zhong1] /middle/\r\n"
    "中国 [Zhong1 guo2] /China/\r\n"
    "中国人 [Zhong1 guo2 ren2] /Chinese person/\r\n"
    "国 [guo2] /country/\r\n"
    "国人 [guo2 ren2] /compatriots/\r\n"
    "人 [ren2] /person/");

QString tones(const QString &s) { return pinyinNumbersIntoToneMarks(s); }

QStringList memoLines(QWidget *memo)
{
    QString text;
    if (auto *p = qobject_cast<QPlainTextEdit *>(memo))
        text = p->toPlainText();
    else if (auto *t = qobject_cast<QTextEdit *>(memo))
        text = t->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// The point that puts the caret just after document position pos (the
// character before it is the one looked up), less the characters pane's
// shift to the right.
QPoint pointAfter(QTextEdit *view, int pos, int shift = 0)
{
    QTextCursor c(view->document());
    c.setPosition(pos);
    const QRect r = view->cursorRect(c);
    return QPoint(r.x() - shift, r.center().y());
}

// A point on the character at pos, at a fraction of its width from its left.
QPoint pointOn(QTextEdit *view, int pos, double fraction)
{
    QTextCursor before(view->document()), after(view->document());
    before.setPosition(pos);
    after.setPosition(pos + 1);
    const QRect l = view->cursorRect(before), r = view->cursorRect(after);
    return QPoint(l.x() + int((r.x() - l.x()) * fraction), l.center().y());
}

} // namespace

class TestForm1Hover : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_program;
    ScopedScriptedDialogs *m_dialogs = nullptr;

    int shift() const { return Form1->FFontsizeKanji - Form1->FFontsizeKanji / 3; }

    // Hovers just after position pos of the characters pane.
    void hoverAfter(int pos)
    {
        Form1->reChinMouseMove(Form1->reChinView, pointAfter(Form1->reChinView, pos, shift()));
    }

    void setCharacters(const QString &text)
    {
        Form1->reChin->setText(text);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid() && m_program.isValid());
        apptest::useHomeFolders(m_home);
        apptest::useFakeVoice();
        ProgramPaths::setProgramFolder(m_program.path());
    }

    void init()
    {
        m_dialogs = new ScopedScriptedDialogs;
        CreateForms();
        Form1->FShowHanziInfo = true;
        Form1->FHanziInfoAvailable = true;
        Form1->FUnihanText = Unihan;
        Form1->FRadicalsText = Radicals;
        Form1->FDictText = Dict;
        Form1->resize(700, 500);
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void cleanup()
    {
        DestroyForms();
        delete m_dialogs;
        m_dialogs = nullptr;
    }

    void cleanupTestCase() { ProgramPaths::setProgramFolder(QString()); }

    void popupShowsTheCharacterAndItsWords()
    {
        setCharacters(QStringLiteral("中国人"));
        hoverAfter(2); // 国
        QVERIFY(FormHanzi->isVisible());
        QCOMPARE(Form1->FLastHoverChar, 0x56FD);
        QCOMPARE(FormHanzi->lHanzi->text(), QStringLiteral("国"));
        QCOMPARE(FormHanzi->lKodHex->text(), QStringLiteral("56FD"));
        QCOMPARE(FormHanzi->lKodDec->text(), QStringLiteral("22269"));
        QCOMPARE(FormHanzi->luStrok->text(), QStringLiteral("8"));
        QCOMPARE(FormHanzi->luMand->text(), tones(QStringLiteral("guo2")));
        QCOMPARE(FormHanzi->luTrad->text(), QStringLiteral("國"));
        QCOMPARE(FormHanzi->luSimp->text(), QString());
        QCOMPARE(FormHanzi->lrRadCh->text(), QStringLiteral("囗"));
        QCOMPARE(FormHanzi->luRad->text(), QStringLiteral("wei (nr. 31) + 5 strokes"));
        QCOMPARE(FormHanzi->luDef->text(), QStringLiteral("nation, country"));
        // Longest words first, pinyin tone-marked.
        QCOMPARE(memoLines(FormHanzi->TntMemo1),
                 (QStringList{QStringLiteral("中国人 [") + tones(QStringLiteral("Zhong1 guo2 ren2")) +
                                  QStringLiteral("] Chinese person"),
                              QStringLiteral("中国 [") + tones(QStringLiteral("Zhong1 guo2")) + QStringLiteral("] China"),
                              QStringLiteral("国人 [") + tones(QStringLiteral("guo2 ren2")) +
                                  QStringLiteral("] compatriots"),
                              QStringLiteral("国 [") + tones(QStringLiteral("guo2")) + QStringLiteral("] country")}));
        // Placed against the main window.
        const QRect main = Form1->frameGeometry();
        QCOMPARE(FormHanzi->x(), main.left());
        QVERIFY(FormHanzi->y() == main.bottom() + 2 || FormHanzi->y() == main.top() - FormHanzi->height() - 1);
        QVERIFY(m_dialogs->dialogs.messages.empty());
    }

    void sameCharacterIsNotLookedUpAgain()
    {
        setCharacters(QStringLiteral("中国人中"));
        hoverAfter(1);
        QCOMPARE(memoLines(FormHanzi->TntMemo1).size(), 3); // 中国人, 中国, 中
        // Another occurrence of 中, with other neighbours: nothing is redone.
        FormHanzi->luDef->setText(QStringLiteral("marker"));
        hoverAfter(4);
        QCOMPARE(FormHanzi->luDef->text(), QStringLiteral("marker"));
        QCOMPARE(memoLines(FormHanzi->TntMemo1).size(), 3);
        // A new character is.
        hoverAfter(3);
        QCOMPARE(FormHanzi->lHanzi->text(), QStringLiteral("人"));
        QCOMPARE(FormHanzi->luDef->text(), QStringLiteral("man; people"));
        // The start of a line gives nothing: the popup stays as it was.
        Form1->reChinMouseMove(Form1->reChinView, pointAfter(Form1->reChinView, 0, shift()));
        QCOMPARE(FormHanzi->lHanzi->text(), QStringLiteral("人"));
        QCOMPARE(Form1->FLastHoverChar, 0x4EBA);
    }

    void loadedTablesThroughTheirIndex()
    {
        // The tables the program carries, as loaded at start.
        QVERIFY(Form1->charDatabase.tablesLoaded());
        Form1->FUnihanText = Form1->charDatabase.unihanText();
        Form1->FRadicalsText = Form1->charDatabase.radicalsText();
        setCharacters(QStringLiteral("中"));
        hoverAfter(1);
        QVERIFY(FormHanzi->isVisible());
        QCOMPARE(FormHanzi->lKodHex->text(), QStringLiteral("4E2D"));
        QCOMPARE(FormHanzi->luRad->text(), QStringLiteral("gun (nr. 2) + 3 strokes"));
        QCOMPARE(FormHanzi->lrRadCh->text(), QStringLiteral("丨"));
        QVERIFY(FormHanzi->luDef->text().contains(QStringLiteral("central")));
    }

    void pastTheEndOfALineHidesThePopup()
    {
        setCharacters(QStringLiteral("中国"));
        hoverAfter(1);
        QVERIFY(FormHanzi->isVisible());
        QPoint far = pointAfter(Form1->reChinView, 2);
        far.rx() += 60;
        Form1->reChinMouseMove(Form1->reChinView, far);
        QVERIFY(!FormHanzi->isVisible());
        QCOMPARE(Form1->FLastHoverChar, 0);
        QCOMPARE(FormHanzi->lHanzi->text(), QString());
        // Back on a character, it is shown again.
        hoverAfter(1);
        QVERIFY(FormHanzi->isVisible());
    }

    void characterWithoutRecordShowsItsCodes()
    {
        setCharacters(QStringLiteral("中A"));
        hoverAfter(1);
        hoverAfter(2);
        QVERIFY(FormHanzi->isVisible());
        QCOMPARE(FormHanzi->lKodHex->text(), QStringLiteral("41"));
        QCOMPARE(FormHanzi->lKodDec->text(), QStringLiteral("65"));
        // The record of the character before is not left standing.
        for (QLabel *l : {FormHanzi->lHanzi, FormHanzi->luDef, FormHanzi->luMand, FormHanzi->luRad,
                          FormHanzi->lrRadCh, FormHanzi->luStrok})
            QCOMPARE(l->text(), QString());
        QVERIFY(memoLines(FormHanzi->TntMemo1).isEmpty());
    }

    void switchedOffOrWithoutTables()
    {
        setCharacters(QStringLiteral("中国"));
        Form1->chbPin->setChecked(false);
        Form1->rePin->setText(QStringLiteral("revealed"));
        Form1->FShowHanziInfo = false;
        hoverAfter(1);
        QVERIFY(!FormHanzi->isVisible());
        QCOMPARE(Form1->FLastHoverChar, 0);
        // The pinyin pane's hover reveal still ends.
        QCOMPARE(Form1->rePin->text(), QString());

        // Tables that failed to load keep the popup off but leave the
        // user's setting alone.
        Form1->FShowHanziInfo = true;
        Form1->FHanziInfoAvailable = false;
        hoverAfter(1);
        QVERIFY(!FormHanzi->isVisible());
        QVERIFY(Form1->FShowHanziInfo);

        // Empty tables find nothing: codes only.
        Form1->FHanziInfoAvailable = true;
        Form1->FUnihanText.clear();
        Form1->FDictText.clear();
        hoverAfter(1);
        QVERIFY(FormHanzi->isVisible());
        QCOMPARE(FormHanzi->lKodHex->text(), QStringLiteral("4E2D"));
        QCOMPARE(FormHanzi->luDef->text(), QString());
        QVERIFY(memoLines(FormHanzi->TntMemo1).isEmpty());
    }

    void hiddenCharactersRevealedUnderTheMouse()
    {
        Form1->reLine->setText(QStringLiteral("<OR=middle><PI=zhong1 guo2><CH=中国><NO=><TY=w><ST=u>"));
        Form1->chbChin->setChecked(false);
        QCOMPARE(Form1->reChin->text(), QString());
        // Without the setting the hidden pane stays empty.
        Form1->FShowHiddenOnHover = false;
        Form1->reChinMouseMove(Form1->reChinView, QPoint(5, 5));
        QCOMPARE(Form1->reChin->text(), QString());
        Form1->FShowHiddenOnHover = true;
        Form1->reChinMouseMove(Form1->reChinView, QPoint(5, 5));
        QCOMPARE(Form1->reChin->text(), QStringLiteral("中国"));
        QVERIFY(!Form1->chbChin->isChecked());
    }

    void malformedNumberIsReported()
    {
        Form1->FUnihanText = UnihanBadVariant;
        setCharacters(QStringLiteral("国"));
        hoverAfter(1);
        QCOMPARE(m_dialogs->dialogs.lastMessage(), QStringLiteral("'$5Z0B' is not a valid integer value"));
        QVERIFY(!FormHanzi->isVisible());
        // Not repeated while the mouse stays on the character.
        hoverAfter(1);
        QCOMPARE(m_dialogs->dialogs.messages.size(), size_t(1));
    }

    void mouseMovesOverThePaneReachTheHandler()
    {
        setCharacters(QStringLiteral("中国人"));
        QWidget *viewport = Form1->reChinView->viewport();
        const QPoint p = pointAfter(Form1->reChinView, 3, shift());
        QMouseEvent move(QEvent::MouseMove, QPointF(p), viewport->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        QCOMPARE(Form1->FLastHoverChar, 0x4EBA);
        QCOMPARE(FormHanzi->lHanzi->text(), QStringLiteral("人"));
    }

    void readerTextFillsTheReadersBoxes()
    {
        QWidget reader;
        auto *text = new QTextEdit(&reader);
        auto *mDict = new QPlainTextEdit(&reader);
        mDict->setObjectName(QStringLiteral("mDict"));
        auto *mUnihan = new QTextEdit(&reader);
        mUnihan->setObjectName(QStringLiteral("mUnihan"));
        auto *layout = new QVBoxLayout(&reader);
        for (QWidget *w : {static_cast<QWidget *>(text), static_cast<QWidget *>(mDict),
                           static_cast<QWidget *>(mUnihan)})
            layout->addWidget(w);
        reader.resize(500, 400);
        reader.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reader));
        text->setPlainText(QStringLiteral("a中国\n人"));

        // The setting governs the characters pane only.
        Form1->FShowHanziInfo = false;
        // The character under the pointer, on either half of its glyph.
        Form1->reChinMouseMove(text, pointOn(text, 2, 0.25));
        QCOMPARE(Form1->FLastHoverChar, 0x56FD); // 国
        Form1->reChinMouseMove(text, pointOn(text, 1, 0.75));
        QCOMPARE(Form1->FLastHoverChar, 0x4E2D); // 中
        Form1->reChinMouseMove(text, pointOn(text, 0, 0.5));
        Form1->reChinMouseMove(text, pointOn(text, 1, 0.25));
        QCOMPARE(Form1->FLastHoverChar, 0x4E2D);
        QCOMPARE(mUnihan->toPlainText(), QStringLiteral("中 [") + tones(QStringLiteral("zhong1 zhong4")) +
                                             QStringLiteral("] central; center, middle"));
        // The Latin letter before is no neighbour.
        QCOMPARE(memoLines(mDict),
                 (QStringList{QStringLiteral("中国 [") + tones(QStringLiteral("Zhong1 guo2")) + QStringLiteral("] China"),
                              QStringLiteral("中 [") + tones(QStringLiteral("zhong1")) + QStringLiteral("] middle")}));
        QVERIFY(!FormHanzi->isVisible());

        // A Latin letter: no summary line, its dictionary lookup finds nothing.
        Form1->reChinMouseMove(text, pointOn(text, 0, 0.25));
        QCOMPARE(mUnihan->toPlainText(), QString());

        // The second line is a line of its own: no neighbours from the first.
        Form1->reChinMouseMove(text, pointOn(text, 4, 0.25));
        QCOMPARE(memoLines(mDict), QStringList{QStringLiteral("人 [") + tones(QStringLiteral("ren2")) +
                                               QStringLiteral("] person;")});

        // Past the end of the line: both boxes cleared, the last character
        // kept, so it is not looked up again straight away.
        QPoint far = pointAfter(text, 3);
        far.rx() += 60;
        Form1->reChinMouseMove(text, pointOn(text, 1, 0.5)); // 中, then past 国
        Form1->reChinMouseMove(text, far);
        QCOMPARE(Form1->FLastHoverChar, 0x56FD);
        QCOMPARE(mUnihan->toPlainText(), QString());
        QVERIFY(memoLines(mDict).isEmpty());
        Form1->reChinMouseMove(text, pointAfter(text, 3));
        QVERIFY(memoLines(mDict).isEmpty());
    }

    void popupPlacement()
    {
        const int h = FormHanzi->height();
        // Room below: just under the main window.
        FormHanzi->SetPosition(QRect(40, 100, 600, 300), 1000);
        QCOMPARE(FormHanzi->pos(), QPoint(40, 401));
        // No room below: just above it.
        FormHanzi->SetPosition(QRect(40, 600, 600, 300), 1000);
        QCOMPARE(FormHanzi->pos(), QPoint(40, 600 - h - 1));
        // Exactly at the limit counts as no room.
        FormHanzi->SetPosition(QRect(0, 400, 600, 1000 - h - 401), 1000);
        QCOMPARE(FormHanzi->y(), 400 - h - 1);
        QCOMPARE(FormHanzi->size(), QSize(560, 145));

        // The widest codes stay inside the popup's border.
        for (QLabel *code : {FormHanzi->lKodHex, FormHanzi->lKodDec}) {
            QVERIFY(code->geometry().right() < FormHanzi->width() - 1);
            const QString widest = code == FormHanzi->lKodHex ? QStringLiteral("FFFF") : QStringLiteral("65535");
            QVERIFY2(code->fontMetrics().horizontalAdvance(widest) <= code->width(), qPrintable(widest));
        }
    }

    void popupHidesWhenThePointerLeavesForAnotherProgram()
    {
        Form1->show();
        FormHanzi->show();
        Form1->FLastHoverChar = 0x4E2D;
        QWidget *viewport = Form1->reChinView->viewport();
        // Off every window of the program: hidden, the character forgotten.
        QEvent leave(QEvent::Leave);
        QCursor::setPos(QPoint(-5000, -5000));
        QVERIFY(!QApplication::widgetAt(QCursor::pos()));
        QCoreApplication::sendEvent(viewport, &leave);
        QVERIFY(!FormHanzi->isVisible());
        QCOMPARE(Form1->FLastHoverChar, 0);
    }
};

QTEST_MAIN(TestForm1Hover)
#include "tst_form1_hover.moc"
