#include "ClassWindows.h"
#include "FakeSeams.h"
#include "Rows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QLineEdit>

// What the teacher types and sees in a class window: the cell editor of the grid, the card.
class TestCellEditing : public QObject
{
    Q_OBJECT

    std::optional<ClassWindows> m_windows;
    TMDIChild* m_w = nullptr;
    StringGrid* grid() const { return m_w->grid(); }

    // Key names ("Return", "F2", "PgDown"), "dblclick" on the current cell, "click" on cell (6, 7), "store" for the
    // class table, "away" to another window and back; anything else is typed.
    void play(const QString& gesture)
    {
        for (const QString& step : gesture.split(' ')) {
            const QPoint here = grid()->cellRect(grid()->col(), grid()->row()).center();
            QWidget* target = grid()->isEditing() ? grid()->editor() : static_cast<QWidget*>(grid());
            if (step == "dblclick") {
                QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, here);
                QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, here);
            } else if (step == "store") {
                m_w->EcritGrille();
            } else if (step == "away") {
                // Another window comes to the front (a message box) and goes.
                QWidget other;
                other.show();
                other.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&other));
                m_w->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(m_w));
            } else if (step == "click") {
                QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->cellRect(6, 7).center());
            } else if (step.size() > 1 && step[0].isLetter()) {
                QTest::keyClick(target, QKeySequence(step)[0].key());
            } else {
                for (QChar ch : step)
                    QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            }
        }
    }

