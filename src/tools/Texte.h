#pragma once

#include <QDialog>

class TTexte : public QDialog
{
    Q_OBJECT

public:
    explicit TTexte(QWidget* parent = nullptr);
    // Empties the editor.
    void Init();
    // Appends one line (paragraph) at the end of the text.
    void Ajout(const QString& line);
};
