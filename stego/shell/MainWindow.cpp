#include "MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <new>

#include "AboutWindow.h"
#include "BusyCursor.h"
#include "CarrierView.h"
#include "EngineText.h"
#include "HelpWindow.h"
#include "KeyFilter.h"
#include "KeyPadWindow.h"
#include "LayoutPicture.h"
#include "ObjectNames.h"
#include "Refusal.h"
#include "SealedPanel.h"
#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "engine/Failure.h"
#include "engine/MessageAlphabet.h"
#include "engine/NumberFormat.h"
#include "engine/Outcome.h"
#include "engine/PixelChannel.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "sealed/SealedFormat.h"
#include "support/ClearedOnExit.h"
#include "support/ErrorNumbers.h"
#include "support/Limits.h"

namespace stego::shell {

namespace {

const QString kInsertKeyQuestion = QStringLiteral(
    "You have not specified an encryption key.  Continuing will do so with a default key, which can extract your "
    "data by any other Corvid Stenographer program.  Do you wish to continue without a specified Key?");
const QString kExtractKeyQuestion = QStringLiteral(
    "You have not specified an encryption key.  If a specific encryption key was used, the resulting data will not "
    "be the original.  Do you wish to continue without a specified Key?");
const QString kMissingFileToHide =
    QStringLiteral("Missing Filename to encrypt and embed.  Please define file to process.");
const QString kMissingExtractDestination =
    QStringLiteral("Missing Filename to extract and decrypt.  Please define file to process.");

const QString kUnsavedQuestion = QStringLiteral(
    "The picture holds hidden data that has not been saved yet.\nDo you want to save it before it is closed?");
const QString kWindowTitle = QStringLiteral("Corvid Steganographer");

// The steps of Zoom In and Zoom Out; 1 is Actual Size.
constexpr std::array<double, 15> kZoomSteps{1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0, 1.5,
                                            2.0,      3.0,     4.0,     6.0,     8.0,     12.0,    16.0};
// Qt widgets end at 16,777,215 pixels; an enlarged view stays well inside.
constexpr double kLargestShownSide = 4'000'000.0;

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* frame = named(new QGroupBox(caption, parent), name);
    frame->setGeometry(geometry);
    return frame;
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, QRect geometry) {
    auto* box = named(new QLineEdit(parent), name);
    box->setGeometry(geometry);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    return button;
}

QScrollBar* makeScrollBar(QWidget* parent, const char* name, Qt::Orientation orientation) {
    auto* bar = named(new QScrollBar(orientation, parent), name);
    bar->setRange(0, 0);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    // The picture moves when a position is committed, not while the thumb is dragged.
    bar->setTracking(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->hide();
    return bar;
}

}  // namespace

MainWindow::MainWindow(ShellServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_Dialog1(services.fileDialogs, kPictureFilter),
      m_Dialog2(services.fileDialogs, kBitmapFilter), m_CommonDialog1(services.fileDialogs) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Corvid Steganographer"));
    setFont(formFont());
    setAcceptDrops(true);

    buildControls();
    buildMenu();
    buildStatusBar();
    setTabOrderOfControls();
    updateTitle();

    fitFirstShowToScreen();
    centreOnScreen(*this);
}

QSize MainWindow::minimumClientSize() { return {twipsToPixels(12495), twipsToPixels(5970)}; }

void MainWindow::fitFirstShowToScreen() {
    const int chrome = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    QSize wanted = minimumClientSize() + QSize(0, chrome);
    QSize smallest = wanted;
    // At a large scale factor the original layout may not fit the screen: the
    // window then starts at the screen's size and the controls scroll off.
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        // Leave room for the window manager's frame.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        wanted = wanted.boundedTo(room);
        smallest = smallest.boundedTo(room);
    }
    setMinimumSize(smallest);
    resize(wanted);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    m_Picture1 = named(new QWidget(client), "Picture1");
    m_Picture1->setGeometry(twipsRect(0, 0, 6855, 4575));
    m_Picture1->setAutoFillBackground(true);

    m_Picture2 = named(new CarrierView(m_Picture1), "Picture2");
    m_Picture2->setGeometry(twipsRect(0, 0, 7575, 5055));

