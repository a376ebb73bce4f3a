#include "app/HelpFile.h"

#include "core/PlatformError.h"

#include <QCollator>
#include <QFile>
#include <algorithm>

HelpFile HelpFile::parse(const QByteArray& text)
{
    HelpFile help;
    help.m_valid = true;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    Topic* current = nullptr;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QStringLiteral("@topic "))) {
            const QString rest = line.mid(7).trimmed();
            const qsizetype blank = rest.indexOf(QLatin1Char(' '));
            Topic topic;
            topic.context = rest.left(blank).toInt();
            topic.title = blank < 0 ? QString() : rest.mid(blank + 1).trimmed();
            help.m_topics << topic;
            current = &help.m_topics.last();
            continue;
        }
        if (!current)
            continue;
        if (line.startsWith(QStringLiteral("@keywords "))) {
            // A keyword of blanks would be an empty entry of the index.
            for (const QString& k : line.mid(10).split(QLatin1Char(';')))
                if (!k.trimmed().isEmpty())
                    current->keywords << k.trimmed();
            continue;
        }
        current->body += line + QLatin1Char('\n');
    }
    return help;
}

HelpFile HelpFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    HelpFile refused;
    refused.m_refusal = PlatformError::tooLarge(path, FileLimit.bytes, FileLimit.what).message();
    if (file.size() > FileLimit.bytes)
        return refused;
    // Never more than one byte past the limit, whatever the file became since its size was asked.
    const QByteArray bytes = textfile::readAtMost(file, FileLimit.bytes);
    if (bytes.size() > FileLimit.bytes)
        return refused;
    return parse(bytes);
}

const HelpFile::Topic* HelpFile::topic(int context) const
{
    for (const Topic& t : m_topics)
        if (t.context == context)
            return &t;
    return nullptr;
}

QList<QPair<QString, int>> HelpFile::index() const
{
    QList<QPair<QString, int>> out;
    for (const Topic& t : m_topics) {
        out << qMakePair(t.title, t.context);
        for (const QString& k : t.keywords)
            out << qMakePair(k, t.context);
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(out.begin(), out.end(),
                     [&](const auto& a, const auto& b) { return collator.compare(a.first, b.first) < 0; });
    return out;
}
