// The real pixquill on a virtual X server, driven as a person would drive it:
// xdotool types and clicks, the screen is read back for what it shows, and the
// window is closed the way a close box closes it. Skipped only when no X server
// can be started.
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Last: Xlib's macros (None, Bool, Status) would spoil the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

using namespace std::chrono_literals;

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;

bool executable(const char* path) { return ::access(path, X_OK) == 0; }

// Output of a shell command, without its last line break.
std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

// Polls until check gives a value or the time is up.
template <typename Check>
auto waitFor(Check check, std::chrono::milliseconds limit = 15s) -> decltype(check()) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (auto value = check())
            return value;
        if (std::chrono::steady_clock::now() > end)
            return {};
        std::this_thread::sleep_for(100ms);
    }
}

pid_t spawn(const std::vector<std::string>& arguments, int keepOpen = -1) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (keepOpen < 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDERR_FILENO);
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return child;
}

void stop(pid_t& child) {
    if (child <= 0)
        return;
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    child = -1;
}

bool running(pid_t child) { return child > 0 && ::waitpid(child, nullptr, WNOHANG) == 0; }

class WindowOnX : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef PIXQUILL_SANITIZED
        // Typed keys and clicks are paced for the program's own speed; a
        // sanitized build is many times slower, and memory errors are what the
        // sanitized suite looks for: the window's own tests cover it there.
        GTEST_SKIP() << "driven on a virtual X server only in builds without sanitizers";
#endif
        if (!executable("/usr/bin/Xvfb") || !executable("/usr/bin/xdotool"))
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        // Xvfb picks a free display and writes its number to the pipe.
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        m_server =
            spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                   std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24", "-nolisten", "tcp"});
        ::close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        std::string number;
        char c = 0;
        while (::poll(&ready, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.empty())
            GTEST_SKIP() << "no X server could be started";
        m_display = ":" + number;
        ::setenv("DISPLAY", m_display.c_str(), 1);
        m_x = XOpenDisplay(m_display.c_str());
        if (!m_x)
            GTEST_SKIP() << "the X server does not answer";
        ASSERT_TRUE(m_folder.isValid());
    }

    void TearDown() override {
        stop(m_program);
        if (m_x)
            XCloseDisplay(m_x);
        stop(m_server);
    }

    std::optional<std::string> windowNamed(const std::string& pattern) {
        const std::string found = run("xdotool search --onlyvisible --name '" + pattern + "' 2>/dev/null | head -1");
        return found.empty() ? std::nullopt : std::optional<std::string>(found);
    }

    std::string xdotool(const std::string& arguments) { return run("xdotool " + arguments + " 2>/dev/null"); }

    QImage screenshot() {
        const Window root = DefaultRootWindow(m_x);
        XImage* image = XGetImage(m_x, root, 0, 0, kScreenWidth, kScreenHeight, AllPlanes, ZPixmap);
        QImage shot(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                shot.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)) | 0xFF000000u);
        XDestroyImage(image);
        if (const char* keep = std::getenv("PIXQUILL_E2E_SCREENSHOTS"))
            shot.save(QString::fromLocal8Bit(keep) + QStringLiteral("/shot-%1.png").arg(++m_shots));
        return shot;
    }

    // What a close box sends: the window manager's polite request to close.
    void closeLikeACloseBox(const std::string& window) {
        const Window id = std::stoul(window);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = XInternAtom(m_x, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_x, id, False, NoEventMask, &event);
        XFlush(m_x);
    }

    pid_t m_server = -1;
    pid_t m_program = -1;
    std::string m_display;
    Display* m_x = nullptr;
    QTemporaryDir m_folder;
    int m_shots = 0;
};

// A picture of reds that nothing else on the screen shows.
QImage redPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(200 + (x + y) % 50, (x * 3) % 40, (y * 5) % 40));
    return picture;
}

double redShare(const QImage& shot) {
    qint64 red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            red += qRed(pixel) >= 190 && qGreen(pixel) <= 60 && qBlue(pixel) <= 60;
        }
    return static_cast<double>(red) / (qint64{shot.width()} * shot.height());
}

TEST_F(WindowOnX, MaximisedPictureFillsTheWindowAndUnsavedWorkIsNotLost) {
    const QString picture = m_folder.filePath(QStringLiteral("picture.bmp"));
    ASSERT_TRUE(redPicture(1600, 1200).save(picture, "BMP"));

    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    m_program = spawn({PIXQUILL_PROGRAM, picture.toStdString()});
    // Named on the command line, the picture opens without a question.
    const auto window = waitFor([&] { return windowNamed("^picture.bmp"); });
    ASSERT_TRUE(window) << "no main window with the picture's name";

    // Maximised (there is no window manager: the window is given the screen).
    xdotool("windowmove " + *window + " 0 0");
    xdotool("windowsize " + *window + " 100% 100%");
    std::this_thread::sleep_for(1500ms);
    EXPECT_GT(redShare(screenshot()), 0.5) << "the picture does not fill most of the maximised window";

    // Key box (top right), then Tab round to the message box; Tab twice more is Insert Message.
    xdotool("windowfocus --sync " + *window);
    const int keyBoxX = kScreenWidth - 833 + 480 + 88 + 80;
    const int keyBoxY = 20 + 18 + 9;  // the frame's box, below a menu bar about 18 high
    xdotool("mousemove --sync " + std::to_string(keyBoxX) + " " + std::to_string(keyBoxY) + " click 1");
    xdotool("type --delay 20 4711");
    xdotool("key --delay 50 Tab Tab Tab Tab");
    xdotool("type --delay 20 'MEET AT NOON'");
    xdotool("key --delay 50 Tab Tab space");
    const auto modified = waitFor([&] { return windowNamed("^picture.bmp\\*"); }, 5s);
    EXPECT_TRUE(modified) << "the title shows no * after Insert Message: " << xdotool("getwindowname " + *window);

    // Closed like a close box: the question comes, the program stays.
    closeLikeACloseBox(*window);
    const auto question = waitFor([&] { return windowNamed("^Pixquill$"); }, 5s);
    screenshot();
    EXPECT_TRUE(question) << "no question about the unsaved picture";
    EXPECT_TRUE(running(m_program));
    if (question) {
        // Cancel keeps everything.
        xdotool("windowfocus --sync " + *question);
        xdotool("key Escape");
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(running(m_program));
        EXPECT_TRUE(windowNamed("^picture.bmp\\*"));
    }
}

}  // namespace
