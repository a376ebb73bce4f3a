#include "model/NotesFile.h"

#include "core/Cp1252.h"
#include "core/FileWriter.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace notesfile {

QString repairName(const QString& fileName)
{
    QString name = fileName;
    for (qsizetype i = 0; i + 1 < name.size(); ++i) {
        const QChar c = name[i];
        if ((c == QLatin1Char('/') || c == QLatin1Char('\\')) && name[i + 1] == c) {
            name.remove(i, 1);
            break;
        }
    }
    return name;
}

QString decode(const QByteArray& bytes)
{
    const QString raw = cp1252::decode(bytes);
    QString text;
    text.reserve(raw.size() + raw.size() / 16);
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = raw[i];
        if (c == QLatin1Char('\r')) {
            text += QLatin1String("\r\n");
            if (i + 1 < n && raw[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            text += QLatin1String("\r\n");
        } else {
            text += c;
        }
    }
    return text;
}

QByteArray encode(const QString& memoText)
{
    return cp1252::encode(memoText);
}

std::optional<QString> load(const QString& fileName, qint64 capacity)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return std::nullopt;
    // Whatever cannot be loaded is never written over during the run.
    const auto failure = [&](PlatformError error) {
        filewriter::markUnreadable(fileName);
        return error;
    };
    // A folder or a pipe of that name is no missing file (and a pipe would wait for a writer for ever).
    QFile file(fileName);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw failure(PlatformError::cannotOpen(fileName));
    const PlatformError tooLarge(QStringLiteral("Le texte dépasse la capacité du mémo"));
    if (file.size() > capacity)
        throw failure(tooLarge);
    // The size may change under our feet: never read more than one byte past the capacity.
    const QByteArray bytes = textfile::readAtMost(file, capacity);
    if (file.error() != QFileDevice::NoError)
        throw failure(PlatformError::cannotOpen(fileName));
    if (bytes.size() > capacity)
        throw failure(tooLarge);
    filewriter::markReadable(fileName);
    return decode(bytes);
}

void save(const QString& fileName, const QString& memoText)
{
    textfile::writeBytes(fileName, encode(memoText));
}

} // namespace notesfile
