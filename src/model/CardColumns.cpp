#include "model/CardColumns.h"

const QList<CardColumn>& cardColumns()
{
    static const QList<CardColumn> columns = {
        {ClassTable::Surname, QStringLiteral("Nom")},
        {ClassTable::FirstName, QStringLiteral("Prénom")},
        {ClassTable::BirthDate, QStringLiteral("Né(e) le")},
        {ClassTable::ClassName, QStringLiteral("Classe")},
        {ClassTable::Address1, QStringLiteral("Adresse")},
        {ClassTable::Address2, QStringLiteral("Adresse 2")},
        {ClassTable::Postcode, QStringLiteral("C.P.")},
        {ClassTable::Town, QStringLiteral("Ville")},
        {ClassTable::Phone1, QStringLiteral("Tél 1")},
        {ClassTable::Phone2, QStringLiteral("Tél 2")},
        {ClassTable::Career, QStringLiteral("Métier envisagé")},
        {ClassTable::FatherJob, QStringLiteral("Prof. père")},
        {ClassTable::MotherJob, QStringLiteral("Prof. mère")},
        {ClassTable::Remarks, QStringLiteral("Remarques")},
        {ClassTable::Photo, QStringLiteral("Photo")},
    };
    return columns;
}
