// Choosing a file to open or a name to save under; the windows ask through this
// so that tests can answer with scripted names instead of a real dialog.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace stego::platform {

/// What one file dialog is asked to show. The filter is "description|patterns"
/// with patterns separated by ";" (empty: every file); further pairs follow
/// after another "|", the first being the one offered.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString filter;
    QString initialName;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    /// The chosen path, or nothing when the user cancels.
    virtual std::optional<QString> choose(QWidget* parent, const FileDialogRequest& request) = 0;
};

}  // namespace stego::platform
