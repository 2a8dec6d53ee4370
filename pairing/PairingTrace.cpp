#include "pairing/PairingTrace.h"

#include "pairing/PairingMatcher.h"
#include "text/FileIo.h"

#include <cstdio>
#include <system_error>

namespace tabry {

std::filesystem::path DefaultTraceDirectory()
{
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path(".") : dir;
}

std::string FormatCostTrace(const CPairingMatcher& matcher)
{
    const int n = matcher.SlotCount();
    std::string out;
    out.reserve(static_cast<size_t>(n) * (static_cast<size_t>(n) * 7 + 8));
    char buf[24];
    for (int m = 0; m < n; ++m) {
        std::snprintf(buf, sizeof buf, "%02d:", m);
        out += buf;
        for (int b = 0; b < n; ++b) {
            const std::int32_t c = matcher.Cost(m, b);
            std::snprintf(buf, sizeof buf, " %6d", static_cast<int>(c > 999999 ? 999999 : c));
            out += buf;
        }
        out += '\n';
    }
    return out;
}

bool WriteTraceFiles(const PairingTraceOptions& options, std::string_view costTrace, std::string_view stepTrace,
                     std::string* error)
{
    const std::filesystem::path dir = options.directory.empty() ? DefaultTraceDirectory() : options.directory;
    std::string costError;
    std::string stepError;
    const bool costOk = WriteFileAtomically(dir / kCostTraceFileName, costTrace, &costError);
    const bool stepOk = WriteFileAtomically(dir / kStepTraceFileName, stepTrace, &stepError);
    if (error != nullptr) {
        error->clear();
        if (!costOk)
            *error = costError;
        if (!stepOk)
            *error += (error->empty() ? "" : "; ") + stepError;
    }
    return costOk && stepOk;
}

} // namespace tabry
