#include "TestFiles.h"
#include "core/PlatformError.h"
#include "model/PhraseList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testfiles::readAll;
using testfiles::writeAll;

namespace {

const QString Name = QStringLiteral("Virelan.obs");

QByteArray textfileBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

template <typename F> QString errorOf(F&& f)
{
    try {
        f();
    } catch (const PlatformError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestPhraseList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsEveryLineEnd_data();
    void readsEveryLineEnd();
    void writesCrLfInListOrder_data();
    void writesCrLfInListOrder();
    void missingFileKeepsTheList();
    void loadingClearsModified();
    void unchangedListWritesNothing();
    void savedOnceThenUnchanged();
    void unreadableFile();
    void uncreatableFileStaysModified();
    void removeRules_data();
    void removeRules();
    void replaceOutsideTheListChangesNothing();
    void lineBreaksBecomeBlanks_data();
    void lineBreaksBecomeBlanks();
    void outsideTheCodePage();

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCwd;
};

void TestPhraseList::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestPhraseList::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
}

void TestPhraseList::readsEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("phrases");
    QTest::newRow("CR LF") << QByteArray("Bon travail\r\nPeut mieux faire\r\n")
                           << QStringList{"Bon travail", "Peut mieux faire"};
    QTest::newRow("LF") << QByteArray("Bon travail\nPeut mieux faire\n")
                        << QStringList{"Bon travail", "Peut mieux faire"};
    QTest::newRow("CR") << QByteArray("Bon travail\rPeut mieux faire\r")
                        << QStringList{"Bon travail", "Peut mieux faire"};
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("no end on the last line") << QByteArray("seule") << QStringList{"seule"};
    QTest::newRow("empty phrases kept") << QByteArray("\r\na\r\n\r\n") << QStringList{"", "a", ""};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("Windows-1252") << QByteArray("El\xe8ve tr\xe8s s\xe9rieux \x80 \x9c")
                                  << QStringList{QStringLiteral("Elève très sérieux € œ")};
    QTest::newRow("NUL and tab kept") << QByteArray("a\tb\0c\r\n", 7) << QStringList{QString("a\tb") + QChar(0) + "c"};
    QTest::newRow("blanks kept") << QByteArray("  deux blancs  \r\n") << QStringList{"  deux blancs  "};
}

void TestPhraseList::readsEveryLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, phrases);
    writeAll(Name, bytes);
    PhraseList list;
    list.append(QStringLiteral("remplacée"));
    list.load(Name);
    QCOMPARE(list.phrases(), phrases);
    QVERIFY(!list.isModified());
}

void TestPhraseList::writesCrLfInListOrder_data()
{
    QTest::addColumn<QStringList>("phrases");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("two") << QStringList{"Bon trimestre", "Ensemble fragile"}
                         << QByteArray("Bon trimestre\r\nEnsemble fragile\r\n");
    QTest::newRow("empty phrase") << QStringList{"", "b"} << QByteArray("\r\nb\r\n");
    QTest::newRow("accents") << QStringList{QStringLiteral("Très bon élève, félicitations")}
                             << QByteArray("Tr\xe8s bon \xe9l\xe8ve, f\xe9licitations\r\n");
    QTest::newRow("not sorted") << QStringList{"z", "a", "m"} << QByteArray("z\r\na\r\nm\r\n");
}

void TestPhraseList::writesCrLfInListOrder()
{
    QFETCH(QStringList, phrases);
    QFETCH(QByteArray, bytes);
    writeAll(Name, QByteArray("ancien contenu plus long que le nouveau\r\n\r\n\r\n"));
    PhraseList list;
    list.load(Name);
    while (list.count() > 0)
        list.remove(0);
    for (const QString& p : phrases)
        list.append(p);
    list.save(Name);
    QCOMPARE(readAll(Name), bytes);
    QVERIFY(!list.isModified());
    // Read back as written.
    PhraseList next;
    next.load(Name);
    QCOMPARE(next.phrases(), phrases);
    // No temporary file left beside it.
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{Name});
}

void TestPhraseList::missingFileKeepsTheList()
{
    PhraseList list;
    list.append(QStringLiteral("déjà là"));
    list.load(Name);
    QCOMPARE(list.phrases(), QStringList{QStringLiteral("déjà là")});
    QVERIFY(!list.isModified());
    // A folder of that name is no missing file: it is reported and the list stays.
    QVERIFY(QDir().mkdir(Name));
    QCOMPARE(errorOf([&] { list.load(Name); }), QStringLiteral("Ne peut ouvrir le fichier Virelan.obs"));
    QCOMPARE(list.phrases(), QStringList{QStringLiteral("déjà là")});
}

void TestPhraseList::loadingClearsModified()
{
    writeAll(Name, QByteArray("a\r\n"));
    PhraseList list;
    list.append(QStringLiteral("x"));
    QVERIFY(list.isModified());
    list.load(Name);
    QVERIFY(!list.isModified());
    list.save(Name);
    QCOMPARE(readAll(Name), QByteArray("a\r\n"));
}

