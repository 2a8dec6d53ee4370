#include "live/LocalAddresses.h"

#include "live/Sockets.h"

#ifndef _WIN32
#include <ifaddrs.h>
#include <net/if.h>
#endif

namespace tabry::live {

namespace {

bool IsAny(const std::string& bind)
{
    return bind.empty() || bind == "0.0.0.0" || bind == "::";
}

std::string Url(const std::string& host, std::uint16_t port)
{
    const std::string shown = IsIpv6Address(host) ? "[" + host + "]" : host;
    return "http://" + shown + ":" + std::to_string(port) + "/";
}

} // namespace

bool IsIpv4Address(const std::string& text)
{
    in_addr a{};
    return inet_pton(AF_INET, text.c_str(), &a) == 1;
}

bool IsIpv6Address(const std::string& text)
{
    in6_addr a{};
    return inet_pton(AF_INET6, text.c_str(), &a) == 1;
}

#ifndef _WIN32
// Windows lists its adapters differently: LocalAddressesWindows.cpp.
std::vector<std::string> LocalAddresses()
{
    std::vector<std::string> v4, v6;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return {};
    for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || (i->ifa_flags & IFF_UP) == 0 || (i->ifa_flags & IFF_LOOPBACK) != 0)
            continue;
        char text[INET6_ADDRSTRLEN] = {};
        if (i->ifa_addr->sa_family == AF_INET) {
            const auto* a = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
            if (inet_ntop(AF_INET, &a->sin_addr, text, sizeof text) != nullptr)
                v4.emplace_back(text);
        } else if (i->ifa_addr->sa_family == AF_INET6) {
            const auto* a = reinterpret_cast<const sockaddr_in6*>(i->ifa_addr);
            // A link-local address needs the interface's name to be reached,
            // which a URL typed or scanned on a phone cannot carry.
            if (IN6_IS_ADDR_LINKLOCAL(&a->sin6_addr) || IN6_IS_ADDR_LOOPBACK(&a->sin6_addr))
                continue;
            if (inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text) != nullptr)
                v6.emplace_back(text);
        }
    }
    freeifaddrs(list);
    v4.insert(v4.end(), v6.begin(), v6.end());
    return v4;
}
#endif

std::vector<std::string> ServedUrls(const std::string& bindAddress, std::uint16_t port,
                                    const std::vector<std::string>& localAddresses, bool withIpv6)
{
    if (!IsAny(bindAddress))
        return {Url(bindAddress, port)};
    // "0.0.0.0" asks for IPv4 alone; "" and "::" for both where the
    // machine has IPv6.
    const bool ipv6 = withIpv6 && bindAddress != "0.0.0.0";
    std::vector<std::string> urls;
    for (const std::string& a : localAddresses)
        if (IsIpv4Address(a) || (ipv6 && IsIpv6Address(a)))
            urls.push_back(Url(a, port));
    if (urls.empty())
        urls.push_back(Url("127.0.0.1", port));
    return urls;
}

} // namespace tabry::live
