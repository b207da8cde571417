// The key pad ("Key Logger Defeater"): ten digit buttons on which the key is
// entered by mouse, so that nothing of it passes through the keyboard.
#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QPushButton;

namespace stego::shell {

class KeyPadWindow : public QDialog {
    Q_OBJECT
public:
    explicit KeyPadWindow(QWidget* parent = nullptr);
    /// Clears the key typed on the pad, which nothing else should keep.
    ~KeyPadWindow() override;

    /// The key typed so far (PadKey).
    const QString& PadKey() const { return m_padKey; }
    /// Hands the key over to the key box and clears the pad's copy.
    QString takePadKey();

    /// The longest key the key box takes.
    static constexpr int kLongestKey = 18;

    /// The digit button of an index (0 carries "1" and 1 carries "0").
    QPushButton* digitButton(int index) const { return m_cmdNum.at(static_cast<std::size_t>(index)); }

private:
    void onDigit(const QString& caption);
    void onBackspace();
    void setKey(const QString& key);

    QLabel* m_lbKey = nullptr;
    QLabel* m_lbHint = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_Command2 = nullptr;
    QPushButton* m_Command3 = nullptr;
    std::array<QPushButton*, 10> m_cmdNum{};
    QString m_padKey;
};

}  // namespace stego::shell
