#pragma once

#include "model/SeatingPlan.h"
#include "model/SharedCompanion.h"

#include <QDialog>
#include <QList>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;
class QUndoStack;
class TPlnEdit;

// "Plan de la classe": the classroom with the teacher's desk and one block per student desk, shown
// modally. One plan for the whole program, that of the class loaded last that had a plan file; which
// class it belongs to is decided by SharedCompanion.
class TPlan : public QDialog
{
    Q_OBJECT

public:
    explicit TPlan(QWidget* parent = nullptr);

    // Loads and saves the seating plan file beside a class file, for a class (nullptr: a class known only by its
    // file name). Both raise the platform's failures.
    void Charge(const QString& classFileName, SharedCompanion::ClassKey cls = nullptr);
    // A plan file changed elsewhere since it was read is written over only when mayReplace says yes.
    void Sauve(const QString& classFileName, SharedCompanion::ClassKey cls = nullptr, const MayReplace& mayReplace = {});
    // Shows the plan modally for a class. A plan that belongs to no class yet and is changed while shown becomes
    // the plan of that class.
    void showFor(SharedCompanion::ClassKey cls, const QString& classFileName);
    // A class has closed: it leaves no plan to the next.
    void classClosed(SharedCompanion::ClassKey cls);
    // Which class the plan belongs to: the class documents load and save it there, and the window shows what
    // it holds.
    SharedCompanion& sharing() { return m_owners; }
    // The plan file the plan belongs to; empty while it belongs to no class.
    const QString& ownerFile() const { return m_owners.ownerFile(); }
    bool changesWithoutFile(SharedCompanion::ClassKey cls) const { return m_owners.changesWithoutFile(cls); }
    // The dialog that asks for the name of a new desk, the window's own.
    // Built when first asked for.
    TPlnEdit* nameDialog();

    const SeatingPlan& plan() const { return m_plan; }
    bool modified() const { return m_plan.modified(); }
    // The block of desk n, 1 to count.
    QLabel* deskLabel(int n) const { return m_labels.value(n - 1); }
    // The plan's own steps, desks added, moved, turned and removed: Ctrl+Z takes one back, Ctrl+Y (or Ctrl+Shift+Z)
    // makes it again. They last as long as the plan held.
    QUndoStack* history() const { return m_history; }

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Button1Click();
    void Deselection();
    // sender: the desk the event happened on, nullptr for the window's empty area; pos: relative to it.
    void FormMouseDown(QWidget* sender, QPoint pos);
    void FormMouseMove(QWidget* sender, QPoint pos);
    void FormMouseUp(QWidget* sender, QPoint pos);
    void FormKeyDown(int key);

    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr; // "Ajouter élève"
    QToolButton* SpeedButton2 = nullptr; // "Supprimer élève"
    QToolButton* SpeedButton3 = nullptr; // "Tourner table"
    QPushButton* Button1 = nullptr;      // "Fermer"
    QLabel* Bureau = nullptr;            // the teacher's desk

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Makes the desk blocks match the desk list: one per desk, with its name, place, size and colour.
    void showDesks();
    int deskNumber(const QWidget* sender) const;
    // One step of desk n, from what it was to what it is, each absent for a desk added or removed.
    void pushDeskStep(const QString& text, int n, const std::optional<Desk>& before, const std::optional<Desk>& after);
    // Desk n becomes that desk, or goes when there is none; present: whether desk n is there now.
    void putDesk(int n, const std::optional<Desk>& desk, bool present);

    SeatingPlan m_plan;
    SharedCompanion m_owners{QStringLiteral(".prc"),
                             m_plan,
                             {.takenByLoading = false, .unreadableGivesEmpty = true, .limit = SeatingPlan::FileLimit}};
    QList<QLabel*> m_labels;
    TPlnEdit* m_nameDialog = nullptr;
    QUndoStack* m_history = nullptr;
    // The plan the steps are of.
    int m_historyGeneration = -1;
    // The desk the mouse went down on, as it was then: released elsewhere, it was moved.
    int m_pressedNumber = 0;
    Desk m_pressedDesk;
};
