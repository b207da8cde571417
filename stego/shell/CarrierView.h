// The carrier picture on screen: shows the picture held in memory at its
// natural size, one screen pixel per picture pixel.
#pragma once

#include <QImage>
#include <QWidget>

namespace stego::shell {

class CarrierView : public QWidget {
    Q_OBJECT
public:
    explicit CarrierView(QWidget* parent = nullptr);

    /// Shows picture (which must outlive this view) and takes its size.
    void showPicture(const QImage* picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* m_picture = nullptr;
};

}  // namespace stego::shell
