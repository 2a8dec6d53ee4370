#pragma once
// What the live load programs share: the phones' curl handles and
// callbacks, the tally of their answers and the percentiles of their
// latencies.

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

// A phone's handle: from its own loopback address (`from`,
// "host!127.x.y.z", so that the server's per-address limits stay as they
// are in use), the body dropped, the answer's ETag kept in *pendingEtag,
// `owner` given back as CURLINFO_PRIVATE.
inline CURL* OpenPhone(const std::string& from, std::string* pendingEtag, void* owner)
{
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_INTERFACE, from.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Discard);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &KeepEtag);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, pendingEtag);
    curl_easy_setopt(easy, CURLOPT_PRIVATE, owner);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "*");
    return easy;
}

// Points a polling phone at `url`, sending back the version `etag` it holds
// as a page does; `headers` is the phone's list, replaced.
inline void Arm(CURL* easy, curl_slist*& headers, const std::string& etag, const std::string& url)
{
    curl_slist_free_all(headers);
    headers = etag.empty() ? nullptr : curl_slist_append(nullptr, ("If-None-Match: " + etag).c_str());
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
}

// The answers one kind of request got, and how long each took.
struct Counts {
    long ok = 0, notModified = 0, other = 0, failed = 0;
    std::vector<double> ms;

    long Total() const { return ok + notModified + other + failed; }
    // Counts the finished transfer `m`; returns its HTTP status (0: none).
    long Add(const CURLMsg& m)
    {
        long status = 0;
        curl_easy_getinfo(m.easy_handle, CURLINFO_RESPONSE_CODE, &status);
        curl_off_t micros = 0;
        curl_easy_getinfo(m.easy_handle, CURLINFO_TOTAL_TIME_T, &micros);
        if (m.data.result != CURLE_OK)
            ++failed;
        else if (status == 200)
            ++ok;
        else if (status == 304)
            ++notModified;
        else
            ++other;
        ms.push_back(static_cast<double>(micros) / 1000.0);
        return status;
    }
};

} // namespace tabry::bench
