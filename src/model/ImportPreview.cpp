#include "model/ImportPreview.h"

#include "core/FileNames.h"
#include "core/MessageText.h"
#include "model/CardColumns.h"

namespace {

// A text on one line of a table, cut as a message cuts the items it lists.
QString shown(const QString& text)
{
    return messagetext::listed({text}, 1, {}, {});
}

QString counted(qsizetype count, const QString& one, const QString& many)
{
    return count == 1 ? QStringLiteral("1 ") + one : messagetext::number(count) + u' ' + many;
}

QString headingOf(int slot)
{
    for (const CardColumn& column : cardColumns())
        if (column.slot == slot)
            return column.heading;
    return {};
}

QString headings(const QList<QPair<int, QString>>& fields)
{
    QStringList out;
    for (const auto& [slot, text] : fields)
        out << headingOf(slot);
    return out.join(QStringLiteral(", "));
}

// The lines listed, then one saying how many more there are.
void addRefusals(QList<ImportPreview::Line>& lines, const QList<studentimport::Refusal>& refusals, qsizetype count)
{
    for (const studentimport::Refusal& r : refusals)
        lines << ImportPreview::Line{QString::number(r.line), shown(r.name), shown(r.why)};
    if (count > refusals.size())
        lines << ImportPreview::Line{
            {}, {}, QStringLiteral("... et %1 autres lignes.").arg(messagetext::number(count - refusals.size()))};
}

} // namespace

ImportPreview::ImportPreview(const QString& fileName, studentimport::Plan plan)
    : m_fileName(fileName), m_plan(std::move(plan))
{
}

QString ImportPreview::summary() const
{
    QStringList parts;
    parts << counted(m_plan.added.size(), QStringLiteral("élève à ajouter"), QStringLiteral("élèves à ajouter"));
    if (!m_plan.present.isEmpty())
        parts << counted(m_plan.present.size(), QStringLiteral("déjà dans la classe"),
                         QStringLiteral("déjà dans la classe"));
    if (m_plan.doubleCount > 0)
        parts << counted(m_plan.doubleCount, QStringLiteral("en double"), QStringLiteral("en double"));
    if (m_plan.rejectedCount > 0)
        parts << counted(m_plan.rejectedCount, QStringLiteral("ligne refusée"), QStringLiteral("lignes refusées"));
    return QStringLiteral("%1 : intitulés des colonnes à la ligne %2 ; %3.")
        .arg(filenames::lastComponent(m_fileName), QString::number(m_plan.headerLine),
             parts.join(QStringLiteral(", ")));
}

QList<ImportPreview::Line> ImportPreview::columns() const
{
    QList<Line> lines;
    for (const studentimport::Column& column : m_plan.columns)
        lines << Line{
            shown(column.heading),
            column.preferred.isEmpty()
                ? headingOf(column.slot)
                : shown(QStringLiteral("%1, où « %2 » est vide").arg(headingOf(column.slot), column.preferred)),
            {}};
    for (const QString& heading : m_plan.ignoredColumns)
        lines << Line{shown(heading), QStringLiteral("ignorée"), {}};
    if (m_plan.ignoredCount > m_plan.ignoredColumns.size())
        lines << Line{QStringLiteral("... et %1 autres colonnes.")
                          .arg(messagetext::number(m_plan.ignoredCount - m_plan.ignoredColumns.size())),
                      QStringLiteral("ignorées"),
                      {}};
    return lines;
}

QList<ImportPreview::Group> ImportPreview::groups() const
{
    QList<Group> out;
    Group added{QStringLiteral("Élèves ajoutés (%1)").arg(m_plan.added.size()), {}};
    for (const studentimport::Student& s : m_plan.added)
        added.lines << Line{QString::number(s.line), shown(s.name), QStringLiteral("ajouté en n° %1").arg(s.row)};
    Group present{QStringLiteral("Déjà dans la classe (%1)").arg(m_plan.present.size()), {}};
    for (const studentimport::Student& s : m_plan.present) {
        QString outcome = QStringLiteral("n° %1, pas ajouté").arg(s.row);
        if (!s.fields.isEmpty())
            outcome +=
                (m_complete ? QStringLiteral(" ; fiche complétée : ") : QStringLiteral(" ; fiche à compléter : ")) +
                headings(s.fields);
        present.lines << Line{QString::number(s.line), shown(s.name), shown(outcome)};
    }
    Group doubles{QStringLiteral("En double dans la liste (%1)").arg(messagetext::number(m_plan.doubleCount)), {}};
    addRefusals(doubles.lines, m_plan.doubles, m_plan.doubleCount);
    Group rejected{QStringLiteral("Lignes refusées (%1)").arg(messagetext::number(m_plan.rejectedCount)), {}};
    addRefusals(rejected.lines, m_plan.rejected, m_plan.rejectedCount);
    for (Group* group : {&added, &present, &doubles, &rejected})
        if (!group->lines.isEmpty())
            out << *group;
    return out;
}

QString ImportPreview::completeText() const
{
    const int count = m_plan.completable();
    return count == 1
               ? QStringLiteral("Compléter la fiche de l'élève déjà dans la classe (champs vides seulement)")
               : QStringLiteral("Compléter les fiches des %1 élèves déjà dans la classe (champs vides seulement)")
                     .arg(count);
}

QString ImportPreview::done() const
{
    QString text = m_plan.added.isEmpty()
                       ? QStringLiteral("Aucun élève ajouté")
                       : counted(m_plan.added.size(), QStringLiteral("élève ajouté"), QStringLiteral("élèves ajoutés"));
    if (m_complete)
        text += QStringLiteral(", ") +
                counted(m_plan.completable(), QStringLiteral("fiche complétée"), QStringLiteral("fiches complétées"));
    return text + QStringLiteral(" depuis ") + filenames::lastComponent(m_fileName) + u'.';
}
