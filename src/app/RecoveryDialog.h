#pragma once

#include "model/RecoveryCopy.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class QTreeWidget;

// "Récupération": what a run of the program killed before it was saved left, offered at the next start, one line
// per class (or the notepad, or the phrases) with its file's name, its folder and the time of its last change.
// Ends with Recover or Ignore; closed otherwise, the copies wait for a later start.
class RecoveryDialog : public QDialog
{
    Q_OBJECT

public:
    enum Answer
    {
        Later = 0,
        Recover = 1,
        Ignore = 2,
    };

    explicit RecoveryDialog(const QList<recovery::Listed>& copies, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* Button1 = nullptr; // "&Récupérer"
    QPushButton* Button2 = nullptr; // "&Ignorer"
};
