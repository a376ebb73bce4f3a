#include "classbook/CardPhoto.h"

#include "classbook/PhotoView.h"
#include "model/PhotoCache.h"
#include "model/PhotoFit.h"
#include "model/PhotoLoader.h"
#include "widgets/Cp1252Guard.h"
#include "widgets/ErrorHandler.h"
#include "widgets/Seams.h"

#include <QCoreApplication>
#include <QTimer>
#include <optional>
#include <utility>

namespace {
// How long the teacher stays on a card before its photo's failure is told: longer than keys repeat.
constexpr qint64 FailureAfterMs = 200;
} // namespace

CardPhoto::CardPhoto(PhotoCache* photos, QWidget* parent) : QFrame(parent), m_photos(photos)
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFocusPolicy(Qt::TabFocus);
    m_view = new PhotoView(this);
    m_view->setObjectName(QStringLiteral("Image1"));
    m_view->setGeometry(photofit::ClientArea);
    connect(m_view, &PhotoView::clicked, this, &CardPhoto::clicked);
}

CardPhoto::~CardPhoto()
{
    if (m_ticket && m_photos)
        m_photos->cancel(m_ticket);
}

void CardPhoto::show(const QString& path)
{
    m_path = path;
    forget();
}

void CardPhoto::choose()
{
    settleChoice();
    const QString path = seams().openFileName(
        this, QStringLiteral("Tout (*.bmp;*.ico;*.jpg)|*.bmp;*.ico;*.jpg|Bitmaps (*.bmp)|*.bmp|Icônes "
                             "(*.ico)|*.ico|Compressés jpeg (*.jpg)|*.jpg"));
    if (path.isEmpty())
        return;
    // The class file could not give this path back: the photo would be lost at the next opening.
    const QString refused = Cp1252Guard::refusedCharacters(path);
    if (!refused.isEmpty()) {
        seams().message(this, Seams::MessageKind::Warning, QCoreApplication::applicationName(),
                        QStringLiteral("Photo refusée : son chemin contient des caractères qui ne peuvent pas être "
                                       "enregistrés dans le fichier de la classe : ") +
                            refused,
                        {QStringLiteral("OK")}, 0, 0);
        return;
    }
    // The path is kept even when the picture fails to load; only a picture shown changes the class, when it is
    // shown.
    m_path = path;
    LitPhoto();
    if (pending())
        m_chosen = true;
    else
        emit chosenShown();
}

void CardPhoto::LitPhoto()
{
    // Back to the whole client area first, so that a photo still to come, or one that fails to load, never leaves
    // the previous card's photo or placement behind.
    forget();
    // A large photo is decoded only as large as it will be drawn, and kept only as it is drawn.
    if (!m_photos) {
        const photoloader::Photo photo = photoloader::load(m_path, photofit::decodedSize);
        showPicture(photofit::shown(photo.image, photo.originalSize));
        return;
    }
    if (const std::optional<photofit::Shown> kept = m_photos->kept(m_path)) {
        showPicture(*kept);
        return;
    }
    // Read on the cache's thread: the card is in view meanwhile, and the photo comes when it is ready.
    m_asked.start();
    m_ticket = m_photos->request(m_path, this,
                                 [this](std::uint64_t ticket, const photofit::Shown* shown,
                                        const PlatformError* error) { pictureRead(ticket, shown, error); });
}

void CardPhoto::forget()
{
    if (m_ticket && m_photos)
        m_photos->cancel(m_ticket);
    m_ticket = 0;
    m_chosen = false;
    m_view->clear();
    m_view->setStretch(false);
    m_view->setGeometry(photofit::ClientArea);
}

void CardPhoto::remove()
{
    forget();
    m_path.clear();
}

void CardPhoto::showPicture(const photofit::Shown& shown)
{
    m_view->setGeometry(shown.placement.area);
    m_view->setStretch(shown.placement.stretch);
    m_view->setPicture(shown);
}

void CardPhoto::pictureRead(std::uint64_t ticket, const photofit::Shown* shown, const PlatformError* error)
{
    // A photo that comes for a card left is dropped, and so is its failure.
    if (ticket != m_ticket)
        return;
    // A failure is told once the teacher has stayed on the card a moment: Page Down held passes a card whose photo
    // is missing without a word, and without a message box taking the keys that follow.
    if (const qint64 early = FailureAfterMs - m_asked.elapsed(); error && early > 0) {
        QTimer::singleShot(int(early), this,
                           [this, ticket, failure = *error] { pictureRead(ticket, nullptr, &failure); });
        return;
    }
    m_ticket = 0;
    const bool chosen = std::exchange(m_chosen, false);
    if (shown) {
        showPicture(*shown);
        if (chosen)
            emit chosenShown();
    }
    emit came();
    // Reported once, for the card in view, as the card reported it when it read the photo itself.
    if (error)
        errors::report(*error, this);
}

void CardPhoto::settleChoice()
{
    if (!m_chosen || !m_photos)
        return;
    forget();
    try {
        showPicture(m_photos->load(m_path));
        emit chosenShown();
    } catch (const PlatformError& error) {
        errors::report(error, this);
    }
}
