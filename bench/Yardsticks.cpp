// The bare Qt yardsticks of bench/run.sh, timed the way virelan_bench times the program, in a full-screen
// QMainWindow with a menu bar, a status bar and a multiple-document area:
//
//     yardsticks <folder> [measure...]    (the fixtures written by virelan_bench --make; every measure but tables and
//                                         paintedgrids unless told)
//         open   a QTableWidget of 64 x 32 filled with the texts the program's grid shows (read from the
//                fixture file), sized like the grid, shown in the area, until it is painted
//         openpainted  the same texts in a grid that paints its cells itself (no item objects), until it is painted
//         print  a QPrintDialog on a PDF printer answered with Return, then QPainter drawing the texts of the
//                program's printed sheet at their places on their pages: from the key until the file is complete
//         export the C program xlsx_yardstick writing the cells of the program's workbook with libxlsxwriter, the
//                whole process from its start to its end
//         typing marks typed into the QTableWidget (two digits and Return each): from each key until the table or its
//                editor has painted it (median of the keys)
//         chart  a command that shows a dialog painting 21 bars with their marks (the chart's window made
//                with bare Qt: the same size, font, panel and button), until it is painted
//         card   libjpeg's own decode of each photo at 1/8 scale, the file read first (median of the photos)
//         held   libjpeg's own decode at 1/8 scale of the photo of the card the keys held stop on
//
//     yardsticks <folder> tables          QTableWidgets of those texts opened one after another; prints "plain<n>
//     <kB>",
//                                         the memory held (resident) once n are open, n as in bench::ClassCounts
//     yardsticks <folder> paintedgrids    the same with painted grids; prints "painted<n> <kB>"
//
// Prints one line per measure: "<measure> <milliseconds>".

#include "BenchSupport.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// The averages chart's window made with bare Qt: its size, its font (Liberation Sans, 13 pixels), its panel with
// a note and a "Fermer" button, and 21 bars over marks 0 to 20 with their axes, their scale and the mark
// under each.
class BarDialog : public QDialog
{
public:
    BarDialog()
    {
        setWindowTitle(QStringLiteral("Graphique"));
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(13);
        setFont(font);
        // The font is loaded before the window is asked for, as the program's tool windows have theirs; its
        // glyphs are drawn the first time, as the chart's are.
        QFontMetrics(font).height();
        resize(536, 344);
        auto* panel = new QFrame(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAutoFillBackground(true);
        panel->setGeometry(0, 0, 536, 33);
        (new QLabel(panel))->setGeometry(8, 4, 420, 25);
        auto* close = new QPushButton(QStringLiteral("Fermer"), panel);
        close->setGeometry(439, 4, 75, 25);
        connect(close, &QPushButton::clicked, this, &QDialog::close);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawLine(50, 300, 50, 70);
        p.drawLine(50, 300, 500, 300);
        for (const auto& [y, text] : {std::pair{70, "9"}, {180, "4"}, {290, "0"}})
            p.drawText(QPoint(10, y + 12), QString::fromLatin1(text));
        for (int mark = 0; mark <= 20; ++mark) {
            const int h = (mark * 37) % 200;
            const QRect bar(60 + mark * 20, 300 - h, 10, h);
            p.fillRect(bar, QColor::fromHsv(mark * 17, 200, 220));
            p.drawRect(bar.adjusted(0, 0, -1, -1));
            p.drawText(QPoint(60 + mark * 20, 332), QString::number(mark));
        }
    }
};

// A grid that paints its cells itself: the texts of the class grid in cells of the grid's sizes (columns of 33
// pixels with their line, the names' of 193, rows of 25), the headings and numbers grey, lines between the cells.
class PaintedGrid : public QAbstractScrollArea
{
public:
    explicit PaintedGrid(QList<QStringList> texts) : m_texts(std::move(texts))
    {
        for (int c = 0; c < Cols; ++c)
            m_left[c + 1] = m_left[c] + (c == 1 ? 193 : 33);
        horizontalScrollBar()->setSingleStep(33);
        verticalScrollBar()->setSingleStep(25);
    }

protected:
    static constexpr int Rows = 64;
    static constexpr int Cols = 32;
    void resizeEvent(QResizeEvent* event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        horizontalScrollBar()->setRange(0, std::max(0, m_left[Cols] - viewport()->width()));
        verticalScrollBar()->setRange(0, std::max(0, Rows * 25 - viewport()->height()));
        horizontalScrollBar()->setPageStep(viewport()->width());
        verticalScrollBar()->setPageStep(viewport()->height());
    }
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(viewport());
        const QRect area = event->rect();
        const int dx = horizontalScrollBar()->value(), dy = verticalScrollBar()->value();
        p.fillRect(area, Qt::white);
        for (int r = dy / 25; r < Rows && r * 25 - dy < area.bottom() + 1; ++r)
            for (int c = 0; c < Cols && m_left[c] - dx < area.right() + 1; ++c) {
                const QRect cell(m_left[c] - dx, r * 25 - dy, m_left[c + 1] - m_left[c] - 1, 24);
                if (!cell.intersects(area))
                    continue;
                if (r < 2 || c == 0)
                    p.fillRect(cell, QColor(0xc0, 0xc0, 0xc0));
                p.setPen(Qt::gray);
                p.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
                p.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
                p.setPen(Qt::black);
                if (r < m_texts.size() && c < m_texts[r].size())
                    p.drawText(cell.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, m_texts[r][c]);
            }
    }
    void scrollContentsBy(int dx, int dy) override { viewport()->scroll(dx, dy); }

private:
    QList<QStringList> m_texts;
    int m_left[Cols + 1] = {};
};

