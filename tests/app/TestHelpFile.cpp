#include "app/HelpFile.h"
#include "app/HelpWindow.h"

#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class TestHelpFile : public QObject
{
    Q_OBJECT

private slots:
    void parse();
    void blankKeywordsMakeNoEntry()
    {
        const HelpFile help = HelpFile::parse("@topic 7 Titre\n@keywords ; ; ab;  \n");
        QCOMPARE(help.topic(7)->keywords, QStringList({"ab"}));
        QCOMPARE(help.index().size(), 2);
    }
    void shippedFileHasATopicPerMenu();
    void windowShowsTopicsAndSearches();
    void missingFileIsReportedByTheWindow();
    void installedFileIsFoundFromAMovedExecutable();
};

void TestHelpFile::parse()
{
    const HelpFile help = HelpFile::parse("; comment\r\n"
                                          "@topic 3 Le menu Fichier\r\n"
                                          "@keywords ouvrir; Enregistrer\r\n"
                                          "<p>Texte</p>\r\n"
                                          "@topic 4 Édition\n"
                                          "<p>Copier</p>\n");
    QVERIFY(help.isValid());
    QCOMPARE(help.topics().size(), 2);
    QCOMPARE(help.topic(3)->title, QStringLiteral("Le menu Fichier"));
    QCOMPARE(help.topic(3)->keywords, QStringList({"ouvrir", "Enregistrer"}));
    QCOMPARE(help.topic(3)->body, QStringLiteral("<p>Texte</p>\n"));
    QCOMPARE(help.topic(4)->title, QStringLiteral("Édition"));
    QVERIFY(!help.topic(5));
    // The index is sorted without regard to case or accents.
    QStringList words;
    for (const auto& entry : help.index())
        words << entry.first;
    QCOMPARE(words, QStringList({"Édition", "Enregistrer", "Le menu Fichier", "ouvrir"}));
}

void TestHelpFile::shippedFileHasATopicPerMenu()
{
    const HelpFile help = HelpFile::load(QStringLiteral(VIRELAN_HELP_FILE));
    QVERIFY(help.isValid());
    for (int context = 3; context <= 10; ++context) {
        QVERIFY2(help.topic(context), qPrintable(QString::number(context)));
        QVERIFY(!help.topic(context)->body.trimmed().isEmpty());
    }
}

void TestHelpFile::windowShowsTopicsAndSearches()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Virelan.hlp")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("@topic 3 Fichier\n@keywords ouvrir\n<p>Ouvrir une classe.</p>\n@topic 4 Edition\n<p>Copier.</p>\n");
    file.close();
    HelpWindow window(file.fileName());
    window.showContents();
    QCOMPARE(window.contentsList()->count(), 2);
    QVERIFY(window.viewer()->toPlainText().contains(QStringLiteral("Ouvrir une classe.")));
    window.showSearch(QStringLiteral("ouv"));
    QCOMPARE(window.indexList()->count(), 1);
    QCOMPARE(window.indexList()->item(0)->text(), QStringLiteral("ouvrir"));
    window.showTopic(4);
    QVERIFY(window.viewer()->toPlainText().contains(QStringLiteral("Copier.")));
    window.showHelpOnHelp();
    QVERIFY(window.viewer()->toPlainText().contains(QStringLiteral("Utiliser l'aide")));
    QVERIFY(!window.testAttribute(Qt::WA_QuitOnClose));
}

void TestHelpFile::missingFileIsReportedByTheWindow()
{
    QTemporaryDir dir;
    HelpWindow window(dir.filePath(QStringLiteral("Virelan.hlp")));
    if (window.resolvedHelpFile() != window.helpFile())
        QSKIP("an installed help file stands in for the missing one");
    window.showContents();
    QVERIFY(window.viewer()->toPlainText().contains(QStringLiteral("Fichier d'aide introuvable")));
}

// An install tree moved elsewhere as a whole: <prefix>/bin/virelan and <prefix>/share/virelan/Virelan.hlp; the
// start-up folder's own help file comes first.
void TestHelpFile::installedFileIsFoundFromAMovedExecutable()
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath("ailleurs/opt");
    testfiles::writeAll(prefix + "/share/virelan/Virelan.hlp", "");
    QVERIFY(QDir().mkpath(prefix + "/bin"));
    const QString helpFile = dir.filePath("Virelan.hlp");
    QCOMPARE(HelpWindow::resolvedHelpFile(helpFile, prefix + "/bin"), prefix + "/share/virelan/Virelan.hlp");
    testfiles::writeAll(helpFile, "");
    QCOMPARE(HelpWindow::resolvedHelpFile(helpFile, prefix + "/bin"), helpFile);
}

QTEST_MAIN(TestHelpFile)
#include "TestHelpFile.moc"