void TestPhraseList::unchangedListWritesNothing()
{
    PhraseList list;
    list.save(Name);
    QVERIFY(!QFile::exists(Name));
    // A file in LF only stays as it is when nothing changed.
    writeAll(Name, QByteArray("un\ndeux"));
    list.load(Name);
    list.save(Name);
    QCOMPARE(readAll(Name), QByteArray("un\ndeux"));
}

void TestPhraseList::savedOnceThenUnchanged()
{
    PhraseList list;
    list.append(QStringLiteral("a"));
    list.save(Name);
    QCOMPARE(readAll(Name), QByteArray("a\r\n"));
    QVERIFY(QFile::remove(Name));
    list.save(Name);
    QVERIFY(!QFile::exists(Name));
}

void TestPhraseList::unreadableFile()
{
    // A file that opens but fails on reading (the start of a process's memory is never mapped).
    if (!QFile::exists(QStringLiteral("/proc/self/mem")))
        QSKIP("no /proc here");
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), Name));
    PhraseList list;
    list.append(QStringLiteral("gardée"));
    QCOMPARE(errorOf([&] { list.load(Name); }), QStringLiteral("Ne peut ouvrir le fichier Virelan.obs"));
    // The loading stopped: the list is the one before.
    QCOMPARE(list.phrases(), QStringList{QStringLiteral("gardée")});
    QVERIFY(list.isModified());
}

void TestPhraseList::uncreatableFileStaysModified()
{
    QVERIFY(QDir().mkdir(Name));
    PhraseList list;
    list.append(QStringLiteral("a"));
    QCOMPARE(errorOf([&] { list.save(Name); }), QStringLiteral("Ne peut créer le fichier Virelan.obs"));
    QVERIFY(list.isModified());
    // Once the way is clear the next save writes it.
    QVERIFY(QDir().rmdir(Name));
    list.save(Name);
    QCOMPARE(readAll(Name), QByteArray("a\r\n"));
}

void TestPhraseList::removeRules_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<bool>("modified");
    QTest::newRow("first") << QStringList{"a", "b", "c"} << 0 << QStringList{"b", "c"} << true;
    QTest::newRow("last") << QStringList{"a", "b", "c"} << 2 << QStringList{"a", "b"} << true;
    QTest::newRow("none selected") << QStringList{"a", "b"} << -1 << QStringList{"a", "b"} << true;
    QTest::newRow("past the end") << QStringList{"a"} << 1 << QStringList{"a"} << true;
    QTest::newRow("empty list") << QStringList{} << -1 << QStringList{} << false;
    QTest::newRow("empty list, index 0") << QStringList{} << 0 << QStringList{} << false;
}

void TestPhraseList::removeRules()
{
    QFETCH(QStringList, before);
    QFETCH(int, index);
    QFETCH(QStringList, after);
    QFETCH(bool, modified);
    writeAll(Name, textfileBytes(before));
    PhraseList list;
    list.load(Name);
    QCOMPARE(list.phrases(), before);
    list.remove(index);
    QCOMPARE(list.phrases(), after);
    QCOMPARE(list.isModified(), modified);
}

void TestPhraseList::replaceOutsideTheListChangesNothing()
{
    PhraseList list;
    list.append(QStringLiteral("a"));
    list.save(Name);
    list.replace(1, QStringLiteral("b"));
    list.replace(-1, QStringLiteral("b"));
    QCOMPARE(list.phrases(), QStringList{"a"});
    QVERIFY(!list.isModified());
    list.replace(0, QStringLiteral("b"));
    QCOMPARE(list.phrases(), QStringList{"b"});
    QVERIFY(list.isModified());
}

void TestPhraseList::lineBreaksBecomeBlanks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("LF") << "a\nb"
                        << "a b";
    QTest::newRow("CR LF is one blank") << "a\r\nb"
                                        << "a b";
    QTest::newRow("CR") << "a\rb"
                        << "a b";
    QTest::newRow("two LF") << "a\n\nb"
                            << "a  b";
    QTest::newRow("unicode separators") << QString("a") + QChar::LineSeparator + "b" + QChar::ParagraphSeparator
                                        << "a b ";
    QTest::newRow("tab stays") << "a\tb"
                               << "a\tb";
}

void TestPhraseList::lineBreaksBecomeBlanks()
{
    QFETCH(QString, typed);
    QFETCH(QString, phrase);
    PhraseList list;
    list.append(typed);
    list.append(QStringLiteral("x"));
    list.replace(1, typed);
    QCOMPARE(list.phrases(), QStringList({phrase, phrase}));
    list.save(Name);
    PhraseList next;
    next.load(Name);
    QCOMPARE(next.phrases(), QStringList({phrase, phrase}));
}

void TestPhraseList::outsideTheCodePage()
{
    PhraseList list;
    list.append(QStringLiteral("Bravo ✓ 日本"));
    list.save(Name);
    QCOMPARE(readAll(Name), QByteArray("Bravo ? ??\r\n"));
}

QTEST_MAIN(TestPhraseList)
#include "TestPhraseList.moc"
