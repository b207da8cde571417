#include "KeyPadWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"

namespace stego::shell {

namespace {

// Caption order left to right; the indexes of "0" and "1" are swapped.
struct DigitPlace {
    const char* caption;
    int index;
    int leftTwips;
};
constexpr std::array<DigitPlace, 10> kDigits{{
    {"0", 1, 240},
    {"1", 0, 600},
    {"2", 2, 960},
    {"3", 3, 1320},
    {"4", 4, 1680},
    {"5", 5, 2040},
    {"6", 6, 2400},
    {"7", 7, 2760},
    {"8", 8, 3120},
    {"9", 9, 3480},
}};

}  // namespace

KeyPadWindow::KeyPadWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmKeyLogDefeat"));
    setWindowTitle(QStringLiteral("Key Logger Defeater"));
    setFont(formFont());
    // A row below the original layout for the hint; wide enough for the title
    // beside a window manager's buttons.
    const int titleWidth = QFontMetrics(QApplication::font()).horizontalAdvance(windowTitle()) * 5 / 4 + 96;
    setFixedSize(std::max(twipsToPixels(4380), titleWidth), twipsToPixels(1635) + twipsToPixels(255));

    m_lbKey = new QLabel(this);
    m_lbKey->setObjectName(QStringLiteral("lbKey"));
    m_lbKey->setFont(keyFont());
    m_lbKey->setAutoFillBackground(true);
    QPalette white = m_lbKey->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    m_lbKey->setPalette(white);
    m_lbKey->setGeometry(twipsRect(480, 120, 3615, 255));

    m_Command2 = new QPushButton(QStringLiteral("<--"), this);
    m_Command2->setObjectName(QStringLiteral("Command2"));
    m_Command2->setGeometry(twipsRect(3840, 600, 375, 255));
    connect(m_Command2, &QPushButton::clicked, this, &KeyPadWindow::onBackspace);

    m_Command3 = new QPushButton(QStringLiteral("Done"), this);
    m_Command3->setObjectName(QStringLiteral("Command3"));
    m_Command3->setGeometry(twipsRect(2040, 1080, 855, 375));
    connect(m_Command3, &QPushButton::clicked, this, &QDialog::accept);

    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(twipsRect(3000, 1080, 855, 375));
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_lbHint = new QLabel(this);
    m_lbHint->setObjectName(QStringLiteral("lbHint"));
    m_lbHint->setGeometry(twipsRect(120, 1560, 4140, 255));

    for (const DigitPlace& digit : kDigits) {
        const QString caption = QString::fromLatin1(digit.caption);
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("cmdNum"));
        button->setProperty("Index", digit.index);
        button->setGeometry(twipsRect(digit.leftTwips, 600, 255, 255));
        // The buttons are a single digit wide; the usual margins would hide it.
        button->setStyleSheet(QStringLiteral("padding: 0px;"));
        // The clicked button's caption, not its index, goes into the key.
        connect(button, &QPushButton::clicked, this, [this, caption] { onDigit(caption); });
        m_cmdNum.at(static_cast<std::size_t>(digit.index)) = button;
    }

    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    // Tab order: "<--", "Done", then the digits by index.
    QWidget* previous = m_Command2;
    setTabOrder(previous, m_Command3);
    previous = m_Command3;
    for (QPushButton* button : m_cmdNum) {
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, m_cmdCancel);

    centreOnScreen(*this);
    // Opening: every opening starts from an empty key.
    setKey(QString());
}

void KeyPadWindow::onDigit(const QString& caption) {
    if (m_lbKey->text().size() >= kLongestKey) {
        m_lbHint->setText(QStringLiteral("A key has at most %1 digits.").arg(kLongestKey));
        return;
    }
    m_lbHint->clear();
    QString key = m_lbKey->text() + caption;
    // A key cannot begin with 0; a 0 after another digit stays.
    if (key == QStringLiteral("0"))
        key.clear();
    setKey(key);
}

void KeyPadWindow::onBackspace() {
    m_lbHint->clear();
    QString key = m_lbKey->text();
    key.chop(1);
    setKey(key);
}

void KeyPadWindow::setKey(const QString& key) {
    m_lbKey->setText(key);
    m_padKey = key;
}

QString KeyPadWindow::takePadKey() {
    QString key = m_padKey;
    m_padKey.fill(QChar(u'\0'));
    m_padKey.clear();
    m_lbKey->clear();
    return key;
}

KeyPadWindow::~KeyPadWindow() { m_padKey.fill(QChar(u'\0')); }

}  // namespace stego::shell
