#include "Startup.h"

#include "MainWindow.h"
#include "SplashWindow.h"

namespace stego::shell {

Startup::Startup(ShellServices& services) : m_services(services) {}

Startup::~Startup() = default;

void Startup::begin(const QString& picturePath) {
    m_picturePath = picturePath;
    m_splash = std::make_unique<SplashWindow>(m_services.timers, [this] { startMainWindow(); });
    m_splash->show();
}

void Startup::startMainWindow() {
    auto window = std::make_unique<MainWindow>(m_services);
    // The splash stays on the screen while the picture is asked for.
    if (!window->startUp(m_picturePath)) {
        m_services.endProgram();
        return;
    }
    m_mainWindow = std::move(window);
    m_mainWindow->show();
    // Only hidden and stopped here: this runs inside the splash's own tick.
    m_splash->stopTimer();
    m_splash->close();
}

}  // namespace stego::shell
