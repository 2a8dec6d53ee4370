#include "live/Compression.h"

#include "text/LineString.h"

#include <zlib.h>

#include <cstring>

namespace tabry::live {

std::optional<std::string> Gzip(std::string_view data)
{
    z_stream z{};
    // 15 window bits plus 16: a gzip header and trailer instead of zlib's.
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&z, Z_FINISH);
    const size_t written = out.size() - z.avail_out;
    deflateEnd(&z);
    if (status != Z_STREAM_END || written >= data.size())
        return std::nullopt;
    out.resize(written);
    return out;
}

bool AcceptsGzip(const char* acceptEncoding)
{
    if (acceptEncoding == nullptr)
        return false;
    std::string_view rest(acceptEncoding);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const size_t semicolon = item.find(';');
        const std::string coding = AsciiUpper(TrimCSpace(item.substr(0, semicolon)));
        if (coding != "GZIP" && coding != "*")
            continue;
        // "q=0", "q=0.0", "q=0.000": refused; any other weight accepts.
        const std::string params = AsciiUpper(semicolon == std::string_view::npos ? "" : item.substr(semicolon + 1));
        const size_t q = params.find("Q=");
        if (q == std::string::npos)
            return true;
        const std::string_view weight = TrimCSpace(std::string_view(params).substr(q + 2));
        if (weight.empty() || weight[0] != '0')
            return true;
        for (const char c : weight.substr(1))
            if (c != '.' && c != '0')
                return true;
        return false;
    }
    return false;
}

} // namespace tabry::live
