#pragma once

#include "model/ClassTable.h"
#include "model/StudentImport.h"

#include <QList>
#include <QString>

// What the teacher sees of a list before anything is added to the class: the columns found and the card field each
// fills, then the students added, those already in the class, the lines giving a student twice and the lines
// refused; and the choice to complete the cards of the students already there. Its window only shows it.
class ImportPreview
{
public:
    // One line of a table: up to three texts, each cut to what a line of a message shows.
    struct Line
    {
        QString first, second, third;
        bool operator==(const Line&) const = default;
    };
    struct Group
    {
        QString title; // with its count: "Élèves ajoutés (25)"
        QList<Line> lines;
    };

    ImportPreview(const QString& fileName, studentimport::Plan plan);

    const studentimport::Plan& plan() const { return m_plan; }
    // "liste.xlsx : intitulés à la ligne 3 ; 25 élèves à ajouter, 2 déjà dans la classe, 1 ligne refusée."
    QString summary() const;
    // Each column with a heading: the heading and what it becomes ("Nom", "Nom, où « Nom d'usage » est vide",
    // "ignorée").
    QList<Line> columns() const;
    // The students, group by group (the empty groups left out): the line of the list, the name, what becomes of it.
    QList<Group> groups() const;

    // Whether students already there have empty card fields the list fills, and the text of the choice.
    bool canComplete() const { return m_plan.completable() > 0; }
    QString completeText() const;
    bool complete() const { return m_complete; }
    void setComplete(bool complete) { m_complete = complete && canComplete(); }

    // Whether importing changes anything.
    bool canImport() const { return !m_plan.added.isEmpty() || m_complete; }
    // Carries the plan out on the class it was made for; the rows changed.
    QList<int> apply(ClassTable& table) const { return studentimport::apply(m_plan, table, m_complete); }
    // What the status bar says once the list is imported.
    QString done() const;

private:
    QString m_fileName;
    studentimport::Plan m_plan;
    bool m_complete = false;
};
