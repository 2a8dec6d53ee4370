#include "live/LiveServer.h"

#include "live/LiveHtml.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/LocalAddresses.h"
#include "live/RateLimiter.h"

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netinet/in.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <random>
#include <utility>

namespace tabry::live {

namespace {

// Pages may only load their own style sheet and script and talk to their
// own server, whatever text a tournament holds.
constexpr const char* kPolicy = "default-src 'none'; style-src 'self'; script-src 'self'; connect-src 'self'; "
                                "img-src 'self' data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

std::string RandomEpoch()
{
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(device()));
    return text;
}

// The client's address as bytes; an IPv4 address seen through the dual
// stack counts as the IPv4 address it is.
std::string ClientKey(MHD_Connection* c)
{
    const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (info == nullptr || info->client_addr == nullptr)
        return {};
    const sockaddr* a = info->client_addr;
    if (a->sa_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(a);
        return std::string(reinterpret_cast<const char*>(&v4->sin_addr), 4);
    }
    if (a->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(a);
        const char* bytes = reinterpret_cast<const char*>(&v6->sin6_addr);
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr))
            return std::string(bytes + 12, 4);
        return std::string(bytes, 16);
    }
    return {};
}

// Addresses are used as they arrive, never percent-decoded: no page has a
// '%' in its address, so "/%2e%2e/" or "/standings%00" simply name nothing,
// and a decoded NUL can never cut a path short.
size_t KeepEscaped(void*, MHD_Connection*, char* text)
{
    return std::strlen(text);
}

void FreeBody(void* holder)
{
    delete static_cast<std::shared_ptr<const std::string>*>(holder);
}

// A response that sends the shared page without copying it.
MHD_Response* BodyResponse(const std::shared_ptr<const std::string>& body)
{
    auto* holder = new std::shared_ptr<const std::string>(body);
    MHD_Response* r = MHD_create_response_from_buffer_with_free_callback_cls(
        body->size(), const_cast<char*>(body->data()), &FreeBody, holder);
    if (r == nullptr)
        delete holder;
    return r;
}

MHD_Result Queue(MHD_Connection* c, unsigned status, MHD_Response* r)
{
    if (r == nullptr)
        return MHD_NO;
    const MHD_Result queued = MHD_queue_response(c, status, r);
    MHD_destroy_response(r);
    return queued;
}

void CommonHeaders(MHD_Response* r, const char* type)
{
    MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, type);
    MHD_add_response_header(r, MHD_HTTP_HEADER_CACHE_CONTROL, "no-cache");
    MHD_add_response_header(r, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(r, "Referrer-Policy", "no-referrer");
    MHD_add_response_header(r, "X-Frame-Options", "DENY");
    MHD_add_response_header(r, "Content-Security-Policy", kPolicy);
}

// A refusal: a one-line text, and the connection is closed after it so that
// whatever the client still sends is never read.
MHD_Result Refuse(MHD_Connection* c, unsigned status, const char* text, const char* header = nullptr,
                  const char* value = nullptr)
{
    MHD_Response* r =
        MHD_create_response_from_buffer(std::strlen(text), const_cast<char*>(text), MHD_RESPMEM_PERSISTENT);
    if (r == nullptr)
        return MHD_NO;
    CommonHeaders(r, "text/plain; charset=utf-8");
    MHD_add_response_header(r, MHD_HTTP_HEADER_CONNECTION, "close");
    if (header != nullptr)
        MHD_add_response_header(r, header, value);
    return Queue(c, status, r);
}

bool Matches(const char* ifNoneMatch, const std::string& tag)
{
    if (ifNoneMatch == nullptr)
        return false;
    const std::string quoted = "\"" + tag + "\"";
    return std::strstr(ifNoneMatch, quoted.c_str()) != nullptr;
}

} // namespace

struct CLiveServer::Impl {
    std::string epoch = RandomEpoch();
    std::atomic<std::uint64_t> lastVersion{0};

    mutable std::mutex siteLock;
    std::shared_ptr<const CLiveSite> site;

    ServerOptions options;
    std::unique_ptr<CRateLimiter> limiter;
    MHD_Daemon* daemon = nullptr;
    bool ipv6 = false;

    std::shared_ptr<const CLiveSite> CurrentSite() const
    {
        std::lock_guard<std::mutex> hold(siteLock);
        return site;
    }

    // Refusals that need no more than the request's head.
    MHD_Result Screen(MHD_Connection* c, const char* method, bool& refused);
    MHD_Result Answer(MHD_Connection* c, const char* url);

