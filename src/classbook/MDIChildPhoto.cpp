#include "classbook/MDIChild.h"

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

// Student photos: chosen with the picture dialog and fitted into the card's frame.

namespace {
// How long the teacher stays on a card before its photo's failure is told: longer than keys repeat.
constexpr qint64 FailureAfterMs = 200;
} // namespace

void TMDIChild::Image1Click()
{
    settlePhotoChoice();
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
    // The path is kept even when the picture fails to load; only a picture shown marks the class modified, when it
    // is shown.
    m_photoPath = path;
    LitPhoto();
    if (photoPending())
        m_photoChosen = true;
    else
        m_modified = true;
}

void TMDIChild::LitPhoto()
{
    // Back to the whole client area first, so that a photo still to come, or one that fails to load, never leaves
    // the previous card's photo or placement behind.
    forgetPhoto();
    // A large photo is decoded only as large as it will be drawn, and kept only as it is drawn.
    if (!m_shared.Photos) {
        const photoloader::Photo photo = photoloader::load(m_photoPath, photofit::decodedSize);
        showPhoto(photofit::shown(photo.image, photo.originalSize));
        return;
    }
    if (const std::optional<photofit::Shown> kept = m_shared.Photos->kept(m_photoPath)) {
        showPhoto(*kept);
        return;
    }
    // Read on the cache's thread: the card is in view meanwhile, and the photo comes when it is ready.
    m_photoAsked.start();
    m_photoTicket = m_shared.Photos->request(m_photoPath, this,
                                             [this](std::uint64_t ticket, const photofit::Shown* shown,
                                                    const PlatformError* error) { photoRead(ticket, shown, error); });
}

void TMDIChild::forgetPhoto()
{
    if (m_photoTicket && m_shared.Photos)
        m_shared.Photos->cancel(m_photoTicket);
    m_photoTicket = 0;
    m_photoChosen = false;
    Image1->clear();
    Image1->setStretch(false);
    Image1->setGeometry(photofit::ClientArea);
}

void TMDIChild::showPhoto(const photofit::Shown& shown)
{
    Image1->setGeometry(shown.placement.area);
    Image1->setStretch(shown.placement.stretch);
    Image1->setPicture(shown);
}

void TMDIChild::photoRead(std::uint64_t ticket, const photofit::Shown* shown, const PlatformError* error)
{
    // A photo that comes for a card left is dropped, and so is its failure.
    if (ticket != m_photoTicket)
        return;
    // A failure is told once the teacher has stayed on the card a moment: Page Down held passes a card whose photo
    // is missing without a word, and without a message box taking the keys that follow.
    if (const qint64 early = FailureAfterMs - m_photoAsked.elapsed(); error && early > 0) {
        QTimer::singleShot(int(early), this,
                           [this, ticket, failure = *error] { photoRead(ticket, nullptr, &failure); });
        return;
    }
    m_photoTicket = 0;
    const bool chosen = std::exchange(m_photoChosen, false);
    if (shown) {
        showPhoto(*shown);
        if (chosen)
            m_modified = true;
    }
    if (isCardPage())
        readAhead();
    // Reported once, for the card in view, as the card reported it when it read the photo itself.
    if (error)
        errors::report(*error, this);
}

void TMDIChild::settlePhotoChoice()
{
    if (!m_photoChosen || !m_shared.Photos)
        return;
    forgetPhoto();
    try {
        showPhoto(m_shared.Photos->load(m_photoPath));
        m_modified = true;
    } catch (const PlatformError& error) {
        errors::report(error, this);
    }
}

void TMDIChild::readAhead()
{
    if (!m_shared.Photos)
        return;
    QStringList around;
    for (const int card : {m_currentCard + 1, m_currentCard + 2, m_currentCard - 1})
        if (card >= 1 && card <= StudentCount && !m_table.at(card, ClassTable::Photo).isEmpty())
            around << m_table.at(card, ClassTable::Photo);
    m_shared.Photos->prefetch(around);
}
