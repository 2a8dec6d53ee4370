#include "live/LiveServer.h"

#include "live/Compression.h"
#include "live/LiveHtml.h"
#include "live/LiveJson.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/LocalAddresses.h"
#include "live/RateLimiter.h"

#include "live/Sockets.h"

#include <microhttpd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>
#include <unordered_map>
#include <utility>

namespace tabry::live {

namespace {

// Connections the library accepts beyond ServerOptions::maxConnections, so
// that a new client is let in while the slowest one is being closed.
constexpr unsigned kSpareConnections = 16;

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

// A refusal: a one-line text (JSON for an /api/ address), and the
// connection is closed after it so that whatever the client still sends is
// never read.
MHD_Result Refuse(MHD_Connection* c, bool json, unsigned status, const char* text, const char* header = nullptr,
                  const char* value = nullptr)
{
    std::string body = json ? ErrorJson(std::string_view(text, std::strlen(text) - 1)) : std::string(text);
    MHD_Response* r = MHD_create_response_from_buffer(body.size(), body.data(), MHD_RESPMEM_MUST_COPY);
    if (r == nullptr)
        return MHD_NO;
    CommonHeaders(r, json ? "application/json; charset=utf-8" : "text/plain; charset=utf-8");
    MHD_add_response_header(r, MHD_HTTP_HEADER_CONNECTION, "close");
    if (header != nullptr)
        MHD_add_response_header(r, header, value);
    return Queue(c, status, r);
}

// Whether the client holds either encoding of the version: the page script
// sends the plain tag whatever it was sent.
bool Matches(const char* ifNoneMatch, const std::string& tag)
{
    if (ifNoneMatch == nullptr)
        return false;
    for (const std::string& quoted : {"\"" + tag + "\"", "\"" + tag + "-gz\""})
        if (std::strstr(ifNoneMatch, quoted.c_str()) != nullptr)
            return true;
    return false;
}

using Clock = std::chrono::steady_clock;

// What the server knows of one connection, to close the ones that hold a
// slot without sending a request.
struct Tracked {
    enum class State {
        Head,    // waiting for a request head (since the start or the last answer)
        Busy,    // a request is being answered
        Closing, // shut down by the server, not yet gone
    } state = State::Head;
    int fd = -1;
    Clock::time_point since;    // when the state began
    Clock::time_point deadline; // for Head: when the head must be complete
};

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

    // Every open connection, bounded by the library's connection limit.
    // A connection is shut down (never closed: the library closes it and
    // tells OnConnection, which forgets it under this lock before the
    // socket goes, so a socket number is never shut down twice) when its
    // head is late, or to make room.
    std::mutex connLock;
    std::unordered_map<MHD_Connection*, Tracked> connections;
    std::condition_variable sweepWake;
    bool sweeping = false;
    std::thread sweeper;

    std::shared_ptr<const CLiveSite> CurrentSite() const
    {
        std::lock_guard<std::mutex> hold(siteLock);
        return site;
    }

    // Refusals that need no more than the request's head.
    MHD_Result Screen(MHD_Connection* c, const char* url, const char* method, bool& refused);
    MHD_Result Answer(MHD_Connection* c, const char* url);

    void StartSweeper();
    void StopSweeper();
    void Sweep();
    // Shuts the connection down; connLock is held.
    static void ShutDown(Tracked& t)
    {
        if (t.state != Tracked::State::Closing && t.fd >= 0)
            shutdown(t.fd, SHUT_RDWR);
        t.state = Tracked::State::Closing;
    }
    // Makes room when more connections are open than the limit allows: the
    // one waiting longest for a head goes (a connection being answered
    // stays). connLock is held.
    void MakeRoom(MHD_Connection* newest);
    void Track(MHD_Connection* c, Tracked::State state);

