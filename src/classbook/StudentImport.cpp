#include "classbook/StudentImport.h"

#include "classbook/CardColumns.h"
#include "common/Cp1252.h"
#include "common/Csv.h"

#include <QHash>

namespace studentimport {
namespace {

constexpr int StudentCount = 62;
// Refused lines listed one by one before the rest is counted.
constexpr int ListedRefusals = 15;

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
        // The remarks are the card's long text, kept whole however long.
        if (slot != ClassTable::Remarks && text.size() > MaxText) {
            for (const CardColumn& column : cardColumns())
                if (column.slot == slot)
                    return QStringLiteral("« %1 » trop long (%2 caractères au plus)").arg(column.heading).arg(MaxText);
        }
    }
    return named ? QString() : QStringLiteral("ni nom ni prénom");
}

} // namespace

Result fill(const QByteArray& bytes, ClassTable& table)
{
    Result result;
    const QString text = csv::decode(bytes);
    const QList<csv::Record> records = csv::parse(text, csv::detectSeparator(text));
    if (records.isEmpty()) {
        result.noKnownColumn = true;
        return result;
    }
    const QHash<QString, int> known = knownColumns();
    QList<int> slotOf; // per column: the card slot it fills, or -1
    for (const QString& heading : records.constFirst().fields) {
        const int slot = known.value(key(heading), -1);
        if (slot < 0 || slotOf.contains(slot)) {
            slotOf << -1;
            if (!heading.trimmed().isEmpty())
                result.ignoredColumns << heading.trimmed();
        } else {
            slotOf << slot;
        }
    }
    if (!slotOf.contains(int(ClassTable::Surname)) && !slotOf.contains(int(ClassTable::FirstName))) {
        result.noKnownColumn = true;
        return result;
    }
    int row = 1;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const csv::Record& record = records[i];
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
            result.refused << line + why;
            continue;
        }
        while (row <= StudentCount && !isEmptyRow(table, row))
            ++row;
        if (row > StudentCount) {
            result.refused << line + QStringLiteral("la classe a déjà %1 élèves").arg(StudentCount);
            continue;
        }
        for (const auto& [slot, field] : texts)
            table.at(row, slot) = field;
        result.rows << row;
        ++result.added;
    }
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
    if (!result.refused.isEmpty()) {
        text += QStringLiteral("\n\nLignes refusées :");
        for (qsizetype i = 0; i < result.refused.size() && i < ListedRefusals; ++i)
            text += QStringLiteral("\n") + result.refused[i];
        if (result.refused.size() > ListedRefusals)
            text += QStringLiteral("\n... et %1 autres lignes.").arg(result.refused.size() - ListedRefusals);
    }
    if (!result.ignoredColumns.isEmpty())
        text += QStringLiteral("\n\nColonnes ignorées : ") + result.ignoredColumns.join(QStringLiteral(", "));
    return text;
}

} // namespace studentimport
