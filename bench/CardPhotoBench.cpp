// How long showing a student card with a 24-megapixel phone photo takes, against libjpeg-turbo's own
// full-size decode of the same file, for two photos: a clean one (gradients and shapes) and the same
// with heavy sensor grain. The card decodes an eighth of the size, which saves the inverse transform,
// the upsampling and the colour conversion of 24 million pixels, but not the entropy decoding of the
// whole file: the grainier the photo, the larger that share and the smaller the gain.
// A third, progressive 50-megapixel camera photo shows that such a photo still reaches the card within
// the loader's limits of memory and scans; every scan must be read before the first pixel comes out.
// Each card is shown twice: its photo decoded then (the program's cache emptied first), and its photo kept
// from before (the teacher coming back to a card), each until the card is drawn with its photo; then a third time by
// a program that keeps its photos on disk, its memory emptied first: the photo read from its entry. Prints the medians
// and ratios; exits with 1 when the card with the clean photo, decoded then, is not at least 4 times faster than the
// full-size decode.

#include "BenchSupport.h"
#include "FakeSeams.h"
#include "app/ToolWindows.h"
#include "classbook/CardPage.h"
#include "classbook/CardPhoto.h"
#include "classbook/MDIChild.h"
#include "classbook/PhotoView.h"
#include "model/PhotoCache.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 7;

// libjpeg-turbo decoding the whole picture at full size, as any viewer would.
qint64 fullSizeDecodeNs(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    bench::libjpegDecode(path, 8);
    return timer.nsecsElapsed();
}

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Result
{
    qint64 bytes;
    QSize kept;
    double cardMs, keptMs, fullMs, eighthMs, diskMs;
};

// The card's photo comes from the cache's thread: the event loop runs until it has.
void waitForPhoto(const TMDIChild& window)
{
    while (window.photoPending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Shows the card of a student whose photo is the picture, again and again.
Result measure(const QImage& picture, const QString& path, bool progressive, const ToolWindows& windows,
               const ToolWindows& stored)
{
    QImageWriter writer(path, "JPG");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(picture))
        qFatal("cannot write %s", qPrintable(path));
    // Two students with the same photo: each press of the next or previous card button shows a card
    // and decodes its photo.
    const auto open = [&](const ToolWindows& tools) {
        auto window = std::make_unique<TMDIChild>(tools.shared());
        window->show();
        window->document().store([&path](ClassContents& contents) {
            contents.table.at(1, 45) = path;
            contents.table.at(2, 45) = path;
        });
        window->grid()->setCurrent(2, 2);
        window->Fiche();
        waitForPhoto(*window);
        if (window->card()->photo()->view()->isEmpty() ||
            window->card()->photo()->view()->pictureSize() != picture.size())
            qFatal("the card shows no photo");
        return window;
    };
    const std::unique_ptr<TMDIChild> shown = open(windows);
    TMDIChild& window = *shown;

    std::vector<qint64> card, kept, full, eighth, disk;
    const auto show = [&](int i) {
        QElapsedTimer timer;
        timer.start();
        if (i % 2 == 0)
            window.SpeedButton2Click();
        else
            window.SpeedButton1Click();
        waitForPhoto(window);
        // Drawn as well.
        window.card()->photo()->grab();
        return timer.nsecsElapsed();
    };
    for (int i = 0; i < Runs; ++i) {
        windows.photos()->clear();
        card.push_back(show(i));
        kept.push_back(show(i + 1));
        full.push_back(fullSizeDecodeNs(path));
        QElapsedTimer timer;
        timer.start();
        bench::libjpegDecode(path, 1);
        eighth.push_back(timer.nsecsElapsed());
    }
    {
        const std::unique_ptr<TMDIChild> other = open(stored);
        const int decoded = stored.photos()->decodeCount();
        for (int i = 0; i < Runs; ++i) {
            stored.photos()->clear();
            QElapsedTimer timer;
            timer.start();
            if (i % 2 == 0)
                other->SpeedButton2Click();
            else
                other->SpeedButton1Click();
            waitForPhoto(*other);
            other->card()->photo()->grab();
            disk.push_back(timer.nsecsElapsed());
        }
        if (stored.photos()->decodeCount() != decoded)
            qFatal("the photo was decoded again instead of read from its entry");
    }
    return {QFile(path).size(), window.card()->photo()->view()->picture().size(),
            median(card) / 1e6, median(kept) / 1e6,
            median(full) / 1e6, median(eighth) / 1e6,
            median(disk) / 1e6};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakeSeams seams;
    const ToolWindows windows;
    QTemporaryDir dir;
    ToolWindows stored;
    stored.photos()->keepOnDisk(dir.filePath(QStringLiteral("cache/photos")));
    double cleanRatio = 0;
    struct Photo
    {
        const char* name;
        QSize size;
        int grain;
        bool progressive;
    };
    for (const Photo& photo : {Photo{"clean", {6000, 4000}, 0, false}, Photo{"grainy", {6000, 4000}, 8, false},
                               Photo{"progressive", {8192, 6144}, 0, true}}) {
        const Result r = measure(bench::cameraPhoto(photo.size, photo.grain, 2026),
                                 dir.filePath(QStringLiteral("%1.jpg").arg(QLatin1String(photo.name))),
                                 photo.progressive, windows, stored);
        const double ratio = r.fullMs / r.cardMs;
        if (photo.grain == 0 && !photo.progressive)
            cleanRatio = ratio;
        std::printf("%s photo %d x %d, %lld bytes, kept for the card at %d x %d\n", photo.name, photo.size.width(),
                    photo.size.height(), static_cast<long long>(r.bytes), r.kept.width(), r.kept.height());
        std::printf("  card shown, photo decoded then: %8.2f ms (median of %d)\n", r.cardMs, Runs);
        std::printf("  card shown, photo kept:         %8.2f ms\n", r.keptMs);
        std::printf("  card shown, photo on disk:      %8.2f ms\n", r.diskMs);
        std::printf("  libjpeg-turbo 1/8 decode:       %8.2f ms\n", r.eighthMs);
        std::printf("  libjpeg-turbo full-size decode: %8.2f ms\n", r.fullMs);
        std::printf("  the card is %.1f times faster than the full-size decode\n", ratio);
    }
    return cleanRatio >= 4 ? 0 : 1;
}
