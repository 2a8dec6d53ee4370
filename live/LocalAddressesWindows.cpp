// This machine's addresses on Windows, which has no getifaddrs: the adapters
// that are up, from GetAdaptersAddresses, with the same choice and order as
// on other systems (IPv4 first, no loopback, no link-local IPv6).
#include "live/LocalAddresses.h"
#include "live/Sockets.h"

#include <iphlpapi.h>

#include <vector>

namespace tabry::live {

std::vector<std::string> LocalAddresses()
{
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    // The list's size is only known by asking; an adapter may come between
    // the two calls, so a few tries.
    std::vector<unsigned char> buffer(16 * 1024);
    ULONG size = static_cast<ULONG>(buffer.size());
    ULONG status = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && status == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        status = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()),
                                      &size);
    }
    if (status != NO_ERROR)
        return {};
    std::vector<std::string> v4, v6;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK)
            continue;
        for (const IP_ADAPTER_UNICAST_ADDRESS* u = adapter->FirstUnicastAddress; u != nullptr; u = u->Next) {
            const sockaddr* a = u->Address.lpSockaddr;
            char text[INET6_ADDRSTRLEN] = {};
            if (a->sa_family == AF_INET) {
                const auto* in = reinterpret_cast<const sockaddr_in*>(a);
                if (in->sin_addr.s_addr == htonl(INADDR_LOOPBACK))
                    continue;
                if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr)
                    v4.emplace_back(text);
            } else if (a->sa_family == AF_INET6) {
                const auto* in = reinterpret_cast<const sockaddr_in6*>(a);
                // As elsewhere: a link-local address cannot be put in a URL.
                if (IN6_IS_ADDR_LINKLOCAL(&in->sin6_addr) || IN6_IS_ADDR_LOOPBACK(&in->sin6_addr))
                    continue;
                if (inet_ntop(AF_INET6, &in->sin6_addr, text, sizeof text) != nullptr)
                    v6.emplace_back(text);
            }
        }
    }
    v4.insert(v4.end(), v6.begin(), v6.end());
    return v4;
}

} // namespace tabry::live
