#include "Rows.h"
#include "TestFiles.h"
#include "core/PlatformError.h"
#include "model/PhotoCache.h"
#include "model/PhotoFit.h"
#include "model/PhotoLoader.h"
#include "model/PhotoStore.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <bit>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

// Fitting a photo into the card's frame, and reading the photo files.
class TestPhotos : public QObject
{
    Q_OBJECT

private slots:
    void fit_data();
    void fit();
    void jpegEighths_data();
    void jpegEighths();
    void decodesSmallJpegAtFullSize();
    void decodesLargeJpegOnlyAsLargeAsDrawn();
    void decodesGreyJpeg();
    void readsBitmapAndIcon();
    void refusesBadFiles_data();
    void refusesBadFiles();
    void refusesForgedHugeJpeg();
    void refusesWhatIsNotARegularFile();
    void progressiveJpegs_data();
    void progressiveJpegs();
    void runLengthBitmapLeavesSkippedPixelsAtColourZero();
    void photoCutShortWhileDecodedIsRefused();
    void cacheReadsAPhotoAgainOnlyWhenItsFileChanged();
    void cacheDecodesAheadAndLeavesFailuresToTheCard();
    void cacheKeepsWithinItsBudget();
    void storeShowsThePhotoAsDecoded_data();
    void storeShowsThePhotoAsDecoded();
    void storeNeverShowsWhatIsNotThePhotosEntry_data();
    void storeNeverShowsWhatIsNotThePhotosEntry();
    void storeKeepsWithinItsBoundWhatWasReadLast();
    void storeThatCannotBeWrittenChangesNothing_data();
    void storeThatCannotBeWrittenChangesNothing();
    void storeAheadStoresTheClassesAndStopsWhenAsked();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QByteArray jpeg(const QImage& image, int quality = 90);
    QTemporaryDir m_dir;
};

QString TestPhotos::write(const QString& name, const QByteArray& bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray TestPhotos::jpeg(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", quality))
        qFatal("cannot encode a JPEG");
    return bytes;
}

// A progressive JPEG of mid-grey, written by hand: a first DC scan of every component when asked, then rounds of
// an AC scan per component, each a few end-of-band runs of up to 32767 blocks, so that a few bytes stand for a huge
// picture. Its DC table holds one code, "0" for no difference; its AC table fifteen codes of 4 bits, for runs of
// 2^r to 2^(r+1) - 1 blocks, r = 0 to 14.
QByteArray progressiveJpeg(int width, int height, int components, bool dcScan, int acScans)
{
    QByteArray out = QByteArray::fromHex("ffd8ffdb004300") + QByteArray(64, '\1');
    const auto add = [&out](std::initializer_list<int> bytes) {
        for (int b : bytes)
            out += char(b);
    };
    add({0xFF, 0xC2, 0, 8 + 3 * components, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, components});
    for (int c = 1; c <= components; ++c)
        add({c, 0x11, 0});
    out += QByteArray::fromHex("ffc400340001") + QByteArray(16, '\0') + QByteArray::fromHex("100000000f") +
           QByteArray(12, '\0') + QByteArray::fromHex("00102030405060708090a0b0c0d0e0");
    quint32 bits = 0, count = 0; // the bits not written yet, and how many
    const auto put = [&](quint32 value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bits = (bits << 1) | ((value >> i) & 1);
            if (++count == 8) {
                out += bits == 0xFF ? QByteArray("\xFF\0", 2) : QByteArray(1, char(bits)); // 0xFF takes a 0 after it
                bits = count = 0;
            }
        }
    };
    const qint64 blocks = qint64((width + 7) / 8) * ((height + 7) / 8);
    if (dcScan) {
        add({0xFF, 0xDA, 0, 6 + 2 * components, components});
        for (int c = 1; c <= components; ++c)
            add({c, 0});
        add({0, 0, 0});
        for (qint64 i = 0; i < blocks * components; ++i)
            put(0, 1);
        put(0x7F, (8 - count) % 8);
    }
    for (int scan = 0; scan < acScans * components; ++scan) {
        add({0xFF, 0xDA, 0, 8, 1, scan % components + 1, 0, 1, 63, 0});
        for (qint64 left = blocks, run = 0; left > 0; left -= run) {
            run = std::min<qint64>(left, 32767);
            const int r = std::bit_width(quint64(run)) - 1;
            put(quint32(r), 4);
            put(quint32(run - (qint64(1) << r)), r);
        }
        put(0x7F, (8 - count) % 8);
    }
    return out + QByteArray::fromHex("ffd9");
}

void TestPhotos::fit_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("stretch");
    const QRect client(1, 1, 118, 119);
    QTest::newRow("300 x 600: 60 wide at 30") << QSize(300, 600) << QRect(30, 1, 60, 119) << true;
    QTest::newRow("600 x 300: 60 high at 30") << QSize(600, 300) << QRect(1, 30, 118, 60) << true;
    QTest::newRow("100 x 100 own size") << QSize(100, 100) << client << false;
    QTest::newRow("50 x 400 own size, cut") << QSize(50, 400) << client << false;
    QTest::newRow("400 x 50 own size, cut") << QSize(400, 50) << client << false;
    QTest::newRow("118 wide fits") << QSize(118, 1000) << client << false;
    QTest::newRow("119 high fits") << QSize(1000, 119) << client << false;
    QTest::newRow("119 x 120 just too large") << QSize(119, 120) << QRect(0, 1, 119, 119) << true;
    QTest::newRow("square fills the frame width") << QSize(200, 200) << QRect(0, 1, 120, 119) << true;
    QTest::newRow("phone photo, wide") << QSize(6000, 4000) << QRect(1, 20, 118, 81) << true;
    QTest::newRow("phone photo, upright") << QSize(4000, 6000) << QRect(20, 1, 80, 119) << true;
    QTest::newRow("60.5 wide goes to 60") << QSize(121, 240) << QRect(30, 1, 60, 119) << true;
    QTest::newRow("61.5 high goes to 62") << QSize(242, 123) << QRect(1, 29, 118, 62) << true;
    QTest::newRow("62.5 high goes to 62") << QSize(242, 125) << QRect(1, 29, 118, 62) << true;
    QTest::newRow("very thin upright") << QSize(120, 100000) << QRect(60, 1, 0, 119) << true;
    QTest::newRow("empty picture") << QSize(0, 0) << client << false;
}

void TestPhotos::fit()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, area);
    QFETCH(bool, stretch);
    const photofit::Placement placement = photofit::fit(picture);
    QCOMPARE(placement.area, area);
    QCOMPARE(placement.stretch, stretch);
}

void TestPhotos::jpegEighths_data()
{
    QTest::addColumn<QSize>("original");
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<int>("eighths");
    QTest::newRow("phone photo") << QSize(6000, 4000) << QSize(118, 81) << 1;
    QTest::newRow("exactly an eighth") << QSize(944, 952) << QSize(118, 119) << 1;
    QTest::newRow("an eighth rounded up still covers") << QSize(937, 945) << QSize(118, 119) << 1;
    QTest::newRow("one pixel short") << QSize(936, 952) << QSize(118, 119) << 2;
    QTest::newRow("800 square") << QSize(800, 800) << QSize(120, 119) << 2;
    QTest::newRow("own size needed") << QSize(100, 3000) << QSize(100, 3000) << 8;
    QTest::newRow("seven eighths") << QSize(200, 200) << QSize(175, 175) << 7;
    QTest::newRow("one more than seven eighths") << QSize(200, 200) << QSize(176, 176) << 8;
}

void TestPhotos::jpegEighths()
{
    QFETCH(QSize, original);
    QFETCH(QSize, wanted);
    QFETCH(int, eighths);
    QCOMPARE(photoloader::jpegEighths(original, wanted), eighths);
}

void TestPhotos::decodesSmallJpegAtFullSize()
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    for (int y = 0; y < 30; ++y)
        for (int x = 20; x < 40; ++x)
            image.setPixel(x, y, qRgb(20, 40, 220));
    const QString path = write(QStringLiteral("small.jpg"), jpeg(image, 100));
    const photoloader::Photo photo = photoloader::load(path);
    QCOMPARE(photo.originalSize, QSize(40, 30));
    QCOMPARE(photo.image.size(), QSize(40, 30));
    const QColor left = photo.image.pixelColor(5, 15), right = photo.image.pixelColor(35, 15);
    QVERIFY2(qAbs(left.red() - 200) < 8 && qAbs(left.green() - 30) < 8 && qAbs(left.blue() - 40) < 8,
             qPrintable(left.name()));
    QVERIFY2(qAbs(right.red() - 20) < 8 && qAbs(right.green() - 40) < 8 && qAbs(right.blue() - 220) < 8,
             qPrintable(right.name()));
}

