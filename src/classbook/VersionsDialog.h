#pragma once

#include "model/VersionList.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTreeWidget;

// "Versions précédentes": the class file and the versions kept of it, newest first, each with the date and time it
// was saved, its number of students and its size. "&Restaurer" brings the chosen one into the class window,
// "&Ouvrir une copie" opens it in a new window; the frame does either once the dialog is closed.
class VersionsDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Choice
    {
        None,
        Restore,
        OpenCopy,
    };

    explicit VersionsDialog(const QString& classFile, QWidget* parent = nullptr);

    Choice choice() const { return m_choice; }
    // The file chosen; empty when nothing was.
    QString chosenPath() const;

    QTreeWidget* List = nullptr;
    QPushButton* RestoreButton = nullptr;
    QPushButton* CopyButton = nullptr;
    QPushButton* CloseButton = nullptr;

private:
    void choose(Choice choice);
    void selectionChanged();

    QList<versions::Entry> m_entries;
    Choice m_choice = Choice::None;
};
