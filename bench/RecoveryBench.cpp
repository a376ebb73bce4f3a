// What a recovery copy of a full class costs, and whether typing feels it:
//
//     recovery_bench [folder]        (QT_QPA_PLATFORM=offscreen where there is no display)
//
// The copies go into <folder>/recovery (default: a new folder in the current one): a folder on the disk that holds
// the user's data, not a tmpfs, so that the file writer's syncs reach the disk. The class: 62 students, 30 rubrics
// of marks, every card filled, remarks of 20 lines, shown in a class window with a mark being typed. Prints, in
// milliseconds, the median and the slowest of:
//   take    the copy taken on the window's thread (the class as a save writes it, the cell being typed included)
//   make    the copy made from what was taken, on the store's thread: the class file, the homework file, the
//           copy's records and its SHA-256
//   write   the copy written through the file writer: a temporary file, synced, renamed, the folder synced
//   keys    a key typed into the grid (a digit, or Tab to the next mark), until handled and painted; keys come
//           30 ms apart, as from a fast typist; without copies, with a copy a second (as the program does), and
//           with a copy after every key (the store's delay 0: a write always running)

#include "app/ToolWindows.h"
#include "classbook/MDIChild.h"
#include "core/FileWriter.h"
#include "model/ClassFile.h"
#include "model/RecoveryStore.h"
#include "widgets/Fonts.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Keys = 400;
constexpr int KeyGapMs = 30;

QByteArray fullClass()
{
    ClassTable table;
    for (int c = ClassTable::FirstMarkSlot; c <= ClassTable::LastMarkSlot; ++c) {
        table.at(-1, c) = QStringLiteral("Devoir %1").arg(c - 1);
        table.at(0, c) = QStringLiteral("1,5");
    }
    QStringList remarks;
    for (int line = 1; line <= 20; ++line)
        remarks << QStringLiteral("Ligne %1 : élève attentif, travail régulier, des progrès en calcul.").arg(line);
    for (int n = 1; n <= TMDIChild::StudentCount; ++n) {
        for (int c = ClassTable::FirstMarkSlot; c <= ClassTable::LastMarkSlot; ++c)
            table.at(n, c) = QStringLiteral("%1,%2").arg((n * c) % 21).arg(c % 10);
        const QStringList card = {QStringLiteral("Martin%1").arg(n),
                                  QStringLiteral("Léa%1").arg(n),
                                  QStringLiteral("12/03/2012"),
                                  QStringLiteral("6e A"),
                                  QStringLiteral("%1 rue des Écoles").arg(n),
                                  QStringLiteral("Bâtiment B"),
                                  QStringLiteral("69003"),
                                  QStringLiteral("Lyon"),
                                  QStringLiteral("04 78 00 00 %1").arg(n),
                                  QStringLiteral("06 12 34 56 %1").arg(n),
                                  QStringLiteral("Vétérinaire"),
                                  remarks.join(QStringLiteral("\r\n")),
                                  QStringLiteral("/home/prof/photos/eleve%1.jpg").arg(n),
                                  QStringLiteral("Boulanger"),
                                  QStringLiteral("Infirmière")};
        for (int i = 0; i < card.size(); ++i)
            table.at(n, ClassTable::Surname + i) = card[i];
    }
    classfile::Widths widths;
    widths.fill(32);
    widths[0] = 192;
    return classfile::write(table, widths);
}

double ms(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6;
}

void report(const char* measure, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%-28s median %8.3f ms   95th %8.3f ms   slowest %8.3f ms   (%zu)\n", measure, times[times.size() / 2],
                times[times.size() * 95 / 100], times.back(), times.size());
    std::fflush(stdout);
}

std::vector<double> timed(int runs, const std::function<void()>& step)
{
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        clock.start();
        step();
        times.push_back(ms(clock.nsecsElapsed()));
    }
    return times;
}

// Marks typed as a teacher types them: two digits, Tab to the next rubric, the next student at the row's end.
std::vector<double> typing(TMDIChild& window)
{
    StringGrid* grid = window.grid();
    grid->setCurrent(2, 2);
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < Keys; ++i) {
        QWidget* target = grid->isEditing() ? grid->editor() : static_cast<QWidget*>(grid);
        clock.start();
        if (i % 3 == 2) {
            QTest::keyClick(target, Qt::Key_Tab);
            if (grid->col() == 2)
                grid->setCurrent(2, grid->row() < 63 ? grid->row() + 1 : 2);
        } else {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(QChar(u'1' + i % 9)), Qt::NoModifier);
        }
        QCoreApplication::processEvents();
        times.push_back(ms(clock.nsecsElapsed()));
        QTest::qWait(KeyGapMs);
    }
    return times;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fonts::install();
    std::optional<QTemporaryDir> own;
    QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (folder.isEmpty()) {
        own.emplace(QDir::current().filePath(QStringLiteral("recovery-bench-XXXXXX")));
        folder = own->path();
    }
    const QString classFile = QDir(folder).filePath(QStringLiteral("classe.prf"));
    {
        QFile file(classFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(fullClass()) < 0)
            qFatal("cannot write %s", qPrintable(classFile));
    }

    RecoveryStore store(QDir(folder).filePath(QStringLiteral("recovery")));
    if (!store.isActive())
        qFatal("no recovery folder: %s", qPrintable(store.why()));
    ToolWindows tools;
    TMDIChild without(tools.shared());
    tools.setRecovery(&store);
    TMDIChild with(tools.shared());
    for (TMDIChild* window : {&without, &with}) {
        window->Charge(classFile);
        window->resize(620, 402);
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            qFatal("the class window does not show");
    }
    std::printf("a full class: class file of %lld bytes\n", static_cast<long long>(QFileInfo(classFile).size()));

    // A mark being typed: the copy takes it from the cell's editor.
    with.grid()->setCurrent(5, 10);
    QTest::sendKeyEvent(QTest::Click, with.grid(), Qt::Key_unknown, QStringLiteral("1"), Qt::NoModifier);
    std::function<recovery::Copy()> make;
    report("take (window's thread)", timed(300, [&] { make = with.document().takeRecoveryCopy(); }));
    QByteArray bytes;
    report("make (store's thread)", timed(100, [&] { bytes = recovery::encode(make()); }));
    std::printf("a copy of the class: %lld bytes\n", static_cast<long long>(bytes.size()));
    const QString copy = QDir(store.folder()).filePath(QStringLiteral("bench.vlr"));
    report("write (synced)", timed(50, [&] { filewriter::write(copy, bytes); }));
    QFile::remove(copy);
    QTest::keyClick(with.grid()->editor(), Qt::Key_Escape);

    report("keys, no copies", typing(without));
    store.setDelayMs(1000);
    report("keys, a copy a second", typing(with));
    store.setDelayMs(0);
    report("keys, a copy after each key", typing(with));
    store.flush();
    with.setModified(false);
    return 0;
}
