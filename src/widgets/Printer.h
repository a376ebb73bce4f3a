#pragma once

#include <QRectF>
#include <QString>
#include <memory>

class QDialog;
class QPagedPaintDevice;
class QWidget;

// The printer every print of the run goes to. Qt's print support comes with it, from a module of its own loaded
// with the first printer: a run that prints nothing neither maps it nor relocates it at start-up.
class Printer
{
public:
    // As Qt's printer reports it.
    enum class State
    {
        Idle,
        Active,
        Aborted,
        Error
    };

    virtual ~Printer() = default;

    // What a print paints on, page after page.
    virtual QPagedPaintDevice& device() = 0;
    // The printable area, in the device's pixels.
    virtual QRectF pageRect() const = 0;
    virtual State state() const = 0;
    // The file printed into; empty for a real printer.
    virtual QString outputFileName() const = 0;
    virtual void setDocName(const QString& name) = 0;
    // Qt's print dialog and page set-up dialog on this printer, made but not shown.
    virtual QDialog* newPrintDialog(QWidget* parent) = 0;
    virtual QDialog* newSetupDialog(QWidget* parent) = 0;
};

namespace printermodule {

// The module's file name, beside the executable in the build tree and in the program's library folder once
// installed.
inline constexpr char FileName[] = "virelan-printer.so";
// The function the module exports, making a printer at the printer's high resolution.
inline constexpr char MakerName[] = "virelan_new_printer";
using Maker = Printer* (*)();

// A new printer from the module found beside the executable or in the library folder of the install it belongs
// to; raises "Impossible de charger le module d'impression %s", naming the install's, when neither holds one that
// loads.
std::unique_ptr<Printer> load(const QString& executableDir);
// A printer linked in (the benchmarks) made instead of the module's from then on.
void link(Maker make);

} // namespace printermodule
