// Times Vire Lan as a teacher meets it, on a real display (bench/run.sh gives it one of its own):
//
//     virelan_bench --make <folder>   writes the fixtures: a full class (62 students, 30 rubrics, cards with
//                                     20-line remarks), each student with a different 6000 x 4000 phone photo,
//                                     the same class without photos, and for the yardsticks the texts its grid
//                                     shows, its printed sheet and the cells of its workbook
//     virelan_bench <folder> [measure...]   one run (every measure but classes and plainclasses unless told): the
//                                            frame as at start-up, then
//         open   the class opened as "Ouvrir..." opens it, until its grid is painted (always done, the others need it);
//                printed again as "openpainted" against the painted grid
//         chart  "Afficher graphique" chosen with the grid in front, until the chart window is painted
//         print  "Imprimer..." with the grid in front, to a PDF file: from Return in the print dialog until the
//                file is complete
//         export "Exporter vers un tableur..." to an .xlsx workbook, the first export of the run: from Return in the
//                save dialog until the file is complete
//         typing marks typed into the grid, two digits and Return each: from each key until the cell is painted
//                (median of the keys)
//         card   Page Down on the card, until the next card is painted with its photo (median of the cards;
//                the teacher reads each card for bench::ReadingMs first)
//         held   then Page Down held: bench::HeldKeys keys bench::HeldKeyGapMs apart, from the last key until
//                the card it stops on is painted with its photo; "heldtexts": the longest any key waited for its
//                card's texts to be painted
//     virelan_bench <folder> classes         the class opened again and again under other names, each window showing
//                                            another student's card with its photo; prints "classes<n> <kB>", the
//                                            memory held (resident) once n windows show their card, n as in
//                                            bench::ClassCounts
//     virelan_bench <folder> plainclasses    the same with the class without photos, each window showing its grid;
//                                            prints "plain<n> <kB>"
//
// Prints one line per measure: "<measure> <milliseconds>".

#include "BenchSupport.h"
#include "analysis/Graph.h"
#include "analysis/PrintLayout.h"
#include "analysis/PrintPainter.h"
#include "app/MainForm.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "classbook/PhotoView.h"
#include "model/ClassExport.h"
#include "model/ClassFile.h"
#include "model/ClassTable.h"
#include "widgets/Fonts.h"
#include "widgets/Printer.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"
#include "widgets/printer/QtPrinter.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
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

