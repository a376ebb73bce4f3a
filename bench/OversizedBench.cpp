// Files far larger than any the program writes, and the largest each reader takes: the time from the reader's
// call to its answer (refused with its message, or read and shown) and the peak memory of the process, each case
// in a process of its own so that getrusage's peak belongs to its reading alone. A benchmark: it never fails on a time.
//
//     oversized_bench                  every case, as a table
//     oversized_bench make CASE FILE   makes the case's file
//     oversized_bench read CASE FILE   reads it, as the program does, and prints the time and the peak memory
// Each step runs in a process of its own, started by a runner that stays small: a process's peak memory counts
// from the size its parent had when it was started.
#include "FakeSeams.h"
#include "app/HelpWindow.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/MDIChild.h"
#include "core/PlatformError.h"
#include "model/ClassFile.h"
#include "model/StudentImport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

constexpr qint64 Mo = 1024 * 1024;

struct Case
{
    const char* name;
    const char* what;
    std::function<void(const QString& path)> make;
    // What the reader answered: its refusal, or what it read; the tool windows built as at start-up.
    std::function<QString(const QString& path, const SharedWindows& windows)> run;
};

void write(const QString& path, const QByteArray& bytes, qint64 size = -1)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || (size >= 0 && !file.resize(size)))
        qFatal("cannot write %s", qPrintable(path));
}

// The class window's loading, as "Ouvrir..." does it, then the card of student 1 shown.
QString openClass(const QString& path, const SharedWindows& windows)
{
    TMDIChild window(windows);
    window.resize(800, 600);
    window.show();
    try {
        window.Charge(path);
    } catch (const PlatformError& error) {
        return error.message();
    }
    window.Fiche();
    window.repaint();
    QApplication::processEvents();
    return QStringLiteral("read; card of %1 characters shown").arg(window.card()->field(1)->text().size());
}

QString importList(const QString& path, const SharedWindows&)
{
    ClassTable table;
    try {
        const studentimport::Plan plan = studentimport::planFrom(path, table);
        return QStringLiteral("read: %1 added, %2 refused, %3 columns ignored")
            .arg(plan.added.size())
            .arg(plan.rejectedCount)
            .arg(plan.ignoredCount);
    } catch (const PlatformError& error) {
        return error.message();
    }
}

// "Sommaire" in the help window, until its first topic is painted.
QString helpContents(const QString& path, const SharedWindows&)
{
    HelpWindow window(path);
    window.showContents();
    window.repaint();
    QApplication::processEvents();
    return window.viewer()->toPlainText().left(120).replace(u'\n', u' ');
}

QByteArray helpOfSize(qint64 size)
{
    QByteArray help;
    for (int topic = 1; help.size() < size; ++topic) {
        help += "@topic " + QByteArray::number(topic) + " Rubrique " + QByteArray::number(topic) + "\n@keywords mot" +
                QByteArray::number(topic) + "\n";
        for (int line = 0; line < 120; ++line)
            help += "<p>Une ligne d'aide assez longue pour ressembler \xC3\xA0 un vrai paragraphe de manuel.</p>\n";
    }
    return help.left(size);
}

const QList<Case>& cases()
{
    static const QList<Case> all = {
        {"nothing", "the program's windows, nothing read (the baseline of memory)", [](const QString&) {},
         [](const QString&, const SharedWindows&) { return QStringLiteral("-"); }},
        {"class-100g", "class file of 100 GB (sparse)", [](const QString& p) { write(p, {}, 100 * 1024 * Mo); },
         openClass},
        {"class-record-10m", "class file with a 10 MB surname record",
         [](const QString& p) { write(p, "\r\n0221" + QByteArray(10 * Mo, 'x') + "\r\n"); }, openClass},
        {"class-largest", "the largest class the program writes: every text 8 192 characters (26 MB)",
         [](const QString& p) {
             ClassTable table;
             for (int row = ClassTable::FirstRow; row <= ClassTable::LastRow; ++row)
                 for (int slot = 1; slot < ClassTable::SlotCount; ++slot)
                     if (slot != ClassTable::Photo)
                         table.at(row, slot) = QString(classfile::MaxText, QChar(u'e'));
             classfile::Widths widths;
             widths.fill(64);
             write(p, classfile::write(table, widths));
         },
         openClass},
        {"list-200m", "student list of 200 MB (sparse)", [](const QString& p) { write(p, "Nom\n", 200 * Mo); },
         importList},
        {"list-16m", "student list of 16 MB: 370,000 students with two-line remarks",
         [](const QString& p) {
             QByteArray list = "Nom;Pr\xC3\xA9nom;Ville;Remarques\r\n";
             while (list.size() < 16 * Mo - 64)
                 list += "Dupont;L\xC3\xA9"
                         "a;Lyon;\"Bon travail,\r\nsoigneuse.\"\r\n";
             write(p, list);
         },
         importList},
        {"list-million-columns", "header of a million columns (2 MB)",
         [](const QString& p) { write(p, "Nom" + QByteArray(";x").repeated(1000000) + "\nA\n"); }, importList},
        {"list-16384-columns", "header of 16 384 columns, all unknown but one",
         [](const QString& p) {
             QByteArray list = "Nom";
             for (int c = 1; c < 16384; ++c)
                 list += ";colonne" + QByteArray::number(c);
             write(p, list + "\nA\n");
         },
         importList},
        {"list-quoted-400k", "a 400 KB line of quotes",
         [](const QString& p) { write(p, "Nom;Remarques\nA;x" + QByteArray(400 * 1024, '"') + "\n"); }, importList},
        {"help-24m", "help file of 24 MB", [](const QString& p) { write(p, helpOfSize(24 * Mo)); }, helpContents},
        {"help-1m", "help file of 1 MB (the largest taken): about 100 topics of 10 KB",
         [](const QString& p) { write(p, helpOfSize(Mo)); }, helpContents},
    };
    return all;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int runOne(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString step = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString path = QString::fromLocal8Bit(argv[3]);
    for (const Case& c : cases()) {
        if (name != QLatin1String(c.name))
            continue;
        if (step == QLatin1String("make")) {
            c.make(path);
            return 0;
        }
        FakeSeams seams;
        const ToolWindows windows;
        QElapsedTimer timer;
        timer.start();
        const QString answer = c.run(path, windows.shared());
        const double ms = timer.nsecsElapsed() / 1e6;
        std::printf("%.1f %ld %s\n", ms, peakKb(), qPrintable(answer));
        return 0;
    }
    return 2;
}

QString runStep(const char* step, const Case& c, const QString& path)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  {QString::fromLatin1(step), QString::fromLatin1(c.name), path});
    process.waitForFinished(-1);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4)
        return runOne(argc, argv);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file"));
    std::printf("| input | time to the answer | peak memory | answer |\n|---|---|---|---|\n");
    for (const Case& c : cases()) {
        runStep("make", c, path);
        const QString out = runStep("read", c, path);
        QFile::remove(path);
        const double mb = out.section(u' ', 1, 1).toDouble() / 1024;
        std::printf("| %s | %s ms | %.0f MB | %s |\n", c.what, qPrintable(out.section(u' ', 0, 0)), mb,
                    qPrintable(out.section(u' ', 2).replace(dir.path(), QStringLiteral("…"))));
        std::fflush(stdout);
    }
    return 0;
}
