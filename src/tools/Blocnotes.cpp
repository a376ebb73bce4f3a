#include "tools/Blocnotes.h"

#include "core/FileNames.h"
#include "model/NotesFile.h"
#include "tools/PrinterTextDevice.h"
#include "widgets/Cp1252Guard.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Fonts.h"
#include "widgets/Glyphs.h"
#include "widgets/Seams.h"

#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 533;
constexpr int ClientHeight = 334;
constexpr int TopBarHeight = 33;
// The single border of the window at design, on each side; the close button is placed from the outer width.
constexpr int DesignBorder = 3;
// The window was designed at 120 pixels per inch; printed fonts keep the same size in points.
constexpr double DesignPixelsPerInch = 120.0;

} // namespace

TBlocnotes::TBlocnotes(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Blocnotes"));
    setWindowTitle(QStringLiteral("Bloc-notes"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(fonts::system(17));
    setFixedSize(ClientWidth, ClientHeight);

    TopBar = new QWidget(this);
    TopBar->setObjectName(QStringLiteral("TopBar"));
    TopBar->setGeometry(0, 0, ClientWidth, TopBarHeight);

    SpeedButton9 = new QToolButton(TopBar);
    SpeedButton9->setObjectName(QStringLiteral("SpeedButton9"));
    SpeedButton9->setGeometry(16, 4, 25, 25);
    SpeedButton9->setAutoRaise(true);
    SpeedButton9->setIcon(glyphs::icon(glyphs::Glyph::Print));
    SpeedButton9->setToolTip(QStringLiteral("Imprimer"));
    SpeedButton9->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton9, &QToolButton::clicked, this, [this] { SpeedButton9Click(); });

    Button1 = new QPushButton(QStringLiteral("Fermer"), TopBar);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 2, 89, 28);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    Memo1 = new CrlfTextEdit(this);
    // Every character is one byte of the file and a line break two: a notepad typed full is still read back.
    Cp1252Guard::protect(Memo1, int(notesfile::Capacity / 2));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, TopBarHeight, ClientWidth, ClientHeight - TopBarHeight);
    Memo1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Memo1->setLineWidth(2);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A word longer than the line is broken where the edge falls, as a memo does.
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setTabChangesFocus(true);
    Memo1->installEventFilter(this);
    Memo1->setFocus();
    setFocusProxy(Memo1);

    FormResize();
}

bool TBlocnotes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        // Shift+Enter would make a line break inside a paragraph, which the notes file cannot tell from an
        // ordinary line end: both make a new line.
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ShiftModifier)) {
            Memo1->textCursor().insertBlock();
            Memo1->ensureCursorVisible();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TBlocnotes::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TBlocnotes::FormResize()
{
    Button1->move(width() + 2 * DesignBorder - 125, Button1->y());
}

QString TBlocnotes::text() const
{
    return Memo1->crlfText();
}

void TBlocnotes::setText(const QString& crlfText)
{
    Memo1->setCrlfText(crlfText);
}

bool TBlocnotes::isModified() const
{
    return Memo1->document()->isModified();
}

void TBlocnotes::setModified(bool modified)
{
    Memo1->document()->setModified(modified);
}

void TBlocnotes::Charge(const QString& fileName)
{
    const QString name = notesfile::repairName(fileName);
    const std::optional<QString> loaded = notesfile::load(name);
    m_disk = DiskState::of(name);
    if (!loaded)
        return;
    setText(*loaded);
    setModified(false);
}

void TBlocnotes::Sauve(const QString& fileName)
{
    if (!isModified())
        return;
    const QString name = notesfile::repairName(fileName);
    if (filenames::sameFile(m_disk.path(), name) &&
        !mayWriteOver(m_disk, [this](const QString& file) { return errors::mayReplace(this, file); }))
        return;
    notesfile::save(name, text());
    m_disk = DiskState::of(name, notesfile::encode(text()));
    setModified(false);
}

QStringList TBlocnotes::displayedLines() const
{
    QStringList lines;
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(Memo1->document()->documentLayout());
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next()) {
        if (layout)
            layout->ensureBlockLayout(block);
        const QTextLayout* textLayout = block.layout();
        const QString blockText = block.text();
        if (!textLayout || textLayout->lineCount() == 0) {
            lines << blockText;
            continue;
        }
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            lines << blockText.mid(line.textStart(), line.textLength());
        }
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

void TBlocnotes::Imprimer()
{
    // The lines are taken before the job starts, so what is printed is what the window shows now.
    const QStringList lines = displayedLines();
    QFont font = Memo1->font();
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / DesignPixelsPerInch);
    PrinterTextDevice device(seams().printer());
    device.open(font, Memo1->palette().color(QPalette::Text));
    for (const QString& line : lines)
        device.writeLine(line);
    device.close();
}

void TBlocnotes::SpeedButton9Click()
{
    errors::guarded(this, [this] { Imprimer(); });
}

void TBlocnotes::Button1Click()
{
    close();
}
