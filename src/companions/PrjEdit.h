#pragma once

#include "companions/NameDialog.h"

// Asks for the name of a planning subject; Enter in the box ends it as "OK" does.
class TPrjEdit : public NameDialog
{
    Q_OBJECT

public:
    explicit TPrjEdit(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};
