#include "FakeSeams.h"
#include "classbook/MDIChild.h"
#include "common/Fonts.h"
#include "common/StringGrid.h"

#include <QLineEdit>
#include <QTest>

// What the teacher types and sees in a class window: the cell editor of the grid, the card.
class TestCellEditing : public QObject
{
    Q_OBJECT

    FakeSeams* m_fake = nullptr;
    TMDIChild* m_w = nullptr;
    StringGrid* grid() const { return m_w->StringGrid1; }

    // Key names ("Return", "F2", "PgDown"), "dblclick" on the current cell, "click" on cell (6, 7), "store" for the
    // class table, "away" to another window and back; anything else is typed.
    void play(const QString& gesture)
    {
        for (const QString& step : gesture.split(QLatin1Char(' '))) {
            const QPoint here = grid()->cellRect(grid()->col(), grid()->row()).center();
            auto target = [this] { return grid()->isEditing() ? grid()->editor() : static_cast<QWidget*>(grid()); };
            if (step == QLatin1String("dblclick")) {
                QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, here);
                QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, here);
            } else if (step == QLatin1String("store")) {
                m_w->EcritGrille();
            } else if (step == QLatin1String("away")) {
                // Another window comes to the front (a message box) and goes.
                QWidget other;
                other.show();
                other.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                m_w->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(m_w));
            } else if (step == QLatin1String("click")) {
                QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(6, 7).center());
            } else if (step.size() > 1 && step[0].isLetter()) {
                QTest::keyClick(target(), QKeySequence(step)[0].key());
            } else {
                for (QChar ch : step)
                    QTest::sendKeyEvent(QTest::Click, target(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
            }
        }
    }

