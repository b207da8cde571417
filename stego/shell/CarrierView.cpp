#include "CarrierView.h"

#include <QPaintEvent>
#include <QPainter>

namespace stego::shell {

CarrierView::CarrierView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void CarrierView::showPicture(const QImage* picture) {
    m_picture = picture;
    resize(picture ? picture->size() : QSize());
    update();
}

void CarrierView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (!m_picture || m_picture->isNull()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    // Only the exposed part: a picture may be tens of thousands of pixels wide.
    const QRect exposed = event->rect() & m_picture->rect();
    painter.drawImage(exposed.topLeft(), *m_picture, exposed);
}

}  // namespace stego::shell