    m_HScroll1 = makeScrollBar(client, "HScroll1", Qt::Horizontal);
    m_VScroll1 = makeScrollBar(client, "VScroll1", Qt::Vertical);
    connect(m_HScroll1, &QScrollBar::valueChanged, this,
            [this](int position) { m_Picture2->move(-position, m_Picture2->y()); });
    connect(m_VScroll1, &QScrollBar::valueChanged, this,
            [this](int position) { m_Picture2->move(m_Picture2->x(), -position); });

    m_Frame1 = makeFrame(client, "Frame1",
                         QStringLiteral("Encryption Key (up to 18 digits-Double Click for Key Logger Defeater)"),
                         twipsRect(7200, 0, 5055, 735));
    // The longest caption of the window: narrowed a little so that it fits
    // its frame in the faces that stand in for the design's.
    QFont keyCaptionFont = formFont();
    keyCaptionFont.setStretch(QFont::SemiCondensed);
    m_Frame1->setFont(keyCaptionFont);
    m_txtKey = makeTextBox(m_Frame1, "txtKey", twipsRect(1320, 300, 2415, 285));
    m_txtKey->setFont(formFont());
    m_txtKey->setMaxLength(18);
    m_txtKey->installEventFilter(this);
    connect(m_txtKey, &QLineEdit::textChanged, this, &MainWindow::applyKeyFilter);

    m_Frame3 = makeFrame(client, "Frame3", QStringLiteral("Message Area"), twipsRect(7200, 720, 5175, 1815));
    m_Text1 = makeTextBox(m_Frame3, "Text1", twipsRect(120, 360, 4935, 285));
    m_Command3 = makeButton(m_Frame3, "Command3", QStringLiteral("Clear"), twipsRect(4080, 720, 975, 255));
    // The live count, beside the box and left of Clear.
    m_lblCount = named(new QLabel(m_Frame3), "lblCount");
    m_lblCount->setGeometry(twipsRect(120, 720, 3900, 255));
    connect(m_Text1, &QLineEdit::textChanged, this, &MainWindow::updateMessageCount);
    m_Command1 = makeButton(m_Frame3, "Command1", QStringLiteral("Insert Message"), twipsRect(480, 1200, 1695, 375));
    m_Command2 = makeButton(m_Frame3, "Command2", QStringLiteral("Extract Message"), twipsRect(3000, 1200, 1695, 375));

    m_Frame2 = makeFrame(client, "Frame2", QStringLiteral("File Embed"), twipsRect(7200, 2520, 5175, 1575));
    m_txtFile = makeTextBox(m_Frame2, "txtFile", twipsRect(120, 360, 4095, 285));
    m_Command6 = makeButton(m_Frame2, "Command6", QStringLiteral("Select"), twipsRect(4200, 360, 855, 255));
    m_Command4 = makeButton(m_Frame2, "Command4", QStringLiteral("Insert Data"), twipsRect(1800, 960, 1695, 375));

    m_Frame5 = makeFrame(client, "Frame5", QStringLiteral("File Extract"), twipsRect(7200, 4080, 5175, 1575));
    m_txtDecFile = makeTextBox(m_Frame5, "txtDecFile", twipsRect(120, 360, 4095, 285));
    m_Command7 = makeButton(m_Frame5, "Command7", QStringLiteral("Select"), twipsRect(4200, 360, 855, 255));
    m_Command8 = makeButton(m_Frame5, "Command8", QStringLiteral("Extract Data"), twipsRect(1920, 840, 1695, 375));

    // The scramble key: held by the window, never shown, never reachable.
    m_pass = makeTextBox(client, "pass", twipsRect(6960, 4080, 375, 285));
    m_pass->setText(QString::fromLatin1(kScrambleKey));
    m_pass->setFocusPolicy(Qt::NoFocus);
    m_pass->hide();

    client->installEventFilter(this);
    m_Picture1->installEventFilter(this);
    m_Picture2->installEventFilter(this);

    // The sealed item's panel, under the picture: a passphrase in place of the
    // key, on the same picture and message area; the classic controls stay as they are.
    m_sealedPanel =
        new SealedPanel(m_services,
                        {m_picture, *m_Text1,
                         [this] {
                             m_Picture2->pictureChanged();
                             markUnsaved(true);
                         },
                         [this](const QString& path) { return confirmReplace(path); }, [this] { saveImageAs(); }},
                        client);
    m_sealedPanel->setGeometry(twipsRect(0, 4860, 7110, 1110));

