#include "model/StudentImport.h"

#include "core/Cp1252.h"
#include "core/Csv.h"
#include "core/MessageText.h"
#include "core/PlatformError.h"
#include "model/CardColumns.h"
#include "model/ClassFile.h"

#include <QHash>
#include <array>

namespace studentimport {
namespace {

constexpr int StudentCount = 62;

// "Né(e) le", "nee le" and "NE(E) LE" are the same heading: letters and digits only, lower case, no accents.
QString key(const QString& heading)
{
    const QString decomposed = heading.normalized(QString::NormalizationForm_KD);
    QString out;
    for (const QChar c : decomposed)
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

// Card headings, and the names school lists give the same fields.
QHash<QString, int> knownColumns()
{
    QHash<QString, int> columns;
    for (const CardColumn& column : cardColumns())
        columns.insert(key(column.heading), column.slot);
    columns.insert(key(QStringLiteral("Date de naissance")), ClassTable::BirthDate);
    columns.insert(key(QStringLiteral("Code postal")), ClassTable::Postcode);
    return columns;
}

bool isEmptyRow(const ClassTable& table, int row)
{
    for (int slot = ClassTable::FirstMarkSlot; slot <= ClassTable::MotherJob; ++slot)
        if (slot != ClassTable::LastMarkSlot + 1 && !table.at(row, slot).isEmpty())
            return false;
    return true;
}

// Why the texts of one line cannot go into the class, or nothing.
QString refusal(const QList<QPair<int, QString>>& texts)
{
    bool named = false;
    for (const auto& [slot, text] : texts) {
        named = named || ((slot == ClassTable::Surname || slot == ClassTable::FirstName) && !text.isEmpty());
        for (const QChar c : text) {
            const bool lineBreak = slot == ClassTable::Remarks && (c == u'\r' || c == u'\n');
            if (!lineBreak &&
                (!cp1252::canEncode(c) || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)))
                return QStringLiteral("le caractère « %1 » ne peut pas être gardé dans le fichier classe").arg(c);
        }
        // The remarks are the card's long text, kept whole up to what a record of the class file holds.
        const qsizetype most = slot == ClassTable::Remarks ? classfile::MaxText : MaxText;
        if (classfile::textLength(text) > most) {
            for (const CardColumn& column : cardColumns())
                if (column.slot == slot)
                    return QStringLiteral("« %1 » trop long (%2 caractères au plus)")
                        .arg(column.heading, messagetext::number(most));
        }
    }
    return named ? QString() : QStringLiteral("ni nom ni prénom");
}

} // namespace

Result fill(const QByteArray& bytes, ClassTable& table)
{
    Result result;
    const QString text = csv::decode(bytes);
    csv::Reader reader(text, csv::detectSeparator(text), MaxColumns);
    csv::Record record;
    if (!reader.next(record)) {
        result.noKnownColumn = true;
        return result;
    }
    if (record.fieldCount > MaxColumns) {
        result.tooWide = record.line;
        return result;
    }
    const QHash<QString, int> known = knownColumns();
    QList<int> slotOf; // per column: the card slot it fills, or -1
    std::array<bool, ClassTable::SlotCount> taken = {};
    for (const QString& heading : record.fields) {
        const int slot = known.value(key(heading), -1);
        if (slot < 0 || taken[slot]) {
            slotOf << -1;
            if (!heading.trimmed().isEmpty() && result.ignoredCount++ < messagetext::ListedItems)
                result.ignoredColumns << heading.trimmed();
        } else {
            slotOf << slot;
            taken[slot] = true;
        }
    }
    if (!taken[ClassTable::Surname] && !taken[ClassTable::FirstName]) {
        result.noKnownColumn = true;
        return result;
    }
    // Filled apart, so that a line found too wide further down leaves the class as it was.
    ClassTable filled = table;
    const auto refuse = [&result](const QString& why) {
        if (result.refusedCount++ < messagetext::ListedItems)
            result.refused << why;
    };
    int row = 1;
    while (reader.next(record)) {
        if (record.fieldCount > MaxColumns) {
            Result refused;
            refused.tooWide = record.line;
            return refused;
        }
        // A full class whose message lists all it can: a further line is only counted.
        if (row > StudentCount && result.refused.size() >= messagetext::ListedItems) {
            ++result.refusedCount;
            continue;
        }
        QList<QPair<int, QString>> texts;
        for (qsizetype c = 0; c < record.fields.size() && c < slotOf.size(); ++c) {
            if (slotOf[c] < 0)
                continue;
            QString field = record.fields[c].trimmed().replace(u'\t', u' ');
            // Only the remarks hold several lines; a line break elsewhere becomes a blank, as a tab does anywhere.
            if (slotOf[c] == ClassTable::Remarks)
                field.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                    .replace(u'\r', u'\n')
                    .replace(u'\n', QStringLiteral("\r\n"));
            else
                field.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
            texts.append({slotOf[c], field});
        }
        const QString line = QStringLiteral("ligne %1 : ").arg(record.line);
        if (const QString why = refusal(texts); !why.isEmpty()) {
            refuse(line + why);
            continue;
        }
        while (row <= StudentCount && !isEmptyRow(filled, row))
            ++row;
        if (row > StudentCount) {
            refuse(line + QStringLiteral("la classe a déjà %1 élèves").arg(StudentCount));
            continue;
        }
        for (const auto& [slot, field] : texts)
            filled.at(row, slot) = field;
        result.rows << row;
        ++result.added;
    }
    table = filled;
    return result;
}

Result fillFrom(const QString& path, ClassTable& table)
{
    const Result result = fill(textfile::readBytes(path, FileLimit), table);
    if (result.tooWide)
        throw PlatformError::refusedFile(path,
                                         QStringLiteral("a trop de colonnes à la ligne %1 (plus de %2)")
                                             .arg(QString::number(result.tooWide), messagetext::number(MaxColumns)),
                                         FileLimit.what);
    return result;
}

QString summary(const Result& result)
{
    if (result.noKnownColumn)
        return QStringLiteral("Aucun élève ajouté : la première ligne du fichier doit nommer les colonnes, "
                              "dont « Nom » ou « Prénom ».");
    QString text = result.added == 0   ? QStringLiteral("Aucun élève ajouté.")
                   : result.added == 1 ? QStringLiteral("1 élève ajouté.")
                                       : QStringLiteral("%1 élèves ajoutés.").arg(result.added);
    if (result.refusedCount > 0)
        text +=
            QStringLiteral("\n\nLignes refusées :\n") +
            messagetext::listed(result.refused, result.refusedCount, QStringLiteral("\n"), QStringLiteral("lignes"));
    if (result.ignoredCount > 0)
        text += QStringLiteral("\n\nColonnes ignorées : ") +
                messagetext::listed(result.ignoredColumns, result.ignoredCount, QStringLiteral(", "),
                                    QStringLiteral("colonnes"));
    return text;
}

} // namespace studentimport
