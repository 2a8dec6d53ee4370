#pragma once
// What the live load programs share: the phones' curl callbacks and the
// percentiles of their latencies.

#include <curl/curl.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <strings.h>
#include <vector>

namespace tabry::bench {

// The value at fraction `p` (0 to 1) of the sorted latencies; 0 for none.
inline double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// CURLOPT_WRITEFUNCTION: the body is not looked at.
inline size_t Discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

// CURLOPT_HEADERFUNCTION with CURLOPT_HEADERDATA a std::string: keeps the
// answer's ETag, which the phone sends back as a page does.
inline size_t KeepEtag(char* data, size_t size, size_t count, void* etag)
{
    const std::string line(data, size * count);
    if (line.size() > 6 && strncasecmp(line.c_str(), "etag:", 5) == 0)
        *static_cast<std::string*>(etag) = line.substr(6, line.find_last_not_of("\r\n") - 5);
    return size * count;
}

} // namespace tabry::bench