    connect(m_Command1, &QPushButton::clicked, this, &MainWindow::insertMessageClicked);
    connect(m_Command2, &QPushButton::clicked, this, &MainWindow::extractMessageClicked);
    connect(m_Command3, &QPushButton::clicked, this, &MainWindow::clearClicked);
    connect(m_Command4, &QPushButton::clicked, this, &MainWindow::insertDataClicked);
    connect(m_Command6, &QPushButton::clicked, this, &MainWindow::selectFileToHideClicked);
    connect(m_Command7, &QPushButton::clicked, this, &MainWindow::selectExtractDestinationClicked);
    connect(m_Command8, &QPushButton::clicked, this, &MainWindow::extractDataClicked);
}

void MainWindow::buildMenu() {
    // "&" marks each caption's access key; the captions read as before.
    QMenu* fle = menuBar()->addMenu(QStringLiteral("&File"));
    fle->setObjectName(QStringLiteral("fle"));
    named(fle->addAction(QStringLiteral("&Open Image"), QKeySequence::Open, this, &MainWindow::openImage), "fleop");
    named(fle->addAction(QStringLiteral("&Save Image"), QKeySequence::Save, this, [this] { saveImage(); }), "flesve");
    named(fle->addAction(QStringLiteral("Save Image &As..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")), this,
                         [this] { saveImageAs(); }),
          "flesveas");
    named(fle->addSeparator(), "div");
    named(
        fle->addAction(QStringLiteral("E&xit"), QKeySequence(QStringLiteral("Ctrl+Q")), this, &MainWindow::exitProgram),
        "fleext");

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("vew"));
    m_fitAction = named(view->addAction(QStringLiteral("&Fit to Window"), QKeySequence(QStringLiteral("Ctrl+0")), this,
                                        &MainWindow::fitToWindow),
                        "vewfit");
    m_fitAction->setCheckable(true);
    named(view->addAction(QStringLiteral("&Actual Size"), QKeySequence(QStringLiteral("Ctrl+1")), this,
                          &MainWindow::actualSize),
          "vewact");
    QAction* in =
        named(view->addAction(QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, this, &MainWindow::zoomIn), "vewin");
    // Ctrl+= too: on most keyboards "+" needs Shift.
    in->setShortcuts({QKeySequence::ZoomIn, QKeySequence(QStringLiteral("Ctrl+="))});
    named(view->addAction(QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, this, &MainWindow::zoomOut), "vewout");

    QMenu* hpl = menuBar()->addMenu(QStringLiteral("&Help"));
    hpl->setObjectName(QStringLiteral("hpl"));
    named(hpl->addAction(QStringLiteral("&Using Corvid Stenographer"), QKeySequence::HelpContents, this,
                         &MainWindow::showHelp),
          "hlpus");
    named(hpl->addAction(QStringLiteral("&About Corvid Stenographer"), this, &MainWindow::showAbout), "hlpst");
}

void MainWindow::buildStatusBar() {
    m_statusOutcome = named(new QLabel(statusBar()), "statusOutcome");
    m_statusPicture = named(new QLabel(statusBar()), "statusPicture");
    statusBar()->addWidget(m_statusOutcome, 1);
    statusBar()->addPermanentWidget(m_statusPicture);
}

