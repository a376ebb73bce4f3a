#include "FakeSeams.h"
#include "TestFiles.h"
#include "core/PlatformError.h"
#include "model/NotesFile.h"
#include "tools/Blocnotes.h"
#include "tools/PrinterTextDevice.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

using testfiles::readAll;
using testfiles::writeAll;

namespace {

int pdfPages(const QString& path)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    const QString pdf = QString::fromLatin1(readAll(path));
    return static_cast<int>(pdf.count(page));
}

// Types characters as the keyboard would, accented ones included.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const PlatformError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

class TestBlocnotes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void repairName_data();
    void repairName();
    void decode_data();
    void decode();
    void everyByteRoundTrips();

    void missingFileKeepsText();
    void unchangedTextIsNeverWritten();
    void typedTextIsWrittenExactly();
    void emptiedMemoWritesZeroBytes();
    void lfOnlyFileSavedWithCrLf();
    void onlyFirstDoubledSeparatorIsRepaired();
    void tooLargeFileIsRefused();
    void capacityBoundary();
    void failedWriteKeepsModifiedFlag();
    void unreadableFileIsReported();
    void closingKeepsTextBetweenOpenings();

    void layout();
    void displayedLines_data();
    void displayedLines();
    void wrappedParagraphPrintsAsShown();
    void emptyMemoStillPrintsAJob();
    void pagesBreakWhenTheNextLineDoesNotFit();
    void deviceBreaksLinesAtTheRightEdge();
    void printerFailureIsAnIoError();

private:
    QTemporaryDir* m_dir = nullptr;
    QString m_oldCwd;
    FakeSeams* m_fake = nullptr;
    TBlocnotes* m_form = nullptr;
};

void TestBlocnotes::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    m_fake = new FakeSeams;
    m_form = new TBlocnotes;
}

void TestBlocnotes::cleanup()
{
    delete m_form;
    delete m_fake;
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
}

void TestBlocnotes::repairName_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("repaired");
    QTest::newRow("own name") << "Virelan.nte"
                              << "Virelan.nte";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("slash pair") << "/home/prof//Virelan.nte"
                                << "/home/prof/Virelan.nte";
    QTest::newRow("two slash pairs") << "a//b//c.nte"
                                     << "a/b//c.nte";
    QTest::newRow("backslash pair") << "C:\\\\prof\\\\n.nte"
                                    << "C:\\prof\\\\n.nte";
    QTest::newRow("slash pair first") << "a//b\\\\c"
                                      << "a/b\\\\c";
    QTest::newRow("backslash pair first") << "a\\\\b//c"
                                          << "a\\b//c";
    QTest::newRow("mixed is no pair") << "a/\\b"
                                      << "a/\\b";
    QTest::newRow("three in a row") << "a///b"
                                    << "a//b";
    QTest::newRow("only a pair") << "\\\\"
                                 << "\\";
    QTest::newRow("single separators") << "/a/b/c"
                                       << "/a/b/c";
}

void TestBlocnotes::repairName()
{
    QFETCH(QString, given);
    QFETCH(QString, repaired);
    QCOMPARE(notesfile::repairName(given), repaired);
}

void TestBlocnotes::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("crlf kept") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("lf cr is two") << QByteArray("a\n\rb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("cr cr lf") << QByteArray("a\r\r\nb") << QStringLiteral("a\r\n\r\nb");
    QTest::newRow("only line ends") << QByteArray("\n\n") << QStringLiteral("\r\n\r\n");
    QTest::newRow("code page") << QByteArray("\x80 \xe9t\xe9\xa0!") << QStringLiteral("€ été\u00a0!");
}

void TestBlocnotes::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(notesfile::decode(bytes), text);
}