    static void OnConnection(void* cls, MHD_Connection* c, void**, MHD_ConnectionNotificationCode code)
    {
        Impl* self = static_cast<Impl*>(cls);
        std::lock_guard<std::mutex> hold(self->connLock);
        if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
            self->connections.erase(c);
            return;
        }
        const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
        Tracked t;
        t.fd = info != nullptr ? static_cast<int>(info->connect_fd) : -1;
        t.since = Clock::now();
        t.deadline = t.since + std::chrono::seconds(self->options.headSeconds);
        self->connections[c] = t;
        self->MakeRoom(c);
    }

    static void OnCompleted(void* cls, MHD_Connection* c, void**, MHD_RequestTerminationCode)
    {
        static_cast<Impl*>(cls)->Track(c, Tracked::State::Head);
    }

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
                self->Track(c, Tracked::State::Busy);
                bool refused = false;
                const MHD_Result r = self->Screen(c, url, method, refused);
                return refused ? r : MHD_YES;
            }
            return self->Answer(c, url);
        } catch (...) {
            return MHD_NO; // out of memory: drop this connection, keep serving
        }
    }
};

MHD_Result CLiveServer::Impl::Screen(MHD_Connection* c, const char* url, const char* method, bool& refused)
{
    refused = true;
    const bool json = IsApiPath(url);
    if (std::strcmp(method, MHD_HTTP_METHOD_GET) != 0 && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0)
        return Refuse(c, json, MHD_HTTP_METHOD_NOT_ALLOWED, "405 method not allowed: the pages are read-only\n",
                      MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    if (MHD_get_connection_values(c, MHD_HEADER_KIND, nullptr, nullptr) > static_cast<int>(options.maxHeaders))
        return Refuse(c, json, MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE, "431 too many header fields\n");
    const char* length = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if ((length != nullptr && std::strcmp(length, "0") != 0)
        || MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING) != nullptr)
        return Refuse(c, json, MHD_HTTP_CONTENT_TOO_LARGE, "413 a request to this server has no body\n");
    if (!limiter->Allow(ClientKey(c), CRateLimiter::Clock::now()))
        return Refuse(c, json, MHD_HTTP_TOO_MANY_REQUESTS, "429 too many requests\n", MHD_HTTP_HEADER_RETRY_AFTER, "1");
    refused = false;
    return MHD_YES;
}

MHD_Result CLiveServer::Impl::Answer(MHD_Connection* c, const char* url)
{
    const std::shared_ptr<const CLiveSite> current = CurrentSite();
    const std::optional<Route> route = ParsePath(url);
    if (!route || current == nullptr || !current->Exists(*route)) {
        const Page page = NotFound(IsApiPath(url));
        MHD_Response* r = BodyResponse(page.body);
        if (r == nullptr)
            return MHD_NO;
        CommonHeaders(r, page.contentType);
        return Queue(c, MHD_HTTP_NOT_FOUND, r);
    }

    // Either encoding of a page has a tag of its own, and caches keep them
    // apart by the client's Accept-Encoding.
    const bool asset = route->kind == Route::Kind::Style || route->kind == Route::Kind::Script;
    const std::string& tag = asset ? AssetTag() : current->Tag();
    const Page page = current->Get(*route);
    const bool gzip = page.gzipBody != nullptr
                      && AcceptsGzip(MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_ACCEPT_ENCODING));
    const std::string etag = "\"" + tag + (gzip ? "-gz\"" : "\"");
    if (Matches(MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_NONE_MATCH), tag)) {
        MHD_Response* r = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
        if (r == nullptr)
            return MHD_NO;
        MHD_add_response_header(r, MHD_HTTP_HEADER_ETAG, etag.c_str());
        MHD_add_response_header(r, MHD_HTTP_HEADER_CACHE_CONTROL, "no-cache");
        MHD_add_response_header(r, MHD_HTTP_HEADER_VARY, MHD_HTTP_HEADER_ACCEPT_ENCODING);
        return Queue(c, MHD_HTTP_NOT_MODIFIED, r);
    }
    MHD_Response* r = BodyResponse(gzip ? page.gzipBody : page.body);
    if (r == nullptr)
        return MHD_NO;
    CommonHeaders(r, page.contentType);
    MHD_add_response_header(r, MHD_HTTP_HEADER_ETAG, etag.c_str());
    MHD_add_response_header(r, MHD_HTTP_HEADER_VARY, MHD_HTTP_HEADER_ACCEPT_ENCODING);
    if (gzip)
        MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_ENCODING, "gzip");
    return Queue(c, MHD_HTTP_OK, r);
}