void MainWindow::setTabOrderOfControls() {
    // The picture boxes take no focus; the frames are not stops.
    const QWidget* order[] = {m_HScroll1, m_VScroll1, m_txtFile,  m_Text1,    m_Command3,   m_Command1, m_Command2,
                              m_Command4, m_Command6, m_Command7, m_Command8, m_txtDecFile, m_txtKey};
    m_Picture1->setFocusPolicy(Qt::NoFocus);
    m_Picture2->setFocusPolicy(Qt::NoFocus);
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

bool MainWindow::startUp() { return startUp(QString()); }

bool MainWindow::startUp(const QString& picturePath) {
    m_txtKey->clear();
    m_txtFile->clear();
    m_txtDecFile->clear();
    if (!picturePath.isEmpty() && openPicture(picturePath))
        return true;
    // A picture that cannot be opened is reported and the question asked
    // again; only a cancel gives up.
    for (;;) {
        const auto path = m_Dialog1.showOpen(dialogParent());
        if (!path)
            return false;
        if (openPicture(*path))
            return true;
    }
}

bool MainWindow::openPicture(const QString& path) {
    QImage loaded;
    std::optional<Refusal> refusal;
    {
        const BusyCursor busy;
        refusal = refusalOf(
            [&] {
                loaded = platform::loadPicture(toEnginePath(path));
                if (loaded.isNull())
                    throw std::bad_alloc();
            },
            path);
    }
    if (refusal) {
        tell(QStringLiteral("The picture could not be opened.\n") + errorText(*refusal));
        return false;
    }
    if (loaded.format() != platform::kPictureFormat)
        loaded.convertTo(platform::kPictureFormat);
    m_picture = std::move(loaded);
    m_picturePath = QFileInfo(path).absoluteFilePath();
    m_savedPath.clear();
    m_lastFolder = QFileInfo(m_picturePath).absolutePath();
    m_Text1->clear();
    markUnsaved(false);
    // Each picture starts at its actual size; a fitted view stays fitted.
    setZoom(m_fit ? fittingZoom() : 1.0, m_fit, false);
    updatePictureStatus();
    setOutcomeStatus(QStringLiteral("Opened %1.").arg(QFileInfo(path).fileName()));
    return true;
}

void MainWindow::LayoutPicture() {
    const PictureLayout layout = stego::shell::LayoutPicture(m_Picture1->size(), m_Picture2->size());
    // Keep the bars' place relative to the picture when only the view changed.
    m_Picture1->move(0, 0);
    m_Picture2->move(layout.picturePosition);
    m_HScroll1->setGeometry(layout.hScrollGeometry);
    m_VScroll1->setGeometry(layout.vScrollGeometry);
    {
        // Resetting the bars must not move a centred picture back to the edge.
        const QSignalBlocker blockH(m_HScroll1);
        const QSignalBlocker blockV(m_VScroll1);
        m_HScroll1->setRange(0, layout.hScrollMaximum);
        m_VScroll1->setRange(0, layout.vScrollMaximum);
        m_HScroll1->setValue(0);
        m_VScroll1->setValue(0);
    }
    m_VScroll1->setVisible(layout.vScrollVisible);
    m_HScroll1->setVisible(layout.hScrollVisible);
}

void MainWindow::openImage() {
    if (!maySetPictureAside())
        return;
    const auto path = m_Dialog1.showOpen(this);
    if (path)
        openPicture(*path);
}

void MainWindow::exitProgram() {
    if (!maySetPictureAside())
        return;
    // Asked once: the close that follows finds nothing left to lose.
    markUnsaved(false);
    m_services.endProgram();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (maySetPictureAside()) {
        markUnsaved(false);
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::maySetPictureAside() {
    if (!m_unsaved)
        return true;
    switch (m_services.messageBoxes.askUnsaved(dialogParent(), kUnsavedQuestion)) {
    case platform::MessageBoxes::UnsavedChoice::Save: return saveImage();
    case platform::MessageBoxes::UnsavedChoice::Discard: return true;
    case platform::MessageBoxes::UnsavedChoice::Cancel: break;
    }
    return false;
}

bool MainWindow::saveImage() {
    if (!m_savedPath.isEmpty())
        return savePictureTo(m_savedPath);
    return saveImageAs();
}

bool MainWindow::saveImageAs() {
    // Suggest the name saved under last, or a new name beside the picture,
    // never the picture itself.
    const QFileInfo opened(m_picturePath);
    const QString suggestion =
        !m_savedPath.isEmpty() ? m_savedPath
                               : QDir(m_lastFolder).filePath(opened.completeBaseName() + QStringLiteral("-hidden.bmp"));
    const auto path = m_Dialog2.showSave(this, suggestion);
    if (!path)
        return false;
    m_lastFolder = QFileInfo(*path).absolutePath();
    // A name the picture cannot be saved under is refused before any question.
    if (auto refusal = refusalOf([&] { static_cast<void>(platform::saveFormatFor(toEnginePath(*path))); })) {
        tell(QStringLiteral("The picture was not saved.\n") + errorText(*refusal));
        return false;
    }
    if (!confirmReplace(*path))
        return false;
    return savePictureTo(*path);
}

bool MainWindow::savePictureTo(const QString& path) {
    std::optional<Refusal> refusal;
    {
        const BusyCursor busy;
        refusal = refusalOf([&] { platform::savePicture(m_picture, toEnginePath(path)); }, path);
    }
    if (refusal) {
        tell(QStringLiteral("The picture was not saved.\n") + errorText(*refusal));
        setOutcomeStatus(QStringLiteral("The picture was not saved."));
        return false;
    }
    m_savedPath = QFileInfo(path).absoluteFilePath();
    markUnsaved(false);
    setOutcomeStatus(QStringLiteral("Saved as %1.").arg(QFileInfo(path).fileName()));
    return true;
}

bool MainWindow::confirmReplace(const QString& path) {
    const QFileInfo target(path);
    if (!target.exists())
        return true;
    return m_services.messageBoxes.askYesNo(
        this, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(target.fileName()),
        platform::MessageBoxes::Default::No);
}

void MainWindow::showHelp() {
    HelpWindow help(this);
    m_services.modalWindows.runModal(help);
}

void MainWindow::showAbout() {
    AboutWindow about(this);
    m_services.modalWindows.runModal(about);
}

void MainWindow::applyKeyFilter() {
    const QString text = m_txtKey->text();
    const QString kept = filterKeyText(text);
    if (kept == text)
        return;
    // Keep the caret after the digits that stood before it.
    const QString before = text.left(m_txtKey->cursorPosition());
    const auto digitsBefore =
        std::count_if(before.begin(), before.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    m_txtKey->setText(kept);  // runs the filter once more, which finds nothing to drop
    m_txtKey->setCursorPosition(static_cast<int>(std::min<qsizetype>(digitsBefore, kept.size())));
}

void MainWindow::exchangeWithKeyPad() {
    KeyPadWindow pad(this);
    m_services.modalWindows.runModal(pad);
    // Done hands the pad's key over, also when it is empty; Cancel and the
    // close box leave the key box as it was.
    QString key = pad.takePadKey();
    if (pad.result() == QDialog::Accepted)
        m_txtKey->setText(key);
    key.fill(QChar(u'\0'));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtKey && event->type() == QEvent::MouseButtonDblClick) {
        exchangeWithKeyPad();
        return true;
    }
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        placeControls();
    if ((watched == m_Picture1 || watched == m_Picture2) && event->type() == QEvent::Wheel) {
        wheelOverPicture(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::confirmDefaultKey(const QString& question) {
    if (!m_txtKey->text().isEmpty())
        return true;
    // No is the default: a stray Enter must not hide under the public key.
    return m_services.messageBoxes.askYesNo(this, question, platform::MessageBoxes::Default::No);
}

std::string MainWindow::keyText() const {
    return m_txtKey->text().toStdString();  // digits only
}

std::string MainWindow::passText() const { return toEngineBytes(m_pass->text()).value_or(std::string()); }

void MainWindow::setPassText(const std::string& pass) { m_pass->setText(fromEngineBytes(pass)); }

void MainWindow::insertMessageClicked() {
    QString refusal;
    auto message = toEngineBytes(m_Text1->text(), &refusal);
    if (!message) {
        tell(refusal);
        return;
    }
    const support::ClearedOnExit clearMessage(*message);
    if (!confirmDefaultKey(kInsertKeyQuestion))
        return;
    std::string key = keyText();
    const support::ClearedOnExit clearKey(key);
    const Outcome outcome = runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return InsertMessage(carrier, key, *message, pass, m_services.engine);
    });
    if (outcome.kind == OutcomeKind::Done) {
        markUnsaved(true);
        setOutcomeStatus(QStringLiteral("Message hidden: %1 characters. Save the picture to keep it.")
                             .arg(groupedNumber(static_cast<qint64>(message->size()))));
    }
}

void MainWindow::extractMessageClicked() {
    if (!confirmDefaultKey(kExtractKeyQuestion))
        return;
    std::string key = keyText();
    const support::ClearedOnExit clearKey(key);
    const Outcome outcome = runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return ExtractMessage(carrier, key, pass, m_services.engine);
    });
    if (outcome.kind == OutcomeKind::TextExtracted)
        setOutcomeStatus(
            QStringLiteral("Message extracted: %1 characters.").arg(groupedNumber(m_Text1->text().size())));
}

void MainWindow::clearClicked() { m_Text1->clear(); }

void MainWindow::insertDataClicked() {
    if (m_txtFile->text().isEmpty()) {
        tell(kMissingFileToHide);
        return;
    }
    if (!confirmDefaultKey(kInsertKeyQuestion))
        return;
    std::string key = keyText();
    const support::ClearedOnExit clearKey(key);
    const std::string source = toEnginePath(m_txtFile->text());
    const Outcome outcome = runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return InsertFile(carrier, key, source, pass, m_services.engine);
    });
    if (outcome.kind == OutcomeKind::Done) {
        markUnsaved(true);
        setOutcomeStatus(
            QStringLiteral("File hidden: %1 (%2 bytes). Save the picture to keep it.")
                .arg(QFileInfo(m_txtFile->text()).fileName(), groupedNumber(QFileInfo(m_txtFile->text()).size())));
    }
}

