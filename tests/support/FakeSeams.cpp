#include "FakeSeams.h"

#include "widgets/printer/QtPrinter.h"

#include <QApplication>
#include <QDialog>
#include <QPrinter>

FakeSeams::FakeSeams()
{
    setSeams(this);
}

FakeSeams::~FakeSeams()
{
    setSeams(nullptr);
}

QString FakeSeams::printerOutput() const
{
    return m_dir.filePath(QStringLiteral("printer.pdf"));
}

QString FakeSeams::openFileName(QWidget*, const QString& filter)
{
    openFilters << filter;
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

std::optional<Seams::SaveChoice> FakeSeams::saveFileName(QWidget*, const QString& filter, int, const QString& suggested)
{
    saveFilters << filter;
    saveSuggestions << suggested;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
}

int FakeSeams::message(QWidget*, MessageKind kind, const QString& caption, const QString& text,
                       const QStringList& buttons, int defaultButton, int escapeButton)
{
    messages << Message{kind, caption, text, buttons, defaultButton, escapeButton};
    return messageAnswers.isEmpty() ? defaultButton : messageAnswers.takeFirst();
}

bool FakeSeams::printDialog(QWidget*, Printer&)
{
    ++printDialogs;
    return printDialogAnswers.isEmpty() ? false : printDialogAnswers.takeFirst();
}

bool FakeSeams::printerSetupDialog(QWidget*, Printer&)
{
    return printerSetupAnswers.isEmpty() ? false : printerSetupAnswers.takeFirst();
}

bool FakeSeams::fontDialog(QWidget*, QFont& font)
{
    return onFontDialog ? onFontDialog(font) : false;
}

int FakeSeams::execModal(QDialog* dialog)
{
    modalShown << dialog;
    if (onModal)
        return onModal(dialog);
    dialog->show();
    QApplication::processEvents();
    dialog->close();
    QApplication::processEvents();
    return dialog->result();
}

Printer& FakeSeams::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QtPrinter>();
        m_printer->qprinter().setOutputFormat(QPrinter::PdfFormat);
        m_printer->qprinter().setOutputFileName(printerOutput());
    }
    return *m_printer;
}

QPrinter& FakeSeams::pdfPrinter()
{
    printer();
    return m_printer->qprinter();
}

QDateTime FakeSeams::now()
{
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTime();
}

void FakeSeams::setSystemClock(const QDateTime& dateTime, QObject* context,
                               const std::function<void(const QString& refusal)>& done)
{
    clockSets << dateTime;
    m_clockRequests << std::pair(QPointer<QObject>(context), done);
}

void FakeSeams::answerClock(const QString& refusal)
{
    if (!m_clockRequests.isEmpty())
        if (const auto [context, done] = m_clockRequests.takeFirst(); context)
            done(refusal);
}