QList<QStringList> readTexts(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QList<QStringList> rows;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty())
            rows << QString::fromUtf8(line).split(QLatin1Char('\t'));
    return rows;
}

QTableWidget* newTable(const QList<QStringList>& texts)
{
    auto* table = new QTableWidget(64, 32);
    // Sized like the class grid (columns of 32 pixels, the names' of 192, rows of 24, a line of 1 between),
    // so that the same cells are in view.
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->horizontalHeader()->setMinimumSectionSize(0);
    table->verticalHeader()->setMinimumSectionSize(0);
    table->horizontalHeader()->setDefaultSectionSize(33);
    table->verticalHeader()->setDefaultSectionSize(25);
    table->setColumnWidth(1, 193);
    for (int r = 0; r < 64 && r < texts.size(); ++r)
        for (int c = 0; c < 32 && c < texts[r].size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(texts[r][c]));
    return table;
}

// A grid (a table or a painted grid) opened one after another in the area, as the program opens its classes.
int gridsMemory(QMdiArea* area, const QList<QStringList>& texts, bool painted)
{
    const int most = *std::max_element(std::begin(bench::ClassCounts), std::end(bench::ClassCounts));
    for (int n = 1; n <= most; ++n) {
        QWidget* grid = painted ? static_cast<QWidget*>(new PaintedGrid(texts)) : newTable(texts);
        QMdiSubWindow* sub = area->addSubWindow(grid);
        sub->resize(620, 402);
        sub->show();
        area->setActiveSubWindow(sub);
        bench::settle(100 + bench::ReadingMs);
        if (std::find(std::begin(bench::ClassCounts), std::end(bench::ClassCounts), n) !=
            std::end(bench::ClassCounts)) {
            bench::settle(500);
            std::printf("%s%d %ld\n", painted ? "painted" : "plain", n, bench::residentKb());
            std::fflush(stdout);
        }
    }
    return 0;
}

// The sheet's texts on a PDF printer chosen in a print dialog answered with Return, each at its place on its page.
double printMeasure(const QString& dir, QWidget* parent)
{
    QFile file(bench::printedTexts(dir));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the printed sheet");
    struct Placed
    {
        int page;
        int x;
        int baseline;
        QString text;
    };
    std::vector<Placed> texts;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 4)
            texts.push_back({fields[0].toInt(), fields[1].toInt(), fields[2].toInt(), QString::fromUtf8(fields[3])});
    }
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("classe.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    bench::setUpPdfPrinter(printer, pdf);
    bench::ModalAnswer answer;
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        qFatal("print dialog refused");
    QPainter painter(&printer);
    painter.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    int page = 0;
    for (const Placed& text : texts) {
        for (; page < text.page; ++page)
            printer.newPage();
        painter.drawText(text.x, text.baseline, text.text);
    }
    painter.end();
    const double ms = answer.elapsedMs();
    if (QFileInfo(pdf).size() == 0)
        qFatal("nothing printed");
    return ms;
}

// The C program writing the workbook, timed from its start to its end.
double exportMeasure(const QString& dir)
{
    QTemporaryDir folder;
    const QByteArray program =
        QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/xlsx_yardstick"));
    const QByteArray cells = QFile::encodeName(bench::workbookCells(dir));
    const QByteArray workbook = QFile::encodeName(folder.filePath(QStringLiteral("classe.xlsx")));
    char* const arguments[] = {const_cast<char*>(program.constData()), const_cast<char*>(cells.constData()),
                               const_cast<char*>(workbook.constData()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.constData(), nullptr, nullptr, arguments, environ) != 0)
        qFatal("cannot start %s", program.constData());
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qFatal("xlsx_yardstick failed");
    return ms;
}

