#include "live/LiveServer.h"

#include "live/Compression.h"
#include "live/LiveHtml.h"
#include "live/LiveJson.h"
#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/LocalAddresses.h"
#include "live/RateLimiter.h"
#include "live/ReportInbox.h"

#include "core/ReportCode.h"
#include "text/LineString.h"

#include "live/Sockets.h"

#include <microhttpd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
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

// A report page posts its form to this server and loads nothing but the
// style sheet. Its referrer policy lets the browser name the page's origin
// on the post, which the server checks.
constexpr const char* kReportPolicy = "default-src 'none'; style-src 'self'; img-src 'self' data:; base-uri 'none'; "
                                      "form-action 'self'; frame-ancestors 'none'";

// The largest report body: five short fields of a form need far less.
constexpr std::uint64_t kMaxReportBody = 1024;
// The longest value of a field that can be read at all.
constexpr size_t kMaxFieldBytes = 64;

// Marks a request whose head has been seen (a report carries its form instead).
int g_headSeen = 0;

// A report's form, filled by libmicrohttpd's post processor as the body
// arrives.
struct ReportForm {
    MHD_PostProcessor* processor = nullptr;
    std::map<std::string, std::string> fields; // only the names the page sends
    std::uint64_t received = 0;
    bool tooLarge = false;

    ReportForm() = default;
    ReportForm(const ReportForm&) = delete;
    ReportForm& operator=(const ReportForm&) = delete;
    ~ReportForm()
    {
        if (processor != nullptr)
            MHD_destroy_post_processor(processor);
    }
    std::string Field(const char* name) const
    {
        const auto it = fields.find(name);
        return it == fields.end() ? std::string() : it->second;
    }
};

MHD_Result TakeField(void* cls, MHD_ValueKind, const char* key, const char*, const char*, const char*, const char* data,
                     std::uint64_t offset, size_t size)
{
    static constexpr std::array<std::string_view, 5> kNames = {"round", "board", "code", "first", "second"};
    auto* form = static_cast<ReportForm*>(cls);
    if (key == nullptr || std::find(kNames.begin(), kNames.end(), std::string_view(key)) == kNames.end())
        return MHD_YES;
    const bool repeated = offset == 0 && form->fields.count(key) != 0;
    std::string& value = form->fields[key];
    // A value this long is no count, board or code, and a field sent twice
    // is no answer of the page's form: either reads as none.
    if (repeated || value.size() + size > kMaxFieldBytes)
        value.assign(kMaxFieldBytes + 1, '?');
    else if (data != nullptr)
        value.append(data, size);
    return MHD_YES;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && AsciiUpper(text.substr(0, prefix.size())) == AsciiUpper(prefix);
}

std::optional<int> Count(std::string_view text)
{
    const std::string folded(TrimCSpace(FoldWideAscii(text)));
    int v = 0;
    const auto [end, ec] = std::from_chars(folded.data(), folded.data() + folded.size(), v);
    if (ec != std::errc{} || end != folded.data() + folded.size())
        return std::nullopt;
    return v;
}

// What the page says to each outcome.
std::pair<const char*, const char*> OutcomeWords(ReportOutcome outcome)
{
    switch (outcome) {
    case ReportOutcome::Received:
        return {"結果を受け付けました", "本部ではまだ確認していません。確認されると結果に表示されます。"};
    case ReportOutcome::Agreed:
        return {"結果を受け付けました",
                "相手の方の報告と一致しました。本部ではまだ確認していません。確認されると結果に表示されます。"};
    case ReportOutcome::Conflict:
        return {"結果を受け付けました", "この盤には別の結果も報告されています。本部が確認しますので、お待ちください。"};
    case ReportOutcome::WrongCode:
        return {"報告コードが違います", "結果票の報告コードを確かめて、もう一度送ってください。"};
    case ReportOutcome::LockedOut:
        return {"しばらくお待ちください",
                "報告コードの誤りが続いたため、この盤は1分間報告を受け付けません。その後にもう一度送ってください。"};
    case ReportOutcome::WrongRound:
        return {"現在の回戦ではありません", "この回戦の報告はもう受け付けていません。本部にお知らせください。"};
    case ReportOutcome::Invalid:
        return {"内容が正しくありません",
                "盤の番号と、両者の石数(合計64、空きマスは勝った方に数えます)を確かめてください。"};
    case ReportOutcome::Limited:
        return {"報告が多すぎます", "しばらくしてから、もう一度送ってください。"};
    case ReportOutcome::Off:
        return {"結果報告は受け付けていません", "本部にお知らせください。"};
    case ReportOutcome::Refused:
        return {"送信できませんでした", "報告のページから送ってください。"};
    case ReportOutcome::Decided:
        return {"結果は入力済みです", "この盤の結果は本部で入力されています。違う場合は本部にお知らせください。"};
    }
    return {"", ""};
}

