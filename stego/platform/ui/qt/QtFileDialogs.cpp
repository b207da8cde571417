#include "platform/QtFileDialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace stego::platform {

QString QtFileDialogs::qtNameFilter(const QString& filter) {
    if (filter.isEmpty())
        return {};
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString description = filter.left(bar).trimmed();
    // Qt takes the patterns from the last parentheses, separated by spaces.
    const qsizetype paren = description.lastIndexOf(u'(');
    if (paren > 0)
        description = description.left(paren).trimmed();
    const QStringList patterns = filter.mid(bar + 1).split(u';', Qt::SkipEmptyParts);
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

std::optional<QString> QtFileDialogs::choose(QWidget* parent, const FileDialogRequest& request) {
    const QString nameFilter = qtNameFilter(request.filter);
    QString chosen;
    if (request.mode == FileDialogRequest::Mode::Open) {
        chosen = QFileDialog::getOpenFileName(parent, {}, request.initialName, nameFilter);
    } else {
        // Saving replaces an existing file without asking, as the commands expect.
        chosen = QFileDialog::getSaveFileName(parent, {}, request.initialName, nameFilter, nullptr,
                                              QFileDialog::DontConfirmOverwrite);
    }
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

}  // namespace stego::platform