void MainWindow::extractDataClicked() {
    if (m_txtDecFile->text().isEmpty()) {
        tell(kMissingExtractDestination);
        return;
    }
    // The same question as for hiding a file.
    if (!confirmDefaultKey(kInsertKeyQuestion))
        return;
    // A wrong key still writes bytes: an existing file goes only when the user says so.
    if (!confirmReplace(m_txtDecFile->text()))
        return;
    std::string key = keyText();
    const support::ClearedOnExit clearKey(key);
    const std::string destination = toEnginePath(m_txtDecFile->text());
    const Outcome outcome = runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return ExtractFile(carrier, key, destination, pass, m_services.engine);
    });
    if (outcome.kind == OutcomeKind::Done)
        setOutcomeStatus(QStringLiteral("File extracted to %1 (%2 bytes).")
                             .arg(QFileInfo(m_txtDecFile->text()).fileName(),
                                  groupedNumber(QFileInfo(m_txtDecFile->text()).size())));
}

void MainWindow::selectFileToHideClicked() {
    if (const auto path = m_CommonDialog1.showOpen(this))
        m_txtFile->setText(*path);
}

void MainWindow::selectExtractDestinationClicked() {
    // Only a folder is offered: the file hidden or the picture as the
    // suggested name, Enter would have replaced it.
    QString folder = m_lastFolder;
    if (!m_txtDecFile->text().isEmpty())
        folder = QFileInfo(m_txtDecFile->text()).absolutePath();
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    if (const auto path = m_CommonDialog1.showSave(this, folder))
        m_txtDecFile->setText(*path);
}

