#pragma once

#include "model/ClassTable.h"
#include "widgets/CrlfTextEdit.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>

class CardPhoto;
class PhotoCache;
class QLabel;
class QLineEdit;
class QScrollArea;

// The card page of a class window: the title panel (Panel1) with the previous and next buttons, then in a scroll
// box the card of one student, thirteen fields, the remarks and the photo.
class CardPage : public QWidget
{
    Q_OBJECT

public:
    // The fields a card copy takes, "Nom" to "Métier envisagé" (Edit1 to Edit11); the remarks come after them.
    static constexpr int CopiedFields = 11;
    static constexpr int FieldCount = 13;

    explicit CardPage(PhotoCache* photos, QWidget* parent = nullptr);
    // The page without its card: the title panel and the scroll box around a card of fixed size, which alone give
    // the page its sizes. A window measures them on it before its own card page is built.
    struct FrameOnly
    {
    };
    CardPage(FrameOnly, QWidget* parent);

    // LitFiche: row r of the table on the fields, the title and the photo. Without a photo cache, a photo that
    // cannot be read raises its failure once every field shows the card.
    void LitFiche(const ClassTable& table, int row);
    // EcritFiche's copy: the fields and the photo path into row r.
    void storeInto(ClassTable& table, int row) const;
    // What the card shows for a card slot of its row (33 to 47): a field, the remarks or the photo path.
    QString slotText(int slot) const;
    // The teacher has typed into a field or the remarks since the card was filled or its typing settled.
    bool typedSince() const { return m_typed; }
    // What a card slot showed when the card was filled or its typing last settled.
    QString settledText(int slot) const { return m_settled.value(slot - ClassTable::Surname); }
    // What the card shows is the class's now: the fields and the remarks forget their own undo of the typing.
    void settleTyping();
    // What one slot shows is the class's now (a photo chosen).
    void settleSlot(int slot) { m_settled[slot - ClassTable::Surname] = slotText(slot); }

    // Edit1 to Edit13.
    QLineEdit* field(int n) const { return m_fields.at(n - 1); }
    CrlfTextEdit* remarks() const { return m_remarks; }
    CardPhoto* photo() const { return m_photo; }
    QString title() const;

    // The texts of a card copy: the copied fields, then the remarks.
    QStringList copiedTexts() const;
    // Puts the first texts of a card copy back: the copied fields in order, then the remarks when all came.
    void pasteTexts(const QStringList& texts, int count);
    // An appraisal phrase written into the remarks at the caret, after any text selected there; false when the
    // remarks cannot take it.
    bool insertIntoRemarks(const QString& phrase);

    // A character typed in a field (1 to 13) or in the remarks (0), before the field takes it: it may be replaced.
    std::function<void(int field, QChar& key)> keyPressHook;

signals:
    // The previous-card and next-card buttons.
    void previous();
    void next();
    // Page Up or Page Down in the card; the control that has the focus receives it too.
    void pageKey(int key);
    // The teacher changed a field or the remarks (typed, deleted, pasted).
    void edited();
    // The focus left a field or the remarks after typing there.
    void typingLeft();
    void photoClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The page's layout, the title panel and the scroll box; returns the card's box.
    QWidget* buildFrame();
    void buildTitle();
    void buildFields(QWidget* box);
    int fieldNumber(const QObject* watched) const;

    QLabel* m_caption = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    std::array<QLineEdit*, FieldCount> m_fields{};
    CrlfTextEdit* m_remarks = nullptr;
    CardPhoto* m_photo = nullptr;
    // Set while the card is filled, so that only the teacher's typing changes the class.
    bool m_filling = false;
    bool m_typed = false;
    // The texts of slots 33 to 47 as last filled or settled.
    QStringList m_settled;
};
