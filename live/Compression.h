#pragma once
// gzip for the live pages' answers (zlib), and whether a request accepts it.

#include <optional>
#include <string>
#include <string_view>

namespace tabry::live {

// `data` as a gzip member at the best compression; nothing when zlib fails
// or the result would not be smaller (then the plain bytes are sent).
std::optional<std::string> Gzip(std::string_view data);

// Whether an Accept-Encoding value (null: no such header) accepts gzip: the
// token "gzip" (or "*") in the list, not given a weight of zero.
bool AcceptsGzip(const char* acceptEncoding);

} // namespace tabry::live
