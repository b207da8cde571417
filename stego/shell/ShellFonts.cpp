#include "ShellFonts.h"

#include <QStringList>
#include <cmath>

namespace stego::shell {

namespace {

int pointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont sansFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pointsToPixels(points));
    return font;
}

}  // namespace

QFont formFont() { return sansFont(8.25); }

QFont keyFont() { return sansFont(9.75); }

QFont titleFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("Georgia"), QStringLiteral("Gelasio"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setItalic(true);
    font.setPixelSize(pointsToPixels(points));
    return font;
}

}  // namespace stego::shell