private slots:
    void initTestCase() { fonts::install(); }
    void init()
    {
        m_fake = new FakeSeams;
        m_w = new TMDIChild(SharedWindows{});
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
        grid()->setFocus();
    }
    void cleanup()
    {
        delete m_w;
        delete m_fake;
    }

    void editingACell_data()
    {
        QTest::addColumn<QString>("first"); // cell (4, 5) before
        QTest::addColumn<QString>("keys");  // from cell (4, 5)
        QTest::addColumn<QString>("row");   // cells (4, 5) to (7, 5) after
        QTest::addColumn<int>("col"); // the current column after, in row 5 (-1: in row 6); 0 when nothing is typed
        // Opening and leaving the editor without typing changes nothing, whatever the cell holds.
        QStringList texts{"abs",
                          "",
                          "12,50",
                          "7,00",
                          ",50",
                          "100,00",
                          "100",
                          "-5",
                          "12",
                          "7,",
                          "12, 1",
                          " 7",
                          "Dictée",
                          "0.5",
                          "12.5",
                          "a\r\nb",
                          QStringLiteral("12\u00A0")};
        texts << QString(40000, QLatin1Char('x'));
        for (const QString& text : texts)
            for (const char* gesture : {"Return Return", "F2 Return", "F2 Escape", "Return Tab", "Return Up",
                                        "Return Down", "F2 PgDown", "F2 Left Right Return", "F2 Home Down",
                                        "dblclick click", "dblclick Tab", "dblclick Escape", "Return store"})
                QTest::addRow("%s: %s", qPrintable(text.left(8).toUtf8().toPercentEncoding()), gesture)
                    << text << gesture << text + QStringLiteral("|||") << 0;
        // What the teacher types is stored as the editor showed it.
        const struct
        {
            const char *name, *first, *keys, *row;
            int col;
        } rows[] = {
            {"Right between two marks", "", "12 Right 15 Return", "12|15||", 5},
            {"Tab between marks", "", "12 Tab 15 Tab 7 Tab", "12|15|7|", 7},
            {"full stops and commas", "", "12.5 Tab 8,25 Right 0.5 Return", "12,5|8,25|0,5|", 6},
            {"Return then Right", "", "9 Return Right 11 Return", "9|11||", 5},
            {"Left goes back", "", "4 Right 5 Left 6 Return", "6|5||", 4},
            {"Down leaves the row", "", "7 Down", "7|||", -1},
            {"Backspace over a decimal", "", "125 Backspace 0 Return", "12,0|||", 4},
            {"Backspace over both digits", "", "15 Backspace Backspace 9 Return", "9|||", 4},
            {"too many digits", "", "123456 Tab", "12,34|||", 5},
            {"typed over a mark", "12,50", "8 Return", "8|||", 4},
            {"typed over abs", "abs", "14 Tab", "14|||", 5},
            {"decimals changed after F2", "12,50", "F2 Backspace Backspace 75 Return", "12,75|||", 4},
            {"F2 on an empty cell", "", "F2 13 Return", "13|||", 4},
            {"abs deleted", "abs", "F2 Backspace Return", "|||", 4},
            {"100 replaced after F2", "100,00", "F2 9 Tab", "9|||", 5},
            {"blank left among the decimals", "12,50", "F2 Left Backspace Return", "12, 0|||", 4},
            {"a letter refused by the mask", "abs", "x Return F2 y Return", "abs|||", 4},
            {"a message box while typing", "", "1 away 5 Return", "15|||", 4},
            {"a character the file cannot hold", "12,50", "Ł", "12,50|||", 0},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << r.first << r.keys << r.row << r.col;
    }

    void editingACell()
    {
        QFETCH(QString, first);
        QFETCH(QString, keys);
        QFETCH(QString, row);
        QFETCH(int, col);
        grid()->setCell(4, 5, first);
        grid()->setCurrent(4, 5);
        play(keys);
        QVERIFY(!grid()->isEditing());
        const QStringList cells = row.split(QLatin1Char('|'));
        QCOMPARE((QStringList{grid()->cell(4, 5), grid()->cell(5, 5), grid()->cell(6, 5), grid()->cell(7, 5)}), cells);
        if (col)
            QCOMPARE(QPoint(grid()->col(), grid()->row()), col < 0 ? QPoint(4, 6) : QPoint(col, 5));
        // Opening and leaving leaves the class unmodified; a typed key marks it, even one the mask refused, but not
        // one refused for the file (a beep).
        QCOMPARE(m_w->isModified(), col != 0);
        QCOMPARE(m_fake->beeps, keys == QStringLiteral("Ł") ? 1 : 0);
        m_w->EcritGrille();
        QCOMPARE(m_w->table().at(4, 4), cells[0]);
    }

    void cardShowsWhatTheTableHolds_data()
    {
        QTest::addColumn<QString>("given");   // every card field of student 3, its slot number after it
        QTest::addColumn<QString>("typed");   // at the end of the remarks; "\n" is the Return key
        QTest::addColumn<QString>("remarks"); // what the table holds after
        QString every;
        for (int byte = 0; byte < 256; ++byte)
            every += QString::fromLatin1(QByteArray(1, char(byte)));
        every += QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ\u0081\u008D\u008F\u0090\u009D");
        const QString none;
        const struct
        {
            const char* name;
            QString given, typed, remarks;
        } rows[] = {
            {"non-breaking spaces", QStringLiteral("M.\u00A0Durand\u00A0: bien"), none, none},
            {"lines", "un\r\n\r\ndeux\r\n", none, none},
            {"lone CR and LF", "a\rb\nc\r\rd", none, none},
            {"long", QString(40000, QLatin1Char('y')), none, none},
            {"every character of the code page", every, none, none},
            {"non-breaking space typed", "Bien", QStringLiteral("\u00A0!"), QStringLiteral("Bien44\u00A0!")},
            {"a line typed", "un", "\ndeux", "un44\r\ndeux"},
            {"typed after a lone CR", "a\rb", "c", "a\r\nb44c"},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << r.given << r.typed << r.remarks;
    }

    void cardShowsWhatTheTableHolds()
    {
        QFETCH(QString, given);
        QFETCH(QString, typed);
        QFETCH(QString, remarks);
        for (int slot = 33; slot <= 47; ++slot)
            m_w->table().at(3, slot) = slot == 45 ? QString() : given + QString::number(slot);
        grid()->setCurrent(2, 4);
        m_w->Fiche();
        m_w->Memo1->moveCursor(QTextCursor::End);
        for (QChar ch : typed)
            QTest::sendKeyEvent(QTest::Click, m_w->Memo1, ch == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key_unknown,
                                QString(ch), Qt::NoModifier);
        QStringList expected;
        for (int slot = 33; slot <= 47; ++slot)
            expected << (slot == 44 && !typed.isEmpty() ? remarks
                         : slot == 45                   ? QString()
                                                        : given + QString::number(slot));
        QStringList copied;
        m_w->Copier(copied);
        QCOMPARE(copied, expected.mid(0, 12));
        m_w->SpeedButton2Click();
        m_w->SpeedButton1Click();
        m_w->Classe();
        for (int slot = 33; slot <= 47; ++slot)
            QVERIFY2(m_w->table().at(3, slot) == expected[slot - 33], qPrintable(QString::number(slot)));
        QCOMPARE(m_w->isModified(), !typed.isEmpty());
    }
};

QTEST_MAIN(TestCellEditing)
#include "TestCellEditing.moc"
