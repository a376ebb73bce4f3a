#include "RtfShelf.h"

#include "TestFiles.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// Words as a reader sees them: ligatures and compatibility forms unfolded, characters that show nothing left out.
QStringList wordsOf(QString text)
{
    static const QRegularExpression invisible(QStringLiteral("[\\x{0}-\\x{8}\\x{b}-\\x{1f}\\x{fffc}]"));
    text = text.remove(invisible).normalized(QString::NormalizationForm_KC);
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

} // namespace

void RtfShelf::keep(const QByteArray& rtf, const QString& text, const QString& fonts)
{
    // Numbered copies: files of the same name from different folders stay apart.
    const QString copy = m_dir.filePath(QStringLiteral("rtf%1.rtf").arg(m_entries.size()));
    testfiles::writeAll(copy, rtf);
    m_entries << QStringList{copy, text, fonts};
}

void RtfShelf::check() const
{
    SKIP_UNLESS_INSTALLED("soffice", "pdftotext", "pdffonts");
    if (m_entries.isEmpty())
        QSKIP("no RTF was written by this run");
    QStringList copies, differences;
    for (const QStringList& entry : m_entries)
        copies << entry[0];
    testfiles::convertByOffice(copies, "pdf", m_dir.path());
    // Bullets and list numbers are the reader's own rendering of the lists.
    static const QRegularExpression listMark(QStringLiteral("^(\\x{2022}|\\d+\\.)$"));
    for (const QStringList& entry : m_entries) {
        const QString pdf = entry[0].chopped(3) + "pdf";
        QStringList read = wordsOf(testfiles::run("pdftotext", {pdf, "-"}));
        read.removeIf([](const QString& word) { return listMark.match(word).hasMatch(); });
        // In any order: the reader may flow a line's tabbed parts in columns.
        QStringList written = wordsOf(entry[1]);
        read.sort();
        written.sort();
        if (read != written)
            differences << pdf + ": reads \"" + read.join(' ') + "\" for \"" + written.join(' ') + '"';
        const QString fonts = testfiles::run("pdffonts", {pdf});
        for (const QString& font : entry[2].split(' ', Qt::SkipEmptyParts))
            if (fonts.contains(font.mid(1)) != font.startsWith('+'))
                differences << pdf + ": " + font + " in " + fonts;
    }
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join('\n')));
}
