#include "widgets/QtSeams.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestQtSeams : public QObject
{
    Q_OBJECT

private slots:
    void filters_data();
    void filters();
    void openLeavesNoListHoldingTheKeys();
};

void TestQtSeams::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("class files") << "Fichiers classes (*.prf)|*.prf" << QStringList{"Fichiers classes (*.prf)"};
    QTest::newRow("pictures") << "Tout (*.bmp;*.ico;*.jpg)|*.bmp;*.ico;*.jpg|Bitmaps (*.bmp)|*.bmp|Icônes (*.ico)|*.ico"
                              << QStringList{"Tout (*.bmp *.ico *.jpg)", "Bitmaps (*.bmp)", "Icônes (*.ico)"};
    QTest::newRow("no parentheses") << "Texte|*.txt" << QStringList{"Texte (*.txt)"};
    QTest::newRow("odd count") << "Texte|*.txt|Seul" << QStringList{"Texte (*.txt)"};
}

void TestQtSeams::filters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, qt);
    const QStringList out = QtSeams::qtFilters(filter);
    QCOMPARE(out, qt);
    // Qt finds every pattern of each entry.
    for (const QString& entry : out) {
        const QRegularExpression inParentheses(QStringLiteral("\\(([^)]*)\\)$"));
        QVERIFY(inParentheses.match(entry).hasMatch());
        QVERIFY(!inParentheses.match(entry).captured(1).contains(QLatin1Char(';')));
    }
}

void TestQtSeams::openLeavesNoListHoldingTheKeys()
{
    // The name typed, its completion list open over the dialog, and the dialog answered: the list goes with the
    // answer, not when the dialog itself goes, on the next turn of the event loop.
    QTemporaryDir folder;
    QFile(folder.filePath("photo1.jpg")).open(QIODevice::WriteOnly);
    QFile(folder.filePath("photo2.jpg")).open(QIODevice::WriteOnly);
    bool listShown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->setDirectory(folder.path());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        // Typed again until the folder is read and the list comes.
        listShown = QTest::qWaitFor(
            [name] {
                name->clear();
                QTest::keyClicks(name, "photo");
                return QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 100);
            },
            5000);
        name->setText(folder.filePath("photo1.jpg"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QtSeams seams;
    const QString chosen = seams.openFileName(nullptr, "Compressés jpeg (*.jpg)|*.jpg");
    QVERIFY(listShown);
    QCOMPARE(chosen, folder.filePath("photo1.jpg"));
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

QTEST_MAIN(TestQtSeams)
#include "TestQtSeams.moc"