void TestBlocnotes::everyByteRoundTrips()
{
    // Every byte but the line ends, NUL and a non-breaking space among them, must come back unchanged once the
    // memo has been touched and saved.
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n')
            continue;
        bytes += char(b);
        if (b % 32 == 0)
            bytes += "\r\n";
    }
    writeAll(QStringLiteral("Virelan.nte"), bytes);
    m_form->Charge(QStringLiteral("Virelan.nte"));
    QVERIFY(!m_form->isModified());
    m_form->show();
    m_form->Memo1->setFocus();
    QTest::keyClick(m_form->Memo1, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(m_form->Memo1, Qt::Key_X);
    QTest::keyClick(m_form->Memo1, Qt::Key_Backspace);
    QVERIFY(m_form->isModified());
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QCOMPARE(readAll(QStringLiteral("Virelan.nte")), bytes);
}

void TestBlocnotes::missingFileKeepsText()
{
    m_form->setText(QStringLiteral("déjà là"));
    m_form->setModified(true);
    m_form->Charge(QStringLiteral("Virelan.nte"));
    QCOMPARE(m_form->text(), QStringLiteral("déjà là"));
    QVERIFY(m_form->isModified());
    QVERIFY(!QFile::exists(QStringLiteral("Virelan.nte")));
}

