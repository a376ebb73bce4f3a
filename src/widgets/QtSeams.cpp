#include "widgets/QtSeams.h"

#include "core/SystemClock.h"
#include "widgets/Printer.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusTipEvent>
#include <memory>

namespace {

Seams* g_replacement = nullptr;

// A dialog taken down on the next turn of the event loop rather than when its answer is returned: what the answer
// leads to (a class read, a file written, a document printed) is done first, and the dialog's own leaving after it
// (Qt's file dialog then writes its settings file, synced; the print dialog lets go of the printer's list).
// A list its answer left open (the name box's completions) goes with the answer: until it goes it keeps the keyboard,
// and the keys typed meanwhile would reach it, not the window back in front. Any list open then is the dialog's:
// nothing else can open one while the dialog is modal.
struct DeleteLater
{
    void operator()(QObject* dialog) const
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            if (!popup->close())
                break;
        dialog->deleteLater();
    }
};
template <typename Dialog> using Later = std::unique_ptr<Dialog, DeleteLater>;

} // namespace

Seams& seams()
{
    if (g_replacement)
        return *g_replacement;
    static QtSeams real;
    return real;
}

void setSeams(Seams* replacement)
{
    g_replacement = replacement;
}

QtSeams::QtSeams() = default;
QtSeams::~QtSeams() = default;

QStringList QtSeams::qtFilters(const QString& filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the description's parentheses, separated by blanks: the description's
        // own "(*.bmp;*.ico)" is rewritten from the pattern part.
        QString description = parts[i];
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0)
            description.truncate(open);
        out << description.trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

QString QtSeams::openFileName(QWidget* parent, const QString& filter)
{
    const Later<QFileDialog> shown(new QFileDialog(parent, QStringLiteral("Ouvrir")));
    QFileDialog& dialog = *shown;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(qtFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<Seams::SaveChoice> QtSeams::saveFileName(QWidget* parent, const QString& filter, int filterIndex,
                                                       const QString& suggested)
{
    const Later<QFileDialog> shown(new QFileDialog(parent, QStringLiteral("Enregistrer sous")));
    QFileDialog& dialog = *shown;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is not asked about.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    const QStringList filters = qtFilters(filter);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size())
        dialog.selectNameFilter(filters[filterIndex - 1]);
    if (!suggested.isEmpty()) {
        dialog.selectFile(suggested);
        // The name typed follows the filter chosen: 6A.xlsx becomes 6A.csv when the CSV filter is chosen.
        const QStringList parts = filter.split(QLatin1Char('|'));
        QStringList extensions;
        for (int i = 1; i < parts.size(); i += 2)
            extensions << parts[i].section(QLatin1Char(';'), 0, 0).mid(1);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, filters, extensions](const QString& chosen) {
                             auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                             const qsizetype index = filters.indexOf(chosen);
                             if (!edit || index < 0 || index >= extensions.size() || extensions[index].size() < 2)
                                 return;
                             for (const QString& extension : extensions)
                                 if (extension.size() > 1 && edit->text().endsWith(extension, Qt::CaseInsensitive)) {
                                     edit->setText(edit->text().chopped(extension.size()) + extensions[index]);
                                     break;
                                 }
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveChoice choice;
    choice.fileName = dialog.selectedFiles().constFirst();
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    return choice;
}

int QtSeams::message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text,
                     const QStringList& buttons, int defaultButton, int escapeButton)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(kind == MessageKind::Warning ? QMessageBox::Warning
                : kind == MessageKind::Error ? QMessageBox::Critical
                                             : QMessageBox::Information);
    QList<QPushButton*> pushButtons;
    for (const QString& label : buttons)
        pushButtons << box.addButton(label, QMessageBox::ActionRole);
    if (defaultButton >= 0 && defaultButton < pushButtons.size())
        box.setDefaultButton(pushButtons[defaultButton]);
    if (escapeButton >= 0 && escapeButton < pushButtons.size())
        box.setEscapeButton(pushButtons[escapeButton]);
    box.exec();
    const int index = static_cast<int>(pushButtons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return index < 0 ? escapeButton : index;
}

bool QtSeams::printDialog(QWidget* parent, Printer& printer)
{
    const Later<QDialog> dialog(printer.newPrintDialog(parent));
    return dialog->exec() == QDialog::Accepted;
}

bool QtSeams::printerSetupDialog(QWidget* parent, Printer& printer)
{
    const std::unique_ptr<QDialog> dialog(printer.newSetupDialog(parent));
    return dialog->exec() == QDialog::Accepted;
}

bool QtSeams::fontDialog(QWidget* parent, QFont& font)
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font, parent, QStringLiteral("Police"), QFontDialog::DontUseNativeDialog);
    if (ok)
        font = chosen;
    return ok;
}

int QtSeams::execModal(QDialog* dialog)
{
    return dialog->exec();
}

Printer& QtSeams::printer()
{
    if (!m_printer)
        m_printer = printermodule::load(QApplication::applicationDirPath());
    return *m_printer;
}

QDateTime QtSeams::now()
{
    return QDateTime::currentDateTime();
}

void QtSeams::setSystemClock(const QDateTime& dateTime, QObject* context,
                             const std::function<void(const QString& refusal)>& done)
{
    systemclock::setLocal(dateTime, context, done);
}

void QtSeams::beep()
{
    QApplication::beep();
}

void QtSeams::statusMessage(QWidget* parent, const QString& text)
{
    // The frame shows status tips in its status bar. Posted, so that it comes after the tip a closing menu
    // clears, and stays until the next hint.
    if (parent)
        QCoreApplication::postEvent(parent->window(), new QStatusTipEvent(text));
}