private slots:
    void initTestCase() { fonts::install(); }
    void init()
    {
        m_windows.emplace();
        m_w = m_windows->openShown();
        QVERIFY(m_w);
        grid()->setFocus();
    }
    void cleanup() { m_windows.reset(); }

    // What the row | cell (4, 5) holds before | the keys from there | cells (4, 5) to (7, 5) after | the current
    // column after, in row 5 (-1: in row 6); 0 when nothing is typed.
    void editingACell_data()
    {
        // Opening and leaving the editor without typing changes nothing, whatever the cell holds.
        QStringList texts =
            QString("abs||12,50|7,00|,50|100,00|100|-5|12|7,|12, 1| 7|Dictée|0.5|12.5|a\r\nb|12\u00A0").split('|');
        texts << QString(40000, 'x');
        QStringList list;
        for (const QString& text : texts)
            for (const char* gesture : {"Return Return", "F2 Return", "F2 Escape", "Return Tab", "Return Up",
                                        "Return Down", "F2 PgDown", "F2 Left Right Return", "F2 Home Down",
                                        "dblclick click", "dblclick Tab", "dblclick Escape", "Return store"})
                list << QString("%1: %2 | %3 | %2 | %3||| | 0")
                            .arg(text.left(8).toUtf8().toPercentEncoding(), gesture, text);
        // What the teacher types is stored as the editor showed it.
        rows::add(list + QStringList{
                             "Right between two marks |  | 12 Right 15 Return | 12|15|| | 5",
                             "Tab between marks |  | 12 Tab 15 Tab 7 Tab | 12|15|7| | 7",
                             "full stops and commas |  | 12.5 Tab 8,25 Right 0.5 Return | 12,5|8,25|0,5| | 6",
                             "Return then Right |  | 9 Return Right 11 Return | 9|11|| | 5",
                             "Left goes back |  | 4 Right 5 Left 6 Return | 6|5|| | 4",
                             "Down leaves the row |  | 7 Down | 7||| | -1",
                             "Backspace over a decimal |  | 125 Backspace 0 Return | 12,0||| | 4",
                             "Backspace over both digits |  | 15 Backspace Backspace 9 Return | 9||| | 4",
                             "too many digits |  | 123456 Tab | 12,34||| | 5",
                             "typed over abs | abs | 14 Tab | 14||| | 5",
                             "decimals changed after F2 | 12,50 | F2 Backspace Backspace 75 Return | 12,75||| | 4",
                             "F2 on an empty cell |  | F2 13 Return | 13||| | 4",
                             "abs deleted | abs | F2 Backspace Return | ||| | 4",
                             "100 replaced after F2 | 100,00 | F2 9 Tab | 9||| | 5",
                             "blank left among the decimals | 12,50 | F2 Left Backspace Return | 12, 0||| | 4",
                             "a letter refused by the mask | abs | x Return F2 y Return | abs||| | 4",
                             "a letter refused over a mark | 12,50 | x Tab | 12,50||| | 5",
                             "a message box while typing |  | 1 away 5 Return | 15||| | 4",
                             "a character the file cannot hold refused | 12,50 | Ł | 12,50||| | 0",
                         });
    }
    void editingACell()
    {
        const QStringList row = rows::fields(), cells = row[3].split('|');
        const int col = row[4].toInt();
        grid()->setCell(4, 5, row[1]);
        grid()->setCurrent(4, 5);
        play(row[2]);
        QVERIFY(!grid()->isEditing());
        QCOMPARE((QStringList{grid()->cell(4, 5), grid()->cell(5, 5), grid()->cell(6, 5), grid()->cell(7, 5)}), cells);
        if (col)
            QCOMPARE(QPoint(grid()->col(), grid()->row()), col < 0 ? QPoint(4, 6) : QPoint(col, 5));
        // Opening and leaving leaves the class unmodified; a typed key marks it, even one the mask refused, but not
        // one refused for the file. A key refused before the editor opens beeps.
        QCOMPARE(m_w->isModified(), col != 0);
        QCOMPARE(m_windows->fake().beeps, row[0].contains("refused") ? 1 : 0);
        m_w->EcritGrille();
        QCOMPARE(m_w->table().at(4, 4), cells[0]);
    }

    // What the row | every card field of student 3, its slot number after it | typed at the end of the remarks
    // ("\n" is the Return key) | what the table's remarks then hold.
    void cardShowsWhatTheTableHolds_data()
    {
        QString every;
        for (int byte = 0; byte < 256; ++byte)
            every += QString::fromLatin1(QByteArray(1, char(byte)));
        every += QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ\u0081\u008D\u008F\u0090\u009D");
        rows::add({"non-breaking spaces | M.\u00A0Durand\u00A0: bien |  | ", "lines | un\r\n\r\ndeux\r\n |  | ",
                   "lone CR and LF | a\rb\nc\r\rd |  | ", "long | " + QString(40000, 'y') + " |  | ",
                   "every character of the code page | " + every + " |  | ",
                   "non-breaking space typed | Bien | \u00A0! | Bien44\u00A0!",
                   "a line typed | un | \ndeux | un44\r\ndeux", "typed after a lone CR | a\rb | c | a\r\nb44c"});
    }
    void cardShowsWhatTheTableHolds()
    {
        const QStringList row = rows::fields();
        QStringList expected;
        for (int slot = 33; slot <= 47; ++slot) {
            m_w->document().store([&](ClassContents& contents) {
                contents.table.at(3, slot) = slot == 45 ? QString() : row[1] + QString::number(slot);
            });
            expected << (slot == 44 && !row[2].isEmpty() ? row[3] : m_w->table().at(3, slot));
        }
        grid()->setCurrent(2, 4);
        m_w->Fiche();
        m_w->card()->remarks()->moveCursor(QTextCursor::End);
        for (QChar ch : row[2])
            QTest::sendKeyEvent(QTest::Click, m_w->card()->remarks(), ch == '\n' ? Qt::Key_Return : Qt::Key_unknown,
                                QString(ch), Qt::NoModifier);
        QStringList copied;
        m_w->Copier(copied);
        QCOMPARE(copied, expected.mid(0, 12));
        m_w->SpeedButton2Click();
        m_w->SpeedButton1Click();
        m_w->Classe();
        for (int slot = 33; slot <= 47; ++slot)
            QVERIFY2(m_w->table().at(3, slot) == expected[slot - 33], qPrintable(QString::number(slot)));
        QCOMPARE(m_w->isModified(), !row[2].isEmpty());
    }
};

QTEST_MAIN(TestCellEditing)
#include "TestCellEditing.moc"
