#include "SplashWindow.h"

#include <QFrame>
#include <limits>

#include "NoticeLabels.h"
#include "ObjectNames.h"
#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"

namespace stego::shell {

namespace {

QFrame* makeLine(QWidget* parent, const char* name, QRect geometry) {
    auto* line = named(new QFrame(parent), name);
    line->setAutoFillBackground(true);
    QPalette black = line->palette();
    black.setColor(QPalette::Window, Qt::black);
    line->setPalette(black);
    line->setGeometry(geometry);
    return line;
}

}  // namespace

SplashWindow::SplashWindow(platform::TimerFactory& timers, std::function<void()> onSecondTick, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_onSecondTick(std::move(onSecondTick)) {
    setObjectName(QStringLiteral("frmStart"));
    setWindowTitle(QStringLiteral("About Corvid Encryption Stenographer"));
    setFont(formFont());
    setFixedSize(twipsToPixels(5895), twipsToPixels(3150));

    addNoticeLabels(*this, twipsRect(360, 120, 5295, 615), 24);

    // A rectangle along the four edges, one pixel thick.
    const int right = twipsToPixels(5880);
    const int bottom = twipsToPixels(3120);
    makeLine(this, "Line1", QRect(0, 0, 1, bottom + 1));
    makeLine(this, "Line2", QRect(0, 0, right + 1, 1));
    makeLine(this, "Line3", QRect(right, 0, 1, bottom + 1));
    makeLine(this, "Line4", QRect(0, bottom, right + 1, 1));

    centreOnScreen(*this);
    m_Timer1 = timers.start(kTimer1Interval, [this] { onTimer1(); });
}

void SplashWindow::stopTimer() { m_Timer1->stop(); }

void SplashWindow::onTimer1() {
    // The count stops at its ceiling instead of overflowing while the
    // start-up's picture dialog waits for hours.
    if (m_SplashTicks < std::numeric_limits<std::int16_t>::max())
        ++m_SplashTicks;
    if (m_SplashTicks == 2)
        m_onSecondTick();
}

}  // namespace stego::shell
