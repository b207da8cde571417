// The sealed item's controls, beside the classic ones: a masked passphrase with
// a Show toggle and a strength hint, and the sealed commands on the window's
// picture. Self-contained, so that a window only places it and hands it a host.
#pragma once

#include <QGroupBox>
#include <QImage>
#include <functional>
#include <string_view>

#include "ShellServices.h"
#include "sealed/HeaderCost.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sealed {
class SealedCrypto;
struct SealedServices;
}  // namespace sealed

namespace stego {
struct Outcome;
}

namespace stego::shell {

/// What the panel works on, all owned by the window around it.
struct SealedPanelHost {
    QImage& picture;                       // the carrier picture, changed in place when an item is sealed
    QLineEdit& messageBox;                 // sealed from, and opened into
    std::function<void()> pictureChanged;  // after the pixels changed
    // The window's own questions and saving, where it has them: whether an
    // existing file may be replaced, and Save Image As for Save Picture.
    std::function<bool(const QString& path)> confirmReplace = {};
    std::function<void()> savePicture = {};
};

/// How the panel seals. The program leaves both as they are; tests hand in a
/// seeded crypto and the cheapest key derivation.
struct SealedPanelCrypto {
    sealed::SealedCrypto* crypto = nullptr;  // none: a fresh one from the system for each command
    sealed::KdfCost cost = sealed::kDefaultCost;
};

class SealedPanel : public QGroupBox {
    Q_OBJECT
public:
    SealedPanel(ShellServices& services, SealedPanelHost host, QWidget* parent = nullptr,
                SealedPanelCrypto crypto = {});

private:
    void sealMessageClicked();
    void openMessageClicked();
    void sealFileClicked();
    void openFileClicked();
    void savePictureClicked();
    void updateHint();

    using SealedCommand = std::function<Outcome(std::string_view passphrase, sealed::SealedServices&)>;

    /// Refuses an empty passphrase (and says so) before anything is asked or done.
    bool passphraseGiven();
    /// Runs command with the passphrase behind a busy cursor; the passphrase
    /// leaves memory, field included, when it ends. sealing: it changes the picture.
    void runSealed(bool sealing, const SealedCommand& command);
    void showOutcome(const Outcome& outcome, bool sealing);
    void tell(const QString& text);

    ShellServices& m_services;
    SealedPanelHost m_host;
    SealedPanelCrypto m_crypto;

    QLineEdit* m_passphrase = nullptr;
    QCheckBox* m_show = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_sealMessage = nullptr;
    QPushButton* m_openMessage = nullptr;
    QPushButton* m_sealFile = nullptr;
    QPushButton* m_openFile = nullptr;
    QPushButton* m_savePicture = nullptr;
};

}  // namespace stego::shell
