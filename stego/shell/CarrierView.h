// The carrier picture on screen at a chosen zoom. It never converts or copies
// the whole picture: at 100% and above it draws the exposed part straight from
// the carrier's pixels, below 100% from a preview made once at the shown size.
#pragma once

#include <QImage>
#include <QWidget>

namespace stego::shell {

class CarrierView : public QWidget {
    Q_OBJECT
public:
    explicit CarrierView(QWidget* parent = nullptr);

    /// Shows picture (which must outlive this view) at zoom and takes the shown size.
    void showPicture(const QImage* picture, double zoom = 1.0);
    /// The pixels changed: a preview made from them is out of date.
    void pictureChanged();

    double zoom() const { return m_zoom; }
    /// The picture's size at zoom, at least one pixel each way.
    static QSize shownSize(QSize picture, double zoom);
    /// The display copy in use below 100% (null at 100% and above).
    const QImage& preview() const { return m_preview; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* m_picture = nullptr;
    double m_zoom = 1.0;
    QImage m_preview;
};

}  // namespace stego::shell
