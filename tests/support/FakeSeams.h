#pragma once

#include "widgets/Seams.h"

#include <QList>
#include <QPointer>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QPrinter;
class QtPrinter;

// Scripted answers for everything that would block or reach outside. Installed for its lifetime.
class FakeSeams : public Seams
{
public:
    struct Message
    {
        MessageKind kind;
        QString caption;
        QString text;
        QStringList buttons;
        int defaultButton;
        int escapeButton;
    };

    FakeSeams();
    ~FakeSeams() override;

    // Answers, taken in order; when a queue is empty the dialog is cancelled
    // (a message box answers its default button).
    QStringList openAnswers;
    QList<std::optional<SaveChoice>> saveAnswers;
    QList<int> messageAnswers;
    QList<bool> printDialogAnswers;
    QList<bool> printerSetupAnswers;
    std::function<bool(QFont&)> onFontDialog;
    // What a modal window does while it is shown; by default it is shown and closed at once.
    std::function<int(QDialog*)> onModal;

    // What was asked.
    QList<Message> messages;
    QStringList openFilters;
    QStringList saveFilters;
    QStringList saveSuggestions;
    QList<QDialog*> modalShown;
    int printDialogs = 0;

    // The clock: the requests to set it, and the system's answer to the oldest one still waiting (empty when
    // it set the clock, else why not), given when the test chooses.
    QDateTime fixedNow;
    QList<QDateTime> clockSets;
    void answerClock(const QString& refusal = {});

    // The warning sounds heard.
    int beeps = 0;
    // The status bar messages shown.
    QStringList statusMessages;

    // The printer prints into a PDF file in a temporary folder.
    QString printerOutput() const;
    // Qt's printer under printer().
    QPrinter& pdfPrinter();

    QString openFileName(QWidget* parent, const QString& filter) override;
    std::optional<SaveChoice> saveFileName(QWidget* parent, const QString& filter, int filterIndex,
                                           const QString& suggested) override;
    int message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text,
                const QStringList& buttons, int defaultButton, int escapeButton) override;
    bool printDialog(QWidget* parent, Printer& printer) override;
    bool printerSetupDialog(QWidget* parent, Printer& printer) override;
    bool fontDialog(QWidget* parent, QFont& font) override;
    int execModal(QDialog* dialog) override;
    Printer& printer() override;
    QDateTime now() override;
    void setSystemClock(const QDateTime& dateTime, QObject* context,
                        const std::function<void(const QString& refusal)>& done) override;
    void beep() override { ++beeps; }
    void statusMessage(QWidget*, const QString& text) override { statusMessages << text; }

private:
    QList<std::pair<QPointer<QObject>, std::function<void(const QString&)>>> m_clockRequests;
    QTemporaryDir m_dir;
    std::unique_ptr<QtPrinter> m_printer;
};
