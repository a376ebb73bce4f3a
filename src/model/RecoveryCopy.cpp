#include "model/RecoveryCopy.h"

#include "core/FileNames.h"
#include "core/FrenchDates.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace recovery {
namespace {

const QByteArray Magic = QByteArrayLiteral("VIRELAN-RECOVERY 1\n");
const QByteArray EndKey = QByteArrayLiteral("end ");
// The longest line before a record's bytes, or the last line: a key and a byte count, or the digest.
constexpr qsizetype MaxLine = 80;

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Notes:
        return "notes";
    case Kind::Phrases:
        return "phrases";
    case Kind::Class:
        break;
    }
    return "class";
}

std::optional<Kind> kindOf(const QByteArray& name)
{
    for (const Kind kind : {Kind::Class, Kind::Notes, Kind::Phrases})
        if (name == kindName(kind))
            return kind;
    return std::nullopt;
}

QByteArray digest(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

void record(QByteArray& out, const char* key, const QByteArray& bytes)
{
    out += key;
    out += ' ';
    out += QByteArray::number(bytes.size());
    out += '\n';
    out += bytes;
    out += '\n';
}

} // namespace

QByteArray encode(const Copy& copy)
{
    QByteArray out = Magic;
    record(out, "kind", kindName(copy.kind));
    record(out, "file", copy.fileName.toUtf8());
    record(out, "caption", copy.caption.toUtf8());
    record(out, "changed", copy.changed.toUTC().toString(Qt::ISODateWithMs).toUtf8());
    switch (copy.kind) {
    case Kind::Class:
        record(out, "class", copy.classFile);
        record(out, "homework", copy.homework);
        if (copy.planning)
            record(out, "planning", *copy.planning);
        if (copy.plan)
            record(out, "plan", *copy.plan);
        break;
    case Kind::Notes:
        record(out, "text", copy.text.toUtf8());
        break;
    case Kind::Phrases:
        for (const QString& phrase : copy.phrases)
            record(out, "phrase", phrase.toUtf8());
        break;
    }
    out += EndKey + digest(out) + '\n';
    return out;
}

std::optional<Copy> decode(const QByteArray& bytes)
{
    if (!bytes.startsWith(Magic) || bytes.size() > MaxBytes)
        return std::nullopt;
    Copy copy;
    std::optional<Kind> kind;
    qsizetype at = Magic.size();
    while (at < bytes.size()) {
        const qsizetype lineEnd = bytes.indexOf('\n', at);
        if (lineEnd < 0 || lineEnd - at > MaxLine)
            return std::nullopt;
        const QByteArray line = bytes.mid(at, lineEnd - at);
        if (line.startsWith(EndKey)) {
            // The last line, whole, and the digest of everything before it.
            if (lineEnd + 1 != bytes.size() || line.mid(EndKey.size()) != digest(QByteArrayView(bytes).first(at)) ||
                !kind)
                return std::nullopt;
            copy.kind = *kind;
            return copy;
        }
        const qsizetype blank = line.indexOf(' ');
        if (blank <= 0)
            return std::nullopt;
        const QByteArray key = line.first(blank);
        const QByteArray count = line.mid(blank + 1);
        if (count.isEmpty() || !std::all_of(count.begin(), count.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        bool ok = false;
        const qint64 size = count.toLongLong(&ok);
        const qsizetype start = lineEnd + 1;
        if (!ok || size > bytes.size() - start - 1 || bytes.at(start + size) != '\n')
            return std::nullopt;
        const QByteArray value = bytes.mid(start, size);
        if (key == "kind")
            kind = kindOf(value);
        else if (key == "file")
            copy.fileName = QString::fromUtf8(value);
        else if (key == "caption")
            copy.caption = QString::fromUtf8(value);
        else if (key == "changed")
            copy.changed = QDateTime::fromString(QString::fromUtf8(value), Qt::ISODateWithMs);
        else if (key == "class")
            copy.classFile = value;
        else if (key == "homework")
            copy.homework = value;
        else if (key == "planning")
            copy.planning = value;
        else if (key == "plan")
            copy.plan = value;
        else if (key == "text")
            copy.text = QString::fromUtf8(value);
        else if (key == "phrase")
            copy.phrases << QString::fromUtf8(value);
        at = start + size + 1;
    }
    return std::nullopt;
}

Listed listed(const Copy& copy)
{
    Listed out;
    if (copy.fileName.isEmpty()) {
        out.name = QStringLiteral("Sans nom");
    } else {
        out.name = filenames::lastComponent(copy.fileName);
        out.folder = QDir::toNativeSeparators(QFileInfo(copy.fileName).absolutePath());
    }
    const QDateTime local = copy.changed.toLocalTime();
    if (local.isValid())
        out.changed = frdate::shortDate(local.date()) + QLatin1Char(' ') + frdate::longTime(local.time());
    return out;
}

} // namespace recovery
