#pragma once

#include <QClipboard>
#include <QObject>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// A field whose text ends in a Windows-1252 file takes no character that the code page cannot hold, whatever
// way it comes: a typed one is refused with a beep; a pasted, dropped or input-method text that holds any is
// refused whole with a message naming them. Nothing of a refused text is inserted.
class Cp1252Guard : public QObject
{
    Q_OBJECT

public:
    static void protect(QLineEdit* edit);
    static void protect(QPlainTextEdit* edit);

    // For text typed at the keyboard: true when it may go in; otherwise the user has heard a beep.
    static bool acceptTyped(const QString& text);
    // For text that comes whole (a paste, a drop, an input method): true when it may go in; otherwise the
    // user has been told which characters are refused.
    static bool acceptInserted(QWidget* parent, const QString& text);
    // The characters of a text that the code page cannot hold, each once, as a message names them:
    // "Ł (U+0141), Ω (U+03A9)". Empty when there is none.
    static QString refusedCharacters(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit Cp1252Guard(QWidget* edit);
    bool isEditable() const;
    bool refusesPaste(QClipboard::Mode mode);
    void paste();
    void showContextMenu(const QPoint& globalPos);

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    // An input method is composing a text, shown in the box until it is committed.
    bool m_composing = false;
};