void TestPhotos::decodesLargeJpegOnlyAsLargeAsDrawn()
{
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 10));
    const QString path = write(QStringLiteral("LARGE.JPG"), jpeg(image));
    QSize asked;
    const photoloader::Photo photo = photoloader::load(path, [&](const QSize& original) {
        asked = original;
        return QSize(118, 91);
    });
    QCOMPARE(asked, QSize(1600, 1200));
    QCOMPARE(photo.originalSize, QSize(1600, 1200));
    QCOMPARE(photo.image.size(), QSize(200, 150));
    QVERIFY(qAbs(photo.image.pixelColor(100, 75).green() - 200) < 8);

    // Wanting a size between two eighths decodes at the next one up.
    const photoloader::Photo larger = photoloader::load(path, [](const QSize&) { return QSize(201, 10); });
    QCOMPARE(larger.image.size(), QSize(400, 300));
}

void TestPhotos::decodesGreyJpeg()
{
    QImage image(16, 16, QImage::Format_Grayscale8);
    image.fill(QColor(128, 128, 128));
    const photoloader::Photo photo = photoloader::load(write(QStringLiteral("grey.jpeg"), jpeg(image)));
    QCOMPARE(photo.image.size(), QSize(16, 16));
    const QColor c = photo.image.pixelColor(8, 8);
    QVERIFY(qAbs(c.red() - 128) < 4 && c.red() == c.green() && c.green() == c.blue());
}

void TestPhotos::readsBitmapAndIcon()
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    image.setPixel(19, 9, qRgb(250, 251, 252));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "BMP"));
    const photoloader::Photo photo = photoloader::load(write(QStringLiteral("a.BMP"), bmp));
    QCOMPARE(photo.originalSize, QSize(20, 10));
    QCOMPARE(photo.image.pixel(0, 0), qRgb(1, 2, 3));
    QCOMPARE(photo.image.pixel(19, 9), qRgb(250, 251, 252));

    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(QColor(255, 0, 0));
    QByteArray ico;
    QBuffer icoBuffer(&ico);
    icoBuffer.open(QIODevice::WriteOnly);
    QVERIFY(icon.save(&icoBuffer, "ICO"));
    const photoloader::Photo iconPhoto = photoloader::load(write(QStringLiteral("i.ico"), ico));
    QCOMPARE(iconPhoto.originalSize, QSize(32, 32));
    QCOMPARE(QColor(iconPhoto.image.pixel(16, 16)), QColor(255, 0, 0));
}

void TestPhotos::refusesBadFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // not written when empty
    QTest::addColumn<QString>("message");  // %1 stands for the path

    QImage image(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            image.setPixel(x, y, qRgb(x % 256, y, (x * y) % 256));
    const QByteArray good = jpeg(image);

    QTest::newRow("missing jpeg") << QStringLiteral("missing.jpg") << QByteArray()
                                  << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("missing bitmap") << QStringLiteral("missing.bmp") << QByteArray()
                                    << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("png is unknown") << QStringLiteral("photo.png") << QByteArray("\x89PNG")
                                    << QStringLiteral("Extension de fichier graphique inconnue (.png)");
    QTest::newRow("unknown even when missing") << QStringLiteral("none.gif") << QByteArray()
                                               << QStringLiteral("Extension de fichier graphique inconnue (.gif)");
    QTest::newRow("extension as written") << QStringLiteral("photo.Tiff") << QByteArray("II*")
                                          << QStringLiteral("Extension de fichier graphique inconnue (.Tiff)");
    QTest::newRow("no extension") << QStringLiteral("photo") << QByteArray("x")
                                  << QStringLiteral("Extension de fichier graphique inconnue (.)");
    QTest::newRow("truncated jpeg") << QStringLiteral("cut.jpg") << good.left(good.size() / 2)
                                    << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("jpeg header only") << QStringLiteral("head.jpg") << good.left(200)
                                      << QStringLiteral("Ne peut ouvrir le fichier %1");
    QByteArray damaged = good;
    for (qsizetype i = damaged.size() / 3; i < damaged.size() / 3 + 64; ++i)
        damaged[i] = char(0xFF);
    QTest::newRow("damaged entropy data")
        << QStringLiteral("damaged.jpg") << damaged << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("text renamed jpg") << QStringLiteral("notes.jpg") << QByteArray("Hello, this is not a JPEG")
                                      << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("empty jpeg") << QStringLiteral("empty.jpg") << QByteArray("", 0)
                                << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("jpeg renamed bmp") << QStringLiteral("fake.bmp") << good
                                      << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("junk icon") << QStringLiteral("junk.ico") << QByteArray(64, '\x01')
                               << QStringLiteral("Ne peut ouvrir le fichier %1");
    QByteArray bmp;
    QBuffer bmpBuffer(&bmp);
    QVERIFY(bmpBuffer.open(QIODevice::WriteOnly) && image.copy(0, 0, 16, 16).save(&bmpBuffer, "BMP"));
    QTest::newRow("bitmap cut after its header")
        << QStringLiteral("cut.bmp") << bmp.left(60) << QStringLiteral("Ne peut ouvrir le fichier %1");
    QTest::newRow("bitmap one byte short")
        << QStringLiteral("short.bmp") << bmp.chopped(1) << QStringLiteral("Ne peut ouvrir le fichier %1");
    QByteArray farRows = bmp;
    qToLittleEndian<quint32>(bmp.size() + 100, farRows.data() + 10); // where its rows start
    QTest::newRow("bitmap rows beyond its end")
        << QStringLiteral("far.bmp") << farRows << QStringLiteral("Ne peut ouvrir le fichier %1");
    // Found by fuzzing: a header of 64 bytes in a file of 64.
    QTest::newRow("bitmap header beyond its end")
        << QStringLiteral("header.bmp")
        << QByteArray::fromHex("424d42000000000000003e00000040000000100000001000f9ff0100080001000000040000000000000000"
                               "0000000200000002000000ff0000000000040a0001")
        << QStringLiteral("Ne peut ouvrir le fichier %1");
}