    static MHD_Result OnRequest(void* cls, MHD_Connection* c, const char* url, const char* method, const char*,
                                const char*, size_t*, void** state)
    {
        static int headSeen = 0;
        try {
            Impl* self = static_cast<Impl*>(cls);
            // The first call comes with the head of the request. A request
            // that is refused is answered then, before any body is read, and
            // its connection closed; the others are answered on the second
            // call, once the request is complete, which keeps the connection
            // open for the page's next poll.
            if (*state == nullptr) {
                *state = &headSeen;
                bool refused = false;
                const MHD_Result r = self->Screen(c, method, refused);
                return refused ? r : MHD_YES;
            }
            return self->Answer(c, url);
        } catch (...) {
            return MHD_NO; // out of memory: drop this connection, keep serving
        }
    }
};

MHD_Result CLiveServer::Impl::Screen(MHD_Connection* c, const char* method, bool& refused)
{
    refused = true;
    if (std::strcmp(method, MHD_HTTP_METHOD_GET) != 0 && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0)
        return Refuse(c, MHD_HTTP_METHOD_NOT_ALLOWED, "405 method not allowed: the pages are read-only\n",
                      MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    if (MHD_get_connection_values(c, MHD_HEADER_KIND, nullptr, nullptr) > static_cast<int>(options.maxHeaders))
        return Refuse(c, MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE, "431 too many header fields\n");
    const char* length = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if ((length != nullptr && std::strcmp(length, "0") != 0)
        || MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING) != nullptr)
        return Refuse(c, MHD_HTTP_CONTENT_TOO_LARGE, "413 a request to this server has no body\n");
    if (!limiter->Allow(ClientKey(c), CRateLimiter::Clock::now()))
        return Refuse(c, MHD_HTTP_TOO_MANY_REQUESTS, "429 too many requests\n", MHD_HTTP_HEADER_RETRY_AFTER, "1");
    refused = false;
    return MHD_YES;
}

MHD_Result CLiveServer::Impl::Answer(MHD_Connection* c, const char* url)
{
    const std::shared_ptr<const CLiveSite> current = CurrentSite();
    const std::optional<Route> route = ParsePath(url);
    if (!route || current == nullptr || !current->Exists(*route)) {
        static const auto notFound = std::make_shared<const std::string>(NotFoundPage());
        MHD_Response* r = BodyResponse(notFound);
        if (r == nullptr)
            return MHD_NO;
        CommonHeaders(r, "text/html; charset=utf-8");
        return Queue(c, MHD_HTTP_NOT_FOUND, r);
    }

    const bool asset = route->kind == Route::Kind::Style || route->kind == Route::Kind::Script;
    const std::string& tag = asset ? AssetTag() : current->Tag();
    const std::string etag = "\"" + tag + "\"";
    if (Matches(MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_NONE_MATCH), tag)) {
        MHD_Response* r = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
        if (r == nullptr)
            return MHD_NO;
        MHD_add_response_header(r, MHD_HTTP_HEADER_ETAG, etag.c_str());
        MHD_add_response_header(r, MHD_HTTP_HEADER_CACHE_CONTROL, "no-cache");
        return Queue(c, MHD_HTTP_NOT_MODIFIED, r);
    }
    const Page page = current->Get(*route);
    MHD_Response* r = BodyResponse(page.body);
    if (r == nullptr)
        return MHD_NO;
    CommonHeaders(r, page.contentType);
    MHD_add_response_header(r, MHD_HTTP_HEADER_ETAG, etag.c_str());
    return Queue(c, MHD_HTTP_OK, r);
}

CLiveServer::CLiveServer() : m(std::make_unique<Impl>())
{
}

CLiveServer::~CLiveServer()
{
    Stop();
}

