// The character information on hover: the popup over the characters pane,
// its switches, the repeat check, the end of a line, characters without a
// record, the reader's boxes, the mouse wiring and the popup's placement.
#include "app/CharacterHover.h"
#include "platform/richtext/RichEdit.h"
#include "practice/ToneMarkConverter.h"
#include "reference/CharacterInfoWindow.h"
#include "reference/DictionaryData.h"
#include "settings/ProgramPaths.h"
#include "support/ProgramTestCase.h"

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

const QString Unihan = QStringLiteral("@4E2D;;;2.3;ZHONG1 ZHONG4;4;central; center, middle\r\n"
                                      "@4EBA;;;9.0;REN2;2;man; people\r\n"
                                      "@5B78;5B66;;39.13;XUE2;16;learning, knowledge\r\n"
                                      "@56FD;;570B;31.5;GUO2;8;nation, country\r\n"
                                      "@9F9D;;;214.1;YUE4;17;flute\r\n"
                                      "@20000;;;1.1;HE1;2;breathing in\r\n");
const QString UnihanBadVariant = QStringLiteral("@56FD;;5Z0B;31.5;GUO2;8;nation\r\n");

const QString Radicals =
    QStringLiteral("@2;20008;gun\r\n@9;20154;ren\r\n@31;22231;wei\r\n@39;23376;zi\r\n@214;40864;yue");

const QString Dict = QStringLiteral("# header\r\n"
                                    "中 [zhong1] /middle/\r\n"
                                    "中国 [Zhong1 guo2] /China/\r\n"
                                    "中国人 [Zhong1 guo2 ren2] /Chinese person/\r\n"
                                    "国 [guo2] /country/\r\n"
                                    "国人 [guo2 ren2] /compatriots/\r\n"
                                    "中𠀀 [zhong1 he1] /a made-up word/\r\n"
                                    "人 [ren2] /person/");

QString tones(const QString &s)
{
    return pinyinNumbersIntoToneMarks(s);
}

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

class TestMainWindowHover : public apptest::ProgramTestCase {
    Q_OBJECT

    Start start() const override { return {.eachCase = true, .firstActivationDone = false, .programFolder = true}; }
    int shift() const
    {
        return apptest::settings().fontSizes[Pane::Characters] - apptest::settings().fontSizes[Pane::Characters] / 3;
    }

    // Hovers just after position pos of the characters pane.
    void hoverAfter(int pos)
    {
        mainWindow->hover().charactersViewMouseMoved(
            apptest::control<QTextEdit>("charactersView"),
            pointAfter(apptest::control<QTextEdit>("charactersView"), pos, shift()));
    }

    void setCharacters(const QString &text)
    {
        apptest::control<korvana::RichEdit>("charactersText")->setText(text);
        QCoreApplication::processEvents();
    }

    void programStarted() override
    {
        apptest::settings().characterInfoOnHover = true;
        apptest::state().referenceData.characterInfoAvailable = true;
        apptest::state().referenceData.unihanText = Unihan;
        apptest::state().referenceData.radicalsText = Radicals;
        apptest::state().dictionary.setText(Dict);
        mainWindow->resize(700, 500);
        mainWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow));
    }

