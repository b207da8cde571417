#include "SealedPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <optional>

#include "BusyCursor.h"
#include "EngineText.h"
#include "ObjectNames.h"
#include "PassphraseHint.h"
#include "Refusal.h"
#include "engine/Outcome.h"
#include "platform/ImageCarrier.h"
#include "platform/PictureFile.h"
#include "platform/SodiumCrypto.h"
#include "sealed/SealedCommands.h"
#include "support/ClearedOnExit.h"
#include "support/SecureClear.h"

namespace stego::shell {

namespace {

const QString kEmptyPassphrase = QStringLiteral("The passphrase is empty; a sealed item needs one.");
const QString kSealedPictureFilter = QStringLiteral("Pictures (*.png;*.bmp)|*.png;*.bmp");

// The passphrase as UTF-8, without a second copy left behind in the conversion.
std::string utf8Of(const QString& text) {
    QByteArray bytes = text.toUtf8();
    std::string utf8(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    support::secureClear(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return utf8;
}

}  // namespace

SealedPanel::SealedPanel(ShellServices& services, SealedPanelHost host, QWidget* parent, SealedPanelCrypto crypto)
    : QGroupBox(QStringLiteral("Sealed Item (passphrase instead of the key)"), parent), m_services(services),
      m_host(std::move(host)), m_crypto(crypto) {
    setObjectName(QStringLiteral("SealedPanel"));

    auto* label = named(new QLabel(QStringLiteral("Passphrase"), this), "lblPassphrase");
    m_passphrase = named(new QLineEdit(this), "txtPassphrase");
    m_passphrase->setEchoMode(QLineEdit::Password);
    label->setBuddy(m_passphrase);
    m_show = named(new QCheckBox(QStringLiteral("Show"), this), "chkShow");
    m_hint = named(new QLabel(this), "lblHint");
    m_hint->setMinimumWidth(
        m_hint->fontMetrics().horizontalAdvance(QStringLiteral("Short: 11 of 12 characters, easy to guess")));

    m_sealMessage = named(new QPushButton(QStringLiteral("Seal Message"), this), "cmdSealMessage");
    m_openMessage = named(new QPushButton(QStringLiteral("Open Message"), this), "cmdOpenMessage");
    m_sealFile = named(new QPushButton(QStringLiteral("Seal File"), this), "cmdSealFile");
    m_openFile = named(new QPushButton(QStringLiteral("Open File"), this), "cmdOpenFile");
    m_savePicture = named(new QPushButton(QStringLiteral("Save Picture"), this), "cmdSavePicture");
    m_savePicture->setToolTip(QStringLiteral("Saves the picture as PNG or BMP; JPEG would destroy the item"));

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setVerticalSpacing(3);
    auto* passphraseRow = new QHBoxLayout;
    passphraseRow->setSpacing(6);
    passphraseRow->addWidget(label);
    passphraseRow->addWidget(m_passphrase, 1);
    passphraseRow->addWidget(m_show);
    passphraseRow->addWidget(m_hint);
    layout->addLayout(passphraseRow, 0, 0);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(4);
    for (QPushButton* button : {m_sealMessage, m_openMessage, m_sealFile, m_openFile, m_savePicture})
        buttonRow->addWidget(button);
    layout->addLayout(buttonRow, 1, 0);

    connect(m_passphrase, &QLineEdit::textChanged, this, &SealedPanel::updateHint);
    connect(m_show, &QCheckBox::toggled, this,
            [this](bool shown) { m_passphrase->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password); });
    connect(m_sealMessage, &QPushButton::clicked, this, &SealedPanel::sealMessageClicked);
    connect(m_openMessage, &QPushButton::clicked, this, &SealedPanel::openMessageClicked);
    connect(m_sealFile, &QPushButton::clicked, this, &SealedPanel::sealFileClicked);
    connect(m_openFile, &QPushButton::clicked, this, &SealedPanel::openFileClicked);
    connect(m_savePicture, &QPushButton::clicked, this, &SealedPanel::savePictureClicked);
    updateHint();
}

void SealedPanel::updateHint() {
    const PassphraseHint hint = passphraseHint(m_passphrase->text());
    m_hint->setText(hint.text);
    // The words say it; the colour only underlines a short passphrase, and an
    // empty field (where every session starts) is no alarm. A palette, not a
    // style sheet, so that the label keeps the window's font.
    QPalette colours = palette();
    if (hint.level == PassphraseHint::Level::Refused)
        colours.setColor(QPalette::WindowText, colours.color(QPalette::PlaceholderText));
    else if (hint.level == PassphraseHint::Level::Short)
        colours.setColor(QPalette::WindowText, QColor(0xA0, 0x10, 0x10));
    m_hint->setPalette(colours);
}

void SealedPanel::sealMessageClicked() {
    if (!passphraseGiven())
        return;
    std::string message = utf8Of(m_host.messageBox.text());
    const support::ClearedOnExit clearMessage(message);
    runSealed(true, [&](std::string_view passphrase, sealed::SealedServices& sealedServices) {
        platform::ImageCarrier carrier(m_host.picture);
        return sealed::SealMessage(carrier, passphrase, message, sealedServices);
    });
}

void SealedPanel::openMessageClicked() {
    if (!passphraseGiven())
        return;
    runSealed(false, [&](std::string_view passphrase, sealed::SealedServices& sealedServices) {
        const platform::ImageCarrier carrier(m_host.picture);
        return sealed::OpenMessage(carrier, passphrase, sealedServices);
    });
}

void SealedPanel::sealFileClicked() {
    if (!passphraseGiven())
        return;
    const auto path =
        m_services.fileDialogs.choose(window(), {platform::FileDialogRequest::Mode::Open, QString(), QString()});
    if (!path)
        return;
    const std::string source = toEnginePath(*path);
    runSealed(true, [&](std::string_view passphrase, sealed::SealedServices& sealedServices) {
        platform::ImageCarrier carrier(m_host.picture);
        return sealed::SealFile(carrier, passphrase, source, sealedServices);
    });
}

void SealedPanel::openFileClicked() {
    if (!passphraseGiven())
        return;
    const auto path =
        m_services.fileDialogs.choose(window(), {platform::FileDialogRequest::Mode::Save, QString(), QString()});
    if (!path || (m_host.confirmReplace && !m_host.confirmReplace(*path)))
        return;
    const std::string destination = toEnginePath(*path);
    runSealed(false, [&](std::string_view passphrase, sealed::SealedServices& sealedServices) {
        const platform::ImageCarrier carrier(m_host.picture);
        return sealed::OpenFile(carrier, passphrase, destination, sealedServices);
    });
}

void SealedPanel::savePictureClicked() {
    if (m_host.savePicture) {
        m_host.savePicture();
        return;
    }
    const auto path = m_services.fileDialogs.choose(
        window(), {platform::FileDialogRequest::Mode::Save, kSealedPictureFilter, QString()});
    if (!path)
        return;
    std::optional<Refusal> refusal;
    {
        const BusyCursor busy;
        refusal = refusalOf([&] { platform::savePicture(m_host.picture, toEnginePath(*path)); }, *path);
    }
    if (refusal)
        tell(QStringLiteral("The picture was not saved.\n") + errorText(refusal->number, refusal->message));
}

bool SealedPanel::passphraseGiven() {
    if (!m_passphrase->text().isEmpty())
        return true;
    tell(kEmptyPassphrase);
    m_passphrase->setFocus();
    return false;
}

void SealedPanel::runSealed(bool sealing, const SealedCommand& command) {
    std::string passphrase = utf8Of(m_passphrase->text());
    const support::ClearedOnExit clearPassphrase(passphrase);
    // The field goes too (setText, unlike clear, also drops its undo history):
    // the passphrase lives no longer than the command that used it.
    m_passphrase->setText(QString());

    Outcome outcome;
    std::optional<Refusal> refusal;
    {
        // The key derivation takes a noticeable moment.
        const BusyCursor busy;
        refusal = refusalOf([&] {
            std::optional<platform::SodiumCrypto> systemCrypto;
            sealed::SealedCrypto* crypto = m_crypto.crypto;
            if (!crypto)
                crypto = &systemCrypto.emplace();
            sealed::SealedServices sealedServices{*crypto, m_services.engine.files, m_crypto.cost,
                                                  m_services.engine.groupSeparator};
            outcome = command(passphrase, sealedServices);
        });
    }
    if (refusal)
        outcome = Outcome{OutcomeKind::Error, refusal->number, refusal->message.toStdString(), {}, 0};
    showOutcome(outcome, sealing);
    support::secureClear(outcome.text);
}

void SealedPanel::showOutcome(const Outcome& outcome, bool sealing) {
    const QString message = fromEngineMessage(outcome.message);
    switch (outcome.kind) {
    case OutcomeKind::Done:
        if (sealing && m_host.pictureChanged)
            m_host.pictureChanged();
        if (!outcome.text.empty())
            tell(message +
                 QStringLiteral("\nIt was sealed under the name %1.")
                     .arg(QString::fromUtf8(outcome.text.data(), static_cast<qsizetype>(outcome.text.size()))));
        else if (!message.isEmpty())
            tell(message);
        break;
    case OutcomeKind::TextExtracted:
        m_host.messageBox.setText(QString::fromUtf8(outcome.text.data(), static_cast<qsizetype>(outcome.text.size())));
        break;
    case OutcomeKind::CapacityShortfall:
        m_services.messageBoxes.tell(window(), message, platform::MessageBoxes::Icon::Stop);
        break;
    case OutcomeKind::NoItem: tell(QString::fromLatin1(sealed::kNoSealedItem)); break;
    case OutcomeKind::Incomplete: tell(message); break;
    case OutcomeKind::Error: tell(errorText(outcome.number, message)); break;
    }
}

void SealedPanel::tell(const QString& text) {
    m_services.messageBoxes.tell(window(), text, platform::MessageBoxes::Icon::None);
}

}  // namespace stego::shell
