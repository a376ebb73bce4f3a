#pragma once

#include <QDialog>

class MonthCalendar;
class QLabel;
class QPushButton;

// The month calendar: one month under a heading with its name and year, paged month by month.
// The month shown stays from one opening to the next.
class TCalendrier : public QDialog
{
    Q_OBJECT

public:
    explicit TCalendrier(QWidget* parent = nullptr);

    void FormActivate();
    void Calendar1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button1Click();
    void Calendar1KeyDown(QKeyEvent* event);
    void Calendar1KeyPress(QChar key);

    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* Button1 = nullptr;
    MonthCalendar* Calendar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeHeading();
};