void ReportHeaders(MHD_Response* r)
{
    MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, "text/html; charset=utf-8");
    MHD_add_response_header(r, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
    MHD_add_response_header(r, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(r, "Referrer-Policy", "same-origin");
    MHD_add_response_header(r, "X-Frame-Options", "DENY");
    MHD_add_response_header(r, "Content-Security-Policy", kReportPolicy);
}

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

MHD_Result QueueReportPage(MHD_Connection* c, unsigned status, const std::string& body, bool close)
{
    MHD_Response* r =
        MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
    if (r == nullptr)
        return MHD_NO;
    ReportHeaders(r);
    if (close)
        MHD_add_response_header(r, MHD_HTTP_HEADER_CONNECTION, "close");
    return Queue(c, status, r);
}

// A report refused before its body is read: the reason as a page, and the
// connection closed so that the body is never read.
MHD_Result RefuseReport(MHD_Connection* c, const CLiveSite* site, CReportInbox* inbox, unsigned status,
                        const char* heading, const char* text)
{
    // Every refusal counts in the desk's status, as the inbox's own do.
    if (inbox != nullptr)
        inbox->NoteRefused(status == MHD_HTTP_TOO_MANY_REQUESTS ? ReportOutcome::Limited : ReportOutcome::Refused);
    ReportAnswer answer;
    answer.heading = heading;
    answer.text = text;
    static const TournamentHead kNoHead;
    return QueueReportPage(c, status, ReportAnswerPage(site != nullptr ? site->Head() : kNoHead, answer), true);
}

// Whether the browser says the form comes from this server's own page.
// Browsers name the page's origin on a form post (or say "cross-site" in
// Sec-Fetch-Site); a client that names neither is no browser led by
// another site, and its report still needs the board's code.
bool SameOrigin(MHD_Connection* c)
{
    const char* fetchSite = MHD_lookup_connection_value(c, MHD_HEADER_KIND, "Sec-Fetch-Site");
    if (fetchSite != nullptr && std::strcmp(fetchSite, "same-origin") != 0 && std::strcmp(fetchSite, "none") != 0)
        return false;
    const char* origin = MHD_lookup_connection_value(c, MHD_HEADER_KIND, "Origin");
    if (origin == nullptr)
        return true;
    // A page whose referrer policy hides it posts with "null"; only the
    // fetch metadata can then vouch for it.
    if (std::strcmp(origin, "null") == 0)
        return fetchSite != nullptr && std::strcmp(fetchSite, "same-origin") == 0;
    const char* host = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST);
    return host != nullptr && std::string(origin) == "http://" + std::string(host);
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
    std::shared_ptr<CReportInbox> inbox;

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
    std::shared_ptr<CReportInbox> CurrentInbox() const
    {
        std::lock_guard<std::mutex> hold(siteLock);
        return inbox;
    }

    // Refusals that need no more than the request's head. A report that
    // passes gets its form in `*state`.
    MHD_Result Screen(MHD_Connection* c, const char* url, const char* method, void** state, bool& refused);
    MHD_Result ScreenReport(MHD_Connection* c, const char* url, void** state, bool& refused);
    MHD_Result Answer(MHD_Connection* c, const char* url);
    MHD_Result AnswerReportPage(MHD_Connection* c, const CLiveSite& current);
    MHD_Result AnswerReport(MHD_Connection* c, ReportForm& form);

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

    static void OnCompleted(void* cls, MHD_Connection* c, void** state, MHD_RequestTerminationCode)
    {
        if (state != nullptr && *state != nullptr && *state != &g_headSeen) {
            delete static_cast<ReportForm*>(*state);
            *state = nullptr;
        }
        static_cast<Impl*>(cls)->Track(c, Tracked::State::Head);
    }

    static MHD_Result OnRequest(void* cls, MHD_Connection* c, const char* url, const char* method, const char*,
                                const char* upload, size_t* uploadSize, void** state)
    {
        try {
            Impl* self = static_cast<Impl*>(cls);
            // The first call comes with the head of the request. A request
            // that is refused is answered then, before any body is read, and
            // its connection closed; the others are answered on the second
            // call, once the request is complete, which keeps the connection
            // open for the page's next poll. A report's body comes in the
            // calls between, into its form.
            if (*state == nullptr) {
                *state = &g_headSeen;
                self->Track(c, Tracked::State::Busy);
                bool refused = false;
                const MHD_Result r = self->Screen(c, url, method, state, refused);
                return refused ? r : MHD_YES;
            }
            if (*state != &g_headSeen) {
                ReportForm& form = *static_cast<ReportForm*>(*state);
                if (*uploadSize == 0)
                    return self->AnswerReport(c, form);
                form.received += *uploadSize;
                if (form.received > kMaxReportBody)
                    form.tooLarge = true;
                else if (MHD_post_process(form.processor, upload, *uploadSize) != MHD_YES)
                    form.fields.clear();
                *uploadSize = 0;
                return MHD_YES;
            }
            return self->Answer(c, url);
        } catch (...) {
            return MHD_NO; // out of memory: drop this connection, keep serving
        }
    }
};

