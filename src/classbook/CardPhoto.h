#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QString>
#include <cstdint>

class PhotoCache;
class PhotoView;
class PlatformError;
namespace photofit {
struct Shown;
}

// The card's photo frame (Panel2) and the photo in it (Image1): the picture of the path the card holds, read by
// the photo cache while the card is in view (at once without a cache), and a picture chosen in the picture dialog.
class CardPhoto : public QFrame
{
    Q_OBJECT

public:
    explicit CardPhoto(PhotoCache* photos, QWidget* parent = nullptr);
    ~CardPhoto() override;

    PhotoView* view() const { return m_view; }
    const QString& path() const { return m_path; }
    // The card waits for its photo, which is being read.
    bool pending() const { return m_ticket != 0; }

    // The path of the card shown, its frame emptied; LitPhoto then reads its picture.
    void show(const QString& path);
    // Loads and fits the picture of the path held. Without a cache, a picture that cannot be read raises its
    // failure here; with one, the picture comes later (came), and its failure with it.
    void LitPhoto();
    // The photo control back to the whole frame, empty, and the photo on its way no longer wanted.
    void forget();
    // No photo on the card any more, and no path.
    void remove();
    // Image1Click: the picture dialog; the path chosen is kept even when its picture fails to load, and only a
    // picture shown is a change of the class (chosenShown).
    void choose();
    // A picture chosen that is still being read is read to the end now: whether it changes the class must be known
    // before the card is left, stored or saved.
    void settleChoice();

signals:
    void clicked();
    // A picture chosen in the dialog is shown.
    void chosenShown();
    // The picture the card waited for has come, shown or reported.
    void came();

private:
    void showPicture(const photofit::Shown& shown);
    void pictureRead(std::uint64_t ticket, const photofit::Shown* shown, const PlatformError* error);

    PhotoCache* m_photos;
    PhotoView* m_view;
    QString m_path;
    // The picture the card waits for (0: none), and whether it was just chosen in the picture dialog.
    std::uint64_t m_ticket = 0;
    bool m_chosen = false;
    QElapsedTimer m_asked;
};
