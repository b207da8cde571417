#include "MainWindow.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <new>

#include "AboutWindow.h"
#include "BusyCursor.h"
#include "CarrierView.h"
#include "EngineText.h"
#include "HelpWindow.h"
#include "KeyFilter.h"
#include "KeyPadWindow.h"
#include "LayoutPicture.h"
#include "Refusal.h"
#include "SealedPanel.h"
#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "engine/Failure.h"
#include "engine/Outcome.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "support/ClearedOnExit.h"
#include "support/ErrorNumbers.h"

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

QString errorText(int number, const QString& message) {
    return QStringLiteral("Error %1: %2").arg(number).arg(message);
}

QString errorText(const Refusal& refusal) { return errorText(refusal.number, refusal.message); }

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

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
    setTabOrderOfControls();

    resize(twipsToPixels(12495), twipsToPixels(5970) + menuBar()->sizeHint().height());
    centreOnScreen(*this);
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

    // The sealed item's panel, under the picture: a passphrase in place of the
    // key, on the same picture and message area; the classic controls stay as they are.
    auto* sealedPanel = new SealedPanel(m_services, {m_picture, *m_Text1, [this] { m_Picture2->update(); }}, client);
    sealedPanel->setGeometry(twipsRect(0, 4860, 7110, 1110));

    connect(m_Command1, &QPushButton::clicked, this, &MainWindow::insertMessageClicked);
    connect(m_Command2, &QPushButton::clicked, this, &MainWindow::extractMessageClicked);
    connect(m_Command3, &QPushButton::clicked, this, &MainWindow::clearClicked);
    connect(m_Command4, &QPushButton::clicked, this, &MainWindow::insertDataClicked);
    connect(m_Command6, &QPushButton::clicked, this, &MainWindow::selectFileToHideClicked);
    connect(m_Command7, &QPushButton::clicked, this, &MainWindow::selectExtractDestinationClicked);
    connect(m_Command8, &QPushButton::clicked, this, &MainWindow::extractDataClicked);
}

void MainWindow::buildMenu() {
    QMenu* fle = menuBar()->addMenu(QStringLiteral("File"));
    fle->setObjectName(QStringLiteral("fle"));
    named(fle->addAction(QStringLiteral("Open Image"), this, &MainWindow::openImage), "fleop");
    named(fle->addAction(QStringLiteral("Save Image"), this, &MainWindow::saveImage), "flesve");
    named(fle->addSeparator(), "div");
    named(fle->addAction(QStringLiteral("Exit"), this, [this] { m_services.endProgram(); }), "fleext");

    QMenu* hpl = menuBar()->addMenu(QStringLiteral("Help"));
    hpl->setObjectName(QStringLiteral("hpl"));
    named(hpl->addAction(QStringLiteral("Using Corvid Stenographer"), this, &MainWindow::showHelp), "hlpus");
    named(hpl->addAction(QStringLiteral("About Corvid Stenographer"), this, &MainWindow::showAbout), "hlpst");
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

bool MainWindow::startUp() {
    m_txtKey->clear();
    m_txtFile->clear();
    m_txtDecFile->clear();
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
    if (loaded.format() != QImage::Format_RGB32)
        loaded.convertTo(QImage::Format_RGB32);
    m_picture = std::move(loaded);
    m_Picture2->showPicture(&m_picture);
    m_Text1->clear();
    LayoutPicture();
    return true;
}

void MainWindow::LayoutPicture() {
    const PictureLayout layout = stego::shell::LayoutPicture(m_Picture1->size(), m_Picture2->size());
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
    const auto path = m_Dialog1.showOpen(this);
    if (path)
        openPicture(*path);
}

void MainWindow::saveImage() {
    const auto path = m_Dialog2.showSave(this);
    if (!path)
        return;
    std::optional<Refusal> refusal;
    {
        const BusyCursor busy;
        refusal = refusalOf([&] { platform::savePictureAsBmp(m_picture, toEnginePath(*path)); }, *path);
    }
    if (refusal)
        tell(QStringLiteral("The picture was not saved.\n") + errorText(*refusal));
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
    // The pad's key replaces the box's text, also when it is empty.
    m_txtKey->setText(pad.takePadKey());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_txtKey && event->type() == QEvent::MouseButtonDblClick) {
        exchangeWithKeyPad();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::confirmDefaultKey(const QString& question) {
    if (!m_txtKey->text().isEmpty())
        return true;
    return m_services.messageBoxes.askYesNo(this, question);
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
    runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return InsertMessage(carrier, key, *message, pass, m_services.engine);
    });
}

void MainWindow::extractMessageClicked() {
    if (!confirmDefaultKey(kExtractKeyQuestion))
        return;
    std::string key = keyText();
    const support::ClearedOnExit clearKey(key);
    runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return ExtractMessage(carrier, key, pass, m_services.engine);
    });
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
    runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return InsertFile(carrier, key, source, pass, m_services.engine);
    });
}

void MainWindow::extractDataClicked() {
    if (m_txtDecFile->text().isEmpty()) {
        tell(kMissingExtractDestination);
        return;
    }
    // The same question as for hiding a file.
    if (!confirmDefaultKey(kInsertKeyQuestion))
        return;
    std::string key = keyText();
    const support::ClearedOnExit clearKey(key);
    const std::string destination = toEnginePath(m_txtDecFile->text());
    runEngineCommand([&](std::string& pass) {
        platform::ImageCarrier carrier(m_picture);
        return ExtractFile(carrier, key, destination, pass, m_services.engine);
    });
}

void MainWindow::selectFileToHideClicked() {
    if (const auto path = m_CommonDialog1.showOpen(this))
        m_txtFile->setText(*path);
}

void MainWindow::selectExtractDestinationClicked() {
    if (const auto path = m_CommonDialog1.showSave(this))
        m_txtDecFile->setText(*path);
}

void MainWindow::runEngineCommand(const std::function<Outcome(std::string& pass)>& command) {
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
    m_Picture2->update();
    showOutcome(outcome);
    // The message box now holds an extracted message; this copy goes.
    support::secureClear(outcome.text);
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
    if (suffix != QStringLiteral("bmp") && suffix != QStringLiteral("jpg") && suffix != QStringLiteral("jpeg"))
        return {};
    return path;
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
    openPicture(path);
}

}  // namespace stego::shell
