#include "AboutWindow.h"

#include "NoticeLabels.h"
#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"

namespace stego::shell {

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Corvid Encryption Steganographer"));
    setFont(formFont());
    setFixedSize(twipsToPixels(5940), twipsToPixels(3195));

    addNoticeLabels(*this, twipsRect(120, 120, 5775, 615), 26.25);

    centreOnScreen(*this);
}

}  // namespace stego::shell
