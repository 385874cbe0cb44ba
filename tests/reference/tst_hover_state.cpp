// The hover's decisions from the views' figures where the views seldom reach:
// the ends of a line, broken surrogate pairs, a line break, how far past the
// last character the line ends, and what is remembered there.
#include "reference/CharacterHoverState.h"

#include <QtTest>

using namespace korvana;

class TestHoverState : public QObject {
    Q_OBJECT

private slots:
    void characterUnderThePointer_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("hitRightOfCaret");
        QTest::addColumn<bool>("shiftedHit");
        QTest::addColumn<int>("index"); // -1: none
        QTest::addColumn<uint>("code");
        const QString pair = QStringLiteral("一𠀀"); // U+4E00, then U+20000 in two units
        QTest::newRow("reader: line end") << pair << 3 << true << false << 1 << 0x20000u;
        QTest::newRow("beyond the line") << pair << 4 << true << true << -1 << 0u;
        // Broken pairs are looked up unit by unit.
        QTest::newRow("lone high at the end")
            << QStringLiteral("一") + QChar(0xD840) << 1 << true << false << 1 << 0xD840u;
        QTest::newRow("lone low at the start")
            << QChar(0xDC00) + QStringLiteral("一") << 1 << true << true << 0 << 0xDC00u;
    }

    void characterUnderThePointer()
    {
        QFETCH(QString, line);
        QFETCH(int, column);
        QFETCH(bool, hitRightOfCaret);
        QFETCH(bool, shiftedHit);
        QFETCH(int, index);
        QFETCH(uint, code);
        const int end = CharacterHoverState::characterEnd(line, column, hitRightOfCaret, shiftedHit);
        QCOMPARE(end < 0, index < 0);
        if (end < 0)
            return;
        CharacterHoverState state;
        const HoverMove move = state.moveOnto(line, end, 100, 100);
        QVERIFY(move.changed);
        QCOMPARE(move.index, index);
        QCOMPARE(move.code, code);
        QCOMPARE(move.character, line.mid(index, end - index));
        QCOMPARE(state.lastCode(), int(code));
    }

    void movesAlongALine()
    {
        const QString line = QStringLiteral("一\r");
        CharacterHoverState state;
        // 20 pixels right of the caret is still on the character.
        HoverMove move = state.moveOnto(line, 1, 100, 120);
        QVERIFY(move.changed && move.showsPopup() && move.showsSummary());
        QVERIFY(!state.moveOnto(line, 1, 100, 90).changed);
        // A line break hides the popup; its words are looked up all the same.
        move = state.moveOnto(line, 2, 100, 100);
        QVERIFY(move.changed && !move.showsPopup() && !move.showsSummary() && move.looksUpWords());
        // Past the line's end: nothing shown, the character kept.
        state.forget();
        move = state.moveOnto(line, 1, 100, 121);
        QVERIFY(move.changed && !move.showsPopup() && !move.looksUpWords());
        QCOMPARE(state.lastCode(), 0x4E00);
        QVERIFY(!state.moveOnto(line, 1, 100, 100).changed);
        state.forget();
        QVERIFY(state.moveOnto(line, 1, 100, 100).changed);
    }
};

QTEST_MAIN(TestHoverState)
#include "tst_hover_state.moc"
