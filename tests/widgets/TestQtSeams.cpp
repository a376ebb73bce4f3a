#include "widgets/QtSeams.h"

#include "core/PlatformError.h"
#include "widgets/Printer.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPagedPaintDevice>
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
    void printerModuleFound_data();
    void printerModuleFound();
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

// Where the installed program finds its printer, from a temporary root.
const QString Installed = QStringLiteral("bin/" VIRELAN_MODULES_FROM_BIN "/virelan-printer.so");

void TestQtSeams::printerModuleFound_data()
{
    QTest::addColumn<QString>("placed");
    QTest::addColumn<bool>("loads");
    QTest::newRow("beside the program") << "bin/virelan-printer.so" << true;
    QTest::newRow("installed") << Installed << true;
    QTest::newRow("nowhere") << "" << false;
    QTest::newRow("not a module") << "-bin/virelan-printer.so" << false;
    QTest::newRow("installed, not a module") << QStringLiteral("-") + Installed << false;
}

void TestQtSeams::printerModuleFound()
{
    QFETCH(QString, placed);
    QFETCH(bool, loads);
    QTemporaryDir root;
    QDir(root.path()).mkpath("bin");
    // The module copied where it is looked for, or a text file in its place ("-").
    if (!placed.isEmpty()) {
        const bool text = placed.startsWith('-');
        const QString path = QDir::cleanPath(root.filePath(text ? placed.mid(1) : placed));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        if (text)
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("pas un module") > 0);
        else
            QVERIFY(QFile::copy(VIRELAN_PRINTER_MODULE_FILE, path));
    }
    try {
        const std::unique_ptr<Printer> printer = printermodule::load(root.filePath("bin"));
        QVERIFY2(loads, "loaded");
        QCOMPARE(printer->state(), Printer::State::Idle);
        QCOMPARE(printer->device().logicalDpiX(), 1200);
    } catch (const PlatformError& e) {
        QVERIFY2(!loads, qPrintable(e.message()));
        QCOMPARE(e.message(),
                 "Impossible de charger le module d'impression " + QDir::cleanPath(root.filePath(Installed)));
    }
}

QTEST_MAIN(TestQtSeams)
#include "TestQtSeams.moc"