void TestBlocnotes::unchangedTextIsNeverWritten()
{
    // Nothing typed: no file appears.
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QVERIFY(!QFile::exists(QStringLiteral("Virelan.nte")));

    // A loaded file keeps its bytes and its date.
    writeAll(QStringLiteral("Virelan.nte"), QByteArray("un\ndeux"));
    QFile file(QStringLiteral("Virelan.nte"));
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    m_form->Charge(QStringLiteral("Virelan.nte"));
    QCOMPARE(m_form->text(), QStringLiteral("un\r\ndeux"));
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QCOMPARE(readAll(QStringLiteral("Virelan.nte")), QByteArray("un\ndeux"));
    QCOMPARE(QFileInfo(QStringLiteral("Virelan.nte")).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
}

void TestBlocnotes::typedTextIsWrittenExactly()
{
    m_fake->onModal = [](QDialog* d) {
        auto* form = static_cast<TBlocnotes*>(d);
        d->show();
        form->Memo1->setFocus();
        typeText(form->Memo1, QStringLiteral("Réunion"));
        QTest::keyClick(form->Memo1, Qt::Key_Return);
        QTest::keyClicks(form->Memo1, QStringLiteral("lundi 8h"));
        QTest::keyClick(form->Memo1, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(form->Memo1, QStringLiteral("fin"));
        QTest::mouseClick(form->Button1, Qt::LeftButton);
        return 0;
    };
    seams().execModal(m_form);
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_form->isModified());
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QCOMPARE(readAll(QStringLiteral("Virelan.nte")), QByteArray("R\xe9union\r\nlundi 8h\r\nfin"));
    QVERIFY(!m_form->isModified());
    // Written once: a second close writes nothing more.
    QVERIFY(QFile::remove(QStringLiteral("Virelan.nte")));
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QVERIFY(!QFile::exists(QStringLiteral("Virelan.nte")));
}

void TestBlocnotes::emptiedMemoWritesZeroBytes()
{
    writeAll(QStringLiteral("Virelan.nte"), QByteArray("quelque chose\r\n"));
    m_form->Charge(QStringLiteral("Virelan.nte"));
    m_form->show();
    m_form->Memo1->setFocus();
    QTest::keyClick(m_form->Memo1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_form->Memo1, Qt::Key_Delete);
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QVERIFY(QFile::exists(QStringLiteral("Virelan.nte")));
    QCOMPARE(QFileInfo(QStringLiteral("Virelan.nte")).size(), qint64(0));

    TBlocnotes next;
    next.setText(QStringLiteral("reste"));
    next.Charge(QStringLiteral("Virelan.nte"));
    QCOMPARE(next.text(), QString());
    QVERIFY(!next.isModified());
}

void TestBlocnotes::lfOnlyFileSavedWithCrLf()
{
    writeAll(QStringLiteral("Virelan.nte"), QByteArray("ligne 1\nligne 2\n\nligne 4"));
    m_form->Charge(QStringLiteral("Virelan.nte"));
    QCOMPARE(m_form->Memo1->document()->blockCount(), 4);
    QCOMPARE(m_form->Memo1->document()->findBlockByNumber(3).text(), QStringLiteral("ligne 4"));
    m_form->show();
    m_form->Memo1->setFocus();
    QTest::keyClick(m_form->Memo1, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(m_form->Memo1, QStringLiteral("!"));
    m_form->Sauve(QStringLiteral("Virelan.nte"));
    QCOMPARE(readAll(QStringLiteral("Virelan.nte")), QByteArray("ligne 1\r\nligne 2\r\n\r\nligne 4!"));
}

void TestBlocnotes::onlyFirstDoubledSeparatorIsRepaired()
{
    // Backslashes are ordinary characters in names here, so the name used shows which pair was repaired.
    m_form->setText(QStringLiteral("x"));
    m_form->setModified(true);
    m_form->Sauve(QStringLiteral("p\\\\q\\\\r.nte"));
    QVERIFY(QFile::exists(QStringLiteral("p\\q\\\\r.nte")));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{QStringLiteral("p\\q\\\\r.nte")});

    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    writeAll(QStringLiteral("sub/Virelan.nte"), QByteArray("dans sub"));
    m_form->Charge(m_dir->path() + QStringLiteral("/sub//Virelan.nte"));
    QCOMPARE(m_form->text(), QStringLiteral("dans sub"));
}

void TestBlocnotes::tooLargeFileIsRefused()
{
    {
        QFile big(QStringLiteral("Virelan.nte"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(notesfile::Capacity + 1));
    }
    m_form->setText(QStringLiteral("avant"));
    m_form->setModified(true);
    QCOMPARE(errorOf([this] { m_form->Charge(QStringLiteral("Virelan.nte")); }),
             QStringLiteral("Le texte dépasse la capacité du mémo"));
    QCOMPARE(m_form->text(), QStringLiteral("avant"));
    QVERIFY(m_form->isModified());
}

void TestBlocnotes::capacityBoundary()
{
    writeAll(QStringLiteral("ten.nte"), QByteArray("0123456789"));
    QCOMPARE(notesfile::load(QStringLiteral("ten.nte"), 10).value_or(QString()), QStringLiteral("0123456789"));
    QCOMPARE(errorOf([] { notesfile::load(QStringLiteral("ten.nte"), 9); }),
             QStringLiteral("Le texte dépasse la capacité du mémo"));
    // The real capacity itself is accepted: tens of megabytes load.
    {
        QFile big(QStringLiteral("big.nte"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(notesfile::Capacity));
    }
    QVERIFY(notesfile::Capacity >= 10 * 1024 * 1024);
    QCOMPARE(notesfile::load(QStringLiteral("big.nte")).value_or(QString()).size(), notesfile::Capacity);
}

void TestBlocnotes::failedWriteKeepsModifiedFlag()
{
    m_form->setText(QStringLiteral("à garder"));
    m_form->setModified(true);
    const QString name = QStringLiteral("absent/Virelan.nte");
    QCOMPARE(errorOf([&] { m_form->Sauve(name); }), QStringLiteral("Ne peut créer le fichier absent/Virelan.nte"));
    QVERIFY(m_form->isModified());
    QVERIFY(QDir().mkdir(QStringLiteral("absent")));
    m_form->Sauve(name);
    QCOMPARE(readAll(name), QByteArray("\xe0 garder"));

    // A folder of that name is no missing notes file: it is reported and nothing is loaded.
    QVERIFY(QDir().mkdir(QStringLiteral("folder.nte")));
    QCOMPARE(errorOf([&] { m_form->Charge(QStringLiteral("folder.nte")); }),
             QStringLiteral("Ne peut ouvrir le fichier folder.nte"));
    QCOMPARE(m_form->text(), QStringLiteral("à garder"));
}

void TestBlocnotes::unreadableFileIsReported()
{
    // A file that opens but fails on reading (the start of a process's memory is never mapped).
    const QString name = QStringLiteral("/proc/self/mem");
    if (!QFileInfo(name).isFile())
        QSKIP("no /proc here");
    m_form->setText(QStringLiteral("avant"));
    QCOMPARE(errorOf([&] { m_form->Charge(name); }), QStringLiteral("Ne peut ouvrir le fichier /proc/self/mem"));
    QCOMPARE(m_form->text(), QStringLiteral("avant"));
    // The doubled separator is repaired before the name is reported.
    QCOMPARE(errorOf([&] { m_form->Charge(QStringLiteral("/proc//self/mem")); }),
             QStringLiteral("Ne peut ouvrir le fichier /proc/self/mem"));
}

void TestBlocnotes::closingKeepsTextBetweenOpenings()
{
    int openings = 0;
    m_fake->onModal = [&](QDialog* d) {
        auto* form = static_cast<TBlocnotes*>(d);
        d->show();
        form->Memo1->setFocus();
        QTest::keyClick(form->Memo1, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(form->Memo1, QString::number(++openings));
        QTest::keyClick(d, Qt::Key_Escape);
        return 0;
    };
    seams().execModal(m_form);
    QVERIFY(!m_form->isVisible());
    seams().execModal(m_form);
    seams().execModal(m_form);
    QCOMPARE(m_form->text(), QStringLiteral("123"));
    QVERIFY(!QFile::exists(QStringLiteral("Virelan.nte")));
}

void TestBlocnotes::layout()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Bloc-notes"));
    QCOMPARE(m_form->size(), QSize(533, 334));
    QCOMPARE(m_form->Button1->text(), QStringLiteral("Fermer"));
    QCOMPARE(m_form->Button1->geometry(), QRect(414, 2, 89, 28));
    QCOMPARE(m_form->SpeedButton9->geometry(), QRect(16, 4, 25, 25));
    QCOMPARE(m_form->SpeedButton9->toolTip(), QStringLiteral("Imprimer"));
    QCOMPARE(m_form->Memo1->geometry(), QRect(0, 33, 533, 301));
    QCOMPARE(m_form->Memo1->font().pixelSize(), 17);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    QCOMPARE(QApplication::focusWidget(), m_form->Memo1);
    // Tab leaves the memo instead of typing a tab.
    QTest::keyClick(m_form->Memo1, Qt::Key_Tab);
    QVERIFY(!m_form->text().contains(QLatin1Char('\t')));
}

void TestBlocnotes::displayedLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one") << QStringLiteral("seul") << QStringList{QStringLiteral("seul")};
    QTest::newRow("last empty not counted") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("inner empty counted") << QStringLiteral("a\r\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("two empty at end") << QStringLiteral("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("only a line end") << QStringLiteral("\r\n") << QStringList{""};
}

void TestBlocnotes::displayedLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    m_form->show();
    m_form->setText(text);
    QCOMPARE(m_form->displayedLines(), lines);
}

void TestBlocnotes::wrappedParagraphPrintsAsShown()
{
    QString paragraph;
    for (int i = 1; i <= 40; ++i)
        paragraph += QStringLiteral("mot%1 ").arg(i);
    paragraph += QStringLiteral("fin");
    m_form->setText(QStringLiteral("titre\r\n") + paragraph);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));

    const QStringList lines = m_form->displayedLines();
    QVERIFY2(lines.size() >= 4, qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(lines.first(), QStringLiteral("titre"));
    QCOMPARE(lines.mid(1).join(QString()), paragraph);
    // Each screen line fits in the memo and breaks between words.
    const QFontMetrics fm(m_form->Memo1->font());
    for (int i = 1; i < lines.size(); ++i) {
        QVERIFY(fm.horizontalAdvance(lines[i].trimmed()) <= m_form->Memo1->viewport()->width());
        if (i + 1 < lines.size())
            QVERIFY2(lines[i].endsWith(QLatin1Char(' ')), qPrintable(lines[i]));
    }

    m_form->Imprimer();
    QCOMPARE(pdfPages(m_fake->printerOutput()), 1);
    QVERIFY(!m_fake->messages.size());

    // The same lines through the device, one under the other from the corner of the printable area.
    PrinterTextDevice device(m_fake->printer());
    QFont font = m_form->Memo1->font();
    font.setPointSizeF(17 * 72.0 / 120);
    device.open(font);
    for (const QString& line : lines)
        device.writeLine(line);
    device.close();
    QCOMPARE(device.placed().size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(device.placed()[i].text, lines[i]);
        QCOMPARE(device.placed()[i].x, 0);
        QCOMPARE(device.placed()[i].y, i * device.lineHeight());
        QCOMPARE(device.placed()[i].page, 0);
    }
    // 10.2 points on a 1200 dpi printer: the line spacing is about 170 printer pixels.
    QVERIFY2(device.lineHeight() > 150 && device.lineHeight() < 220, qPrintable(QString::number(device.lineHeight())));
}

void TestBlocnotes::emptyMemoStillPrintsAJob()
{
    m_form->Imprimer();
    QVERIFY(QFileInfo(m_fake->printerOutput()).size() > 0);
    QCOMPARE(pdfPages(m_fake->printerOutput()), 1);
}

void TestBlocnotes::pagesBreakWhenTheNextLineDoesNotFit()
{
    PrinterTextDevice device(m_fake->printer());
    QFont font(QStringLiteral("System"));
    font.setPointSizeF(10.2);
    device.open(font);
    const int perPage = device.pageHeight() / device.lineHeight();
    QVERIFY(perPage > 10);
    const int total = 2 * perPage + 3;
    for (int i = 0; i < total; ++i)
        device.writeLine(QStringLiteral("ligne %1").arg(i));
    device.close();
    QCOMPARE(device.pageCount(), 3);
    QCOMPARE(pdfPages(m_fake->printerOutput()), 3);
    const auto& placed = device.placed();
    QCOMPARE(placed.size(), total);
    QCOMPARE(placed[perPage - 1].page, 0);
    QCOMPARE(placed[perPage - 1].y, (perPage - 1) * device.lineHeight());
    QVERIFY(placed[perPage - 1].y + device.lineHeight() <= device.pageHeight());
    QCOMPARE(placed[perPage], (PrinterTextDevice::Placed{1, 0, 0, QStringLiteral("ligne %1").arg(perPage)}));
    QCOMPARE(placed[2 * perPage], (PrinterTextDevice::Placed{2, 0, 0, QStringLiteral("ligne %1").arg(2 * perPage)}));
    QCOMPARE(placed.last().y, 2 * device.lineHeight());
}

void TestBlocnotes::deviceBreaksLinesAtTheRightEdge()
{
    PrinterTextDevice device(m_fake->printer());
    QFont font(QStringLiteral("System"));
    font.setPointSizeF(10.2);
    device.open(font);
    const QString wide = QString(400, QLatin1Char('W'));
    device.writeLine(wide);
    device.writeLine(QStringLiteral("après"));
    device.close();
    const auto& placed = device.placed();
    QVERIFY(placed.size() >= 3);
    QString joined;
    for (int i = 0; i + 1 < placed.size(); ++i) {
        joined += placed[i].text;
        QCOMPARE(placed[i].y, i * device.lineHeight());
    }
    QCOMPARE(joined, wide);
    QCOMPARE(placed.last().text, QStringLiteral("après"));
    QCOMPARE(placed.last().y, (placed.size() - 1) * device.lineHeight());
    // Each piece is as long as fits: one more character would cross the edge.
    QPainter probe;
    QFontMetrics fm(font, &m_fake->pdfPrinter());
    QVERIFY(fm.horizontalAdvance(placed[0].text) <= device.pageWidth());
    QVERIFY(fm.horizontalAdvance(placed[0].text + QLatin1Char('W')) > device.pageWidth());
}

void TestBlocnotes::printerFailureIsAnIoError()
{
    m_fake->pdfPrinter().setOutputFileName(m_dir->path() + QStringLiteral("/nowhere/out.pdf"));
    m_form->setText(QStringLiteral("a\r\nb"));
    QCOMPARE(errorOf([this] { m_form->Imprimer(); }), QStringLiteral("Erreur E/S 101"));
    m_form->show();
    QTest::mouseClick(m_form->SpeedButton9, Qt::LeftButton);
    QCOMPARE(m_fake->messages.size(), 1);
    QCOMPARE(m_fake->messages[0].text, QStringLiteral("Erreur E/S 101"));
    QVERIFY(m_form->isVisible());
}

QTEST_MAIN(TestBlocnotes)
#include "TestBlocnotes.moc"
