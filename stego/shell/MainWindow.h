// The program's one working window (frmMain): the carrier picture in its
// viewport, the key box, the message area, the file boxes and their commands.
#pragma once

#include <QImage>
#include <QMainWindow>

#include "ShellServices.h"
#include "platform/WindowFileDialog.h"

class QAction;
class QMimeData;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace stego {
struct Outcome;
}

namespace stego::shell {

class CarrierView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kPictureFilter = QStringLiteral("Pictures (*.bmp;*.jpg;*.jpeg)|*.bmp;*.jpg;*.jpeg");
    static inline const QString kBitmapFilter = QStringLiteral("BitMap (*.bmp)|*.bmp");

    explicit MainWindow(ShellServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Runs before the window first shows: clears the key and file boxes and
    /// asks for a picture until one opens. False when the user cancelled.
    bool startUp();

    /// Opens the picture at path into Picture2, empties Text1 and places the
    /// picture. On failure says why and changes nothing.
    bool openPicture(const QString& path);

    /// Places Picture2 and the scroll bars for the picture now held.
    void LayoutPicture();

    /// The carrier picture's pixels, as the engine sees and changes them.
    const QImage& picture() const { return m_picture; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void setTabOrderOfControls();

    // Menu commands.
    void openImage();
    void saveImage();
    void showHelp();
    void showAbout();

    // Key entry.
    void applyKeyFilter();
    void exchangeWithKeyPad();

    // Buttons.
    void insertMessageClicked();
    void extractMessageClicked();
    void clearClicked();
    void insertDataClicked();
    void selectFileToHideClicked();
    void selectExtractDestinationClicked();
    void extractDataClicked();

    bool confirmDefaultKey(const QString& question);
    std::string keyText() const;
    std::string passText() const;
    void setPassText(const std::string& pass);
    void runEngineCommand(const std::function<Outcome(std::string& pass)>& command);
    void showOutcome(const Outcome& outcome);
    void tell(const QString& text);
    QWidget* dialogParent();

    static QString droppedPicturePath(const QMimeData* mime);

    ShellServices& m_services;
    QImage m_picture;

    platform::FileDialog m_Dialog1;
    platform::FileDialog m_Dialog2;
    platform::FileDialog m_CommonDialog1;

    QWidget* m_Picture1 = nullptr;
    CarrierView* m_Picture2 = nullptr;
    QScrollBar* m_HScroll1 = nullptr;
    QScrollBar* m_VScroll1 = nullptr;
    QGroupBox* m_Frame1 = nullptr;
    QLineEdit* m_txtKey = nullptr;
    QGroupBox* m_Frame3 = nullptr;
    QLineEdit* m_Text1 = nullptr;
    QPushButton* m_Command3 = nullptr;
    QPushButton* m_Command1 = nullptr;
    QPushButton* m_Command2 = nullptr;
    QGroupBox* m_Frame2 = nullptr;
    QLineEdit* m_txtFile = nullptr;
    QPushButton* m_Command6 = nullptr;
    QPushButton* m_Command4 = nullptr;
    QGroupBox* m_Frame5 = nullptr;
    QLineEdit* m_txtDecFile = nullptr;
    QPushButton* m_Command7 = nullptr;
    QPushButton* m_Command8 = nullptr;
    QLineEdit* m_pass = nullptr;
};

}  // namespace stego::shell
