#include "CarrierView.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace stego::shell {

namespace {

// A smooth reduction reads every pixel; from a large picture, a sampled copy
// at twice the size first keeps it to a few milliseconds with the same look.
QImage reducedCopy(const QImage& picture, QSize target) {
    constexpr qint64 kSmoothDirectlyUpTo = 4'000'000;
    if (qint64{picture.width()} * picture.height() <= kSmoothDirectlyUpTo)
        return picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QSize sampled = (target * 2).boundedTo(picture.size());
    return picture.scaled(sampled, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

CarrierView::CarrierView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

QSize CarrierView::shownSize(QSize picture, double zoom) {
    if (picture.isEmpty())
        return {};
    return {std::max(1, static_cast<int>(std::lround(picture.width() * zoom))),
            std::max(1, static_cast<int>(std::lround(picture.height() * zoom)))};
}

void CarrierView::showPicture(const QImage* picture, double zoom) {
    m_picture = picture;
    m_zoom = zoom;
    m_preview = QImage();
    const QSize size = picture ? shownSize(picture->size(), zoom) : QSize();
    if (picture && !picture->isNull() && zoom < 1.0)
        m_preview = reducedCopy(*picture, size);
    resize(size);
    update();
}

void CarrierView::pictureChanged() {
    // Hidden bits change no visible colour; the preview is remade all the same
    // so that what is shown is always what would be saved.
    if (!m_preview.isNull() && m_picture)
        m_preview = reducedCopy(*m_picture, m_preview.size());
    update();
}

void CarrierView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!m_picture || m_picture->isNull()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    if (!m_preview.isNull()) {
        const QRect exposed = event->rect() & m_preview.rect();
        painter.drawImage(exposed.topLeft(), m_preview, exposed);
        return;
    }
    if (m_zoom == 1.0) {
        // Only the exposed part: a picture may be tens of thousands of pixels wide.
        const QRect exposed = event->rect() & m_picture->rect();
        painter.drawImage(exposed.topLeft(), *m_picture, exposed);
        return;
    }
    // Enlarged: each picture pixel becomes a sharp block, so single changed
    // pixels stay visible; only the source pixels under the exposed part are read.
    const QRectF exposed = QRectF(event->rect()) & QRectF(rect());
    const QRect source =
        QRectF(exposed.topLeft() / m_zoom, exposed.bottomRight() / m_zoom).toAlignedRect() & m_picture->rect();
    const QRectF target(QPointF(source.topLeft()) * m_zoom, QSizeF(source.size()) * m_zoom);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, *m_picture, source);
}

}  // namespace stego::shell
