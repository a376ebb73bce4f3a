#include "ClassWindows.h"
#include "FakeSeams.h"
#include "Rows.h"
#include "analysis/Rub.h"
#include "classbook/MDIChild.h"
#include "companions/Devoirs.h"
#include "companions/Obs.h"
#include "companions/PlnEdit.h"
#include "companions/PrjEdit.h"
#include "tools/Blocnotes.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

// Every field whose text ends in a Windows-1252 file refuses the characters that the file cannot hold, however
// they come; nothing of a refused text goes in.
class TestCp1252Guard : public QObject
{
    Q_OBJECT

    std::optional<ClassWindows> m_windows;
    // The window shown; a class window is the fixture's, which forgets it once it is gone.
    std::unique_ptr<QWidget> m_window;

    // Opens the window and gives its field ("window/object"), holding "ab" with the caret at its end; a grid's
    // field is its cell editor, opened on a cell holding "1".
    QWidget* openField(const QString& name)
    {
        const std::map<QString, std::function<QWidget*()>> windows = {
            {"class", [this] { return m_windows->open(); }}, {"rubric", [] { return new TRub; }},
            {"homework", [] { return new TDevoirs; }},       {"desk", [] { return new TPlnEdit; }},
            {"subject", [] { return new TPrjEdit; }},        {"phrase", [] { return new TObs; }},
            {"notepad", [] { return new TBlocnotes; }}};
        m_window.reset(windows.at(name.section('/', 0, 0))());
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        if (auto* grid = m_window->findChild<StringGrid*>(); grid && name.endsWith("/grid")) {
            grid->setCell(grid->fixedCols(), 3, QStringLiteral("1"));
            grid->setCurrent(grid->fixedCols(), 3);
            QTest::keyClick(grid, Qt::Key_F2);
            return grid->editor();
        }
        if (auto* card = qobject_cast<TMDIChild*>(m_window.get()))
            card->Fiche();
        auto* field = m_window->findChild<QWidget*>(name.section('/', 1));
        if (auto* line = qobject_cast<QLineEdit*>(field))
            line->setText(QStringLiteral("ab"));
        if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) {
            plain->setPlainText(QStringLiteral("ab"));
            plain->moveCursor(QTextCursor::End);
        }
        field->setFocus();
        if (auto* card = qobject_cast<TMDIChild*>(m_window.get()))
            card->setModified(false);
        return field;
    }

    static void insert(QWidget* field, const QString& how, const QString& input)
    {
        auto* plain = qobject_cast<QPlainTextEdit*>(field);
        QWidget* surface = plain ? plain->viewport() : field; // takes the drops and the context menu
        QGuiApplication::clipboard()->setText(input);
        QMimeData data;
        data.setText(input);
        const QPoint end(surface->width() - 2, surface->height() / 2);
        // The drop goes where the drag entered, as Qt's drag manager sends it.
        QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), surface->mapToGlobal(QPoint(2, 2)));
        QInputMethodEvent composed;
        composed.setCommitString(input);
        if (how == "typed") {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, input, Qt::NoModifier);
        } else if (how == "pasted") {
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (how == "dropped") {
            QApplication::sendEvent(surface, &enter);
            QApplication::sendEvent(surface, &drop);
        } else if (how == "menu") {
            QApplication::sendEvent(surface, &menu);
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(popup);
            popup->close();
            for (QAction* action : popup->actions())
                if (action->text().startsWith(QLatin1String("&Paste")))
                    action->trigger();
        } else {
            QApplication::sendEvent(field, &composed);
        }
    }

