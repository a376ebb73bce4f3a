#include "QtPrinter.h"

#include <QPageSetupDialog>
#include <QPrintDialog>

QtPrinter::QtPrinter() : m_printer(QPrinter::HighResolution) {}

QRectF QtPrinter::pageRect() const
{
    return m_printer.pageRect(QPrinter::DevicePixel);
}

Printer::State QtPrinter::state() const
{
    switch (m_printer.printerState()) {
    case QPrinter::Idle:
        return State::Idle;
    case QPrinter::Active:
        return State::Active;
    case QPrinter::Aborted:
        return State::Aborted;
    case QPrinter::Error:
        break;
    }
    return State::Error;
}

QDialog* QtPrinter::newPrintDialog(QWidget* parent)
{
    return new QPrintDialog(&m_printer, parent);
}

QDialog* QtPrinter::newSetupDialog(QWidget* parent)
{
    return new QPageSetupDialog(&m_printer, parent);
}

#ifdef VIRELAN_PRINTER_MODULE
extern "C" Q_DECL_EXPORT Printer* virelan_new_printer()
{
    return QtPrinter::make();
}
#endif