Outcome MainWindow::runEngineCommand(const std::function<Outcome(std::string& pass)>& command) {
    std::string pass = passText();
    Outcome outcome;
    // The commands report failures as outcomes; anything that still escapes
    // is shown the same way rather than ending the program.
    std::optional<Refusal> refusal;
    {
        const BusyCursor busy;
        refusal = refusalOf([&] { outcome = command(pass); });
    }
    if (refusal)
        outcome = Outcome{OutcomeKind::Error, refusal->number, refusal->message.toStdString(), {}, 0};
    setPassText(pass);
    m_Picture2->pictureChanged();
    showOutcome(outcome);
    // The message box now holds an extracted message; this copy goes.
    support::secureClear(outcome.text);
    if (outcome.kind != OutcomeKind::Done && outcome.kind != OutcomeKind::TextExtracted)
        setOutcomeStatus(outcome.kind == OutcomeKind::NoItem
                             ? fromEngineMessage(outcome.message)
                             : QStringLiteral("Nothing changed: ") + fromEngineMessage(outcome.message));
    return outcome;
}

void MainWindow::showOutcome(const Outcome& outcome) {
    const QString message = fromEngineMessage(outcome.message);
    switch (outcome.kind) {
    case OutcomeKind::Done:
        if (!message.isEmpty())
            tell(message);
        break;
    case OutcomeKind::TextExtracted: m_Text1->setText(fromEngineBytes(outcome.text)); break;
    case OutcomeKind::CapacityShortfall:
        m_services.messageBoxes.tell(this, message, platform::MessageBoxes::Icon::Stop);
        break;
    case OutcomeKind::NoItem: m_Text1->setText(message); break;
    case OutcomeKind::Incomplete: tell(message); break;
    case OutcomeKind::Error: tell(errorText(outcome.number, message)); break;
    }
}

