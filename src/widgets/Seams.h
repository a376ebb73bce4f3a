#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QFont;
class QObject;
class Printer;
class QWidget;

// Everything that blocks or reaches outside the program goes through here, so that tests can script
// the answers while a real run uses Qt's own dialogs, the real printer and the real clock.
class Seams
{
public:
    enum class MessageKind
    {
        Information,
        Warning,
        Error
    };

    struct SaveChoice
    {
        QString fileName;
        int filterIndex = 1; // 1-based, as the filter lists its pairs
    };

    virtual ~Seams() = default;

    // Filters are written "Description|pattern|Description|pattern". An empty name means cancelled.
    virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
    // The save dialog shows `suggested` as the name typed; with one, choosing another filter gives the name typed
    // that filter's extension. Replacing an existing file is not asked about here.
    virtual std::optional<SaveChoice> saveFileName(QWidget* parent, const QString& filter, int filterIndex,
                                                   const QString& suggested = QString()) = 0;
    // Shows a message box and returns the index of the button pressed.
    virtual int message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text,
                        const QStringList& buttons, int defaultButton, int escapeButton) = 0;
    virtual bool printDialog(QWidget* parent, Printer& printer) = 0;
    virtual bool printerSetupDialog(QWidget* parent, Printer& printer) = 0;
    virtual bool fontDialog(QWidget* parent, QFont& font) = 0;
    // Shows a window modally and returns its result when it closes.
    virtual int execModal(QDialog* dialog) = 0;
    // The current printer, shared by every print of the run; made when first asked for (a print or the page set-up).
    virtual Printer& printer() = 0;
    virtual QDateTime now() = 0;
    // Asks the system to set its local date and time without waiting: `done` is called later, as an event on
    // the context's thread, with an empty text when the clock is set or, in French, why it was not; not at
    // all when the context is gone by then.
    virtual void setSystemClock(const QDateTime& dateTime, QObject* context,
                                const std::function<void(const QString& refusal)>& done) = 0;
    // The system's warning sound, for a key that is refused.
    virtual void beep() = 0;
    // A message for the status bar of the window the widget sits in, from code that cannot reach that window.
    virtual void statusMessage(QWidget* parent, const QString& text) = 0;
};

Seams& seams();
// Installs another implementation (tests); nullptr goes back to the real one. The caller keeps ownership.
void setSeams(Seams* replacement);
