#include "core/ReportCode.h"

#include "text/Cp932.h"

#include <sodium.h>

#include <array>
#include <cstdint>
#include <stdexcept>

namespace tabry {

namespace {

constexpr size_t kKeyBytes = 16;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// libsodium must be set up once before its random source is used; a failure
// there means the system has no secure random source, and no key may be made.
void EnsureSodium()
{
    static const int ready = sodium_init();
    if (ready < 0)
        throw std::runtime_error("libsodium could not be initialised");
}

} // namespace

bool IsReportingKey(std::string_view key)
{
    if (key.size() != 2 * kKeyBytes)
        return false;
    for (const char c : key)
        if (HexValue(c) < 0)
            return false;
    return true;
}

std::string NewReportingKey()
{
    EnsureSodium();
    std::array<unsigned char, kKeyBytes> bytes{};
    randombytes_buf(bytes.data(), bytes.size());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string key;
    for (const unsigned char b : bytes) {
        key += kHex[b >> 4];
        key += kHex[b & 15];
    }
    return key;
}

std::string ReportCode(std::string_view key, int round, int board)
{
    if (!IsReportingKey(key))
        return {};
    std::array<unsigned char, kKeyBytes> keyBytes{};
    for (size_t i = 0; i < kKeyBytes; ++i)
        keyBytes[i] = static_cast<unsigned char>(HexValue(key[2 * i]) << 4 | HexValue(key[2 * i + 1]));
    const std::string message = std::to_string(round) + "/" + std::to_string(board);
    std::array<unsigned char, crypto_auth_hmacsha256_BYTES> mac{};
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, keyBytes.data(), keyBytes.size());
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(message.data()), message.size());
    crypto_auth_hmacsha256_final(&state, mac.data());
    sodium_memzero(&state, sizeof state);
    std::uint64_t bits = 0;
    for (size_t i = 0; i < 5; ++i)
        bits = bits << 8 | mac[i];
    std::string code(kReportCodeLength, ' ');
    for (size_t i = 0; i < kReportCodeLength; ++i)
        code[i] = kReportCodeAlphabet[(bits >> (35 - 5 * i)) & 31];
    return code;
}

std::string ShownReportCode(std::string_view code)
{
    if (code.size() != kReportCodeLength)
        return std::string(code);
    return std::string(code.substr(0, 4)) + "-" + std::string(code.substr(4));
}

std::string FoldWideAscii(std::string_view utf8)
{
    std::string out;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t from = pos;
        bool ok = true;
        const char32_t ch = cp932::NextUtf8(utf8, pos, ok);
        if (!ok) {
            out.append(utf8.substr(from, pos - from));
        } else if (ch >= 0xFF01 && ch <= 0xFF5E) {
            out += static_cast<char>(ch - 0xFEE0);
        } else if ((ch >= 0x2010 && ch <= 0x2015) || ch == 0x2212 || ch == 0x30FC || ch == 0xFF70) {
            out += '-';
        } else if (ch == 0x3000) {
            out += ' ';
        } else {
            out.append(utf8.substr(from, pos - from));
        }
    }
    return out;
}

std::optional<std::string> NormalizeReportCode(std::string_view typed)
{
    const std::string folded = FoldWideAscii(typed);
    std::string code;
    for (char c : folded) {
        if (c == '-' || c == ' ' || c == '\t')
            continue;
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (kReportCodeAlphabet.find(c) == std::string_view::npos || code.size() == kReportCodeLength)
            return std::nullopt;
        code += c;
    }
    if (code.size() != kReportCodeLength)
        return std::nullopt;
    return code;
}

} // namespace tabry

namespace tabry {

bool IsReportCode(std::string_view key, int round, int board, std::string_view typed)
{
    const std::optional<std::string> code = NormalizeReportCode(typed);
    const std::string want = ReportCode(key, round, board);
    return code && !want.empty() && code->size() == want.size()
           && sodium_memcmp(code->data(), want.data(), want.size()) == 0;
}

} // namespace tabry