void TestPhotos::refusesBadFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    if (!bytes.isNull())
        write(name, bytes);
    try {
        photoloader::load(path, [](const QSize&) { return QSize(118, 79); });
        QFAIL("the picture loaded");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), message.contains(QLatin1String("%1")) ? message.arg(path) : message);
    }
}

void TestPhotos::refusesForgedHugeJpeg()
{
    // A small JPEG whose frame header claims 65000 x 65000 pixels: even an eighth of it is too large to
    // allocate for a photo drawn 120 pixels wide.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes = jpeg(image);
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    QVERIFY(sof > 0);
    bytes[sof + 5] = char(0xFD);
    bytes[sof + 6] = char(0xE8);
    bytes[sof + 7] = char(0xFD);
    bytes[sof + 8] = char(0xE8);
    const QString path = write(QStringLiteral("forged.jpg"), bytes);
    QSize original;
    try {
        photoloader::load(path, [&](const QSize& o) {
            original = o;
            return QSize(118, 119);
        });
        QFAIL("the forged picture loaded");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path);
    }
    QCOMPARE(original, QSize(65000, 65000));
}

void TestPhotos::refusesWhatIsNotARegularFile()
{
    // A folder and a named pipe, each named like a photo: neither may block nor be read.
    const QString folder = m_dir.filePath(QStringLiteral("folder.jpg"));
    QVERIFY(QDir().mkpath(folder));
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.jpg"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {folder, pipe}) {
        try {
            photoloader::load(path);
            QFAIL("loaded");
        } catch (const PlatformError& error) {
            QCOMPARE(error.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path);
        }
    }
}

// A progressive photo keeps 128 bytes for each block of 8 x 8 samples of each component (colour here at full
// resolution): 96 MiB for a 50-megapixel photo in grey, and an eighth of it covers the card's frame. A few kilobytes
// that claim 32768 x 32768 pixels would take 8 GiB of them in grey, 24 GiB in colour; 16000 x 16000 in grey, 488 MiB.
// 160 MiB are 1310720 blocks: 1152 x 1136 blocks are 2048 short of them, 1152 x 1138 are 256 beyond.
void TestPhotos::progressiveJpegs_data()
{
    rows::add({"50-megapixel photo | 8192 6144 1 1 1 | 1024 768", "100 scans | 16 16 1 1 99 | 16 16",
               "101 scans | 16 16 1 1 100 | refused", "32768 square, grey | 32768 32768 1 0 1 | refused",
               "32768 square, colour | 32768 32768 3 0 1 | refused", "16000 square, grey | 16000 16000 1 0 1 | refused",
               "50-megapixel photo, colour | 8192 6144 3 0 1 | refused",
               "just within 160 MiB | 9216 9088 1 1 1 | 1152 1136", "just beyond 160 MiB | 9216 9104 1 0 1 | refused"});
}