void CLiveServer::Impl::Track(MHD_Connection* c, Tracked::State state)
{
    std::lock_guard<std::mutex> hold(connLock);
    const auto it = connections.find(c);
    if (it == connections.end() || it->second.state == Tracked::State::Closing)
        return;
    it->second.state = state;
    it->second.since = Clock::now();
    // After an answer the next head may take as long as a silent connection
    // is kept (a page asks again every second).
    it->second.deadline = it->second.since + std::chrono::seconds(options.idleTimeoutSeconds);
}

void CLiveServer::Impl::MakeRoom(MHD_Connection* newest)
{
    size_t open = 0;
    for (const auto& [c, t] : connections)
        open += t.state == Tracked::State::Closing ? 0 : 1;
    while (open > options.maxConnections) {
        Tracked* oldest = nullptr;
        for (auto& [c, t] : connections)
            if (c != newest && t.state == Tracked::State::Head && (oldest == nullptr || t.since < oldest->since))
                oldest = &t;
        if (oldest == nullptr)
            return; // every other connection is being answered: the library's limit holds
        ShutDown(*oldest);
        --open;
    }
}

void CLiveServer::Impl::Sweep()
{
    std::unique_lock<std::mutex> hold(connLock);
    while (sweeping) {
        const Clock::time_point now = Clock::now();
        for (auto& [c, t] : connections)
            if (t.state == Tracked::State::Head && t.deadline <= now)
                ShutDown(t);
        sweepWake.wait_for(hold, std::chrono::milliseconds(200));
    }
}

void CLiveServer::Impl::StartSweeper()
{
    {
        std::lock_guard<std::mutex> hold(connLock);
        sweeping = true;
    }
    sweeper = std::thread([this] { Sweep(); });
}

void CLiveServer::Impl::StopSweeper()
{
    {
        std::lock_guard<std::mutex> hold(connLock);
        sweeping = false;
    }
    sweepWake.notify_all();
    if (sweeper.joinable())
        sweeper.join();
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
        // The library's limit leaves room above ours, so that a new client
        // is always accepted and the server can close a slow one for him.
        std::vector<MHD_OptionItem> o = {
            {MHD_OPTION_CONNECTION_LIMIT, static_cast<intptr_t>(options.maxConnections + kSpareConnections), nullptr},
            {MHD_OPTION_PER_IP_CONNECTION_LIMIT, static_cast<intptr_t>(options.maxConnectionsPerAddress), nullptr},
            {MHD_OPTION_CONNECTION_TIMEOUT, static_cast<intptr_t>(options.idleTimeoutSeconds), nullptr},
            {MHD_OPTION_CONNECTION_MEMORY_LIMIT, static_cast<intptr_t>(options.requestMemory), nullptr},
            {MHD_OPTION_STRICT_FOR_CLIENT, 1, nullptr},
            {MHD_OPTION_UNESCAPE_CALLBACK, reinterpret_cast<intptr_t>(&KeepEscaped), nullptr},
            {MHD_OPTION_NOTIFY_CONNECTION, reinterpret_cast<intptr_t>(&Impl::OnConnection), m.get()},
            {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&Impl::OnCompleted), m.get()},
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
    m->StartSweeper();
    return true;
}

void CLiveServer::Stop()
{
    if (m->daemon != nullptr) {
        m->StopSweeper();
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
    auto fresh = std::make_shared<const CLiveSite>(std::move(snapshot), std::move(etag), &Gzip);
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
