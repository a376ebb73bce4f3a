#pragma once

#include <QString>
#include <array>

// Every text of one class: rows -1 (rubric headings) and 0 (coefficients), rows 1 to 62 for the
// students, spare rows 63 and 64; 49 slots per row. Slots 2 to 31 hold the grid cells of the
// same columns, 33 to 47 the card fields; 0, 1, 32 and 48 are spare and only keep what a file gave them.
class ClassTable
{
public:
    static constexpr int FirstRow = -1;
    static constexpr int LastRow = 64;
    static constexpr int SlotCount = 49;
    static constexpr int FirstMarkSlot = 2;
    static constexpr int LastMarkSlot = 31;

    // Card slots.
    enum Slot {
        Surname = 33,
        FirstName = 34,
        BirthDate = 35,
        ClassName = 36,
        Address1 = 37,
        Address2 = 38,
        Postcode = 39,
        Town = 40,
        Phone1 = 41,
        Phone2 = 42,
        Career = 43,
        Remarks = 44,
        Photo = 45,
        FatherJob = 46,
        MotherJob = 47,
    };

    static bool isValid(int row, int slot)
    {
        return row >= FirstRow && row <= LastRow && slot >= 0 && slot < SlotCount;
    }

    const QString& at(int row, int slot) const { return m_rows[row - FirstRow][slot]; }
    QString& at(int row, int slot) { return m_rows[row - FirstRow][slot]; }

    void clear();
    // Whole rows: all 49 slots move together.
    void swapRows(int a, int b);
    void copyRow(int from, int to);
    void clearRow(int row);

    bool operator==(const ClassTable&) const = default;

private:
    std::array<std::array<QString, SlotCount>, LastRow - FirstRow + 1> m_rows;
};
