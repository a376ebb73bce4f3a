#include "model/StudentImport.h"

#include "core/Cp1252.h"
#include "core/FrenchDates.h"
#include "core/MessageText.h"
#include "core/PlatformError.h"
#include "model/CardColumns.h"
#include "model/ClassFile.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace studentimport {
namespace {

constexpr int StudentCount = 62;
// A field read from more columns than this (a list repeating one heading many times) is not read from the rest.
constexpr int MostColumnsPerField = 4;

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

// The headings school systems and spreadsheets give the card's fields, besides the card's own. Where a list has
// several columns for one field, the one of the lowest rank fills it, and the next is read where it is empty:
// a usage name before the birth name, a usual first name before the first of the civil ones.
struct Alias
{
    const char16_t* heading;
    ClassTable::Slot slot;
    int rank;
};
constexpr Alias Aliases[] = {
    {u"Nom d'usage", ClassTable::Surname, 0},
    {u"Nom d'usage élève", ClassTable::Surname, 0},
    {u"Nom d'usage de l'élève", ClassTable::Surname, 0},
    {u"Nom", ClassTable::Surname, 1},
    {u"Nom élève", ClassTable::Surname, 1},
    {u"Nom de l'élève", ClassTable::Surname, 1},
    {u"Nom de famille", ClassTable::Surname, 1},
    {u"Nom de naissance", ClassTable::Surname, 1},
    {u"Nom patronymique", ClassTable::Surname, 1},
    {u"Prénom usuel", ClassTable::FirstName, 0},
    {u"Prénom", ClassTable::FirstName, 1},
    {u"Prénom élève", ClassTable::FirstName, 1},
    {u"Prénom de l'élève", ClassTable::FirstName, 1},
    {u"Prénom 1", ClassTable::FirstName, 2},
    {u"Premier prénom", ClassTable::FirstName, 2},
    {u"Prénoms", ClassTable::FirstName, 3},
    {u"Né(e) le", ClassTable::BirthDate, 0},
    {u"Né le", ClassTable::BirthDate, 0},
    {u"Date de naissance", ClassTable::BirthDate, 0},
    {u"Date naissance", ClassTable::BirthDate, 0},
    {u"Date de naiss.", ClassTable::BirthDate, 0},
    {u"Date naiss.", ClassTable::BirthDate, 0},
    {u"Naissance", ClassTable::BirthDate, 0},
    {u"Classe", ClassTable::ClassName, 0},
    {u"Division", ClassTable::ClassName, 0},
    {u"Adresse", ClassTable::Address1, 0},
    {u"Adresse 1", ClassTable::Address1, 0},
    {u"Adresse ligne 1", ClassTable::Address1, 0},
    {u"Adresse postale", ClassTable::Address1, 0},
    {u"Adresse 2", ClassTable::Address2, 0},
    {u"Adresse ligne 2", ClassTable::Address2, 0},
    {u"Complément d'adresse", ClassTable::Address2, 0},
    {u"C.P.", ClassTable::Postcode, 0},
    {u"Code postal", ClassTable::Postcode, 0},
    {u"Ville", ClassTable::Town, 0},
    {u"Commune", ClassTable::Town, 0},
    {u"Localité", ClassTable::Town, 0},
    {u"Tél 1", ClassTable::Phone1, 0},
    {u"Tél", ClassTable::Phone1, 0},
    {u"Téléphone", ClassTable::Phone1, 0},
    {u"Téléphone 1", ClassTable::Phone1, 0},
    {u"Tél. domicile", ClassTable::Phone1, 0},
    {u"Téléphone domicile", ClassTable::Phone1, 0},
    {u"Téléphone fixe", ClassTable::Phone1, 0},
    {u"Tél 2", ClassTable::Phone2, 0},
    {u"Téléphone 2", ClassTable::Phone2, 0},
    {u"Portable", ClassTable::Phone2, 0},
    {u"Tél. portable", ClassTable::Phone2, 0},
    {u"Téléphone portable", ClassTable::Phone2, 0},
    {u"Mobile", ClassTable::Phone2, 0},
    {u"Métier envisagé", ClassTable::Career, 0},
    {u"Projet professionnel", ClassTable::Career, 0},
    {u"Prof. père", ClassTable::FatherJob, 0},
    {u"Profession du père", ClassTable::FatherJob, 0},
    {u"Prof. mère", ClassTable::MotherJob, 0},
    {u"Profession de la mère", ClassTable::MotherJob, 0},
    {u"Remarques", ClassTable::Remarks, 0},
    {u"Observations", ClassTable::Remarks, 0},
    {u"Photo", ClassTable::Photo, 0},
};

struct Known
{
    int slot = -1;
    int rank = 0;
};

const QHash<QString, Known>& knownHeadings()
{
    static const QHash<QString, Known> known = [] {
        QHash<QString, Known> out;
        for (const CardColumn& column : cardColumns())
            out.insert(key(column.heading), {column.slot, 1});
        for (const Alias& alias : Aliases)
            out.insert(key(QString::fromUtf16(alias.heading)), {alias.slot, alias.rank});
        return out;
    }();
    return known;
}

QString headingOf(int slot)
{
    for (const CardColumn& column : cardColumns())
        if (column.slot == slot)
            return column.heading;
    return {};
}

bool isEmptyRow(const ClassTable& table, int row)
{
    for (int slot = ClassTable::FirstMarkSlot; slot <= ClassTable::MotherJob; ++slot)
        if (slot != ClassTable::LastMarkSlot + 1 && !table.at(row, slot).isEmpty())
            return false;
    return true;
}

using Fields = QList<QPair<int, QString>>;

QString field(const Fields& fields, int slot)
{
    for (const auto& [s, text] : fields)
        if (s == slot)
            return text;
    return {};
}

// Why the texts of one line cannot go into the class, or nothing.
QString refusal(const Fields& texts)
{
    for (const auto& [slot, text] : texts) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            const bool lineBreak = slot == ClassTable::Remarks && (c == u'\r' || c == u'\n');
            if (!lineBreak &&
                (!cp1252::canEncode(c) || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))) {
                // A character written in two halves is named whole.
                const qsizetype length =
                    c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
                return QStringLiteral("le caractère « %1 » ne peut pas être gardé dans le fichier classe")
                    .arg(text.mid(i, length));
            }
        }
        // The remarks are the card's long text, kept whole up to what a record of the class file holds.
        const qsizetype most = slot == ClassTable::Remarks ? classfile::MaxText : MaxText;
        if (classfile::textLength(text) > most)
            return QStringLiteral("« %1 » trop long (%2 caractères au plus)")
                .arg(headingOf(slot), messagetext::number(most));
    }
    if (field(texts, ClassTable::Surname).isEmpty() && field(texts, ClassTable::FirstName).isEmpty())
        return QStringLiteral("ni nom ni prénom");
    return {};
}

