#include "AboutWindow.h"

#include <QLabel>

#include "ProgramNotices.h"
#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"

namespace stego::shell {

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Corvid Encryption Steganographer"));
    setFont(formFont());
    setFixedSize(twipsToPixels(5940), twipsToPixels(3195));

    auto* title = new QLabel(QStringLiteral("Corvid Steganographer"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setFont(titleFont(26.25));
    title->setGeometry(twipsRect(120, 120, 5775, 615));

    auto* notice = new QLabel(legalNotice(), this);
    notice->setObjectName(QStringLiteral("Label2"));
    notice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    notice->setGeometry(twipsRect(840, 840, 4095, 375));

    auto* note = new QLabel(distributionNote(), this);
    note->setObjectName(QStringLiteral("Label3"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setGeometry(twipsRect(840, 1800, 4215, 855));

    centreOnScreen(*this);
}

}  // namespace stego::shell
