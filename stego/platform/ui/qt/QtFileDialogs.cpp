#include "platform/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace stego::platform {

namespace {

// "Description (*.a;*.b)" and "*.a;*.b" -> "Description (*.a *.b)".
QString qtFilterEntry(QString description, const QString& patterns) {
    description = description.trimmed();
    // Qt takes the patterns from the last parentheses, separated by spaces.
    const qsizetype paren = description.lastIndexOf(u'(');
    if (paren > 0)
        description = description.left(paren).trimmed();
    return description + QStringLiteral(" (") + patterns.split(u';', Qt::SkipEmptyParts).join(u' ') + u')';
}

// The ending of a filter entry's first pattern ("PNG (*.png)" -> "png").
QString firstSuffixOf(const QString& qtEntry) {
    const qsizetype star = qtEntry.indexOf(QStringLiteral("*."));
    if (star < 0)
        return {};
    QString suffix = qtEntry.mid(star + 2);
    const qsizetype end = suffix.indexOf(QRegularExpression(QStringLiteral("[ ;)]")));
    return end < 0 ? suffix : suffix.left(end);
}

}  // namespace

QString QtFileDialogs::qtNameFilter(const QString& filter) {
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2)
        return filter;
    // Pairs of description and patterns, one entry of the dialog's list each.
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append(qtFilterEntry(parts[i], parts[i + 1]));
    return entries.join(QStringLiteral(";;"));
}

std::optional<QString> QtFileDialogs::choose(QWidget* parent, const FileDialogRequest& request) {
    const QString nameFilter = qtNameFilter(request.filter);
    QString chosen;
    if (request.mode == FileDialogRequest::Mode::Open) {
        chosen = QFileDialog::getOpenFileName(parent, {}, request.initialName, nameFilter);
    } else {
        // The windows ask before replacing a file themselves, in the same words
        // whichever dialog chose the name; asking here too would ask twice.
        QString selectedFilter;
        chosen = QFileDialog::getSaveFileName(parent, {}, request.initialName, nameFilter, &selectedFilter,
                                              QFileDialog::DontConfirmOverwrite);
        // A name typed without an ending takes the chosen type's.
        if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty()) {
            const QString suffix = firstSuffixOf(selectedFilter);
            if (!suffix.isEmpty())
                chosen += u'.' + suffix;
        }
    }
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

}  // namespace stego::platform
