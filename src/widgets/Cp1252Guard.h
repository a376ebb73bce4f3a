#pragma once

#include <QClipboard>
#include <QObject>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// A field whose text ends in a Windows-1252 file takes no character that the code page cannot hold, whatever
// way it comes: a typed one is refused with a beep; a pasted, dropped or input-method text that holds any is
// refused whole with a message naming them. Nothing of a refused text is inserted.
// A field may also have a most length, that of the longest text its file reads back: a typed character that
// would pass it is refused with a beep, a text that would pass it with a message.
class Cp1252Guard : public QObject
{
    Q_OBJECT

public:
    // maxLength: the most characters the field holds, a line break (CR LF in the field's text) counting one;
    // 0 for no limit. A text the program puts into the field is never cut.
    static void protect(QLineEdit* edit, int maxLength = 0);
    static void protect(QPlainTextEdit* edit, int maxLength = 0);
    // For a text the program inserts into a protected field at the user's request (a phrase picked), beside
    // its selection: true when it may go in; otherwise the user has been told why, as for a paste.
    static bool acceptInsertion(QWidget* field, const QString& text);

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
    Cp1252Guard(QWidget* edit, int maxLength);
    bool isEditable() const;
    // Whether the text fits, put in place of the selection or beside it.
    bool fits(const QString& inserted, bool replacesSelection) const;
    // The same, the user told when it does not.
    bool acceptLength(const QString& inserted, bool replacesSelection) const;
    bool refusesPaste(QClipboard::Mode mode);
    void paste();
    void showContextMenu(const QPoint& globalPos);

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    int m_maxLength = 0;
    // An input method is composing a text, shown in the box until it is committed.
    bool m_composing = false;
};
