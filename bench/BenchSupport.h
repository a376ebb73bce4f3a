#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QDialog;
class QPrinter;
class QWidget;

// What the benchmarks of Vire Lan and of the bare Qt yardsticks share: their fixtures, their clock and the way
// they decide that a window is on screen. Plain Qt: the yardsticks link nothing of the program.
namespace bench {

// The fixture folder: the class file, the texts its grid shows and the photos.
inline QString classFile(const QString& dir)
{
    return dir + QStringLiteral("/classe.prf");
}
inline QString gridTexts(const QString& dir)
{
    return dir + QStringLiteral("/grille.tsv");
}
// The same class with no photos, for the memory of classes shown as grids.
inline QString plainClassFile(const QString& dir)
{
    return dir + QStringLiteral("/classe-sans-photos.prf");
}
// The printed sheet of the class: one line per text, "<page> <x> <baseline> <text>" separated by tabs, in the
// printer's pixels, as the program lays it out on the benchmark's PDF printer.
inline QString printedTexts(const QString& dir)
{
    return dir + QStringLiteral("/impression.tsv");
}
// The cells of the class's workbook, as the program exports them (see bench/XlsxYardstick.c for the format).
inline QString workbookCells(const QString& dir)
{
    return dir + QStringLiteral("/classeur.cells");
}
inline QString photo(const QString& dir, int student)
{
    return dir + QStringLiteral("/photos/eleve%1.jpg").arg(student, 2, 10, QLatin1Char('0'));
}
// How many cards the paging walks through (each shows another photo), then how many Page Down keys are held, how far
// apart, and how many photos exist (the cards ahead of the last one shown have theirs too). The paging starts on
// student 1; the keys held stop on student 1 + PagedCards + HeldKeys.
constexpr int PagedCards = 12;
constexpr int HeldKeys = 5;
constexpr int HeldKeyGapMs = 30;
constexpr int PhotoCount = PagedCards + HeldKeys + 3;
// How many class windows the memory measure opens, and after how many it reads the memory.
constexpr int ClassCounts[] = {1, 5, 10};
// How long the teacher looks at a card before the next one: no one reads a card in less.
constexpr int ReadingMs = 300;
// How many marks are typed (two digits and Return each) for the typing measure, from which row, in which column.
constexpr int TypedMarks = 12;
constexpr int TypedFromRow = 2;
constexpr int TypedColumn = 31;
// How long the teacher looks at a dialog before pressing Return.
constexpr int DialogReadingMs = 150;

// The printer of the print measures: a PDF file at the printer's high resolution, A4.
void setUpPdfPrinter(QPrinter& printer, const QString& file);

// Answers the next modal dialog as the teacher does: once it is on screen and read, prepare() runs (a file name
// typed), then the clock starts and Return goes to the dialog's focus. The command that opened the dialog runs
// meanwhile, and once it has returned, elapsedMs() is the time from the key to the command's end.
class ModalAnswer : public QObject
{
public:
    explicit ModalAnswer(std::function<void(QDialog*)> prepare = {});
    double elapsedMs() const;
    bool answered() const { return m_clock.isValid(); }

private:
    void poll();
    std::function<void(QDialog*)> m_prepare;
    QElapsedTimer m_seen;
    QElapsedTimer m_clock;
};

// Presses and releases a key on the widget that has the focus.
void pressKey(int key, const QString& text = {});

// A picture with the look of a phone photo: broad gradients and shapes, and sensor grain of the given
// amplitude on every channel of every pixel (0 for none); the seed makes each photo another.
QImage cameraPhoto(QSize size, int grain, quint32 seed);
// Libjpeg decoding a JPEG file at the given eighths of its size (8: full size), with its default settings,
// the file read whole first. Returns the decoded size.
QSize libjpegDecode(const QString& path, int eighths);

// Runs the event loop for a while: the program settles after a step, as it would while the teacher reads.
void settle(int ms);

// Times a step until a widget has been painted on screen: armed on the widget, then the step runs, then
// wait() runs the event loop until the widget's next paint event has been handled and the events that came
// with it too (the window's drawing is sent to the screen in the same turn of the loop).
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget* widget);
    // Watches the widget that the step creates, whichever it turns out to be.
    explicit PaintWatch(std::function<bool(QObject*)> matches);
    // Starts the clock and waits for the next paint of the widget.
    void arm();
    // The same with a clock started before the widget existed (the step creates it).
    void armFrom(const QElapsedTimer& clock);
    // Milliseconds from arm() to the end of the paint; -1 when no paint came within the timeout.
    double wait(int timeoutMs = 10000);
    // For a step that runs its own event loop (a modal window): called once the paint is over.
    std::function<void()> afterPaint;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QObject*)> m_matches;
    QElapsedTimer m_clock;
    bool m_armed = false;
    bool m_scheduled = false;
    double m_elapsed = -1;
};

double median(std::vector<double> values);

// The program's memory in kilobytes: its resident set, as the system counts it.
long residentKb();

} // namespace bench
