#include "live/RateLimiter.h"

#include <algorithm>

namespace tabry::live {

CRateLimiter::CRateLimiter(double rate, double burst, size_t maxAddresses)
    : m_rate(rate), m_burst(std::max(burst, 1.0)), m_maxAddresses(std::max<size_t>(maxAddresses, 1))
{
}

double CRateLimiter::Refilled(const Bucket& b, Clock::time_point now) const
{
    const double seconds = std::chrono::duration<double>(now - b.last).count();
    return std::min(m_burst, b.tokens + std::max(seconds, 0.0) * m_rate);
}

void CRateLimiter::MakeRoom(Clock::time_point now)
{
    for (auto it = m_buckets.begin(); it != m_buckets.end();) {
        if (Refilled(it->second, now) >= m_burst)
            it = m_buckets.erase(it);
        else
            ++it;
    }
    if (m_buckets.size() < m_maxAddresses)
        return;
    auto oldest = std::min_element(m_buckets.begin(), m_buckets.end(),
                                   [](const auto& a, const auto& b) { return a.second.last < b.second.last; });
    m_buckets.erase(oldest);
}

bool CRateLimiter::Allow(std::string_view address, Clock::time_point now)
{
    if (m_rate <= 0)
        return true;
    std::lock_guard<std::mutex> hold(m_lock);
    auto it = m_buckets.find(std::string(address));
    if (it == m_buckets.end()) {
        if (m_buckets.size() >= m_maxAddresses)
            MakeRoom(now);
        it = m_buckets.emplace(std::string(address), Bucket{m_burst, now}).first;
    }
    Bucket& b = it->second;
    b.tokens = Refilled(b, now);
    b.last = now;
    if (b.tokens < 1.0)
        return false;
    b.tokens -= 1.0;
    return true;
}

size_t CRateLimiter::TrackedAddresses() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_buckets.size();
}

} // namespace tabry::live