bool CLiveServer::Start(const ServerOptions& options, std::string* error)
{
    Stop();
    m->options = options;
    m->limiter = std::make_unique<CRateLimiter>(options.requestsPerSecond, options.requestBurst);

    sockaddr_in v4{};
    sockaddr_in6 v6{};
    const sockaddr* bindTo = nullptr;
    // poll(), not the library's default epoll: with epoll, a server whose
    // threads had been full now and then never saw its clients leave (their
    // connections stayed half closed until the idle timeout) and answered
    // nobody meanwhile. poll() asks afresh on every turn, which is cheap at
    // our few hundred connections. The inter-thread channel wakes the
    // threads on Stop: a full thread does not watch the listening socket
    // whose shutting down would otherwise wake it.
    unsigned flags = MHD_USE_POLL_INTERNAL_THREAD | MHD_USE_ITC;
    const std::string& a = options.bindAddress;
    const bool every = a.empty() || a == "::";
    if (every) {
        flags |= MHD_USE_DUAL_STACK;
    } else if (inet_pton(AF_INET, a.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(options.port);
        bindTo = reinterpret_cast<const sockaddr*>(&v4);
    } else if (inet_pton(AF_INET6, a.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(options.port);
        bindTo = reinterpret_cast<const sockaddr*>(&v6);
        flags |= MHD_USE_IPv6;
    } else {
        if (error != nullptr)
            *error = "'" + a + "' is not an IPv4 or IPv6 address";
        return false;
    }

    const auto start = [&](unsigned withFlags) {
        std::vector<MHD_OptionItem> o = {
            {MHD_OPTION_CONNECTION_LIMIT, static_cast<intptr_t>(options.maxConnections), nullptr},
            {MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<intptr_t>(options.maxConnectionsPerAddress), nullptr},
            {MHD_OPTION_CONNECTION_TIMEOUT, static_cast<intptr_t>(options.idleTimeoutSeconds), nullptr},
            {MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<intptr_t>(options.requestMemory), nullptr},
            {MHD_OPTION_STRICT_FOR_CLIENT, 1, nullptr},
            {MHD_OPTION_UNESCAPE_CALLBACK, reinterpret_cast<intptr_t>(&KeepEscaped), nullptr},
        };
        if (options.threads > 1)
            o.push_back({MHD_OPTION_THREAD_POOL_SIZE, static_cast<intptr_t>(options.threads), nullptr});
        if (bindTo != nullptr)
            o.push_back({MHD_OPTION_SOCK_ADDR, 0, const_cast<sockaddr*>(bindTo)});
        o.push_back({MHD_OPTION_END, 0, nullptr});
        return MHD_start_daemon(withFlags, options.port, nullptr, nullptr, &Impl::OnRequest, m.get(), MHD_OPTION_ARRAY,
                                o.data(), MHD_OPTION_END);
    };
    m->daemon = start(flags);
    m->ipv6 = every || (flags & MHD_USE_IPv6) != 0;
    if (m->daemon == nullptr && every) {
        // A machine without IPv6: every IPv4 address then.
        m->daemon = start(flags & ~static_cast<unsigned>(MHD_USE_DUAL_STACK));
        m->ipv6 = false;
    }
    if (m->daemon == nullptr) {
        if (error != nullptr)
            *error = "cannot listen on " + (a.empty() ? std::string("every address") : a) + " port "
                     + std::to_string(options.port) + " (in use, or not allowed)";
        return false;
    }
    return true;
}

void CLiveServer::Stop()
{
    if (m->daemon != nullptr) {
        MHD_stop_daemon(m->daemon);
        m->daemon = nullptr;
    }
}

bool CLiveServer::IsRunning() const
{
    return m->daemon != nullptr;
}

std::uint16_t CLiveServer::Port() const
{
    if (m->daemon == nullptr)
        return 0;
    const MHD_DaemonInfo* info = MHD_get_daemon_info(m->daemon, MHD_DAEMON_INFO_BIND_PORT);
    return info != nullptr ? info->port : m->options.port;
}

std::vector<std::string> CLiveServer::Urls() const
{
    if (m->daemon == nullptr)
        return {};
    return ServedUrls(m->options.bindAddress, Port(), LocalAddresses(), m->ipv6);
}

std::uint64_t CLiveServer::Publish(const TournamentData& data)
{
    const std::uint64_t version = ++m->lastVersion;
    Publish(CLiveSnapshot::Make(data, version));
    return version;
}

void CLiveServer::Publish(std::shared_ptr<const CLiveSnapshot> snapshot)
{
    std::string etag = m->epoch + "-" + std::to_string(snapshot->Version());
    auto fresh = std::make_shared<const CLiveSite>(std::move(snapshot), std::move(etag));
    {
        std::lock_guard<std::mutex> hold(m->siteLock);
        m->site.swap(fresh);
    }
    // The old site (and its pages) goes here, outside the lock, unless a
    // request still holds it.
}

std::shared_ptr<const CLiveSite> CLiveServer::Site() const
{
    return m->CurrentSite();
}

} // namespace tabry::live
