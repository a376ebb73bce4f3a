#pragma once

#include <QDialog>

class QTextEdit;

class TTexte : public QDialog
{
    Q_OBJECT

public:
    explicit TTexte(QWidget* parent = nullptr);
    // Empties the editor.
    void Init();
    // Appends one line (paragraph) at the end of the text.
    void Ajout(const QString& line);

    QTextEdit* RichEdit1 = nullptr;

private:
    // Set by Ajout, cleared by Init: the first line fills the empty paragraph every document starts with.
    bool m_hasLines = false;
};
