// The bare Qt yardsticks of bench/run.sh, timed the way virelan_bench times the program, in a full-screen
// QMainWindow with a menu bar, a status bar and a multiple-document area:
//
//     yardsticks <folder> [measure...]    (the fixtures written by virelan_bench --make; every measure unless told)
//         open   a QTableWidget of 64 x 32 filled with the texts the program's grid shows (read from the
//                fixture file), sized like the grid, shown in the area, until it is painted
//         chart  a command that shows a dialog painting 21 bars with their marks (the chart's window made
//                with bare Qt: the same size, font, panel and button), until it is painted
//         card   libjpeg's own decode of each photo at 1/8 scale, the file read first (median of the photos)
//         held   libjpeg's own decode at 1/8 scale of the photo of the card the keys held stop on
//
// Prints one line per measure: "<measure> <milliseconds>".

#include "BenchSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>

#include <cstdio>
#include <vector>

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

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QApplication::arguments().size() < 2)
        qFatal("usage: yardsticks <fixture folder> [measure...]");
    const QString dir = QApplication::arguments().at(1);
    QStringList measures = QApplication::arguments().mid(2);
    if (measures.isEmpty())
        measures = {QStringLiteral("open"), QStringLiteral("chart"), QStringLiteral("card"), QStringLiteral("held")};

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

    bench::PaintWatch grid([](QObject* object) { return qobject_cast<QTableWidget*>(object->parent()); });
    grid.setObjectName(QStringLiteral("open"));
    grid.arm();
    const QList<QStringList> texts = readTexts(bench::gridTexts(dir));
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
