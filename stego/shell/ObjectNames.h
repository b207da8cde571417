// Every control, menu and action has an object name: tests and the
// screenshot tour find them by it, and the names stay stable across layouts.
#pragma once

#include <QString>

namespace stego::shell {

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace stego::shell
