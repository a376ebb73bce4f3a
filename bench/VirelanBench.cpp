// Times Vire Lan as a teacher meets it, on a real display (bench/run.sh gives it one of its own):
//
//     virelan_bench --make <folder>   writes the fixtures: a full class (62 students, 30 rubrics, cards with
//                                     20-line remarks), each student with a different 6000 x 4000 phone photo,
//                                     and the texts its grid shows (for the yardstick)
//     virelan_bench <folder>          one run: the frame and its tool windows as at start-up, then
//         open   the class opened as "Ouvrir..." opens it, until its grid is painted
//         chart  "Afficher graphique" chosen with the grid in front, until the chart window is painted
//         card   Page Down on the card, until the next card is painted with its photo (median of the cards;
//                the teacher reads each card for bench::ReadingMs first)
//
// Prints one line per measure: "<measure> <milliseconds>".

#include "BenchSupport.h"
#include "analysis/Graph.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "classbook/ClassFile.h"
#include "classbook/ClassTable.h"
#include "classbook/MDIChild.h"
#include "classbook/PhotoView.h"
#include "common/Fonts.h"
#include "common/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdio>
#include <vector>

namespace {

QString mark(QRandomGenerator& random)
{
    // The forms a teacher types: whole marks, halves and quarters, a few blanks.
    switch (random.bounded(8)) {
    case 0:
        return {};
    case 1:
    case 2:
        return QString::number(random.bounded(21));
    case 3:
        return QStringLiteral("%1,5").arg(random.bounded(20));
    case 4:
        return QStringLiteral("%1,25").arg(random.bounded(20));
    case 5:
        return QStringLiteral("%1,75").arg(random.bounded(20));
    default:
        return QStringLiteral("%1,%2").arg(random.bounded(21)).arg(random.bounded(10));
    }
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void makeFixtures(const QString& dir)
{
    QDir().mkpath(dir + QStringLiteral("/photos"));
    QRandomGenerator random(13);
    ClassTable table;
    const QString coefficients[] = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("0,5"),
                                    QStringLiteral("1,5"), QStringLiteral("3")};
    for (int c = ClassTable::FirstMarkSlot; c <= ClassTable::LastMarkSlot; ++c) {
        table.at(-1, c) = QStringLiteral("Devoir %1").arg(c - 1);
        table.at(0, c) = coefficients[random.bounded(5)];
    }
    QStringList remarks;
    for (int line = 1; line <= 20; ++line)
        remarks << QStringLiteral("Ligne %1 : élève attentif, travail régulier, des progrès en calcul.").arg(line);
    for (int n = 1; n <= TMDIChild::StudentCount; ++n) {
        for (int c = ClassTable::FirstMarkSlot; c <= ClassTable::LastMarkSlot; ++c)
            table.at(n, c) = mark(random);
        table.at(n, ClassTable::Surname) = QStringLiteral("Martin%1").arg(n);
        table.at(n, ClassTable::FirstName) = QStringLiteral("Léa%1").arg(n);
        table.at(n, ClassTable::BirthDate) = QStringLiteral("12/03/2012");
        table.at(n, ClassTable::ClassName) = QStringLiteral("6e A");
        table.at(n, ClassTable::Address1) = QStringLiteral("%1 rue des Écoles").arg(n);
        table.at(n, ClassTable::Address2) = QStringLiteral("Bâtiment B");
        table.at(n, ClassTable::Postcode) = QStringLiteral("69003");
        table.at(n, ClassTable::Town) = QStringLiteral("Lyon");
        table.at(n, ClassTable::Phone1) = QStringLiteral("04 78 00 00 %1").arg(n, 2, 10, QLatin1Char('0'));
        table.at(n, ClassTable::Phone2) = QStringLiteral("06 12 34 56 %1").arg(n, 2, 10, QLatin1Char('0'));
        table.at(n, ClassTable::Career) = QStringLiteral("Vétérinaire");
        table.at(n, ClassTable::Remarks) = remarks.join(QStringLiteral("\r\n"));
        table.at(n, ClassTable::Photo) = bench::photo(dir, n);
        table.at(n, ClassTable::FatherJob) = QStringLiteral("Boulanger");
        table.at(n, ClassTable::MotherJob) = QStringLiteral("Infirmière");
    }
    // The widths a new class has: the names' column wide, the marks' narrow.
    classfile::Widths widths;
    widths.fill(32);
    widths[0] = 192;
    write(bench::classFile(dir), classfile::write(table, widths));

    // The texts as the program's grid shows them, for the yardstick's table.
    TMDIChild window(sharedWindows());
    window.Charge(bench::classFile(dir));
    QByteArray texts;
    for (int r = 0; r < window.StringGrid1->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < window.StringGrid1->colCount(); ++c)
            row << window.StringGrid1->cell(c, r);
        texts += row.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    write(bench::gridTexts(dir), texts);

    // Phone photos with sensor grain, 6000 x 4000, each another picture.
    for (int n = 1; n <= bench::PhotoCount; ++n) {
        QImageWriter writer(bench::photo(dir, n), "JPG");
        writer.setQuality(90);
        if (!writer.write(bench::cameraPhoto(QSize(6000, 4000), 8, quint32(n))))
            qFatal("cannot write the photo of student %d", n);
        std::fprintf(stderr, "\rphotos: %d/%d", n, bench::PhotoCount);
    }
    std::fprintf(stderr, "\n");
}

QAction* action(TMainForm* form, const char* name)
{
    auto* found = form->findChild<QAction*>(QLatin1String(name));
    if (!found)
        qFatal("no action %s", name);
    return found;
}

void pressKey(int key)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        qFatal("no widget has the focus");
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &release);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fonts::install();
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--make")) {
        createToolWindows();
        makeFixtures(args[2]);
        destroyToolWindows();
        return 0;
    }
    if (args.size() != 2)
        qFatal("usage: virelan_bench [--make] <fixture folder>");
    const QString dir = args[1];
    // The notes and phrases the frame loads at its first showing: none, in a folder of their own.
    QTemporaryDir home;
    QDir::setCurrent(home.path());

    auto* form = new TMainForm;
    createToolWindows();
    form->show();
    // Without a window manager nothing makes the frame the active window, which the keyboard needs.
    form->activateWindow();
    bench::settle(500);

    // The grid's painting area, the first to be painted once the class window exists.
    bench::PaintWatch grid([](QObject* object) {
        auto* grid = qobject_cast<StringGrid*>(object->parent());
        return grid && object == grid->viewport();
    });
    grid.setObjectName(QStringLiteral("open"));
    grid.arm();
    form->OpenClassFiles({bench::classFile(dir)});
    TMDIChild* window = form->activeChild();
    if (!window)
        qFatal("the class did not open");
    std::printf("open %.3f\n", grid.wait());
    std::fflush(stdout);
    bench::settle(bench::ReadingMs);

    window->StringGrid1->setFocus();
    bench::settle(100);
    bench::PaintWatch chart(tools().Graph);
    chart.setObjectName(QStringLiteral("chart"));
    chart.afterPaint = [] { tools().Graph->close(); };
    chart.arm();
    action(form, "Affichergraphique1")->trigger();
    std::printf("chart %.3f\n", chart.wait());
    std::fflush(stdout);
    bench::settle(bench::ReadingMs);

    form->activateWindow();
    bench::settle(100);
    window->StringGrid1->setCurrent(2, 2);
    action(form, "fiche1")->trigger();
    bench::settle(bench::ReadingMs);
    bench::PaintWatch photo(window->Image1);
    photo.setObjectName(QStringLiteral("card"));
    std::vector<double> cards;
    for (int i = 0; i < bench::PagedCards; ++i) {
        photo.arm();
        pressKey(Qt::Key_PageDown);
        cards.push_back(photo.wait());
        if (window->Image1->isEmpty())
            qFatal("card %d shows no photo", window->currentCard());
        bench::settle(bench::ReadingMs);
    }
    std::printf("card %.3f\n", bench::median(cards));
    std::fflush(stdout);
    // Left as the teacher would: nothing changed, nothing to ask.
    delete form;
    destroyToolWindows();
    return 0;
}
