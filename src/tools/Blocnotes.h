#pragma once

#include "model/DiskState.h"
#include "widgets/CrlfTextEdit.h"

#include <QDialog>
#include <QStringList>

class QPushButton;
class QToolButton;
class QWidget;

// The notepad: one free-text page kept in memory for the whole run and in "Virelan.nte" between runs.
class TBlocnotes : public QDialog
{
    Q_OBJECT

public:
    explicit TBlocnotes(QWidget* parent = nullptr);

    // Loads the notes file when it exists; raises on a file that cannot be read or is too large.
    void Charge(const QString& fileName);
    // Writes the notes file, only when the text changed since the last load or write. A file another instance (or
    // another program) changed since is written over only when the teacher answers yes; else nothing is written.
    void Sauve(const QString& fileName);
    // Prints the lines as the memo shows them on the current printer; raises "Erreur E/S %d" on failure.
    void Imprimer();

    void SpeedButton9Click();
    void Button1Click();
    void FormResize();

    // The memo's text, its lines separated by CR LF.
    QString text() const;
    void setText(const QString& crlfText);
    bool isModified() const;
    void setModified(bool modified);
    // The memo's lines as they stand on the screen, a wrapped paragraph giving several; an empty last
    // line is not counted.
    QStringList displayedLines() const;

    QWidget* TopBar = nullptr;
    QToolButton* SpeedButton9 = nullptr;
    QPushButton* Button1 = nullptr;
    CrlfTextEdit* Memo1 = nullptr;

protected:
    // What the notes file held when it was last read or written.
    DiskState m_disk;

    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
