#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// RTF files a test run wrote, kept to be read back at its end by another word processor: LibreOffice
// converts all of them to PDF at once, and each must read as the text it was written from, with the
// fonts asked for and without those refused (as pdffonts names them: "LiberationSerif-Bold", "C059-Roman").
class RtfShelf
{
public:
    // Whether LibreOffice and poppler's pdftotext and pdffonts are installed.
    static bool readerAvailable();

    // Keeps a copy of the file (or the bytes) with the text it holds.
    void keep(const QString& rtfFile, const QString& text, const QStringList& fontsWanted = {},
              const QStringList& fontsRefused = {});
    void keepBytes(const QByteArray& rtf, const QString& text, const QStringList& fontsWanted = {},
                   const QStringList& fontsRefused = {});

    int size() const { return static_cast<int>(m_entries.size()); }
    // Reads everything kept in one conversion; one line for each difference, none when all read right.
    QStringList readBack() const;

private:
    struct Entry
    {
        QString copy;
        QString text;
        QStringList fontsWanted;
        QStringList fontsRefused;
    };
    QTemporaryDir m_dir;
    QList<Entry> m_entries;
};