MHD_Result CLiveServer::Impl::Screen(MHD_Connection* c, const char* url, const char* method, void** state,
                                     bool& refused)
{
    refused = true;
    const bool json = IsApiPath(url);
    if (std::strcmp(method, MHD_HTTP_METHOD_POST) == 0 && std::strcmp(url, "/report") == 0) {
        const std::shared_ptr<const CLiveSite> current = CurrentSite();
        if (CurrentInbox() != nullptr && current != nullptr && current->Reporting())
            return ScreenReport(c, url, state, refused);
    }
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

MHD_Result CLiveServer::Impl::ScreenReport(MHD_Connection* c, const char*, void** state, bool& refused)
{
    const std::shared_ptr<const CLiveSite> current = CurrentSite();
    const std::shared_ptr<CReportInbox> reports = CurrentInbox();
    if (MHD_get_connection_values(c, MHD_HEADER_KIND, nullptr, nullptr) > static_cast<int>(options.maxHeaders))
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE,
                            "送信できませんでした", "報告が読めません。");
    if (MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_TRANSFER_ENCODING) != nullptr)
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_LENGTH_REQUIRED, "送信できませんでした",
                            "報告は長さを示して送ってください。");
    const char* length = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    std::uint64_t bytes = 0;
    if (length != nullptr) {
        const char* end = length + std::strlen(length);
        const auto [stop, ec] = std::from_chars(length, end, bytes);
        if (ec == std::errc::result_out_of_range || (ec == std::errc{} && stop == end && bytes > kMaxReportBody))
            return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_CONTENT_TOO_LARGE, "送信できませんでした",
                                "報告が長すぎます。");
        if (ec != std::errc{} || stop != end)
            return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_BAD_REQUEST, "送信できませんでした",
                                "報告が読めません。");
    }
    const char* type = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_TYPE);
    if (type == nullptr || !StartsWithNoCase(type, MHD_HTTP_POST_ENCODING_FORM_URLENCODED))
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_UNSUPPORTED_MEDIA_TYPE, "送信できませんでした",
                            "報告のページから送ってください。");
    if (!SameOrigin(c))
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_FORBIDDEN, "送信できませんでした",
                            "ほかのサイトからの報告は受け付けません。報告のページから送ってください。");
    if (!limiter->Allow(ClientKey(c), CRateLimiter::Clock::now()))
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_TOO_MANY_REQUESTS, "報告が多すぎます",
                            "しばらくしてから、もう一度送ってください。");
    auto form = std::make_unique<ReportForm>();
    form->processor = MHD_create_post_processor(c, 512, &TakeField, form.get());
    if (form->processor == nullptr)
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_BAD_REQUEST, "送信できませんでした",
                            "報告が読めません。");
    *state = form.release();
    refused = false;
    return MHD_YES;
}

