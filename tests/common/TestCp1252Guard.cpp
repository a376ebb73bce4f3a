#include "FakeSeams.h"
#include "analysis/Rub.h"
#include "classbook/MDIChild.h"
#include "common/Fonts.h"
#include "common/StringGrid.h"
#include "companions/Devoirs.h"
#include "companions/Obs.h"
#include "companions/PlnEdit.h"
#include "companions/PrjEdit.h"
#include "tools/Blocnotes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <memory>

// Every field whose text ends in a Windows-1252 file refuses the characters that the file cannot hold, however
// they come; nothing of a refused text goes in.
class TestCp1252Guard : public QObject
{
    Q_OBJECT

    std::unique_ptr<FakeSeams> m_fake;
    std::unique_ptr<QWidget> m_window;
    TMDIChild* m_class = nullptr;

    // Opens a window and returns its field ("window/object"), holding "ab" with the caret at its end; a grid's
    // field is its cell editor, opened on a cell holding "1".
    QWidget* openField(const QString& name)
    {
        const QString window = name.section(QLatin1Char('/'), 0, 0), object = name.section(QLatin1Char('/'), 1);
        m_class = nullptr;
        if (window == QLatin1String("rubric"))
            m_window = std::make_unique<TRub>();
        else if (window == QLatin1String("homework"))
            m_window = std::make_unique<TDevoirs>();
        else if (window == QLatin1String("desk"))
            m_window = std::make_unique<TPlnEdit>();
        else if (window == QLatin1String("subject"))
            m_window = std::make_unique<TPrjEdit>();
        else if (window == QLatin1String("phrase"))
            m_window = std::make_unique<TObs>();
        else if (window == QLatin1String("notepad"))
            m_window = std::make_unique<TBlocnotes>();
        else
            m_window.reset(m_class = new TMDIChild(SharedWindows{}));
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        if (auto* grid = m_window->findChild<StringGrid*>(); grid && object == QLatin1String("grid")) {
            grid->setCell(grid->fixedCols(), 3, QStringLiteral("1"));
            grid->setCurrent(grid->fixedCols(), 3);
            QTest::keyClick(grid, Qt::Key_F2);
            return grid->editor();
        }
        if (m_class)
            m_class->Fiche();
        auto* field = m_window->findChild<QWidget*>(object);
        if (auto* line = qobject_cast<QLineEdit*>(field))
            line->setText(QStringLiteral("ab"));
        if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
            plain->setPlainText(QStringLiteral("ab"));
            plain->moveCursor(QTextCursor::End);
        }
        field->setFocus();
        if (m_class)
            m_class->setModified(false);
        return field;
    }

    static void insert(QWidget* field, const QString& how, const QString& input)
    {
        auto* plain = qobject_cast<QPlainTextEdit*>(field);
        QWidget* surface = plain ? plain->viewport() : field; // takes the drops and the context menu
        QGuiApplication::clipboard()->setText(input);
        if (how == QLatin1String("typed")) {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, input, Qt::NoModifier);
        } else if (how == QLatin1String("pasted")) {
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (how == QLatin1String("menu")) {
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2), surface->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(surface, &menuEvent);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            menu->close();
            for (QAction* action : menu->actions())
                if (action->text().startsWith(QLatin1String("&Paste")))
                    action->trigger();
        } else if (how == QLatin1String("dropped")) {
            QMimeData data;
            data.setText(input);
            const QPoint end(surface->width() - 2, surface->height() / 2);
            // The drop goes where the drag entered, as Qt's drag manager sends it.
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(surface, &enter);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(surface, &drop);
        } else {
            QInputMethodEvent event;
            event.setCommitString(input);
            QApplication::sendEvent(field, &event);
        }
    }

