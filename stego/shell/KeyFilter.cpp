#include "KeyFilter.h"

namespace stego::shell {

QString filterKeyText(const QString& text) {
    QString result;
    for (const QChar c : text) {
        // By code, so that digits of other scripts are dropped too.
        if (c >= u'0' && c <= u'9')
            result.append(c);
    }
    if (result == QStringLiteral("0"))
        result.clear();
    return result;
}

}  // namespace stego::shell
