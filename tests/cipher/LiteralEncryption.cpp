#include "LiteralEncryption.h"

#include "cipher/CipherError.h"

namespace corvid {

namespace {

// 1-based position of the first occurrence of symbol in text, 0 when absent.
int positionIn(const std::string& text, char symbol) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == symbol) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

[[noreturn]] void fail(int number) { throw CipherError(number, "literal machine error"); }

}  // namespace

std::string literalTextAlphabet() {
    std::string alphabet;
    for (char ch = 'a'; ch <= 'z'; ++ch)
        alphabet += ch;
    for (char ch = 'A'; ch <= 'Z'; ++ch)
        alphabet += ch;
    for (char ch = '0'; ch <= '9'; ++ch)
        alphabet += ch;
    alphabet += "()!@$^*-=[]{};:";
    alphabet += ' ';
    alphabet += ",<.>|'";
    return alphabet;
}

std::int32_t LiteralEncryption::InitText(std::string& key) { return setUp(key, true); }

std::int32_t LiteralEncryption::InitBinary(std::string& key) { return setUp(key, false); }

std::int32_t LiteralEncryption::setUp(std::string& key, bool textMode) {
    const int M = textMode ? 84 : 256;
    const int N = textMode ? 84 : 255;
    const int S = textMode ? 250 : 500;

    if (key.empty())
        return 99;
    for (char ch : key) {
        if (ch < '0' || ch > '9')
            fail(5);
    }
    while (key.size() < 18)
        key = key + key;
    key = key.substr(0, 18);

    std::vector<int> KeyValues(36865, 0);
    for (int p = 1; p <= 9; ++p) {
        const std::string pair = key.substr(p - 1, 1) + key.substr(19 - p - 1, 1);
        KeyValues[p] = std::stoi(pair);
    }
    for (int p = 1; p <= 9; ++p)
        KeyValues[9 + p] = KeyValues[p] + 5;
    auto R = [N](int x) {
        while (x > N)
            x -= N;
        return x;
    };
    for (int p = 1; p <= 18; ++p)
        KeyValues[p] = R(KeyValues[p]);
    int c = 18;
    for (int doubling = 1; doubling <= 11; ++doubling) {
        for (int i = 1; i <= c; ++i)
            KeyValues[c + i] = R(KeyValues[i] + i);
        c *= 2;
    }

    std::string deck;
    if (textMode) {
        m_fields.TextAlphabet = literalTextAlphabet();
        deck = m_fields.TextAlphabet;
    } else {
        m_fields.ByteAlphabet.clear();
        for (int v = 0; v <= 255; ++v)
            m_fields.ByteAlphabet += static_cast<char>(v);
        deck = m_fields.ByteAlphabet;
    }
    for (int r = 1; r <= 10; ++r)
        m_fields.Rotor[r].clear();
    int cursor = 0;
    for (int r = 1; r <= 10; ++r) {
        for (int pass = 1; pass <= 5; ++pass) {
            for (int swap = 1; swap <= S; ++swap) {
                cursor = cursor == 36864 ? 1 : cursor + 1;
                int a = KeyValues[cursor];
                cursor = cursor == 36864 ? 1 : cursor + 1;
                int b = KeyValues[cursor];
                if (a == 0)
                    a = N;  // a zero names position N
                if (b == 0)
                    b = N;
                std::swap(deck[a - 1], deck[b - 1]);
            }
            deck = deck.substr(M - 1, 1) + deck.substr(0, M - 1);
        }
        m_fields.Rotor[r] = deck;
    }
    for (int r = 1; r <= 10; ++r) {
        const std::string written = std::to_string(KeyValues[r]);
        const int d1 = written.front() - '0';
        const int d2 = written.back() - '0';
        m_fields.RotorDirection[r] = d1 < 6 ? 0 : 1;
        m_fields.RotorStep[r] = static_cast<std::int16_t>(d2);
    }
    m_fields.RotateAfter = static_cast<std::int16_t>(KeyValues[20]);
    m_fields.SymbolCount = 0;
    m_keyValues = std::move(KeyValues);
    return 0;
}

const std::string& LiteralEncryption::alphabetInForce() const {
    return m_fields.Rotor[1].size() == 84 ? m_fields.TextAlphabet : m_fields.ByteAlphabet;
}

void LiteralEncryption::EncryptByte(std::string& c) {
    if (c.size() != 1)
        fail(5);
    const std::string& A = alphabetInForce();
    std::string symbol = c;
    for (int i = 1; i <= 10; ++i) {
        const int p = positionIn(A, symbol[0]);
        if (p == 0)
            fail(5);
        symbol = m_fields.Rotor[i].substr(p - 1, 1);
    }
    c = symbol;
    advance();
}

void LiteralEncryption::DecryptByte(std::string& c) {
    if (c.size() != 1)
        fail(5);
    const std::string& A = alphabetInForce();
    std::string symbol = c;
    for (int i = 10; i >= 1; --i) {
        const int p = positionIn(m_fields.Rotor[i], symbol[0]);
        if (p == 0)
            fail(5);
        symbol = A.substr(p - 1, 1);
    }
    c = symbol;
    advance();
}

void LiteralEncryption::advance() {
    for (int i = 1; i <= 10; ++i) {
        std::string& rotor = m_fields.Rotor[i];
        const std::size_t M = rotor.size();
        for (int move = 0; move < m_fields.RotorStep[i]; ++move) {
            if (m_fields.RotorDirection[i] == 0) {
                rotor = rotor.substr(M - 1, 1) + rotor.substr(0, M - 1);
            } else {
                rotor = rotor.substr(1) + rotor.substr(0, 1);
            }
        }
    }
    if (m_fields.SymbolCount == 32767)
        fail(6);
    m_fields.SymbolCount = static_cast<std::int16_t>(m_fields.SymbolCount + 1);
    if (m_fields.SymbolCount > m_fields.RotateAfter) {
        const std::string first = m_fields.Rotor[1];
        for (int i = 1; i <= 9; ++i)
            m_fields.Rotor[i] = m_fields.Rotor[i + 1];
        m_fields.Rotor[10] = first;
    }
}

std::string LiteralEncryption::Encrypt(std::string& key, const std::string& encstr) {
    if (InitText(key) == 99)
        return "Error - Missing Key";
    std::string result;
    const std::size_t n = encstr.size();
    for (std::size_t i = 1; i <= n; ++i) {
        std::string c = encstr.substr(i - 1, 1);
        EncryptByte(c);
        result += c;
    }
    return result;
}

std::string LiteralEncryption::Decrypt(std::string& key, const std::string& encstr) {
    if (InitText(key) == 99)
        return "Error - Missing Key";
    std::string result;
    const std::size_t n = encstr.size();
    for (std::size_t i = 1; i <= n; ++i) {
        std::string c = encstr.substr(i - 1, 1);
        DecryptByte(c);
        result += c;
    }
    return result;
}

std::string LiteralEncryption::cipherFileBytes(std::string& key, const std::string& input, bool encipher, int& error) {
    error = 0;
    std::string output;
    if (InitBinary(key) == 99) {
        error = 99;
        return output;
    }
    try {
        for (char byte : input) {
            std::string c(1, byte);
            encipher ? EncryptByte(c) : DecryptByte(c);
            output += c;
        }
    } catch (const CipherError& e) {
        error = e.number();
    }
    return output;
}

}  // namespace corvid