void MainWindow::tell(const QString& text) {
    m_services.messageBoxes.tell(dialogParent(), text, platform::MessageBoxes::Icon::None);
}

QWidget* MainWindow::dialogParent() {
    // Before the window first shows, dialogs stand on their own.
    return isVisible() ? this : nullptr;
}

QString MainWindow::droppedPicturePath(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const char* known : {"bmp", "jpg", "jpeg", "png", "tif", "tiff", "webp"})
        if (suffix == QLatin1String(known))
            return path;
    return {};
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPicturePath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedPicturePath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    if (maySetPictureAside())
        openPicture(path);
}

void MainWindow::placeControls() {
    // The controls keep their sizes at the right; the viewport takes the rest.
    const QSize client = centralWidget()->size();
    const QSize smallest = minimumClientSize();
    // On a screen narrower than the original layout (a large scale factor)
    // the viewport gives up width so that the controls stay whole.
    const QSize original = twipsRect(0, 0, 6855, 4575).size();
    constexpr int kNarrowestViewport = 120;
    const int viewportWidth = std::max(kNarrowestViewport, original.width() + client.width() - smallest.width());
    const int dx = viewportWidth - original.width();
    const int frameLeft = twipsToPixels(7200) + dx;
    for (QWidget* frame : {static_cast<QWidget*>(m_Frame1), static_cast<QWidget*>(m_Frame3),
                           static_cast<QWidget*>(m_Frame2), static_cast<QWidget*>(m_Frame5)})
        frame->move(frameLeft, frame->y());
    m_pass->move(twipsToPixels(6960) + dx, m_pass->y());

    // Below the viewport and its scroll bar, the sealed panel keeps its band;
    // the picture takes the rest of the height.
    const int panelTop = twipsToPixels(4860) - original.height();
    const int height = std::max(original.height(), client.height() - panelTop - m_sealedPanel->height());
    m_sealedPanel->setGeometry(0, height + panelTop, viewportWidth + twipsToPixels(7110) - original.width(),
                               m_sealedPanel->height());
    const QSize viewport(viewportWidth, height);
    if (m_Picture1->size() == viewport)
        return;
    m_Picture1->resize(viewport);
    if (m_picture.isNull())
        return;
    if (m_fit)
        setZoom(fittingZoom(), true, false);
    else
        LayoutPicture();
}

double MainWindow::zoom() const { return m_zoom; }

double MainWindow::fittingZoom() const {
    if (m_picture.isNull())
        return 1.0;
    const QSize viewport = m_Picture1->size();
    const double across = static_cast<double>(viewport.width()) / m_picture.width();
    const double down = static_cast<double>(viewport.height()) / m_picture.height();
    // Fitting shrinks a large picture; a small one keeps its actual size.
    return std::min({1.0, across, down});
}

void MainWindow::setZoom(double zoom, bool fit, bool keepCentre) {
    const double largest = kLargestShownSide / std::max({1, m_picture.width(), m_picture.height()});
    zoom = std::min(zoom, std::max(1.0, largest));
    // Where the middle of the view stands in the picture, as fractions.
    const QSize viewport = m_Picture1->size();
    const QSize before = m_Picture2->size();
    const double middleX = before.isEmpty() ? 0.5 : (viewport.width() / 2.0 - m_Picture2->x()) / before.width();
    const double middleY = before.isEmpty() ? 0.5 : (viewport.height() / 2.0 - m_Picture2->y()) / before.height();

    m_zoom = zoom;
    m_fit = fit;
    m_fitAction->setChecked(fit);
    m_Picture2->showPicture(&m_picture, zoom);
    LayoutPicture();
    if (keepCentre) {
        const QSize shown = m_Picture2->size();
        m_HScroll1->setValue(static_cast<int>(std::lround(middleX * shown.width() - viewport.width() / 2.0)));
        m_VScroll1->setValue(static_cast<int>(std::lround(middleY * shown.height() - viewport.height() / 2.0)));
    }
}

