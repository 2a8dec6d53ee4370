#include "paper/QrCode.h"

#if defined(TABRY_WITH_QRENCODE)
#include <qrencode.h>
#endif

#include <memory>

namespace tabry::paper {

std::vector<std::vector<bool>> QrModules(const std::string& text)
{
#if !defined(TABRY_WITH_QRENCODE)
    (void)text;
    return {};
#else
    if (text.empty())
        return {};
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(QRcode_encodeString8bit(text.c_str(), 0, QR_ECLEVEL_M),
                                                    &QRcode_free);
    if (!code)
        return {};
    const int n = code->width;
    std::vector<std::vector<bool>> modules(static_cast<size_t>(n), std::vector<bool>(static_cast<size_t>(n)));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            modules[static_cast<size_t>(y)][static_cast<size_t>(x)] = (code->data[y * n + x] & 1) != 0; // bit 0: dark
    return modules;
#endif
}

} // namespace tabry::paper
