#pragma once
// The socket address types and inet_pton/inet_ntop of the live server: from
// Winsock on Windows, from the POSIX headers elsewhere. This is the one
// place the live server's sources differ by platform (the address listing
// has its own file per platform, LocalAddresses*.cpp).

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
// Winsock's name for shutting both directions. (The server keeps a socket
// in an int: Windows' socket handles fit, as its own interop relies on.)
#ifndef SHUT_RDWR
#define SHUT_RDWR SD_BOTH
#endif
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif
