#include "model/ClassFile.h"

#include "core/Cp1252.h"
#include "core/FileWriter.h"
#include "core/MessageText.h"
#include "core/PlatformError.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace classfile {
namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The value of a run of hexadecimal digits; -1 when it is empty or holds anything else.
int hexValue(const char* data, qsizetype size)
{
    if (size <= 0)
        return -1;
    int value = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const int d = hexDigit(data[i]);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

void appendHex(QByteArray& out, int value, int digits)
{
    static const char upper[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += upper[(value >> shift) & 0xF];
}

// One record's text: every line break (CR LF, or a lone CR or LF) becomes the line-break byte.
QByteArray encodeText(const QString& text)
{
    QByteArray bytes = cp1252::encode(text);
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out += LineBreakByte;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += LineBreakByte;
        } else {
            out += c;
        }
    }
    return out;
}

QString decodeText(const char* data, qsizetype size)
{
    QString text = cp1252::decode(QByteArray::fromRawData(data, size));
    const auto* first = static_cast<const char*>(std::memchr(data, LineBreakByte, size_t(size)));
    if (!first)
        return text;
    // Made at its exact size: a class holds sixty remarks of many lines each, which a replace would leave with room
    // to grow.
    QString out;
    out.reserve(text.size() + std::count(first, data + size, LineBreakByte));
    const QStringView view(text);
    qsizetype from = 0;
    for (qsizetype at = first - data; at >= 0; at = view.indexOf(QLatin1Char(LineBreakByte), from)) {
        out.append(view.mid(from, at - from));
        out.append(u"\r\n");
        from = at + 1;
    }
    out.append(view.mid(from));
    return out;
}

// The lines of a class file, each ended as read() ends them: CR LF, a lone CR or a lone LF; a last line without its
// end still counts. The next CR and the next LF are each looked for once, and again only once passed.
class Lines
{
public:
    explicit Lines(const QByteArray& bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}

    // The next line, from start to end (its end excluded); false after the last one.
    bool next(qsizetype& start, qsizetype& end)
    {
        if (m_start >= m_size)
            return false;
        if (m_nextCr < m_start)
            m_nextCr = find('\r');
        if (m_nextLf < m_start)
            m_nextLf = find('\n');
        start = m_start;
        end = std::min(m_nextCr, m_nextLf);
        m_start = end + (end + 1 < m_size && m_data[end] == '\r' && m_data[end + 1] == '\n' ? 2 : 1);
        return true;
    }
    const char* data() const { return m_data; }

private:
    qsizetype find(char c) const
    {
        const void* at = std::memchr(m_data + m_start, c, size_t(m_size - m_start));
        return at ? static_cast<const char*>(at) - m_data : m_size;
    }

    const char* m_data;
    qsizetype m_size;
    qsizetype m_start = 0;
    qsizetype m_nextCr = -1;
    qsizetype m_nextLf = -1;
};

void readHeader(const char* data, qsizetype size, Widths& widths)
{
    qsizetype pos = 0;
    for (int c = 0; c < WidthCount; ++c) {
        const qsizetype take = std::min<qsizetype>(3, size - pos);
        // Three characters that are not hexadecimal leave the column as it was; the next column
        // takes the next three.
        const int value = hexValue(data + pos, take);
        if (value >= 0)
            widths[c] = value;
        pos += take;
        if (pos >= size)
            break;
    }
}

// The short texts read so far, each kept once: a class holds its marks by the thousand and the same few values again
// and again, and equal texts then share one copy.
class ShortTexts
{
public:
    static constexpr qsizetype LongestShared = 8;

    QString text(const char* data, qsizetype size)
    {
        if (size > LongestShared)
            return decodeText(data, size);
        const auto [at, added] = m_texts.try_emplace(std::string_view(data, size_t(size)));
        if (added)
            at->second = decodeText(data, size);
        return at->second;
    }

private:
    // Views into the bytes read, which outlive the reading.
    std::unordered_map<std::string_view, QString> m_texts;
};

void readRecord(const char* data, qsizetype size, ClassTable& table, ShortTexts& shortTexts)
{
    if (size < 4)
        return;
    const int row = hexValue(data, 2);
    const int slot = hexValue(data + 2, 2);
    if (row < 0 || slot < 0)
        return;
    if (!ClassTable::isValid(row - 1, slot))
        return;
    table.at(row - 1, slot) = shortTexts.text(data + 4, size - 4);
}

} // namespace

qsizetype textLength(QStringView text)
{
    return text.size() - text.count(u"\r\n");
}

QByteArray readFile(const QString& path)
{
    QByteArray bytes = textfile::readBytes(path, FileLimit);
    // A file shorter than the longest line taken has no line too long.
    if (bytes.size() <= 4 + MaxText)
        return bytes;
    Lines lines(bytes);
    qsizetype start = 0, end = 0;
    for (int line = 1; lines.next(start, end); ++line) {
        if (end - start > 4 + MaxText) {
            filewriter::markUnreadable(path);
            throw PlatformError::refusedFile(
                path,
                QStringLiteral("a un texte trop long à la ligne %1 (plus de %2 caractères)")
                    .arg(QString::number(line), messagetext::number(MaxText)),
                FileLimit.what);
        }
    }
    return bytes;
}

bool isClassContent(const QByteArray& bytes)
{
    if (std::all_of(bytes.cbegin(), bytes.cend(),
                    [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }))
        return true;
    if (bytes.contains('\0'))
        return false;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    for (qsizetype start = 0; start < n;) {
        qsizetype end = start;
        while (end < n && data[end] != '\r' && data[end] != '\n')
            ++end;
        if (start == 0 && end > 0 && std::all_of(data, data + end, [](char c) { return hexDigit(c) >= 0; }))
            return true;
        const int row = hexValue(data + start, std::min<qsizetype>(2, end - start));
        const int slot = end - start >= 4 ? hexValue(data + start + 2, 2) : -1;
        if (row >= 0 && slot >= 0 && ClassTable::isValid(row - 1, slot))
            return true;
        start = end + 1;
    }
    return false;
}

QString openRefusal(const QString& path)
{
    return readToOpen(path).refusal;
}

OpeningRead readToOpen(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {QStringLiteral("Fichier introuvable : %1").arg(path), std::nullopt};
    if (info.isDir())
        return {QStringLiteral("%1 est un dossier, pas un fichier de classe.").arg(path), std::nullopt};
    try {
        QByteArray bytes = readFile(path);
        if (!isClassContent(bytes))
            return {QStringLiteral("%1 n'est pas un fichier de classe.").arg(path), std::nullopt};
        return {QString(), std::move(bytes)};
    } catch (const PlatformError&) {
    }
    return {};
}

QByteArray write(const ClassTable& table, const Widths& widths)
{
    QByteArray out;
    for (int width : widths)
        appendHex(out, std::clamp(width, 0, MaxWidth), 3);
    out += "\r\n";
    for (int r = ClassTable::FirstRow; r <= ClassTable::LastRow; ++r) {
        for (int slot = 1; slot < ClassTable::SlotCount; ++slot) {
            const QString& text = table.at(r, slot);
            if (text.isEmpty())
                continue;
            appendHex(out, r + 1, 2);
            appendHex(out, slot, 2);
            out += encodeText(text);
            out += "\r\n";
        }
    }
    return out;
}

Widths read(const QByteArray& bytes, ClassTable& table)
{
    Widths widths;
    widths.fill(NoWidth);
    Lines lines(bytes);
    ShortTexts shortTexts;
    qsizetype start = 0, end = 0;
    for (bool header = true; lines.next(start, end); header = false) {
        if (header)
            readHeader(lines.data() + start, end - start, widths);
        else
            readRecord(lines.data() + start, end - start, table, shortTexts);
    }
    return widths;
}

} // namespace classfile