// A text of the cells file: a backslash, a line end and a tab each written as two characters.
QByteArray escaped(const QString& text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

void writeWorkbookCells(const QString& path, const QList<spreadsheet::Sheet>& sheets)
{
    QByteArray out;
    for (const spreadsheet::Sheet& sheet : sheets) {
        out += QByteArray("sheet\t") + QByteArray::number(sheet.frozenRows) + '\t' +
               QByteArray::number(sheet.frozenCols) + '\t' + escaped(sheet.name) + '\n';
        for (qsizetype c = 0; c < sheet.columnWidths.size(); ++c)
            out += "width\t" + QByteArray::number(c) + '\t' + QByteArray::number(sheet.columnWidths[c], 'g', 17) + '\n';
        for (qsizetype r = 0; r < sheet.rows.size(); ++r)
            for (qsizetype c = 0; c < sheet.rows[r].size(); ++c) {
                const spreadsheet::Cell& cell = sheet.rows[r][c];
                const QByteArray at = '\t' + QByteArray::number(r) + '\t' + QByteArray::number(c) + '\t';
                if (cell.kind == spreadsheet::Cell::Kind::Text) {
                    if (!cell.text.isEmpty())
                        out += "text" + at + escaped(cell.text) + '\n';
                } else {
                    out += (cell.kind == spreadsheet::Cell::Kind::Decimal ? "decimal" : "whole") + at +
                           QByteArray::number(cell.number, 'g', 17) + '\n';
                }
            }
    }
    write(path, out);
}

// The sheet as the program prints it on the benchmark's printer: each text's page, place and baseline.
void writePrintedTexts(const QString& path, const StringGrid& grid)
{
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    bench::setUpPdfPrinter(printer, folder.filePath(QStringLiteral("sheet.pdf")));
    printlayout::Sheet sheet;
    sheet.colCount = grid.colCount();
    sheet.rowCount = grid.rowCount();
    for (int c = 0; c < sheet.colCount; ++c)
        sheet.colWidths << grid.colWidth(c);
    sheet.cell = [&grid](int c, int r) { return grid.cell(c, r); };
    sheet.screenDpi = grid.logicalDpiX();
    const QFontMetrics metrics(printpainter::printerFont(8), &printer);
    const printlayout::Layout layout =
        printlayout::sheetLayout(sheet, printpainter::geometry(printer),
                                 [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
    QByteArray out;
    for (qsizetype p = 0; p < layout.size(); ++p)
        for (const printlayout::Text& text : layout[p].texts)
            out += QByteArray::number(p) + '\t' + QByteArray::number(text.x) + '\t' +
                   QByteArray::number(text.y + metrics.ascent()) + '\t' + text.text.toUtf8() + '\n';
    write(path, out);
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
    ClassTable plain = table;
    for (int n = 1; n <= TMDIChild::StudentCount; ++n)
        plain.at(n, ClassTable::Photo).clear();
    write(bench::plainClassFile(dir), classfile::write(plain, widths));
    writeWorkbookCells(bench::workbookCells(dir), classexport::sheets(table, QStringLiteral("classe")));

    // The texts as the program's grid shows them, for the yardstick's table.
    const ToolWindows windows;
    TMDIChild window(windows.shared());
    window.Charge(bench::classFile(dir));
    QByteArray texts;
    for (int r = 0; r < window.grid()->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < window.grid()->colCount(); ++c)
            row << window.grid()->cell(c, r);
        texts += row.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    write(bench::gridTexts(dir), texts);
    writePrintedTexts(bench::printedTexts(dir), *window.grid());

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

// A card with its photo painted: the photo control painted, holding a photo, on that card.
std::function<bool(QObject*)> photoPainted(TMDIChild* window, int card)
{
    return [window, card](QObject* object) {
        return object == window->card()->photo()->view() && window->currentCard() == card &&
               !window->card()->photo()->view()->isEmpty();
    };
}

// When each card's texts are first painted: the card's caption painted with its number, or a later one's.
class CaptionWatch : public QObject
{
public:
    CaptionWatch(TMDIChild* window, int firstCard, const QElapsedTimer& clock)
        : m_window(window), m_first(firstCard), m_clock(clock)
    {
        window->findChild<QLabel*>(QStringLiteral("Panel1Caption"))->installEventFilter(this);
    }
    // Milliseconds from the clock's start until a caption of that card or a later one was painted; -1 if never.
    double paintedMs(int card) const
    {
        for (const auto& [shown, ms] : m_painted)
            if (shown >= card)
                return ms;
        return -1;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_window->currentCard() >= m_first &&
            (m_painted.empty() || m_painted.back().first != m_window->currentCard()))
            m_painted.emplace_back(m_window->currentCard(), double(m_clock.nsecsElapsed()) / 1e6);
        return false;
    }

private:
    TMDIChild* m_window;
    int m_first;
    const QElapsedTimer& m_clock;
    std::vector<std::pair<int, double>> m_painted;
};

using bench::pressKey;

// Page Down held: the keys come at their times whatever the program does meanwhile, as the keyboard repeats them.
void heldPageDown(TMDIChild* window)
{
    const int first = window->currentCard() + 1, last = window->currentCard() + bench::HeldKeys;
    bench::PaintWatch photo(photoPainted(window, last));
    photo.setObjectName(QStringLiteral("held"));
    QElapsedTimer clock;
    clock.start();
    CaptionWatch captions(window, first, clock);
    for (int k = 1; k < bench::HeldKeys; ++k)
        QTimer::singleShot(k * bench::HeldKeyGapMs, Qt::PreciseTimer, [] { pressKey(Qt::Key_PageDown); });
    photo.armFrom(clock);
    pressKey(Qt::Key_PageDown);
    const double painted = photo.wait();
    if (window->currentCard() != last || window->card()->photo()->view()->isEmpty())
        qFatal("the keys held stopped on card %d without its photo", window->currentCard());
    const double lastKey = (bench::HeldKeys - 1) * bench::HeldKeyGapMs;
    std::printf("held %.3f\n", painted - lastKey);
    double slowest = 0;
    for (int k = 0; k < bench::HeldKeys; ++k)
        slowest = std::max(slowest, captions.paintedMs(first + k) - k * bench::HeldKeyGapMs);
    std::printf("heldtexts %.3f\n", slowest);
    std::fflush(stdout);
}

// The class opened under other names, one window after another: each showing another student's card with its photo,
// or (plain) the class without photos, each showing its grid.
int classesMemory(const QString& dir, bool plain)
{
    QTemporaryDir home;
    QDir::setCurrent(home.path());
    auto* form = new TMainForm;
    form->toolWindows().keepPhotosOnDisk();
    form->show();
    form->activateWindow();
    bench::settle(500);
    const int most = *std::max_element(std::begin(bench::ClassCounts), std::end(bench::ClassCounts));
    for (int n = 1; n <= most; ++n) {
        const QString copy = home.filePath(QStringLiteral("classe%1.prf").arg(n));
        if (!QFile::copy(plain ? bench::plainClassFile(dir) : bench::classFile(dir), copy))
            qFatal("cannot copy the class");
        form->OpenClassFiles({copy});
        TMDIChild* window = form->activeChild();
        if (!window)
            qFatal("the class did not open");
        bench::settle(100);
        if (!plain) {
            window->grid()->setCurrent(2, n + 1);
            bench::PaintWatch photo(photoPainted(window, n));
            photo.arm();
            action(form, "fiche1")->trigger();
            if (photo.wait() < 0)
                qFatal("card %d shows no photo", n);
        }
        bench::settle(bench::ReadingMs);
        if (std::find(std::begin(bench::ClassCounts), std::end(bench::ClassCounts), n) !=
            std::end(bench::ClassCounts)) {
            bench::settle(500);
            std::printf("%s%d %ld\n", plain ? "plain" : "classes", n, bench::residentKb());
            std::fflush(stdout);
        }
    }
    delete form;
    return 0;
}

// "Imprimer..." with the grid in front, answered with Return in the print dialog: until the PDF file is complete.
double printMeasure(TMainForm* form)
{
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("classe.pdf"));
    bench::setUpPdfPrinter(static_cast<QtPrinter&>(seams().printer()).qprinter(), pdf);
    bench::ModalAnswer answer;
    action(form, "Imprimer1")->trigger();
    const double ms = answer.elapsedMs();
    if (!answer.answered() || QFileInfo(pdf).size() == 0)
        qFatal("nothing printed");
    return ms;
}

// "Exporter vers un tableur...", the workbook's name typed in the save dialog and Return: until the file is complete.
double exportMeasure(TMainForm* form)
{
    QTemporaryDir folder;
    const QString workbook = folder.filePath(QStringLiteral("classe.xlsx"));
    // The whole path typed into the name box, which has the focus.
    bench::ModalAnswer answer([&workbook](QDialog* dialog) {
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(workbook);
    });
    action(form, "Exporterversuntableur1")->trigger();
    const double ms = answer.elapsedMs();
    if (!answer.answered() || QFileInfo(workbook).size() == 0)
        qFatal("nothing exported");
    return ms;
}

// Marks typed into the grid's last rubric, two digits and Return each: from each key until the grid has painted it.
double typingMeasure(TMDIChild* window)
{
    StringGrid* grid = window->grid();
    grid->setFocus();
    std::vector<double> keys;
    for (int i = 0; i < bench::TypedMarks; ++i) {
        grid->setCurrent(bench::TypedColumn, bench::TypedFromRow + i);
        bench::settle(50);
        const std::pair<int, QString> mark[] = {
            {Qt::Key_1, QStringLiteral("1")}, {Qt::Key_2, QStringLiteral("2")}, {Qt::Key_Return, QStringLiteral("\r")}};
        for (const auto& [key, text] : mark) {
            bench::PaintWatch painted([grid](QObject* object) {
                return object == grid->viewport() || (grid->editor() && object == grid->editor());
            });
            painted.setObjectName(QStringLiteral("typing"));
            painted.arm();
            pressKey(key, text);
            keys.push_back(painted.wait());
            bench::settle(30);
        }
    }
    return bench::median(keys);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The program's name: its folders are the program's own.
    QApplication::setApplicationName(QStringLiteral("Vire Lan"));
    fonts::install();
    // The program's printer, linked in rather than loaded from beside the program.
    printermodule::link(&QtPrinter::make);
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--make")) {
        makeFixtures(args[2]);
        return 0;
    }
    if (args.size() < 2)
        qFatal("usage: virelan_bench [--make] <fixture folder> [measure...]");
    const QString dir = args[1];
    QStringList measures = args.mid(2);
    if (measures.contains(QLatin1String("classes")))
        return classesMemory(dir, false);
    if (measures.contains(QLatin1String("plainclasses")))
        return classesMemory(dir, true);
    if (measures.isEmpty())
        measures = {QStringLiteral("open"),   QStringLiteral("chart"),  QStringLiteral("print"),
                    QStringLiteral("export"), QStringLiteral("typing"), QStringLiteral("card"),
                    QStringLiteral("held")};
    // The notes and phrases the frame loads at its first showing: none, in a folder of their own.
    QTemporaryDir home;
    QDir::setCurrent(home.path());

    auto* form = new TMainForm;
    // The photos kept on disk as the program keeps them, in the user's cache folder: filled by an earlier run, or
    // empty with HOME a fresh folder.
    form->toolWindows().keepPhotosOnDisk();
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
    const double opened = grid.wait();
    std::printf("open %.3f\nopenpainted %.3f\n", opened, opened);
    std::fflush(stdout);
    bench::settle(bench::ReadingMs);

    if (measures.contains(QLatin1String("chart"))) {
        window->grid()->setFocus();
        bench::settle(100);
        // The chart's window, built when first shown.
        bench::PaintWatch chart([](QObject* object) { return qobject_cast<TGraph*>(object) != nullptr; });
        chart.setObjectName(QStringLiteral("chart"));
        chart.afterPaint = [form] { form->toolWindows().graph()->close(); };
        chart.arm();
        action(form, "Affichergraphique1")->trigger();
        std::printf("chart %.3f\n", chart.wait());
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }

    if (measures.contains(QLatin1String("print"))) {
        window->grid()->setFocus();
        bench::settle(100);
        std::printf("print %.3f\n", printMeasure(form));
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }
    if (measures.contains(QLatin1String("export"))) {
        window->grid()->setFocus();
        bench::settle(100);
        std::printf("export %.3f\n", exportMeasure(form));
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }
    if (measures.contains(QLatin1String("typing"))) {
        form->activateWindow();
        bench::settle(100);
        std::printf("typing %.3f\n", typingMeasure(window));
        std::fflush(stdout);
        // Nothing to keep: the class closes without a question.
        window->setModified(false);
        bench::settle(bench::ReadingMs);
    }

    form->activateWindow();
    bench::settle(100);
    window->grid()->setCurrent(2, 2);
    action(form, "fiche1")->trigger();
    bench::settle(bench::ReadingMs);
    // Each card until it is painted with its own photo: the screen complete.
    std::vector<double> cards;
    for (int i = 0; i < bench::PagedCards; ++i) {
        bench::PaintWatch photo(photoPainted(window, window->currentCard() + 1));
        photo.setObjectName(QStringLiteral("card"));
        photo.arm();
        pressKey(Qt::Key_PageDown);
        cards.push_back(photo.wait());
        if (window->card()->photo()->view()->isEmpty())
            qFatal("card %d shows no photo", window->currentCard());
        bench::settle(bench::ReadingMs);
    }
    if (measures.contains(QLatin1String("card"))) {
        std::printf("card %.3f\n", bench::median(cards));
        std::fflush(stdout);
    }
    if (measures.contains(QLatin1String("held"))) {
        heldPageDown(window);
        bench::settle(bench::ReadingMs);
    }
    // Left as the teacher would: nothing changed, nothing to ask.
    delete form;
    return 0;
}
