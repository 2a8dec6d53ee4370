#pragma once
// The QR code of a text, as the slips print it and the live window shows it:
// one encoding (libqrencode, medium error correction) for both.

#include <string>
#include <vector>

namespace tabry::paper {

// The dark modules of the QR code of `text` (UTF-8), row by row; empty for
// an empty text, one too long for a QR code, or a build without libqrencode.
std::vector<std::vector<bool>> QrModules(const std::string& text);

} // namespace tabry::paper
