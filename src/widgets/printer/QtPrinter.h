#pragma once

#include "widgets/Printer.h"

#include <QPrinter>

// The printer on Qt's print support. The program loads it as a module with its first print; tests and benchmarks
// link it in.
class QtPrinter final : public Printer
{
public:
    QtPrinter();
    static Printer* make() { return new QtPrinter; }

    QPagedPaintDevice& device() override { return m_printer; }
    QRectF pageRect() const override;
    State state() const override;
    QString outputFileName() const override { return m_printer.outputFileName(); }
    void setDocName(const QString& name) override { m_printer.setDocName(name); }
    QDialog* newPrintDialog(QWidget* parent) override;
    QDialog* newSetupDialog(QWidget* parent) override;

    // Qt's own printer, for those who set it up themselves (a PDF file, a page size).
    QPrinter& qprinter() { return m_printer; }

private:
    QPrinter m_printer;
};
