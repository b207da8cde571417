#include "HelpText.h"

namespace stego::shell {

QString BuildHelpText() {
    const QString crlf = QStringLiteral("\r\n");
    QString text;
    text += QStringLiteral("Using Stenographer:") + crlf;
    text += QStringLiteral("When the program starts up it will prompt you for an image file to process.  After you ");
    text +=
        QStringLiteral("select the image file, you can either insert a text message, extract a text message, embed ");
    text += QStringLiteral(
        "a file into the image or extract a file from the image, depending on what image is loaded, but ");
    text +=
        QStringLiteral("be aware that if you load an image that contains a message or file and insert a message or ");
    text += QStringLiteral("file into it, it will overwrite the existing contents to the new insertion.") + crlf + crlf;
    text +=
        QStringLiteral("You can save the image by clicking File/Save Image.  You can load another image by clicking ");
    text += QStringLiteral("File/Open Image.") + crlf + crlf;
    text += QStringLiteral("You can (and should) define a Key for the encryption process.  This can be any number of ");
    text += QStringLiteral(
        "digits (up to 18 digits in length) but use at least six to insure a secure encryption.  If you ");
    text +=
        QStringLiteral("don't supply a key, a default key is used and can be extracted by anyone with this program.") +
        crlf + crlf;
    text += QStringLiteral("Enjoy!") + crlf;
    text += QStringLiteral("Written by the Pixquill developers") + crlf;
    text += QStringLiteral("Made by the Pixquill project") + crlf;
    text += QStringLiteral("Contact: pixquill@example.org") + crlf;
    return text;
}

}  // namespace stego::shell