void TestPhotos::progressiveJpegs()
{
    const QStringList row = rows::fields(), made = row[1].split(' '), shown = row[2].split(' ');
    const QString path = write("progressive.jpg", progressiveJpeg(made[0].toInt(), made[1].toInt(), made[2].toInt(),
                                                                  made[3] == "1", made[4].toInt()));
    // Loaded in a child process, whose peak memory tells what the loader let libjpeg take.
    long size = 0, residentPages = 0;
    QCOMPARE(std::sscanf(testfiles::readAll("/proc/self/statm").constData(), "%ld %ld", &size, &residentPages), 2);
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            const QImage image = photoloader::load(path, [](const QSize&) { return QSize(118, 119); }).image;
            const bool grey = image.pixelColor(image.rect().center()) == QColor(128, 128, 128);
            ::_exit(grey && row[2] == QStringLiteral("%1 %2").arg(image.width()).arg(image.height()) ? 0 : 3);
        } catch (const PlatformError& error) {
            ::_exit(error.message() == "Ne peut ouvrir le fichier " + path ? 1 : 2);
        }
    }
    int status = 0;
    rusage usage{};
    QCOMPARE(::wait4(child, &status, 0, &usage), child);
    QCOMPARE(WIFEXITED(status) ? WEXITSTATUS(status) : -1, row[2] == "refused" ? 1 : 0);
    // What libjpeg was allowed, and the few megabytes of the picture and the program's own.
    const long grownMb = (usage.ru_maxrss - residentPages * ::sysconf(_SC_PAGESIZE) / 1024) / 1024;
    QVERIFY2(grownMb < photoloader::JpegMemoryBound / (1024 * 1024) + 16,
             qPrintable(QStringLiteral("%1 MB").arg(grownMb)));
}

void TestPhotos::runLengthBitmapLeavesSkippedPixelsAtColourZero()
{
    // 16 x 16, 8 bits, run-length coded: four pixels of colour 1 at the start of the bottom line, then the end of
    // the bitmap. Colour 0 is blue, colour 1 red.
    const QByteArray bmp =
        QByteArray::fromHex("424d42000000000000003e00000028000000100000001000000001000800010000000400"
                            "000000000000000000000200000002000000ff0000000000ff0004010001");
    const photoloader::Photo photo = photoloader::load(write(QStringLiteral("rle.bmp"), bmp));
    QCOMPARE(photo.image.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            QCOMPARE(photo.image.pixel(x, y), y == 15 && x < 4 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
}

// A picture of noise: a large JPEG file for its size.
QImage noise(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000);
    return image;
}

// Decoded where it lies, a photo cut short meanwhile by another program is refused like a file that cannot be
// read, and the program goes on.
void TestPhotos::photoCutShortWhileDecodedIsRefused()
{
    const QString path = write(QStringLiteral("cut.jpg"), jpeg(noise(600, 400, 1)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const qint64 size = file.size();
    const uchar* mapped = file.map(0, size);
    QVERIFY(mapped && size > 16 * 4096);
    // Every page past the first is gone from under the mapping.
    QVERIFY(QFile(path).resize(100));
    try {
        photoloader::decode(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size)), path);
        QFAIL("decoded");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut ouvrir le fichier ") + path);
    }
}

void TestPhotos::cacheReadsAPhotoAgainOnlyWhenItsFileChanged()
{
    PhotoCache cache(64 << 20);
    // A picture of one colour, always the same length (bytes past the end of a JPEG are not read), written
    // some seconds from now.
    const auto writePhoto = [&](const QString& name, Qt::GlobalColor colour, int seconds) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        QByteArray bytes = jpeg(image);
        bytes.append(QByteArray(4096 - bytes.size(), '\0'));
        QFile file(write(name, bytes));
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(QDateTime::currentDateTime().addSecs(seconds), QFileDevice::FileModificationTime))
            qFatal("cannot date %s", qPrintable(name));
        return file.fileName();
    };
    const QString path = writePhoto(QStringLiteral("kept.jpg"), Qt::white, 0);
    const auto red = [&] { return QColor(cache.load(path).picture.pixel(20, 15)).red(); };
    QCOMPARE(red(), 255);
    QCOMPARE(red(), 255);
    QCOMPARE(cache.decodeCount(), 1);
    // Written again in place, the same length, later: the new picture.
    writePhoto(QStringLiteral("kept.jpg"), Qt::black, 10);
    QCOMPARE(red(), 0);
    QCOMPARE(cache.decodeCount(), 2);
    // Another file put in its place under the same name, of the same length and time.
    const QString other = writePhoto(QStringLiteral("other.jpg"), Qt::white, 10);
    QVERIFY(QFile::remove(path) && QFile::rename(other, path));
    QCOMPARE(red(), 255);
    QCOMPARE(cache.decodeCount(), 3);
}

