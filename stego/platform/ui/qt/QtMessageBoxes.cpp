#include "platform/QtMessageBoxes.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace stego::platform {

namespace {

QString boxTitle() { return QGuiApplication::applicationDisplayName(); }

}  // namespace

bool QtMessageBoxes::askYesNo(QWidget* parent, const QString& text, Default preferred) {
    QMessageBox box(QMessageBox::NoIcon, boxTitle(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(preferred == Default::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

MessageBoxes::UnsavedChoice QtMessageBoxes::askUnsaved(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, boxTitle(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return UnsavedChoice::Save;
    case QMessageBox::Discard: return UnsavedChoice::Discard;
    default: return UnsavedChoice::Cancel;
    }
}

void QtMessageBoxes::tell(QWidget* parent, const QString& text, Icon icon) {
    const auto qtIcon = icon == Icon::Stop ? QMessageBox::Critical : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, boxTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace stego::platform
