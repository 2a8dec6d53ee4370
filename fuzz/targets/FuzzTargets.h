#pragma once
// The bodies of the fuzz targets, callable from libFuzzer entry points, from
// the corpus replay driver and from the hostile-input tests. Each returns 0 and
// aborts (through its checks) when an invariant breaks.

#include <cstddef>
#include <cstdint>

namespace tabry::fuzz {

// ".stg" bytes through the desktop program's open sequence; when the file
// loads, saving, loading and saving again gives the same bytes.
int StgReader(const std::uint8_t* data, std::size_t size);
// "player.db" bytes: load, save, load, save gives the same bytes twice.
int PlayerDbReader(const std::uint8_t* data, std::size_t size);
// The field splitter: items join back to the text, limits are respected.
int FieldSplit(const std::uint8_t* data, std::size_t size);
// The waiting reports' bytes from the crash journal: what is read is
// written back as read, and never more reports than a table can hold.
int ReportInboxReader(const std::uint8_t* data, std::size_t size);

} // namespace tabry::fuzz