// A field as the card keeps it: no blanks at its ends, a tab as a blank; line breaks only in the remarks, with
// CR LF, a blank elsewhere; a date of birth in the program's form.
QString cleaned(int slot, QString text)
{
    text = text.trimmed().replace(u'\t', u' ');
    if (slot == ClassTable::Remarks)
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(u'\r', u'\n')
            .replace(u'\n', QStringLiteral("\r\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    return slot == ClassTable::BirthDate ? birthDate(text) : text;
}

QString displayName(const Fields& fields)
{
    return (field(fields, ClassTable::Surname) + u' ' + field(fields, ClassTable::FirstName)).trimmed();
}

// Who a student is: the names without case, accents or punctuation, and the date of birth when it is given.
struct Identity
{
    QString names;
    QString born;
    int at = 0; // a line of the list, or a row of the class
};

Identity identityOf(const QString& surname, const QString& firstName, const QString& born, int at)
{
    return {key(surname) + u'|' + key(firstName), born.isEmpty() ? QString() : birthDate(born), at};
}

// The first of the students known by those names whose date of birth is not another.
const Identity* find(const QHash<QString, QList<Identity>>& known, const Identity& who)
{
    const auto it = known.constFind(who.names);
    if (it == known.constEnd())
        return nullptr;
    for (const Identity& other : *it)
        if (who.born.isEmpty() || other.born.isEmpty() || who.born == other.born)
            return &other;
    return nullptr;
}

void listed(QList<Refusal>& list, qsizetype& count, Refusal refusal)
{
    if (count++ < messagetext::ListedItems)
        list << std::move(refusal);
}

[[noreturn]] void tooWide(const QString& fileName, int line)
{
    throw PlatformError::refusedFile(fileName,
                                     QStringLiteral("a trop de colonnes à la ligne %1 (plus de %2)")
                                         .arg(QString::number(line), messagetext::number(studentlist::MaxColumns)),
                                     studentlist::FileLimit.what);
}

} // namespace

int Plan::completable() const
{
    return int(std::count_if(present.cbegin(), present.cend(), [](const Student& s) { return !s.fields.isEmpty(); }));
}

QString birthDate(const QString& text)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ][\\d:.]*)?$"));
    static const QRegularExpression french(QStringLiteral("^(\\d{1,2})[/.-](\\d{1,2})[/.-](\\d{4})$"));
    QDate date;
    if (const QRegularExpressionMatch m = iso.match(text); m.hasMatch())
        date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    else if (const QRegularExpressionMatch f = french.match(text); f.hasMatch())
        date = QDate(f.captured(3).toInt(), f.captured(2).toInt(), f.captured(1).toInt());
    return date.isValid() ? frdate::shortDate(date) : text;
}