void TestPhotos::cacheDecodesAheadAndLeavesFailuresToTheCard()
{
    PhotoCache cache(64 << 20);
    const QString good = write(QStringLiteral("ahead.jpg"), jpeg(noise(800, 600, 2)));
    const QString bad = write(QStringLiteral("bad.jpg"), QByteArray("not a picture"));
    cache.prefetch({bad, good});
    QTRY_VERIFY(cache.holds(good));
    QCOMPARE(cache.load(good).picture.size(), QSize(118, 91));
    QCOMPARE(cache.decodeCount(), 1);
    // The failure is the card's to report, as it always was.
    try {
        cache.load(bad);
        QFAIL("loaded");
    } catch (const PlatformError& error) {
        QCOMPARE(error.message(), QStringLiteral("Ne peut ouvrir le fichier ") + bad);
    }
}

void TestPhotos::cacheKeepsWithinItsBudget()
{
    // Room for two pictures of 40 x 30 (4800 bytes each), not three.
    PhotoCache cache(10000);
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << write(QStringLiteral("budget%1.jpg").arg(i), jpeg(noise(40, 30, quint32(i))));
        cache.load(paths.last());
    }
    QVERIFY(!cache.holds(paths[0]));
    QVERIFY(cache.holds(paths[1]) && cache.holds(paths[2]));
    // The one seen last is kept first.
    cache.load(paths[1]);
    cache.load(paths[0]);
    QVERIFY(cache.holds(paths[1]) && !cache.holds(paths[2]));
}

// The photo as the card draws it, from a fresh decode of its file.
photofit::Shown decodedAfresh(const QString& path)
{
    const photoloader::Photo photo = photoloader::load(path, photofit::decodedSize);
    return photofit::shown(photo.image, photo.originalSize);
}

void compareShown(const photofit::Shown& shown, const photofit::Shown& expected)
{
    QCOMPARE(shown.picture.format(), expected.picture.format());
    QCOMPARE(shown.picture, expected.picture);
    QCOMPARE(shown.placement, expected.placement);
    QCOMPARE(shown.at, expected.at);
    QCOMPARE(shown.originalSize, expected.originalSize);
}

mode_t modeOf(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Stored by one run, the photo shown by the next is the very one a fresh decode shows, and nothing is decoded.
void TestPhotos::storeShowsThePhotoAsDecoded_data()
{
    rows::add({"wide jpeg | 600 400 | jpg", "upright jpeg | 300 900 | jpg", "small jpeg, at its own size | 50 40 | jpg",
               "wide, cut by the area | 400 60 | jpg", "grey jpeg | 640 480 | grey",
               "bitmap of 256 colours | 90 70 | bmp"});
}

void TestPhotos::storeShowsThePhotoAsDecoded()
{
    const QStringList row = rows::fields(), size = row[1].split(' ');
    QImage image = noise(size[0].toInt(), size[1].toInt(), 5);
    if (row[2] == "grey")
        image = image.convertToFormat(QImage::Format_Grayscale8);
    if (row[2] == "bmp")
        image = image.convertToFormat(QImage::Format_Indexed8);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, row[2] == "bmp" ? "BMP" : "JPG"));
    const QString path = write(QStringLiteral("shown.") + (row[2] == "bmp" ? "bmp" : "jpg"), bytes);
    const QString folder = m_dir.filePath(QStringLiteral("cache/Vire Lan/photos"));
    QDir(folder).removeRecursively();
    const photofit::Shown expected = decodedAfresh(path);
    QVERIFY(row[2] != "bmp" || expected.picture.format() == QImage::Format_Indexed8);
    {
        PhotoCache cache(1 << 20);
        cache.keepOnDisk(folder);
        compareShown(cache.load(path), expected);
        QCOMPARE(cache.decodeCount(), 1);
    }
    // Readable by the user alone.
    QCOMPARE(modeOf(folder), mode_t(0700));
    QCOMPARE(modeOf(PhotoStore(folder).entryPath(*PhotoKey::of(path))), mode_t(0600));
    PhotoCache next(1 << 20);
    next.keepOnDisk(folder);
    const std::optional<photofit::Shown> kept = next.kept(path);
    QVERIFY(kept);
    compareShown(*kept, expected);
    QCOMPARE(next.decodeCount(), 0);
}

