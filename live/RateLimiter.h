#pragma once
// Requests per client address, as token buckets: each address may make
// `burst` requests at once and `rate` per second after that. The table of
// addresses is bounded; when it is full, buckets that have refilled (which
// are as good as new) are dropped first, then the longest unused one.

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tabry::live {

class CRateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    // rate <= 0 switches the limit off.
    CRateLimiter(double rate, double burst, size_t maxAddresses = 4096);

    // Takes one request of `address` (any bytes naming the client) at `now`;
    // false when the address has no request left.
    bool Allow(std::string_view address, Clock::time_point now);

    size_t TrackedAddresses() const;

private:
    struct Bucket {
        double tokens;
        Clock::time_point last;
    };
    double Refilled(const Bucket& b, Clock::time_point now) const;
    void MakeRoom(Clock::time_point now);

    double m_rate;
    double m_burst;
    size_t m_maxAddresses;
    mutable std::mutex m_lock;
    std::unordered_map<std::string, Bucket> m_buckets;
};

} // namespace tabry::live
