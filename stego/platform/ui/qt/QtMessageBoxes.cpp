#include "platform/QtMessageBoxes.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace stego::platform {

namespace {

QString boxTitle() { return QGuiApplication::applicationDisplayName(); }

}  // namespace

bool QtMessageBoxes::askYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, boxTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtMessageBoxes::tell(QWidget* parent, const QString& text, Icon icon) {
    const auto qtIcon = icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, boxTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace stego::platform
