#include "RtfShelf.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

QString run(const QString& program, const QStringList& arguments, int timeoutMs = 30000)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(timeoutMs);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Words as a reader sees them: ligatures and compatibility forms unfolded, characters that show nothing left out.
QStringList wordsOf(QString text)
{
    static const QRegularExpression invisible(QStringLiteral("[\\x{0}-\\x{8}\\x{b}-\\x{1f}\\x{fffc}]"));
    text.remove(invisible);
    return text.normalized(QString::NormalizationForm_KC)
        .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The fonts of a PDF without their subset prefix ("ABCDEF+").
QStringList fontsOf(const QString& pdf)
{
    QStringList fonts;
    const QStringList lines = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QString name = lines[i].section(QLatin1Char(' '), 0, 0);
        if (!name.isEmpty())
            fonts << name.mid(name.indexOf(QLatin1Char('+')) + 1);
    }
    return fonts;
}

} // namespace

bool RtfShelf::readerAvailable()
{
    for (const char* tool : {"soffice", "pdftotext", "pdffonts"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

void RtfShelf::keep(const QString& rtfFile, const QString& text, const QStringList& fontsWanted,
                    const QStringList& fontsRefused)
{
    QFile file(rtfFile);
    keepBytes(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), text, fontsWanted, fontsRefused);
}

void RtfShelf::keepBytes(const QByteArray& rtf, const QString& text, const QStringList& fontsWanted,
                         const QStringList& fontsRefused)
{
    // Numbered copies: files of the same name from different folders stay apart.
    const QString copy = m_dir.filePath(QStringLiteral("rtf%1.rtf").arg(m_entries.size()));
    QFile out(copy);
    if (out.open(QIODevice::WriteOnly))
        out.write(rtf);
    m_entries << Entry{copy, text, fontsWanted, fontsRefused};
}

QStringList RtfShelf::readBack() const
{
    const QString out = m_dir.filePath(QStringLiteral("pdf"));
    QStringList arguments{QStringLiteral("-env:UserInstallation=file://") + m_dir.filePath(QStringLiteral("profile")),
                          QStringLiteral("--headless"),
                          QStringLiteral("--convert-to"),
                          QStringLiteral("pdf"),
                          QStringLiteral("--outdir"),
                          out};
    for (const Entry& e : m_entries)
        arguments << e.copy;
    run(QStringLiteral("soffice"), arguments, 100000);

    QStringList differences;
    for (const Entry& e : m_entries) {
        const QString name = QFileInfo(e.copy).fileName();
        const QString pdf = out + QLatin1Char('/') + QFileInfo(e.copy).completeBaseName() + QStringLiteral(".pdf");
        if (!QFile::exists(pdf)) {
            differences << name + QStringLiteral(": not read");
            continue;
        }
        // Bullets and list numbers are the reader's own rendering of the lists.
        static const QRegularExpression listMark(QStringLiteral("^(\\x{2022}|\\d+\\.)$"));
        QStringList read =
            wordsOf(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
        read.removeIf([](const QString& word) { return listMark.match(word).hasMatch(); });
        if (read != wordsOf(e.text))
            differences << name + QStringLiteral(": reads \"") + read.join(QLatin1Char(' ')) +
                               QStringLiteral("\" for \"") + wordsOf(e.text).join(QLatin1Char(' ')) + '"';
        const QString fonts = fontsOf(pdf).join(QLatin1Char(' '));
        for (const QString& wanted : e.fontsWanted)
            if (!fonts.contains(wanted))
                differences << name + QStringLiteral(": no ") + wanted + QStringLiteral(" in ") + fonts;
        for (const QString& refused : e.fontsRefused)
            if (fonts.contains(refused))
                differences << name + QStringLiteral(": ") + refused + QStringLiteral(" in ") + fonts;
    }
    return differences;
}
