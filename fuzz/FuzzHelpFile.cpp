// The help file: any bytes parse; the topics written out again in the file's own form parse to the same
// topics; the index holds every title and keyword once, sorted.
#include "FuzzCheck.h"
#include "app/HelpFile.h"

#include <QCollator>

namespace {

// The file's form of the topics. Every line but the last ends in CR LF, so a line that ended in CR keeps
// it; the last has no line end, as a file's line end starts one more (empty) line of the last topic.
QByteArray writeBack(const HelpFile& help)
{
    QStringList lines;
    for (const HelpFile::Topic& topic : help.topics()) {
        lines << QStringLiteral("@topic ") + QString::number(topic.context) + QLatin1Char(' ') + topic.title;
        if (!topic.keywords.isEmpty())
            lines << QStringLiteral("@keywords ") + topic.keywords.join(QStringLiteral("; "));
        QStringList body = topic.body.split(QLatin1Char('\n'));
        body.removeLast(); // every body line ends in a line feed
        lines += body;
    }
    QString out = lines.join(QStringLiteral("\r\n"));
    if (out.endsWith(QLatin1Char('\r')))
        out += QLatin1Char('\r');
    return out.toUtf8();
}

bool sameTopics(const HelpFile& a, const HelpFile& b)
{
    if (a.topics().size() != b.topics().size())
        return false;
    for (qsizetype i = 0; i < a.topics().size(); ++i) {
        const HelpFile::Topic &x = a.topics()[i], &y = b.topics()[i];
        if (x.context != y.context || x.title != y.title || x.keywords != y.keywords || x.body != y.body)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const HelpFile help = HelpFile::parse(fuzz::bytes(data, size));
    FUZZ_REQUIRE(help.isValid());
    FUZZ_REQUIRE(sameTopics(HelpFile::parse(writeBack(help)), help));

    qsizetype entries = 0;
    for (const HelpFile::Topic& topic : help.topics())
        entries += 1 + topic.keywords.size();
    const auto index = help.index();
    FUZZ_REQUIRE(index.size() == entries);
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (qsizetype i = 1; i < index.size(); ++i)
        FUZZ_REQUIRE(collator.compare(index[i - 1].first, index[i].first) <= 0);
    return 0;
}
