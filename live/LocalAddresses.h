#pragma once
// The addresses under which players reach the server, for the URLs the
// organiser hands out (as text and as a QR code).

#include <cstdint>
#include <string>
#include <vector>

namespace tabry::live {

// This machine's addresses for the venue's network: IPv4 first, then global
// IPv6; loopback and link-local addresses are left out.
std::vector<std::string> LocalAddresses();

// The URLs of a server listening on `bindAddress` ("" for every address of
// the machine) and `port`. For every address they are those of
// `localAddresses` (IPv6 ones only when `withIpv6`), or the loopback URL
// when the machine has none; IPv6 hosts are bracketed.
std::vector<std::string> ServedUrls(const std::string& bindAddress, std::uint16_t port,
                                    const std::vector<std::string>& localAddresses, bool withIpv6);

// Whether the text is an IPv4 or IPv6 address, and which.
bool IsIpv4Address(const std::string& text);
bool IsIpv6Address(const std::string& text);

} // namespace tabry::live