private slots:
    void popupShowsTheCharacterAndItsWords()
    {
        setCharacters(QStringLiteral("中国人"));
        hoverAfter(2); // 国
        QVERIFY(characterInfoWindow->isVisible());
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x56FD);
        QCOMPARE(characterInfoWindow->characterLabel->text(), QStringLiteral("国"));
        QCOMPARE(characterInfoWindow->hexCodeLabel->text(), QStringLiteral("56FD"));
        QCOMPARE(characterInfoWindow->decimalCodeLabel->text(), QStringLiteral("22269"));
        QCOMPARE(characterInfoWindow->strokesLabel->text(), QStringLiteral("8"));
        QCOMPARE(characterInfoWindow->mandarinLabel->text(), tones(QStringLiteral("guo2")));
        QCOMPARE(characterInfoWindow->traditionalLabel->text(), QStringLiteral("國"));
        QCOMPARE(characterInfoWindow->simplifiedLabel->text(), QString());
        QCOMPARE(characterInfoWindow->radicalCharacterLabel->text(), QStringLiteral("囗"));
        QCOMPARE(characterInfoWindow->radicalLabel->text(), QStringLiteral("wei (nr. 31) + 5 strokes"));
        QCOMPARE(characterInfoWindow->definitionLabel->text(), QStringLiteral("nation, country"));
        // Longest words first, pinyin tone-marked.
        QCOMPARE(memoLines(characterInfoWindow->dictionaryBox),
                 (QStringList{
                     QStringLiteral("中国人 [") + tones(QStringLiteral("Zhong1 guo2 ren2"))
                         + QStringLiteral("] Chinese person"),
                     QStringLiteral("中国 [") + tones(QStringLiteral("Zhong1 guo2")) + QStringLiteral("] China"),
                     QStringLiteral("国人 [") + tones(QStringLiteral("guo2 ren2")) + QStringLiteral("] compatriots"),
                     QStringLiteral("国 [") + tones(QStringLiteral("guo2")) + QStringLiteral("] country")}));
        // Placed against the main window.
        const QRect main = mainWindow->frameGeometry();
        QCOMPARE(characterInfoWindow->x(), main.left());
        QVERIFY(characterInfoWindow->y() == main.bottom() + 2
                || characterInfoWindow->y() == main.top() - characterInfoWindow->height() - 1);
        QVERIFY(dialogs().messages.empty());
    }

    void sameCharacterIsNotLookedUpAgain()
    {
        setCharacters(QStringLiteral("中国人中"));
        hoverAfter(1);
        QCOMPARE(memoLines(characterInfoWindow->dictionaryBox).size(), 3); // 中国人, 中国, 中
        // Another occurrence of 中, with other neighbours: nothing is redone.
        characterInfoWindow->definitionLabel->setText(QStringLiteral("marker"));
        hoverAfter(4);
        QCOMPARE(characterInfoWindow->definitionLabel->text(), QStringLiteral("marker"));
        QCOMPARE(memoLines(characterInfoWindow->dictionaryBox).size(), 3);
        // A new character is.
        hoverAfter(3);
        QCOMPARE(characterInfoWindow->characterLabel->text(), QStringLiteral("人"));
        QCOMPARE(characterInfoWindow->definitionLabel->text(), QStringLiteral("man; people"));
        // The start of a line gives nothing: the popup stays as it was.
        mainWindow->hover().charactersViewMouseMoved(
            apptest::control<QTextEdit>("charactersView"),
            pointAfter(apptest::control<QTextEdit>("charactersView"), 0, shift()));
        QCOMPARE(characterInfoWindow->characterLabel->text(), QStringLiteral("人"));
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x4EBA);
    }

    void loadedTablesThroughTheirIndex()
    {
        // The tables the program carries, as loaded at start.
        QVERIFY(apptest::state().referenceData.database().tablesLoaded());
        apptest::state().referenceData.unihanText = apptest::state().referenceData.database().unihanText();
        apptest::state().referenceData.radicalsText = apptest::state().referenceData.database().radicalsText();
        setCharacters(QStringLiteral("中"));
        hoverAfter(1);
        QVERIFY(characterInfoWindow->isVisible());
        QCOMPARE(characterInfoWindow->hexCodeLabel->text(), QStringLiteral("4E2D"));
        QCOMPARE(characterInfoWindow->radicalLabel->text(), QStringLiteral("gun (nr. 2) + 3 strokes"));
        QCOMPARE(characterInfoWindow->radicalCharacterLabel->text(), QStringLiteral("丨"));
        QVERIFY(characterInfoWindow->definitionLabel->text().contains(QStringLiteral("central")));
    }

    void pastTheEndOfALineHidesThePopup()
    {
        setCharacters(QStringLiteral("中国"));
        hoverAfter(1);
        QVERIFY(characterInfoWindow->isVisible());
        QPoint far = pointAfter(apptest::control<QTextEdit>("charactersView"), 2);
        far.rx() += 60;
        mainWindow->hover().charactersViewMouseMoved(apptest::control<QTextEdit>("charactersView"), far);
        QVERIFY(!characterInfoWindow->isVisible());
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0);
        QCOMPARE(characterInfoWindow->characterLabel->text(), QString());
        // Back on a character, it is shown again.
        hoverAfter(1);
        QVERIFY(characterInfoWindow->isVisible());
    }

    void characterWithoutRecordShowsItsCodes()
    {
        setCharacters(QStringLiteral("中A"));
        hoverAfter(1);
        hoverAfter(2);
        QVERIFY(characterInfoWindow->isVisible());
        QCOMPARE(characterInfoWindow->hexCodeLabel->text(), QStringLiteral("41"));
        QCOMPARE(characterInfoWindow->decimalCodeLabel->text(), QStringLiteral("65"));
        // The record of the character before is not left standing.
        for (QLabel *l : {characterInfoWindow->characterLabel, characterInfoWindow->definitionLabel,
                          characterInfoWindow->mandarinLabel, characterInfoWindow->radicalLabel,
                          characterInfoWindow->radicalCharacterLabel, characterInfoWindow->strokesLabel})
            QCOMPARE(l->text(), QString());
        QVERIFY(memoLines(characterInfoWindow->dictionaryBox).isEmpty());
    }

    // 𠀀 (U+20000) is a surrogate pair in the text: its whole code is looked up.
    void charactersBeyondTheBasicPlane()
    {
        setCharacters(QStringLiteral("中𠀀"));
        hoverAfter(3);
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x20000);
        QCOMPARE(characterInfoWindow->characterLabel->text(), QStringLiteral("𠀀"));
        QCOMPARE(characterInfoWindow->hexCodeLabel->text(), QStringLiteral("20000"));
        QCOMPARE(characterInfoWindow->definitionLabel->text(), QStringLiteral("breathing in"));
        QCOMPARE(memoLines(characterInfoWindow->dictionaryBox).first(),
                 QStringLiteral("中𠀀 [") + tones(QStringLiteral("zhong1 he1")) + QStringLiteral("] a made-up word"));

        // In the reader, on either half of its glyph.
        QTextEdit text;
        text.resize(300, 100);
        text.show();
        QVERIFY(QTest::qWaitForWindowExposed(&text));
        text.setPlainText(QStringLiteral("中𠀀"));
        QTextCursor before(text.document()), after(text.document());
        before.setPosition(1);
        after.setPosition(3);
        const QRect l = text.cursorRect(before), r = text.cursorRect(after);
        for (double fraction : {0.25, 0.75}) {
            mainWindow->hover().forgetLastHoverChar();
            mainWindow->hover().charactersViewMouseMoved(
                &text, QPoint(l.x() + int((r.x() - l.x()) * fraction), l.center().y()));
            QCOMPARE(mainWindow->hover().lastHoverChar(), 0x20000);
        }
    }

    void switchedOffOrWithoutTables()
    {
        setCharacters(QStringLiteral("中国"));
        apptest::control<QCheckBox>("pinyinSwitch")->setChecked(false);
        apptest::control<korvana::RichEdit>("pinyinText")->setText(QStringLiteral("revealed"));
        apptest::settings().characterInfoOnHover = false;
        hoverAfter(1);
        QVERIFY(!characterInfoWindow->isVisible());
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0);
        // The pinyin pane's hover reveal still ends.
        QCOMPARE(apptest::control<korvana::RichEdit>("pinyinText")->text(), QString());

        // Tables that failed to load keep the popup off but leave the
        // user's setting alone.
        apptest::settings().characterInfoOnHover = true;
        apptest::state().referenceData.characterInfoAvailable = false;
        hoverAfter(1);
        QVERIFY(!characterInfoWindow->isVisible());
        QVERIFY(apptest::settings().characterInfoOnHover);

        // Empty tables find nothing: codes only.
        apptest::state().referenceData.characterInfoAvailable = true;
        apptest::state().referenceData.unihanText.clear();
        apptest::state().dictionary.setText(QString());
        hoverAfter(1);
        QVERIFY(characterInfoWindow->isVisible());
        QCOMPARE(characterInfoWindow->hexCodeLabel->text(), QStringLiteral("4E2D"));
        QCOMPARE(characterInfoWindow->definitionLabel->text(), QString());
        QVERIFY(memoLines(characterInfoWindow->dictionaryBox).isEmpty());
    }

    void hiddenCharactersRevealedUnderTheMouse()
    {
        apptest::control<korvana::RichEdit>("termLineText")
            ->setText(QStringLiteral("<OR=middle><PI=zhong1 guo2><CH=中国><NO=><TY=w><ST=u>"));
        apptest::control<QCheckBox>("charactersSwitch")->setChecked(false);
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QString());
        // Without the setting the hidden pane stays empty.
        apptest::settings().showHiddenOnHover = false;
        mainWindow->hover().charactersViewMouseMoved(apptest::control<QTextEdit>("charactersView"), QPoint(5, 5));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QString());
        apptest::settings().showHiddenOnHover = true;
        mainWindow->hover().charactersViewMouseMoved(apptest::control<QTextEdit>("charactersView"), QPoint(5, 5));
        QCOMPARE(apptest::control<korvana::RichEdit>("charactersText")->text(), QStringLiteral("中国"));
        QVERIFY(!apptest::control<QCheckBox>("charactersSwitch")->isChecked());
    }

    void malformedNumberIsReported()
    {
        apptest::state().referenceData.unihanText = UnihanBadVariant;
        setCharacters(QStringLiteral("国"));
        hoverAfter(1);
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("'$5Z0B' is not a valid integer value"));
        QVERIFY(!characterInfoWindow->isVisible());
        // Not repeated while the mouse stays on the character.
        hoverAfter(1);
        QCOMPARE(dialogs().messages.size(), size_t(1));
    }

    void mouseMovesOverThePaneReachTheHandler()
    {
        setCharacters(QStringLiteral("中国人"));
        QWidget *viewport = apptest::control<QTextEdit>("charactersView")->viewport();
        const QPoint p = pointAfter(apptest::control<QTextEdit>("charactersView"), 3, shift());
        QMouseEvent move(QEvent::MouseMove, QPointF(p), viewport->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x4EBA);
        QCOMPARE(characterInfoWindow->characterLabel->text(), QStringLiteral("人"));
    }

    void readerTextFillsTheReadersBoxes()
    {
        QWidget reader;
        auto *text = new QTextEdit(&reader);
        auto *dictionaryBox = new QPlainTextEdit(&reader);
        dictionaryBox->setObjectName(QStringLiteral("dictionaryBox"));
        auto *characterInfoBox = new QTextEdit(&reader);
        characterInfoBox->setObjectName(QStringLiteral("characterInfoBox"));
        auto *layout = new QVBoxLayout(&reader);
        for (QWidget *w : {static_cast<QWidget *>(text), static_cast<QWidget *>(dictionaryBox),
                           static_cast<QWidget *>(characterInfoBox)})
            layout->addWidget(w);
        reader.resize(500, 400);
        reader.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reader));
        text->setPlainText(QStringLiteral("a中国\n人"));

        // The setting governs the characters pane only.
        apptest::settings().characterInfoOnHover = false;
        // The character under the pointer, on either half of its glyph.
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 2, 0.25));
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x56FD); // 国
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 1, 0.75));
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x4E2D); // 中
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 0, 0.5));
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 1, 0.25));
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x4E2D);
        QCOMPARE(characterInfoBox->toPlainText(), QStringLiteral("中 [") + tones(QStringLiteral("zhong1 zhong4"))
                                                      + QStringLiteral("] central; center, middle"));
        // The Latin letter before is no neighbour.
        QCOMPARE(
            memoLines(dictionaryBox),
            (QStringList{QStringLiteral("中国 [") + tones(QStringLiteral("Zhong1 guo2")) + QStringLiteral("] China"),
                         QStringLiteral("中 [") + tones(QStringLiteral("zhong1")) + QStringLiteral("] middle")}));
        QVERIFY(!characterInfoWindow->isVisible());

        // A Latin letter: no summary line, its dictionary lookup finds nothing.
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 0, 0.25));
        QCOMPARE(characterInfoBox->toPlainText(), QString());

        // The second line is a line of its own: no neighbours from the first.
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 4, 0.25));
        QCOMPARE(memoLines(dictionaryBox),
                 QStringList{QStringLiteral("人 [") + tones(QStringLiteral("ren2")) + QStringLiteral("] person;")});

        // Past the end of the line: both boxes cleared, the last character
        // kept, so it is not looked up again straight away.
        QPoint far = pointAfter(text, 3);
        far.rx() += 60;
        mainWindow->hover().charactersViewMouseMoved(text, pointOn(text, 1, 0.5)); // 中, then past 国
        mainWindow->hover().charactersViewMouseMoved(text, far);
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0x56FD);
        QCOMPARE(characterInfoBox->toPlainText(), QString());
        QVERIFY(memoLines(dictionaryBox).isEmpty());
        mainWindow->hover().charactersViewMouseMoved(text, pointAfter(text, 3));
        QVERIFY(memoLines(dictionaryBox).isEmpty());
    }

    void popupPlacement()
    {
        const int h = characterInfoWindow->height();
        // Room below: just under the main window.
        characterInfoWindow->placeNear(QRect(40, 100, 600, 300), 1000);
        QCOMPARE(characterInfoWindow->pos(), QPoint(40, 401));
        // No room below: just above it.
        characterInfoWindow->placeNear(QRect(40, 600, 600, 300), 1000);
        QCOMPARE(characterInfoWindow->pos(), QPoint(40, 600 - h - 1));
        // Exactly at the limit counts as no room.
        characterInfoWindow->placeNear(QRect(0, 400, 600, 1000 - h - 401), 1000);
        QCOMPARE(characterInfoWindow->y(), 400 - h - 1);
        QCOMPARE(characterInfoWindow->size(), QSize(560, 145));

        // The widest codes stay inside the popup's border.
        for (QLabel *code : {characterInfoWindow->hexCodeLabel, characterInfoWindow->decimalCodeLabel}) {
            QVERIFY(code->geometry().right() < characterInfoWindow->width() - 1);
            const QString widest =
                code == characterInfoWindow->hexCodeLabel ? QStringLiteral("FFFF") : QStringLiteral("65535");
            QVERIFY2(code->fontMetrics().horizontalAdvance(widest) <= code->width(), qPrintable(widest));
        }
    }

    void popupHidesWhenThePointerLeavesForAnotherProgram()
    {
        mainWindow->show();
        characterInfoWindow->show();
        mainWindow->hover().setLastHoverChar(0x4E2D);
        QWidget *viewport = apptest::control<QTextEdit>("charactersView")->viewport();
        // Off every window of the program: hidden, the character forgotten.
        QEvent leave(QEvent::Leave);
        QCursor::setPos(QPoint(-5000, -5000));
        QVERIFY(!QApplication::widgetAt(QCursor::pos()));
        QCoreApplication::sendEvent(viewport, &leave);
        QVERIFY(!characterInfoWindow->isVisible());
        QCOMPARE(mainWindow->hover().lastHoverChar(), 0);
    }
};

QTEST_MAIN(TestMainWindowHover)
#include "tst_mainwindow_hover.moc"
