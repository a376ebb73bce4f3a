#pragma once

#include "model/PhraseList.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

// The appraisal phrases: one list for the whole installation, edited here and kept in Virelan.obs in
// the start-up folder. "Copier" picks a phrase that the class window receives when the dialog closes.
class TObs : public QDialog
{
    Q_OBJECT

public:
    explicit TObs(QWidget* parent = nullptr);
    // Loads and saves the phrase file of the current folder (the start-up folder, see the main frame).
    void Charge();
    void Sauve();
    // The phrases as Charge reads them, for a window not built yet; then shown by the window once built, as
    // Charge leaves them.
    static PhraseList read();
    void setList(const PhraseList& list);
    // Hands the phrase chosen during the last opening, if any; otherwise leaves the caller's text alone.
    void Result(QString& phrase);

    const QStringList& phrases() const { return m_list.phrases(); }
    bool isModified() const { return m_list.isModified(); }
    // Puts back the phrases of a recovery copy, changed since the file was read.
    void restore(const QStringList& phrases);
    const QString& chosenPhrase() const { return m_chosen; }

    void FormShow();
    void ListBox1Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Edit1KeyPress(QChar& key);
    void ListBox1KeyDown(int key);

    QLineEdit* Edit1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

    static constexpr int DeleteKey = 46;

signals:
    // The teacher changed the list.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* makeButton(const QString& caption, int left, int top, void (TObs::*handler)());
    int selectedRow() const;
    void selectNothing();
    void showPhrases();

    PhraseList m_list;
    QString m_chosen;
    // Set while the program itself changes the list box, so that only the user's choice fills the edit box.
    bool m_updating = false;
};
