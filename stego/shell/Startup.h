// How the program starts: the splash first, then on its second tick the main
// window's start-up; a cancelled picture question ends the program.
#pragma once

#include <QString>
#include <memory>

#include "ShellServices.h"

namespace stego::shell {

class MainWindow;
class SplashWindow;

class Startup {
public:
    explicit Startup(ShellServices& services);
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    /// Shows the splash; the rest follows from its timer. A picture path (from
    /// the command line) is opened instead of asking for one.
    void begin(const QString& picturePath = {});

    SplashWindow* splash() const { return m_splash.get(); }
    /// The main window once its start-up has opened a picture; null before.
    MainWindow* mainWindow() const { return m_mainWindow.get(); }

private:
    void startMainWindow();

    ShellServices& m_services;
    QString m_picturePath;
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_mainWindow;
};

}  // namespace stego::shell
