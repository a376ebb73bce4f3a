#include "BenchSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

// Under callgrind, each timed step is dumped on its own (valgrind --tool=callgrind --dump-instr=no ...): the
// instructions of a step do not vary with the machine's load as its time does.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define BENCH_STEP_START() CALLGRIND_ZERO_STATS
#define BENCH_STEP_END(name) CALLGRIND_DUMP_STATS_AT(name)
#else
#define BENCH_STEP_START()
#define BENCH_STEP_END(name)
#endif

namespace bench {

QImage cameraPhoto(QSize size, int grain, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QRandomGenerator random(seed);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(60 + random.bounded(60), 120 + random.bounded(40), 190 + random.bounded(40)));
    sky.setColorAt(1, QColor(180 + random.bounded(40), 150 + random.bounded(40), 100 + random.bounded(40)));
    p.fillRect(image.rect(), sky);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 400; ++i) {
        p.setBrush(QColor::fromRgb(random.generate()));
        p.drawEllipse(random.bounded(size.width()), random.bounded(size.height()), 50 + random.bounded(600),
                      50 + random.bounded(600));
    }
    p.end();
    if (grain == 0)
        return image;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(2 * grain + 1)) - grain;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

QSize libjpegDecode(const QString& path, int eighths)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QByteArray bytes = file.readAll();
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.scale_num = unsigned(eighths);
    info.scale_denom = 8;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image.size();
}

void settle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(ms - clock.elapsed()));
}

PaintWatch::PaintWatch(QWidget* widget) : m_matches([widget](QObject* object) { return object == widget; })
{
    widget->installEventFilter(this);
}

PaintWatch::PaintWatch(std::function<bool(QObject*)> matches) : m_matches(std::move(matches))
{
    QCoreApplication::instance()->installEventFilter(this);
}

void PaintWatch::arm()
{
    QElapsedTimer clock;
    clock.start();
    armFrom(clock);
}

void PaintWatch::armFrom(const QElapsedTimer& clock)
{
    m_armed = true;
    m_scheduled = false;
    m_elapsed = -1;
    m_clock = clock;
    BENCH_STEP_START();
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && m_armed && !m_scheduled && m_matches(watched)) {
        m_scheduled = true;
        // A zero timer fires once the loop has finished the turn that paints and flushes the window.
        QTimer::singleShot(0, this, [this] {
            m_elapsed = double(m_clock.nsecsElapsed()) / 1e6;
            BENCH_STEP_END(objectName().toLatin1().constData());
            m_armed = false;
            if (afterPaint)
                afterPaint();
        });
    }
    return false;
}

double PaintWatch::wait(int timeoutMs)
{
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(timeoutMs);
    while (m_elapsed < 0 && guard.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (m_elapsed < 0)
        std::fprintf(stderr, "no paint within %d ms\n", timeoutMs);
    return m_elapsed;
}

void setUpPdfPrinter(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

ModalAnswer::ModalAnswer(std::function<void(QDialog*)> prepare) : m_prepare(std::move(prepare))
{
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        poll();
        if (answered())
            timer->stop();
    });
    timer->start(2);
}

void ModalAnswer::poll()
{
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || !dialog->windowHandle() || !dialog->windowHandle()->isExposed())
        return;
    if (!m_seen.isValid()) {
        m_seen.start();
        return;
    }
    if (m_seen.elapsed() < DialogReadingMs)
        return;
    if (m_prepare)
        m_prepare(dialog);
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != dialog)
        focus = dialog;
    m_clock.start();
    BENCH_STEP_START();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : focus, &release);
}

double ModalAnswer::elapsedMs() const
{
    if (!m_clock.isValid())
        return -1;
    const double ms = double(m_clock.nsecsElapsed()) / 1e6;
    BENCH_STEP_END("dialog");
    return ms;
}

void pressKey(int key, const QString& text)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        qFatal("no widget has the focus");
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : focus, &release);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        qFatal("cannot read /proc/self/status");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace bench