Plan plan(studentlist::Lines& lines, const QString& fileName, const ClassTable& table)
{
    Plan plan;
    csv::Record record;
    // The line that names the columns: the first of the first lines to name a surname or a first name.
    const QHash<QString, Known>& known = knownHeadings();
    QList<Known> columnOf;
    for (int read = 0; read < HeaderLines && lines.next(record); ++read) {
        if (record.fieldCount > studentlist::MaxColumns)
            tooWide(fileName, record.line);
        columnOf.clear();
        bool names = false;
        for (const QString& heading : record.fields) {
            columnOf << known.value(key(heading));
            names =
                names || columnOf.last().slot == ClassTable::Surname || columnOf.last().slot == ClassTable::FirstName;
        }
        if (names) {
            plan.headerLine = record.line;
            break;
        }
    }
    if (plan.headerLine == 0) {
        plan.refused = QStringLiteral("Aucun élève ajouté : aucune des %1 premières lignes du fichier ne nomme les "
                                      "colonnes de la liste, dont « Nom ».")
                           .arg(HeaderLines);
        return plan;
    }

    // Per card field, the columns that fill it, the preferred first.
    std::array<QList<int>, ClassTable::SlotCount> sources;
    for (qsizetype c = 0; c < columnOf.size(); ++c) {
        const QString heading = record.fields[c].trimmed();
        const int slot = columnOf[c].slot;
        if (slot < 0 || sources[slot].size() >= MostColumnsPerField) {
            if (!heading.isEmpty() && plan.ignoredCount++ < messagetext::ListedItems)
                plan.ignoredColumns << heading;
            continue;
        }
        QList<int>& columns = sources[slot];
        const auto later = std::find_if(columns.begin(), columns.end(),
                                        [&](int other) { return columnOf[other].rank > columnOf[c].rank; });
        columns.insert(later, int(c));
    }
    if (sources[ClassTable::Surname].isEmpty()) {
        plan.refused = QStringLiteral("Aucun élève ajouté : la liste a une colonne « %1 » mais aucune colonne de nom "
                                      "(« Nom », « Nom élève », « Nom de famille »...) ; chaque élève n'y aurait que "
                                      "son prénom.")
                           .arg(record.fields[sources[ClassTable::FirstName].constFirst()].trimmed());
        return plan;
    }
    for (qsizetype c = 0; c < columnOf.size(); ++c) {
        const int slot = columnOf[c].slot;
        if (slot < 0 || !sources[slot].contains(int(c)))
            continue;
        Column column{record.fields[c].trimmed(), slot, {}};
        if (sources[slot].constFirst() != c)
            column.preferred = record.fields[sources[slot].constFirst()].trimmed();
        plan.columns << column;
    }

    // The students of the class, by name.
    QHash<QString, QList<Identity>> inClass;
    for (int row = 1; row <= StudentCount; ++row) {
        const QString& surname = table.at(row, ClassTable::Surname);
        const QString& firstName = table.at(row, ClassTable::FirstName);
        if (!surname.isEmpty() || !firstName.isEmpty()) {
            const Identity who = identityOf(surname, firstName, table.at(row, ClassTable::BirthDate), row);
            inClass[who.names] << who;
        }
    }
    QHash<QString, QList<Identity>> inList;
    QList<int> rowsMet;
    int row = 1;
    while (lines.next(record)) {
        if (record.fieldCount > studentlist::MaxColumns)
            tooWide(fileName, record.line);
        Fields texts;
        for (int slot = 0; slot < ClassTable::SlotCount; ++slot) {
            QString text;
            for (int c : sources[slot])
                if (c < record.fields.size() && !(text = cleaned(slot, record.fields[c])).isEmpty())
                    break;
            if (!sources[slot].isEmpty())
                texts.append({slot, text});
        }
        const QString name = displayName(texts);
        if (const QString why = refusal(texts); !why.isEmpty()) {
            listed(plan.rejected, plan.rejectedCount, {record.line, name, why});
            continue;
        }
        const Identity who = identityOf(field(texts, ClassTable::Surname), field(texts, ClassTable::FirstName),
                                        field(texts, ClassTable::BirthDate), record.line);
        if (const Identity* earlier = find(inList, who)) {
            listed(plan.doubles, plan.doubleCount,
                   {record.line, name, QStringLiteral("déjà à la ligne %1 de la liste").arg(earlier->at)});
            continue;
        }
        const Identity* there = find(inClass, who);
        if (there && !rowsMet.contains(there->at)) {
            Fields empty;
            for (const auto& [slot, text] : texts)
                if (!text.isEmpty() && table.at(there->at, slot).isEmpty())
                    empty.append({slot, text});
            plan.present << Student{record.line, there->at, name, empty};
            rowsMet << there->at;
            inList[who.names] << who;
            continue;
        }
        while (row <= StudentCount && !isEmptyRow(table, row))
            ++row;
        if (row > StudentCount) {
            listed(plan.rejected, plan.rejectedCount,
                   {record.line, name, QStringLiteral("la classe a déjà %1 élèves").arg(StudentCount)});
            continue;
        }
        plan.added << Student{record.line, row++, name, texts};
        inList[who.names] << who;
    }
    return plan;
}

Plan planOf(const QByteArray& bytes, const QString& fileName, const ClassTable& table)
{
    const std::unique_ptr<studentlist::Lines> lines = studentlist::read(bytes, fileName);
    return plan(*lines, fileName, table);
}

Plan planFrom(const QString& path, const ClassTable& table)
{
    const std::unique_ptr<studentlist::Lines> lines = studentlist::open(path);
    return plan(*lines, path, table);
}

QList<int> apply(const Plan& plan, ClassTable& table, bool complete)
{
    QList<int> rows;
    for (const Student& student : plan.added) {
        for (const auto& [slot, text] : student.fields)
            table.at(student.row, slot) = text;
        rows << student.row;
    }
    if (complete)
        for (const Student& student : plan.present) {
            for (const auto& [slot, text] : student.fields)
                if (table.at(student.row, slot).isEmpty())
                    table.at(student.row, slot) = text;
            if (!student.fields.isEmpty())
                rows << student.row;
        }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace studentimport
