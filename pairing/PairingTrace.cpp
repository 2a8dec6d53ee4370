#include "pairing/PairingTrace.h"

#include "pairing/PairingMatcher.h"
#include "pairing/TraceText.h"
#include "text/FileIo.h"

#include <system_error>
#include <vector>

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
    const size_t width = static_cast<size_t>(n);
    std::string out;
    // Costs of up to six digits, the usual case, fill it exactly.
    out.reserve(width * (width * 7 + 5));
    // One line at a time into a buffer roomy enough for any number.
    std::vector<char> line((width + 1) * (trace::kMaxField + 1) + 2);
    for (int m = 0; m < n; ++m) {
        char* p = trace::PutNumber(line.data(), m, 2, '0');
        *p++ = ':';
        for (int b = 0; b < n; ++b) {
            const std::int32_t c = matcher.Cost(m, b);
            *p++ = ' ';
            p = trace::PutNumber(p, c > 999999 ? 999999 : c, 6, ' ');
        }
        *p++ = '\n';
        out.append(line.data(), static_cast<size_t>(p - line.data()));
    }
    return out;
}

bool WriteTraceFiles(const PairingTraceOptions& options, std::string_view costTrace, std::string_view stepTrace,
                     std::string* error)
{
    const std::filesystem::path dir = options.directory.empty() ? DefaultTraceDirectory() : options.directory;
    std::string costError;
    std::string stepError;
    // Replaced atomically like every file, but not waited for on the disk:
    // a diagnostic lost with the power is not worth holding up the pairing.
    const bool costOk = WriteFileAtomically(dir / kCostTraceFileName, costTrace, &costError, false);
    const bool stepOk = WriteFileAtomically(dir / kStepTraceFileName, stepTrace, &stepError, false);
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
