#pragma once

#include "model/CompanionDocument.h"
#include "model/PlanningList.h"
#include "model/SharedCompanion.h"

#include <QDialog>
#include <QFrame>
#include <array>

class QLabel;
class QPainter;
class QPushButton;
class QToolButton;
class QUndoStack;
class StringGrid;
class TPrjEdit;

// A coloured subject button: a click makes its subject current, a double click renames it.
class SubjectPanel : public QFrame
{
    Q_OBJECT

public:
    SubjectPanel(const QColor& colour, QWidget* parent = nullptr);
    QString caption() const;
    void setCaption(const QString& caption);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QLabel* m_label;
};

// The annual planning: one year as twelve month rows of 31 days, each day marked with one of eight
// subjects. One window and one planning list serve the whole program; the class loaded last that has
// a planning file owns it, as SharedCompanion decides.
class TPlanning : public QDialog, private CompanionDocument
{
    Q_OBJECT

public:
    explicit TPlanning(QWidget* parent = nullptr);

    // Loads and saves the planning file beside a class file, for a class (nullptr: a class known only by its file
    // name). Both raise the platform's failures.
    void Charge(const QString& classFileName, SharedCompanion::ClassKey cls = nullptr);
    void Sauve(const QString& classFileName, SharedCompanion::ClassKey cls = nullptr);
    // Shows the planning modally for a class.
    void showFor(SharedCompanion::ClassKey cls, const QString& classFileName);
    // A class has closed: it leaves no planning to the next.
    void classClosed(SharedCompanion::ClassKey cls);
    // Which class the planning belongs to: the class documents load and save it there, and the window shows what
    // it holds.
    SharedCompanion& sharing() { return m_owners; }
    // The dialog that asks for the name of a subject, the window's own.
    // Built when first asked for.
    TPrjEdit* nameDialog();

    void LitAn();
    void EcritAn();
    void DessinGrille();
    void EcritCell(int col, int row);
    void MajPrj(int subject, const QString& name);

    void StringGrid1Click();
    void StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect);
    void PanelClick(int subject);
    void PanelDblClick(int subject);
    void SpeedButton1Click();
    void SpeedButton2Click();
    // Page Up and Page Down turn the year; returns whether the key was one of them.
    bool FormKeyDown(QKeyEvent* event);
    void FormShow();
    void FormDeactivate();
    void Button1Click();

    int shownYear() const { return m_year; }
    int currentSubject() const { return m_subject; }
    bool isModified() const { return m_modified; }
    const planning::PlanningList& list() const { return m_list; }
    // The planning's own steps, days marked and cleared: Ctrl+Z takes one back, Ctrl+Y (or Ctrl+Shift+Z) makes it
    // again, each in the year it was made. They last as long as the planning held.
    QUndoStack* history() const { return m_history; }
    // The planning file the list belongs to; empty while no class has claimed it.
    const QString& ownerFile() const { return m_owners.ownerFile(); }
    bool changesWithoutFile(SharedCompanion::ClassKey cls) const { return m_owners.changesWithoutFile(cls); }

    QFrame* Panel1 = nullptr;
    QLabel* Panel1Caption = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QPushButton* Button1 = nullptr;
    StringGrid* StringGrid1 = nullptr;
    // Panel2 to Panel9: the subject buttons of subjects 1 to 8.
    std::array<SubjectPanel*, planning::Subjects> SubjectPanels{};

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void changeYear(int delta);
    // Day (col, row) of a year holds that text, shown in its year.
    void putDay(int year, int col, int row, const QString& text);
    void captionsFromList();
    planning::YearCells shownCells() const;
    // The planning as the file holds it: the list with the year in view as the grid shows it.
    bool modified() const override { return m_modified; }
    void setModified(bool modified) override { m_modified = modified; }
    QByteArray toBytes() const override;
    void load(const QByteArray& bytes) override;
    void reset() override;
    // The year in view goes into the list before the planning is written.
    void settle() override { EcritAn(); }

    planning::PlanningList m_list;
    int m_year;
    int m_subject = 1;
    bool m_modified = false;
    SharedCompanion m_owners{QStringLiteral(".prp"),
                             *this,
                             {.takenByLoading = true, .unreadableGivesEmpty = false, .limit = planning::FileLimit}};
    TPrjEdit* m_nameDialog = nullptr;
    QUndoStack* m_history = nullptr;
};
