#pragma once

#include "model/HomeworkList.h"

#include <QDialog>
#include <array>

class QDateEdit;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

// The homework dates of the active class: twenty rows of a date and a title, filled from the class
// window on every opening and read back when it closes. There is no cancel: closing applies.
class TDevoirs : public QDialog
{
    Q_OBJECT

public:
    explicit TDevoirs(QWidget* parent = nullptr);

    // Fills the twenty rows; raises "n'est pas une date correcte" at the first entry whose date
    // cannot be read (the rows before it are filled, the dialog must then not be shown).
    void Init(const homework::List& list);
    void Lit(const QString& entry, QDateEdit* picker, QLineEdit* edit);
    // Entries 0 to 19 from the rows; entry 20 is left as it is.
    void Result(homework::List& list) const;

    // Row 1 to 20.
    QDateEdit* DateTimePicker(int row) const;
    QLineEdit* Edit(int row) const;

    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildRows() const;
    void Button1Click();
    void DateTimePickerChange(int row);
    void EditChange(int row);

    // Built by buildRows.
    mutable std::array<QDateEdit*, homework::RowCount> m_pickers{};
    mutable std::array<QLineEdit*, homework::RowCount> m_edits{};
    // The titles as read: a title longer than the box can hold is handed back whole unless the user edits it.
    std::array<QString, homework::RowCount> m_titles;
    // Set while the program fills the rows, so that only the user's changes count.
    bool m_filling = false;
};
