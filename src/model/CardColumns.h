#pragma once

#include "model/ClassTable.h"

#include <QList>
#include <QString>

// The fields of a student's card as columns of a spreadsheet: the headings an exported list carries, the
// ones an imported list is read by.
struct CardColumn
{
    ClassTable::Slot slot;
    QString heading;
};

// In the order of the card's slots, the photo's path last.
const QList<CardColumn>& cardColumns();