// Marks typed into the table's last rubric, two digits and Return each, as into the program's grid.
double typingMeasure(QTableWidget* table)
{
    table->setFocus();
    std::vector<double> keys;
    for (int i = 0; i < bench::TypedMarks; ++i) {
        table->setCurrentCell(bench::TypedFromRow + i, bench::TypedColumn);
        bench::settle(50);
        const std::pair<int, QString> mark[] = {
            {Qt::Key_1, QStringLiteral("1")}, {Qt::Key_2, QStringLiteral("2")}, {Qt::Key_Return, QStringLiteral("\r")}};
        for (const auto& [key, text] : mark) {
            bench::PaintWatch painted([table](QObject* object) {
                return object == table->viewport() ||
                       (object->parent() == table->viewport() && qobject_cast<QLineEdit*>(object));
            });
            painted.setObjectName(QStringLiteral("typing"));
            painted.arm();
            bench::pressKey(key, text);
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
    if (QApplication::arguments().size() < 2)
        qFatal("usage: yardsticks <fixture folder> [measure...]");
    const QString dir = QApplication::arguments().at(1);
    QStringList measures = QApplication::arguments().mid(2);
    if (measures.isEmpty())
        measures = {QStringLiteral("open"),  QStringLiteral("openpainted"), QStringLiteral("chart"),
                    QStringLiteral("print"), QStringLiteral("export"),      QStringLiteral("typing"),
                    QStringLiteral("card"),  QStringLiteral("held")};

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Bare"));
    frame.menuBar()->addMenu(QStringLiteral("&Fichier"));
    frame.statusBar()->showMessage(QStringLiteral("Prêt"));
    auto* area = new QMdiArea;
    frame.setCentralWidget(area);
    frame.setGeometry(QApplication::primaryScreen()->availableGeometry());
    frame.setWindowState(Qt::WindowMaximized);
    frame.show();
    frame.activateWindow();
    bench::settle(500);

    if (measures.contains(QLatin1String("tables")) || measures.contains(QLatin1String("paintedgrids")))
        return gridsMemory(area, readTexts(bench::gridTexts(dir)), measures.contains(QLatin1String("paintedgrids")));

    if (measures.contains(QLatin1String("openpainted"))) {
        bench::PaintWatch painted(
            [](QObject* object) { return dynamic_cast<PaintedGrid*>(object->parent()) != nullptr; });
        painted.setObjectName(QStringLiteral("openpainted"));
        painted.arm();
        auto* grid = new PaintedGrid(readTexts(bench::gridTexts(dir)));
        QMdiSubWindow* sub = area->addSubWindow(grid);
        sub->resize(620, 402);
        sub->show();
        std::printf("openpainted %.3f\n", painted.wait());
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
        delete sub;
        bench::settle(100);
    }

    bench::PaintWatch grid([](QObject* object) { return qobject_cast<QTableWidget*>(object->parent()); });
    grid.setObjectName(QStringLiteral("open"));
    grid.arm();
    auto* table = newTable(readTexts(bench::gridTexts(dir)));
    QMdiSubWindow* sub = area->addSubWindow(table);
    sub->resize(620, 402);
    sub->show();
    std::printf("open %.3f\n", grid.wait());
    std::fflush(stdout);
    bench::settle(bench::ReadingMs);

    if (measures.contains(QLatin1String("chart"))) {
        table->setFocus();
        bench::settle(100);
        BarDialog chart;
        QAction command(QStringLiteral("Graphique"), &frame);
        QObject::connect(&command, &QAction::triggered, &chart, &QDialog::exec);
        bench::PaintWatch bars(&chart);
        bars.setObjectName(QStringLiteral("chart"));
        bars.afterPaint = [&chart] { chart.close(); };
        bars.arm();
        command.trigger();
        std::printf("chart %.3f\n", bars.wait());
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }

    if (measures.contains(QLatin1String("print"))) {
        table->setFocus();
        bench::settle(100);
        std::printf("print %.3f\n", printMeasure(dir, &frame));
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }
    if (measures.contains(QLatin1String("export"))) {
        std::printf("export %.3f\n", exportMeasure(dir));
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }
    if (measures.contains(QLatin1String("typing"))) {
        frame.activateWindow();
        bench::settle(100);
        std::printf("typing %.3f\n", typingMeasure(table));
        std::fflush(stdout);
        bench::settle(bench::ReadingMs);
    }

    std::vector<double> decodes;
    for (int n = 2; n < 2 + bench::PagedCards; ++n) {
        QElapsedTimer decode;
        decode.start();
        bench::libjpegDecode(bench::photo(dir, n), 1);
        decodes.push_back(double(decode.nsecsElapsed()) / 1e6);
    }
    if (measures.contains(QLatin1String("card")))
        std::printf("card %.3f\n", bench::median(decodes));
    if (measures.contains(QLatin1String("held"))) {
        QElapsedTimer decode;
        decode.start();
        bench::libjpegDecode(bench::photo(dir, 1 + bench::PagedCards + bench::HeldKeys), 1);
        // Against it, the photo of the card the keys stop on, and the texts of every card passed.
        const double ms = double(decode.nsecsElapsed()) / 1e6;
        std::printf("held %.3f\nheldtexts %.3f\n", ms, ms);
    }
    return 0;
}
