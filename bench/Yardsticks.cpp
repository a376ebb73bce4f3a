// The bare Qt yardsticks of bench/run.sh, timed the way virelan_bench times the program, in a full-screen
// QMainWindow with a menu bar, a status bar and a multiple-document area:
//
//     yardsticks <folder>    (the fixtures written by virelan_bench --make)
//         open   a QTableWidget of 64 x 32 filled with the texts the program's grid shows (read from the
//                fixture file), shown in the area, until it is painted
//         chart  a command that shows a dialog painting 21 bars with their marks, until it is painted
//         card   libjpeg's own decode of each photo at 1/8 scale, the file read first (median of the photos)
//
// Prints one line per measure: "<measure> <milliseconds>".

#include "BenchSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>

#include <cstdio>
#include <vector>

namespace {

// 21 bars over marks 0 to 20, with their axis and the mark under each, as an averages chart shows them.
class BarDialog : public QDialog
{
public:
    BarDialog()
    {
        setWindowTitle(QStringLiteral("Graphique"));
        resize(536, 344);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const int left = 40, bottom = height() - 40, step = (width() - 60) / 21;
        p.drawLine(left, 50, left, bottom);
        p.drawLine(left, bottom, width() - 20, bottom);
        for (int mark = 0; mark <= 20; ++mark) {
            const int h = 10 + (mark * 37) % 200;
            p.fillRect(left + 2 + mark * step, bottom - h, step - 4, h, QColor::fromHsv(mark * 17, 200, 220));
            p.drawText(QRect(left + mark * step, bottom + 4, step, 20), Qt::AlignCenter, QString::number(mark));
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
    if (QApplication::arguments().size() != 2)
        qFatal("usage: yardsticks <fixture folder>");
    const QString dir = QApplication::arguments().at(1);

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
    grid.arm();
    const QList<QStringList> texts = readTexts(bench::gridTexts(dir));
    auto* table = new QTableWidget(64, 32);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    for (int r = 0; r < 64 && r < texts.size(); ++r)
        for (int c = 0; c < 32 && c < texts[r].size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(texts[r][c]));
    QMdiSubWindow* sub = area->addSubWindow(table);
    sub->resize(620, 402);
    sub->show();
    std::printf("open %.3f\n", grid.wait());
    std::fflush(stdout);
    bench::settle(bench::ReadingMs);

    table->setFocus();
    bench::settle(100);
    BarDialog chart;
    QAction command(QStringLiteral("Graphique"), &frame);
    QObject::connect(&command, &QAction::triggered, &chart, &QDialog::exec);
    bench::PaintWatch bars(&chart);
    bars.afterPaint = [&chart] { chart.close(); };
    bars.arm();
    command.trigger();
    std::printf("chart %.3f\n", bars.wait());
    std::fflush(stdout);
    bench::settle(bench::ReadingMs);

    std::vector<double> decodes;
    for (int n = 2; n < 2 + bench::PagedCards; ++n) {
        QElapsedTimer decode;
        decode.start();
        bench::libjpegDecode(bench::photo(dir, n), 1);
        decodes.push_back(double(decode.nsecsElapsed()) / 1e6);
    }
    std::printf("card %.3f\n", bench::median(decodes));
    return 0;
}