private slots:
    void initTestCase() { fonts::install(); }
    void init() { m_fake = std::make_unique<FakeSeams>(); }
    void cleanup()
    {
        m_window.reset();
        m_fake.reset();
    }

    void fieldsRefuseWhatTheFileCannotHold_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("refused"); // what the message names; "beep" for a typed character
        const struct
        {
            const char *field, *how;
            QString input, after, refused;
        } rows[] = {
            {"class/grid", "typed", "Ł", "1,", "beep"},
            {"class/grid", "typed", "2", "12,", ""},
            {"class/grid", "pasted", "3Ω", "1,", "Ω (U+03A9)"},
            {"class/grid", "menu", "4Ł", "1,", "Ł (U+0141)"},
            {"class/grid", "input method", "😀", "1,", "😀 (U+1F600)"},
            {"class/grid", "dropped", "6ő", "1,", "ő (U+0151)"},
            {"class/Edit1", "typed", "Ł", "ab", "beep"},
            {"class/Edit1", "pasted", "Łódź ŁΩ", "ab", "Ł (U+0141), ź (U+017A), Ω (U+03A9)"},
            {"class/Edit1", "pasted", "œ€", "abœ€", ""},
            {"class/Edit8", "menu", "ő", "ab", "ő (U+0151)"},
            {"class/Edit8", "dropped", "Ωmega", "ab", "Ω (U+03A9)"},
            {"class/Edit8", "input method", "😀", "ab", "😀 (U+1F600)"},
            {"class/Edit8", "input method", "ê", "abê", ""},
            {"class/Memo1", "typed", "Ω", "ab", "beep"},
            {"class/Memo1", "pasted", "Łukasz", "ab", "Ł (U+0141)"},
            {"class/Memo1", "menu", "ő", "ab", "ő (U+0151)"},
            {"class/Memo1", "menu", "‰", "ab‰", ""},
            {"class/Memo1", "dropped", "Ω", "ab", "Ω (U+03A9)"},
            {"class/Memo1", "dropped", "«»", "ab«»", ""},
            {"class/Memo1", "input method", "中文", "ab", "中 (U+4E2D), 文 (U+6587)"},
            {"rubric/grid", "typed", "Ł", "1", "beep"},
            {"rubric/grid", "typed", "é", "1é", ""},
            {"rubric/grid", "pasted", "Ω", "1", "Ω (U+03A9)"},
            {"homework/Edit1", "typed", "Ł", "ab", "beep"},
            {"desk/Edit1", "typed", "ő", "ab", "beep"},
            {"desk/Edit1", "input method", "Ω", "ab", "Ω (U+03A9)"},
            {"subject/Edit1", "typed", "Ł", "ab", "beep"},
            {"subject/Edit1", "menu", "Ω", "ab", "Ω (U+03A9)"},
            {"phrase/Edit1", "dropped", "ő", "ab", "ő (U+0151)"},
            {"notepad/Memo1", "typed", "Ł", "ab", "beep"},
        };
        for (const auto& r : rows)
            QTest::addRow("%s, %s %s", r.field, r.how, qPrintable(r.input))
                << r.field << r.how << r.input << r.after << r.refused;
    }

    void fieldsRefuseWhatTheFileCannotHold()
    {
        QFETCH(QString, field);
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, after);
        QFETCH(QString, refused);
        QWidget* edit = openField(field);
        QVERIFY(edit);
        insert(edit, how, input);
        auto* line = qobject_cast<QLineEdit*>(edit);
        QCOMPARE(line ? line->text() : static_cast<QPlainTextEdit*>(edit)->toPlainText(), after);
        QCOMPARE(m_fake->beeps, refused == QLatin1String("beep") ? 1 : 0);
        QStringList told;
        for (const FakeSeams::Message& message : m_fake->messages)
            told << message.text;
        const QString text =
            QStringLiteral("Texte refusé : ces caractères ne peuvent pas être enregistrés dans le fichier : ");
        QCOMPARE(told,
                 refused.isEmpty() || refused == QLatin1String("beep") ? QStringList() : QStringList{text + refused});
        // Only what went in changes the class.
        if (m_class)
            QCOMPARE(m_class->isModified(), refused.isEmpty());
    }

    void aRefusedKeyAfterAFullStopChangesNothing()
    {
        // In the date of birth, after a full stop turned into a comma.
        QVERIFY(openField(QStringLiteral("class/Edit3")));
        QTest::keyClicks(m_class->Edit3, QStringLiteral("1."));
        m_class->setModified(false);
        QTest::sendKeyEvent(QTest::Click, m_class->Edit3, Qt::Key_unknown, QStringLiteral("Ω"), Qt::NoModifier);
        QCOMPARE(m_class->Edit3->text(), QStringLiteral("ab1,"));
        QCOMPARE(m_fake->beeps, 1);
        QVERIFY(!m_class->isModified());
    }

    void photoPathThatTheFileCannotHold()
    {
        TMDIChild w{SharedWindows{}};
        w.Fiche();
        m_fake->openAnswers << QStringLiteral("/photos/Łukasz.jpg");
        w.Image1Click();
        QCOMPARE(m_fake->messages.size(), 1);
        QCOMPARE(m_fake->messages[0].text,
                 QStringLiteral("Photo refusée : son chemin contient des caractères qui ne peuvent pas être "
                                "enregistrés dans le fichier de la classe : Ł (U+0141)"));
        QCOMPARE(w.photoPath(), QString());
        QVERIFY(!w.isModified());
    }
};

QTEST_MAIN(TestCp1252Guard)
#include "TestCp1252Guard.moc"
