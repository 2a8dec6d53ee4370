#include "pairing/PairingTrace.h"

#include "pairing/PairingMatcher.h"
#include "pairing/TraceText.h"
#include "text/FileIo.h"

#include <algorithm>
#include <cstring>
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
    struct Field {
        std::int32_t value = 0;
        int length = 0; // 0: not filled yet
        char text[1 + trace::kMaxField] = {};
    };
    constexpr std::uint32_t kFields = 4096;
    std::vector<Field> fields(kFields);
    // One line at a time into a buffer roomy enough for any number.
    std::vector<char> line((width + 2) * (trace::kMaxField + 1) + 2);
    for (int m = 0; m < n; ++m) {
        char* p = trace::PutNumber(line.data(), m, 2, '0');
        *p++ = ':';
        for (int b = 0; b < n; ++b) {
            const std::int32_t c = std::min(matcher.Cost(m, b), std::int32_t{999999});
            // The matrix holds few distinct costs, most of them many times
            // (the cap among them): each is formatted once per slot of a
            // small table and copied from there.
            Field& field = fields[static_cast<std::uint32_t>(c) % kFields];
            if (field.value != c || field.length == 0) {
                field.value = c;
                field.text[0] = ' ';
                field.length = static_cast<int>(trace::PutNumber(field.text + 1, c, 6, ' ') - field.text);
            }
            // Whole fields are copied, the line has room; only `length` counts.
            std::memcpy(p, field.text, sizeof field.text);
            p += field.length;
        }
        *p++ = '\n';
        out.append(line.data(), static_cast<size_t>(p - line.data()));
    }
    return out;
}

bool WriteTraceFile(const PairingTraceOptions& options, const char* name, std::string_view bytes, std::string* error)
{
    const std::filesystem::path dir = options.directory.empty() ? DefaultTraceDirectory() : options.directory;
    // Replaced atomically like every file, but not waited for on the disk:
    // a diagnostic lost with the power is not worth holding up the pairing.
    return WriteFileAtomically(dir / name, bytes, error, false);
}

bool WriteTraceFiles(const PairingTraceOptions& options, std::string_view costTrace, std::string_view stepTrace,
                     std::string* error)
{
    std::string costError;
    std::string stepError;
    const bool costOk = WriteTraceFile(options, kCostTraceFileName, costTrace, &costError);
    const bool stepOk = WriteTraceFile(options, kStepTraceFileName, stepTrace, &stepError);
    if (error != nullptr)
        *error = JoinTraceErrors(costOk, costError, stepOk, stepError);
    return costOk && stepOk;
}

std::string JoinTraceErrors(bool costOk, const std::string& costError, bool stepOk, const std::string& stepError)
{
    std::string error;
    if (!costOk)
        error = costError;
    if (!stepOk)
        error += (error.empty() ? "" : "; ") + stepError;
    return error;
}

} // namespace tabry