MHD_Result CLiveServer::Impl::AnswerReport(MHD_Connection* c, ReportForm& form)
{
    const std::shared_ptr<const CLiveSite> current = CurrentSite();
    const std::shared_ptr<CReportInbox> reports = CurrentInbox();
    if (form.tooLarge)
        return RefuseReport(c, current.get(), reports.get(), MHD_HTTP_CONTENT_TOO_LARGE, "送信できませんでした",
                            "報告が長すぎます。");
    const ReportOutcome outcome = reports == nullptr || current == nullptr || !current->Reporting()
                                      ? ReportOutcome::Off
                                      : reports->Submit(form.Field("round"), form.Field("board"), form.Field("first"),
                                                        form.Field("second"), form.Field("code"), ClientKey(c));
    const auto [heading, text] = OutcomeWords(outcome);
    ReportAnswer answer;
    answer.heading = heading;
    answer.text = text;
    std::optional<BoardView> board;
    const std::optional<int> round = Count(form.Field("round"));
    const std::optional<int> number = Count(form.Field("board"));
    if (current != nullptr && round && number)
        board = current->ReportBoard(*round, *number);
    if (board) {
        answer.round = *round;
        const int status = HttpStatusOf(outcome);
        if (status == MHD_HTTP_OK) {
            answer.board = &*board;
            answer.first = Count(form.Field("first")).value_or(0);
            answer.second = Count(form.Field("second")).value_or(0);
        } else {
            answer.board = &*board; // for the way back to the form
            answer.first = answer.second = -1;
        }
    }
    static const TournamentHead kNoHead;
    return QueueReportPage(c, static_cast<unsigned>(HttpStatusOf(outcome)),
                           ReportAnswerPage(current != nullptr ? current->Head() : kNoHead, answer), false);
}

MHD_Result CLiveServer::Impl::AnswerReportPage(MHD_Connection* c, const CLiveSite& current)
{
    const char* round = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "round");
    const char* board = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "board");
    const char* code = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "code");
    const std::optional<int> r = round != nullptr ? Count(round) : std::nullopt;
    const std::optional<int> b = board != nullptr ? Count(board) : std::nullopt;
    const std::optional<BoardView> view = r && b ? current.ReportBoard(*r, *b) : std::nullopt;
    if (!view) {
        const Page page = NotFound(false);
        MHD_Response* resp = BodyResponse(page.body);
        if (resp == nullptr)
            return MHD_NO;
        CommonHeaders(resp, page.contentType);
        return Queue(c, MHD_HTTP_NOT_FOUND, resp);
    }
    // The slip's QR fills the code in; anything else a link may carry is
    // left out rather than shown.
    const std::optional<std::string> typed = code != nullptr ? NormalizeReportCode(code) : std::nullopt;
    return QueueReportPage(c, MHD_HTTP_OK,
                           ReportFormPage(current.Head(), *r, *view, typed ? ShownReportCode(*typed) : ""), false);
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
    if (route->kind == Route::Kind::Report)
        return AnswerReportPage(c, *current);

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
    const std::shared_ptr<CReportInbox> inbox = m->CurrentInbox();
    if (inbox != nullptr)
        inbox->SetContext(ReportContextOf(snapshot->Table(), snapshot->Info()));
    // Pages that link to the report pages carry a tag of their own.
    const bool reporting = inbox != nullptr && !snapshot->Info().reportingKey.empty();
    std::string etag = m->epoch + "-" + std::to_string(snapshot->Version()) + (reporting ? "-r" : "");
    auto fresh = std::make_shared<const CLiveSite>(std::move(snapshot), std::move(etag), &Gzip, reporting);
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

void CLiveServer::SetReportInbox(std::shared_ptr<CReportInbox> inbox)
{
    {
        std::lock_guard<std::mutex> hold(m->siteLock);
        m->inbox = std::move(inbox);
    }
    // The pages follow at once: their report links come or go.
    if (const std::shared_ptr<const CLiveSite> current = m->CurrentSite())
        Publish(current->SnapshotPointer());
}

} // namespace tabry::live
