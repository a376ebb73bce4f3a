#pragma once

#include "widgets/Seams.h"

#include <memory>

// The real seams: Qt's dialogs, message boxes and printer, the system clock and its time service.
class QtSeams : public Seams
{
public:
    QtSeams();
    ~QtSeams() override;

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
    void beep() override;
    void statusMessage(QWidget* parent, const QString& text) override;

    // "Desc|*.prf|Desc2|*.x" becomes Qt's "Desc (*.prf);;Desc2 (*.x)" list.
    static QStringList qtFilters(const QString& filter);

private:
    std::unique_ptr<Printer> m_printer;
};
