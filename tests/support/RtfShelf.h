#pragma once

#include <QList>
#include <QString>
#include <QTemporaryDir>

// RTF a test run wrote, read back at its end by another word processor: LibreOffice converts them all to PDF at
// once, and each must read as the text it was written from, with the fonts wanted and none of those refused, as
// pdffonts names them ("+LiberationSerif-Bold -Bold").
class RtfShelf
{
public:
    void keep(const QByteArray& rtf, const QString& text, const QString& fonts = {});
    // Fails the test with a line for each difference; skips it when LibreOffice or poppler is not installed.
    void check() const;

private:
    QTemporaryDir m_dir;
    QList<QStringList> m_entries; // the copy, its text and its fonts
};
