// libFuzzer entry point; the body lives in fuzz/targets so tests can replay it.
#include "fuzz/targets/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return tabry::fuzz::ReportInboxReader(data, size);
}