// An entry cut short, altered, made for another photo or for the photo as it was, or no entry at all: the card never
// shows it, the photo is decoded again and its entry written anew.
void TestPhotos::storeNeverShowsWhatIsNotThePhotosEntry_data()
{
    rows::add({"cut | 0 -1", "cut by its checksum | 0 -4", "a pixel altered | 1 -200", "its header altered | 1 24",
               "another photo's entry | other", "foreign bytes | foreign", "empty | 0 0",
               "a link to a good entry | link", "the photo rewritten since | rewritten",
               "a folder in its place | folder"});
}

void TestPhotos::storeNeverShowsWhatIsNotThePhotosEntry()
{
    const QStringList row = rows::fields(), how = row[1].split(' ');
    const QString folder = m_dir.filePath(QStringLiteral("photos"));
    QDir(folder).removeRecursively();
    const QString path = write(QStringLiteral("entry.jpg"), jpeg(noise(600, 400, 3)));
    const QString other = write(QStringLiteral("other.jpg"), jpeg(noise(600, 400, 4)));
    PhotoCache first(1 << 20);
    first.keepOnDisk(folder);
    first.load(path);
    first.load(other);
    const PhotoStore store(folder);
    const QString entry = store.entryPath(*PhotoKey::of(path)), otherEntry = store.entryPath(*PhotoKey::of(other));
    QByteArray bytes = testfiles::readAll(entry);
    QVERIFY(QFile::remove(entry));
    if (how[0] == "other") {
        QVERIFY(QFile::copy(otherEntry, entry));
    } else if (how[0] == "foreign") {
        testfiles::writeAll(entry, jpeg(noise(60, 40, 9)));
    } else if (how[0] == "link") {
        QVERIFY(QFile::link(otherEntry, entry));
    } else if (how[0] == "rewritten") {
        testfiles::writeAll(entry, bytes);
        QTest::qWait(20);
        write(QStringLiteral("entry.jpg"), jpeg(noise(600, 400, 5)));
    } else if (how[0] == "folder") {
        QVERIFY(QDir().mkpath(entry));
    } else {
        // Bytes cut at their end, or one of them altered, counted from the start or the end.
        const int at = how[1].toInt() < 0 ? int(bytes.size()) + how[1].toInt() : how[1].toInt();
        if (how[0] == "1")
            bytes[at] = char(bytes[at] ^ 0x10);
        else
            bytes.truncate(at);
        testfiles::writeAll(entry, bytes);
    }
    const photofit::Shown expected = decodedAfresh(path);
    PhotoCache next(1 << 20);
    next.keepOnDisk(folder);
    QVERIFY(!next.kept(path));
    compareShown(next.load(path), expected);
    QCOMPARE(next.decodeCount(), 1);
    // Written anew, where a file may be.
    PhotoCache last(1 << 20);
    last.keepOnDisk(folder);
    QCOMPARE(bool(last.kept(path)), how[0] != "folder");
}

// Over its bound, the store removes the entries read longest ago, down to seven eighths of it.
void TestPhotos::storeKeepsWithinItsBoundWhatWasReadLast()
{
    const QString folder = m_dir.filePath(QStringLiteral("bound"));
    photofit::Shown shown;
    shown.originalSize = QSize(40, 30);
    shown.placement = photofit::fit(shown.originalSize);
    shown.picture = noise(40, 30, 6);
    QList<PhotoKey> keys;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        keys << PhotoKey{m_dir.filePath(QLatin1String(name)), 1, 2, 3, 4, 5};
    // Room for three and a half entries of the same size.
    const qint64 entryBytes = PhotoStore::encode(keys[0], shown).size();
    PhotoStore store(folder, entryBytes * 7 / 2);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(store.write(keys[i], shown));
        QFile entry(store.entryPath(keys[i]));
        QVERIFY(entry.open(QIODevice::ReadWrite) &&
                entry.setFileTime(QDateTime::currentDateTime().addSecs(-3600 * (4 - i)),
                                  QFileDevice::FileModificationTime));
    }
    // a, the oldest written, is read: b goes when d comes.
    QVERIFY(store.read(keys[0]));
    QVERIFY(store.write(keys[3], shown));
    QCOMPARE(QList<bool>({store.has(keys[0]), store.has(keys[1]), store.has(keys[2]), store.has(keys[3])}),
             QList<bool>({true, false, true, true}));
}

