#include "classbook/MDIChild.h"

#include "classbook/PhotoCache.h"
#include "classbook/PhotoFit.h"
#include "classbook/PhotoLoader.h"
#include "classbook/PhotoView.h"
#include "common/Cp1252Guard.h"
#include "common/Seams.h"

#include <QCoreApplication>

// Student photos: chosen with the picture dialog and fitted into the card's frame.

void TMDIChild::Image1Click()
{
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
    // The path is kept even when the picture fails to load; only a picture shown marks the class modified.
    m_photoPath = path;
    LitPhoto();
    m_modified = true;
}

void TMDIChild::LitPhoto()
{
    // Back to the whole client area first, so that a picture that fails to load never leaves the
    // previous card's photo or placement behind.
    Image1->clear();
    Image1->setStretch(false);
    Image1->setGeometry(photofit::ClientArea);
    // A large photo is decoded only as large as it will be drawn: the size it is stretched to, or its
    // own size when it is drawn unstretched. The program's cache keeps it, or has it ready.
    const photoloader::Photo photo =
        m_shared.Photos ? m_shared.Photos->load(m_photoPath) : photoloader::load(m_photoPath, photofit::decodedSize);
    const photofit::Placement placement = photofit::fit(photo.originalSize);
    Image1->setGeometry(placement.area);
    Image1->setStretch(placement.stretch);
    Image1->setPicture(photo.image, photo.originalSize);
}
