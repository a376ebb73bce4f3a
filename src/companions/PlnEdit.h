#pragma once

#include "companions/NameDialog.h"

// "Nom de l'élève": asks for the name of a new desk. Enter in the box does not close it.
class TPlnEdit : public NameDialog
{
    Q_OBJECT

public:
    explicit TPlnEdit(QWidget* parent = nullptr);

    // Puts the text into the box.
    void Init(const QString& text);
    void FormActivate();

protected:
    void changeEvent(QEvent* event) override;
};
