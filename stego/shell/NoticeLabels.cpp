#include "NoticeLabels.h"

#include <QLabel>

#include "ProgramNotices.h"
#include "ShellFonts.h"
#include "Twips.h"

namespace stego::shell {

void addNoticeLabels(QWidget& window, QRect titleGeometry, double titlePoints) {
    auto* title = new QLabel(QStringLiteral("Corvid Steganographer"), &window);
    title->setObjectName(QStringLiteral("Label1"));
    title->setFont(titleFont(titlePoints));
    title->setGeometry(titleGeometry);

    auto* notice = new QLabel(legalNotice(), &window);
    notice->setObjectName(QStringLiteral("Label2"));
    notice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    notice->setGeometry(twipsRect(840, 840, 4095, 375));

    auto* note = new QLabel(distributionNote(), &window);
    note->setObjectName(QStringLiteral("Label3"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setGeometry(twipsRect(840, 1800, 4215, 855));
}

}  // namespace stego::shell