// A cache folder that cannot be made or written: the card shows its photo as without one, and no message comes.
void TestPhotos::storeThatCannotBeWrittenChangesNothing_data()
{
    rows::add({"a file in its place | file", "a file in place of its parent | parent", "not writable | readonly"});
}

void TestPhotos::storeThatCannotBeWrittenChangesNothing()
{
    const QString kind = rows::fields()[1];
    if (kind == "readonly" && testfiles::reranAsNobody())
        return;
    const QString path = write(QStringLiteral("unstored.jpg"), jpeg(noise(600, 400, 7)));
    QString folder = m_dir.filePath(QStringLiteral("unwritable"));
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    if (kind == "readonly")
        QVERIFY(QDir().mkdir(folder) && QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    else
        write(QStringLiteral("unwritable"), "a file");
    if (kind == "parent")
        folder += QStringLiteral("/photos");
    for (int run = 0; run < 2; ++run) {
        PhotoCache cache(1 << 20);
        cache.keepOnDisk(folder);
        compareShown(cache.load(path), decodedAfresh(path));
        QCOMPARE(cache.decodeCount(), 1);
    }
    if (kind == "readonly")
        QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
    else
        QCOMPARE(testfiles::readAll(m_dir.filePath(QStringLiteral("unwritable"))), QByteArray("a file"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The pass stores the photos of the classes open on disk, not in memory, and tries each once; it leaves the
// processor to a card that waits, and stops for a class closed.
void TestPhotos::storeAheadStoresTheClassesAndStopsWhenAsked()
{
    const QString folder = m_dir.filePath(QStringLiteral("ahead"));
    PhotoCache cache(1 << 20);
    cache.keepOnDisk(folder, PhotoStore::DefaultBound, PhotoCache::PassPriority::Normal);
    QStringList photos;
    for (int i = 0; i < 3; ++i)
        photos << write(QStringLiteral("class%1.jpg").arg(i), jpeg(noise(800, 600, quint32(10 + i))));
    const QString bad = write(QStringLiteral("bad-ahead.jpg"), "not a picture");
    auto owner = std::make_unique<QObject>();
    cache.storeAhead(owner.get(), photos + QStringList{bad, m_dir.filePath(QStringLiteral("gone.jpg"))});
    QTRY_VERIFY(cache.storedCount() == 3 && cache.storing().isEmpty());
    QCOMPARE(cache.decodeCount(), 0);
    for (const QString& photo : photos) {
        QVERIFY(!cache.holds(photo));
        const std::optional<photofit::Shown> kept = cache.kept(photo);
        QVERIFY(kept);
        compareShown(*kept, decodedAfresh(photo));
    }
    QCOMPARE(cache.decodeCount(), 0);

    // Slow photos: noise a card waits for longer than the pass needs for its own.
    const QString slow = write(QStringLiteral("slow-ahead.jpg"), jpeg(noise(2400, 1600, 20), 95));
    const QString slower = write(QStringLiteral("slower.jpg"), jpeg(noise(4000, 2400, 21), 95));
    cache.storeAhead(owner.get(), {slow});
    QVERIFY(QTest::qWaitFor([&] { return cache.storing() == slow; }));
    QObject context;
    int storedWhenShown = -1;
    cache.request(slower, &context, [&](std::uint64_t, const photofit::Shown*, const PlatformError*) {
        storedWhenShown = cache.storedCount();
    });
    QTRY_VERIFY_WITH_TIMEOUT(storedWhenShown >= 0, 20000);
    QCOMPARE(storedWhenShown, 3);
    QTRY_COMPARE(cache.storedCount(), 4);

    // The class closed while its photo is decoded: nothing more of it is stored.
    const QString last = write(QStringLiteral("last.jpg"), jpeg(noise(2400, 1600, 22), 95));
    const QString never = write(QStringLiteral("never.jpg"), jpeg(noise(800, 600, 23)));
    cache.storeAhead(owner.get(), {last, never});
    QVERIFY(QTest::qWaitFor([&] { return cache.storing() == last; }));
    owner.reset();
    QCOMPARE(cache.storedCount(), 4);
    QTest::qWait(1000);
    QCOMPARE(cache.storedCount(), 4);
    QVERIFY(!cache.store()->has(*PhotoKey::of(last)) && !cache.store()->has(*PhotoKey::of(never)));
}

QTEST_MAIN(TestPhotos)
#include "TestPhotos.moc"
