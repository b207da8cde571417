// Questions and messages for the user; the windows show them through this so
// that tests can answer with scripted buttons instead of a real box.
#pragma once

#include <QString>

class QWidget;

namespace stego::platform {

class MessageBoxes {
public:
    enum class Icon { None, Stop };
    /// The button that Enter presses.
    enum class Default { Yes, No };
    /// The answers to a question about unsaved changes.
    enum class UnsavedChoice { Save, Discard, Cancel };

    virtual ~MessageBoxes() = default;
    /// A Yes/No question without an icon; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text, Default preferred = Default::Yes) = 0;
    /// Save / Discard / Cancel, with Save as the default and Escape as Cancel.
    virtual UnsavedChoice askUnsaved(QWidget* parent, const QString& text) = 0;
    /// A message with an OK button only.
    virtual void tell(QWidget* parent, const QString& text, Icon icon = Icon::None) = 0;
};

}  // namespace stego::platform
