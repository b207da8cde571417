// The options of one pixquill-cli sub-command, as parsed from the command line.
#pragma once

#include <string>

namespace stego::cli {

struct CliRequest {
    std::string image;     // --image IN
    std::string output;    // --output OUT or DEST
    std::string input;     // --input SRC (encrypt-file, decrypt-file)
    std::string file;      // --file SRC (hide-file)
    std::string key;       // --key DIGITS, or the key read through --key-file or --key -
    std::string keyFile;   // --key-file FILE
    std::string text;      // --text TEXT
    std::string textFile;  // --text-file FILE
    bool keyGiven = false;
    bool keyFileGiven = false;
    bool textGiven = false;
    bool textFileGiven = false;
    std::string passphraseFile;  // --passphrase-file FILE (a sealed item)
    bool passphraseFileGiven = false;
    bool seal = false;  // --seal
};

}  // namespace stego::cli