void MainWindow::fitToWindow() { setZoom(fittingZoom(), true, false); }

void MainWindow::actualSize() { setZoom(1.0, false, true); }

void MainWindow::zoomIn() {
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), m_zoom * 1.001);
    if (next != kZoomSteps.end())
        setZoom(*next, false, true);
}

void MainWindow::zoomOut() {
    const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), m_zoom * 0.999);
    if (next != kZoomSteps.begin())
        setZoom(*std::prev(next), false, true);
}

void MainWindow::wheelOverPicture(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta.y() > 0)
            zoomIn();
        else if (delta.y() < 0)
            zoomOut();
        return;
    }
    // Three lines of 20 pixels per notch, as list views scroll.
    const int notchPixels = 60;
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || delta.y() == 0;
    const int amount = sideways ? (delta.x() != 0 ? delta.x() : delta.y()) : delta.y();
    QScrollBar* bar = sideways ? m_HScroll1 : m_VScroll1;
    bar->setValue(bar->value() - amount * notchPixels / 120);
}

void MainWindow::markUnsaved(bool unsaved) {
    m_unsaved = unsaved;
    setWindowModified(unsaved);
    updateTitle();
}

void MainWindow::updateTitle() {
    if (m_picturePath.isEmpty()) {
        setWindowTitle(kWindowTitle);
        return;
    }
    // "[*]" shows as "*" while there are unsaved changes.
    setWindowTitle(QFileInfo(m_picturePath).fileName() + QStringLiteral("[*] \u2014 ") + kWindowTitle);
}

QString MainWindow::groupedNumber(qint64 value) const {
    return QString::fromStdString(formatGrouped(value, m_services.engine.groupSeparator));
}

void MainWindow::updatePictureStatus() {
    if (m_picture.isNull()) {
        m_statusPicture->clear();
        return;
    }
    const qint64 capacity = CharacterCapacity(m_picture.width(), m_picture.height());
    // What a sealed item may hold beside it: the Sealed Item group works on this picture too.
    const qint64 sealedCapacity = std::max<qint64>(sealed::SealedCapacity(m_picture.width(), m_picture.height(), 0), 0);
    m_statusPicture->setText(QStringLiteral("%1 \u00d7 %2 pixels, holds %3 characters or bytes (sealed: %4 bytes)")
                                 .arg(groupedNumber(m_picture.width()), groupedNumber(m_picture.height()),
                                      groupedNumber(capacity), groupedNumber(sealedCapacity)));
    updateMessageCount();
}

void MainWindow::setOutcomeStatus(const QString& text) {
    // One line: the first line of a longer refusal.
    m_statusOutcome->setText(text.section(u'\n', 0, 0));
}

void MainWindow::updateMessageCount() {
    if (m_picture.isNull()) {
        m_lblCount->clear();
        return;
    }
    const QString text = m_Text1->text();
    const qint64 capacity = CharacterCapacity(m_picture.width(), m_picture.height());
    QString problem;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 128 && kMessageAlphabet.find(static_cast<char>(c.unicode())) != std::string_view::npos)
            continue;
        const QString shown = c.isPrint() ? QStringLiteral("\"%1\"").arg(c)
                                          : QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
        problem = QStringLiteral("character %1, %2, cannot be hidden").arg(i + 1).arg(shown);
        break;
    }
    const qint64 length = text.size();
    if (problem.isEmpty() && length > support::kLongestItem)
        problem = QStringLiteral("at most %1 can be hidden").arg(groupedNumber(support::kLongestItem));
    if (problem.isEmpty() && length > capacity)
        problem = QStringLiteral("%1 too many for this picture").arg(groupedNumber(length - capacity));
    QString count = QStringLiteral("%1 of %2 characters").arg(groupedNumber(length), groupedNumber(capacity));
    if (!problem.isEmpty())
        count += QStringLiteral(": ") + problem;
    m_lblCount->setText(count);
    m_lblCount->setToolTip(count);
    m_lblCount->setStyleSheet(problem.isEmpty() ? QString() : QStringLiteral("color: #b00020;"));
}

}  // namespace stego::shell
