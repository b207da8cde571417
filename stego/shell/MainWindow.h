// The program's one working window (frmMain): the carrier picture in its
// viewport, the key box, the message area, the file boxes and their commands.
#pragma once

#include <QImage>
#include <QMainWindow>

#include "ShellServices.h"
#include "platform/WindowFileDialog.h"

class QAction;
class QLabel;
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
    static inline const QString kPictureFilter = QStringLiteral(
        "Pictures (*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.tiff;*.webp)|*.bmp;*.jpg;*.jpeg;*.png;*.tif;*.tiff;*.webp");
    /// BMP first, the default; the chosen name's ending picks the format.
    static inline const QString kBitmapFilter = QStringLiteral("BitMap (*.bmp)|*.bmp|PNG (*.png)|*.png");
    /// The client area of the original fixed window, now its smallest size.
    static QSize minimumClientSize();

    explicit MainWindow(ShellServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Runs before the window first shows: clears the key and file boxes and
    /// asks for a picture until one opens. False when the user cancelled.
    bool startUp();
    /// As startUp, but first tries the picture named on the command line; a
    /// picture that does not open is reported and the question asked.
    bool startUp(const QString& picturePath);

    /// Opens the picture at path into Picture2, empties Text1 and places the
    /// picture. On failure says why and changes nothing.
    bool openPicture(const QString& path);

    /// Places Picture2 and the scroll bars for the picture now held.
    void LayoutPicture();

    /// The carrier picture's pixels, as the engine sees and changes them.
    const QImage& picture() const { return m_picture; }

    /// True after a command changed the picture and before it was saved.
    bool hasUnsavedChanges() const { return m_unsaved; }
    /// Asks Save / Discard / Cancel when there are unsaved changes; true when
    /// the picture may go (saved, discarded, or nothing to lose).
    bool maySetPictureAside();

    // Display only: none of these touches the carrier's pixels.
    void fitToWindow();
    void actualSize();
    void zoomIn();
    void zoomOut();
    double zoom() const;
    bool fitsWindow() const { return m_fit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void setTabOrderOfControls();
    void buildStatusBar();
    void fitFirstShowToScreen();
    /// Moves the controls to the right edge and gives the viewport the rest.
    void placeControls();
    void setZoom(double zoom, bool fit, bool keepCentre);
    double fittingZoom() const;
    void wheelOverPicture(QWheelEvent* event);
    void markUnsaved(bool unsaved);
    void updateTitle();
    void updatePictureStatus();
    void setOutcomeStatus(const QString& text);
    void updateMessageCount();
    bool confirmReplace(const QString& path);
    QString groupedNumber(qint64 value) const;

    // Menu commands.
    void openImage();
    void exitProgram();
    /// Save Image: to where this picture was last saved, or as Save Image As.
    bool saveImage();
    bool saveImageAs();
    bool savePictureTo(const QString& path);
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
    /// Runs command; returns its outcome after showing it.
    Outcome runEngineCommand(const std::function<Outcome(std::string& pass)>& command);
    void showOutcome(const Outcome& outcome);
    void tell(const QString& text);
    QWidget* dialogParent();

    static QString droppedPicturePath(const QMimeData* mime);

    ShellServices& m_services;
    QImage m_picture;
    QString m_picturePath;
    QString m_savedPath;   // where Save Image writes again without asking
    QString m_lastFolder;  // remembered for the rest of the run, never stored
    bool m_unsaved = false;
    bool m_fit = false;
    double m_zoom = 1.0;

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
    QLabel* m_lblCount = nullptr;
    class SealedPanel* m_sealedPanel = nullptr;
    QLabel* m_statusPicture = nullptr;
    QLabel* m_statusOutcome = nullptr;
    QAction* m_fitAction = nullptr;
};

}  // namespace stego::shell
