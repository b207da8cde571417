#include "HelpWindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "HelpText.h"
#include "ShellFonts.h"
#include "Twips.h"
#include "WindowPlacement.h"

namespace stego::shell {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Using Corvid Encryption Steganographer"));
    setFont(formFont());
    setFixedSize(twipsToPixels(7020), twipsToPixels(4545));

    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("Text1"));
    text->setGeometry(twipsRect(120, 120, 6735, 3735));
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setReadOnly(true);
    // The box has no scroll bars, so the whole guide must fit: the faces that
    // stand in for the design's run wider, so they are narrowed a little.
    QFont guideFont = formFont();
    guideFont.setStretch(QFont::SemiCondensed);
    text->setFont(guideFont);
    text->document()->setDocumentMargin(2);
    // The guide's lines end in CR LF; the box breaks lines at LF alone.
    text->setPlainText(BuildHelpText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("Command1"));
    done->setGeometry(twipsRect(3000, 4080, 1095, 375));
    connect(done, &QPushButton::clicked, this, &QDialog::close);

    setTabOrder(text, done);
    centreOnScreen(*this);
}

}  // namespace stego::shell
