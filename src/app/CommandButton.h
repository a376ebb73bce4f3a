#pragma once

#include <QIcon>
#include <QToolButton>

// A tool button that runs a command of the menus (its default action, whose enabling it follows) and keeps a face
// of its own: its glyph, and a hint shorter than the menu entry's for both its tool tip and the status bar.
class CommandButton : public QToolButton
{
    Q_OBJECT

public:
    CommandButton(QAction* command, const QIcon& glyph, const QString& hint, QWidget* parent);

protected:
    void actionEvent(QActionEvent* event) override;

private:
    // The button takes the action's text, icon and hints whenever the action changes, its enabling included.
    void showOwnFace();

    QIcon m_glyph;
    QString m_hint;
};