private slots:
    void initTestCase() { fonts::install(); }
    void init() { m_windows.emplace(); }
    void cleanup()
    {
        m_window.reset();
        m_windows.reset();
    }

    // The field | how the text comes | the text | the field's text after | the characters the message names, or a
    // beep for a typed one. Each way in once for a line, a box of lines and a cell; each window's fields once.
    void fieldsRefuseWhatTheFileCannotHold_data()
    {
        rows::add({"class/grid | typed | Ł | 1, | beep",
                   "class/grid | pasted | 3Ω | 1, | Ω (U+03A9)",
                   "class/Edit1 | typed | Ł | ab | beep",
                   "class/Edit1 | pasted | Łódź ŁΩ | ab | Ł (U+0141), ź (U+017A), Ω (U+03A9)",
                   "class/Edit1 | pasted | œ€ | abœ€ | ",
                   "class/Edit3 | typed | Ω | ab | beep",
                   "class/Edit8 | menu | ő | ab | ő (U+0151)",
                   "class/Edit8 | dropped | Ωmega | ab | Ω (U+03A9)",
                   "class/Edit8 | input method | 😀 | ab | 😀 (U+1F600)",
                   "class/Edit8 | input method | ê | abê | ",
                   "class/Memo1 | typed | Ω | ab | beep",
                   "class/Memo1 | pasted | Łukasz | ab | Ł (U+0141)",
                   "class/Memo1 | menu | ő | ab | ő (U+0151)",
                   "class/Memo1 | dropped | Ω | ab | Ω (U+03A9)",
                   "class/Memo1 | dropped | «» | ab«» | ",
                   "class/Memo1 | input method | 中文 | ab | 中 (U+4E2D), 文 (U+6587)",
                   "rubric/grid | typed | Ł | 1 | beep",
                   "homework/Edit1 | typed | Ł | ab | beep",
                   "desk/Edit1 | input method | Ω | ab | Ω (U+03A9)",
                   "subject/Edit1 | menu | Ω | ab | Ω (U+03A9)",
                   "phrase/Edit1 | dropped | ő | ab | ő (U+0151)",
                   "notepad/Memo1 | typed | Ł | ab | beep"},
                  3);
    }
    void fieldsRefuseWhatTheFileCannotHold()
    {
        const QStringList row = rows::fields();
        QWidget* field = openField(row[0]);
        QVERIFY(field);
        insert(field, row[1], row[2]);
        auto* line = qobject_cast<QLineEdit*>(field);
        QCOMPARE(line ? line->text() : static_cast<QPlainTextEdit*>(field)->toPlainText(), row[3]);
        QCOMPARE(m_windows->fake().beeps, row[4] == "beep" ? 1 : 0);
        QStringList told;
        for (const FakeSeams::Message& message : m_windows->fake().messages)
            told << message.text;
        const QString text = "Texte refusé : ces caractères ne peuvent pas être enregistrés dans le fichier : ";
        QCOMPARE(told, row[4].isEmpty() || row[4] == "beep" ? QStringList() : QStringList{text + row[4]});
        // Only what went in changes the class.
        if (auto* card = qobject_cast<TMDIChild*>(m_window.get()))
            QCOMPARE(card->isModified(), row[4].isEmpty());
    }

    // The field | how many characters it holds (a line break in the remarks counts one) | how the text comes |
    // the text | the length after | a beep or the message. What the class file holds on a line is 8 192.
    void fieldsHoldWhatALineOfTheClassFileHolds_data()
    {
        rows::add({"class/Edit1 | 8191 | typed | y | 8192 | ", "class/Edit1 | 8192 | typed | y | 8192 | beep",
                   "class/Edit8 | 8190 | pasted | yz | 8192 | ", "class/Edit8 | 8191 | pasted | yz | 8191 | message",
                   "class/Memo1 | 8191 | pasted | y | 8192 | ", "class/Memo1 | 8191 | dropped | yz | 8191 | message",
                   "class/Memo1 | 8192 | Return | - | 8192 | beep", "class/Memo1 | 8191 | Return | - | 8192 | ",
                   "rubric/grid | 8191 | menu | yz | 8191 | message",
                   "rubric/grid | 8191 | input method | yz | 8191 | message"},
                  3);
    }
    void fieldsHoldWhatALineOfTheClassFileHolds()
    {
        const QStringList row = rows::fields();
        QWidget* field = openField(row[0]);
        QVERIFY(field);
        const int length = row[1].toInt();
        auto* line = qobject_cast<QLineEdit*>(field);
        if (line)
            line->setText(QString(length, 'x'));
        else
            static_cast<QPlainTextEdit*>(field)->setPlainText(QString(length - 1, 'x') + "\n");
        if (row[2] == "Return")
            QTest::keyClick(field, Qt::Key_Return);
        else
            insert(field, row[2], row[3]);
        QCOMPARE(line ? line->text().size() : static_cast<QPlainTextEdit*>(field)->document()->characterCount() - 1,
                 row[4].toInt());
        QCOMPARE(m_windows->fake().beeps, row[5] == "beep" ? 1 : 0);
        QCOMPARE(m_windows->fake().messages.size(), row[5] == "message" ? 1 : 0);
        if (row[5] == "message")
            QCOMPARE(m_windows->fake().messages[0].text,
                     "Texte refusé : ce champ ne peut pas contenir plus de 8\u00A0192 caractères.");
    }

    void photoPathThatTheFileCannotHold()
    {
        TMDIChild& w = *m_windows->open();
        w.Fiche();
        m_windows->fake().openAnswers << QStringLiteral("/photos/Łukasz.jpg");
        w.Image1Click();
        QCOMPARE(m_windows->fake().messages.size(), 1);
        QCOMPARE(m_windows->fake().messages[0].text,
                 "Photo refusée : son chemin contient des caractères qui ne peuvent pas être "
                 "enregistrés dans le fichier de la classe : Ł (U+0141)");
        QCOMPARE(w.photoPath(), QString());
        QVERIFY(!w.isModified());
    }
};

QTEST_MAIN(TestCp1252Guard)
#include "TestCp1252Guard.moc"
