#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class StringGrid;

// The rubric definition dialog: the 30 headings and coefficients of a class grid, one rubric per line.
// Texts pass through unchecked in both directions.
class TRub : public QDialog
{
    Q_OBJECT

public:
    explicit TRub(QWidget* parent = nullptr);

    // Fills the dialog from a class grid: heading (row 0) and coefficient (row 1) of each rubric column.
    void Init(const StringGrid& grid);
    // Writes every rubric back into the class grid, changed or not.
    void Result(StringGrid& grid);

    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    StringGrid* StringGrid1 = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void Button1Click();
};
