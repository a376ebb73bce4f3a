#include "model/PhotoFit.h"

#include "core/FrenchNumbers.h"

namespace photofit {

Placement fit(const QSize& picture)
{
    QRect area = ClientArea;
    const int w = picture.width(), h = picture.height();
    if (h <= area.height() || w <= area.width() || w <= 0)
        return {area, false};
    const double q = double(h) / double(w);
    if (q >= 1) {
        // Upright: the frame's full height, a width in the picture's proportion, centred across.
        const int width = int(frnum::roundHalfEven(FrameWidth / q));
        area.setLeft((FrameWidth - width) / 2);
        area.setWidth(width);
    } else {
        // Wide: the frame's full width, a height in the picture's proportion, centred down.
        const int height = int(frnum::roundHalfEven(q * FrameHeight));
        area.setTop((FrameHeight - height) / 2);
        area.setHeight(height);
    }
    return {area, true};
}

QSize decodedSize(const QSize& picture)
{
    const Placement placement = fit(picture);
    return placement.stretch ? placement.area.size() : picture;
}

Shown shown(const QImage& decoded, const QSize& originalSize)
{
    Shown result;
    result.placement = fit(originalSize);
    result.originalSize = originalSize;
    const QSize area = result.placement.area.size();
    if (result.placement.stretch) {
        if (!area.isEmpty())
            result.picture = decoded.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return result;
    }
    // Centred at its own size: only what falls inside the area is ever seen.
    const QRect target(QPoint((area.width() - originalSize.width()) / 2, (area.height() - originalSize.height()) / 2),
                       originalSize);
    const QRect visible = target.intersected(QRect(QPoint(0, 0), area));
    result.at = visible.topLeft();
    result.picture = decoded.copy(visible.translated(-target.topLeft()));
    return result;
}

} // namespace photofit
