#pragma once
// The two diagnostic files every pairing run leaves behind: "panelty.txt",
// the cost matrix as the optimisation saw it, and "test.txt", the matcher's
// progress. They go to a trace folder (the system's temporary folder unless
// configured). They are for looking into a surprising pairing afterwards;
// failing to write them never stops a pairing.

#include <filesystem>
#include <string>
#include <string_view>

namespace tabry {

class CPairingMatcher;

inline constexpr const char* kCostTraceFileName = "panelty.txt";
inline constexpr const char* kStepTraceFileName = "test.txt";

struct PairingTraceOptions {
    bool enabled = true;
    std::filesystem::path directory; // empty: the system's temporary folder
};

// The system's temporary folder, or the current folder when it has none.
std::filesystem::path DefaultTraceDirectory();

// One line per slot: "%02d:" of the slot, then " %6d" of each cost in its
// row, costs above 999999 shown as 999999. Lines end in a bare "\n".
std::string FormatCostTrace(const CPairingMatcher& matcher);

// Writes one of the two files (atomically) into the options' folder. Returns
// false with a reason when it could not be written.
bool WriteTraceFile(const PairingTraceOptions& options, const char* name, std::string_view bytes,
                    std::string* error = nullptr);

// Writes both files (each atomically) into the options' folder. Returns false
// with a reason when either could not be written; the other is still tried.
bool WriteTraceFiles(const PairingTraceOptions& options, std::string_view costTrace, std::string_view stepTrace,
                     std::string* error = nullptr);

// The reason for the files not written, the cost trace's first, joined by
// "; "; empty when both were.
std::string JoinTraceErrors(bool costOk, const std::string& costError, bool stepOk, const std::string& stepError);

} // namespace tabry
