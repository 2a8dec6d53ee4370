#include "tests/live/LiveFixture.h"

#include "text/Cp932.h"

#include <curl/curl.h>
#include <zlib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace tabry::test {

TournamentData SmallEvent()
{
    const auto s = [](const char* utf8) { return cp932::FromUtf8(utf8); };
    TournamentData d;
    d.table.Clear();
    d.table.Resize(6, 3);
    // Row 4 stays empty; row 5 joins in round 3 and has the bye.
    const struct {
        int row;
        const char *longName, *shortName, *residence;
        int grade;
    } players[] = {{0, "山田 太郎", "山田", "東京", 3},
                   {1, "佐藤 花子", "佐藤", "大阪", -2},
                   {2, "鈴木 一郎", "鈴木", "北海道", 1},
                   {3, "高橋 健", "高橋", "", 0},
                   {5, "田中 美咲", "田中", "千葉", 2}};
    for (const auto& p : players) {
        const int index = d.players.Add({}, {}, {}, {}, 0, {});
        CPlayerRecord& r = d.players.GetAt(index);
        r.m_longName = s(p.longName);
        r.m_shortName = s(p.shortName);
        r.m_inputName = "p" + std::to_string(p.row);
        r.m_residence = s(p.residence);
        r.m_grade = p.grade;
        d.table.Entry(p.row).playerIndex = index;
    }
    const auto game = [&d](int round, int a, int b, std::int8_t result, int disc) {
        d.table.SetCell(a, round, ResultCell{b, result, static_cast<std::int8_t>(disc), 0});
        const std::int8_t mirrored = result == ResultNone ? ResultNone : static_cast<std::int8_t>(-result);
        d.table.SetCell(b, round, ResultCell{a, mirrored, static_cast<std::int8_t>(-disc), 0});
    };
    game(0, 0, 1, ResultWin, 12);  // 山田 beats 佐藤
    game(0, 2, 3, ResultDraw, 0);  // 鈴木 draws 高橋
    game(1, 0, 2, ResultWin, 4);   // 山田 beats 鈴木
    game(1, 1, 3, ResultLoss, -6); // 佐藤 loses to 高橋
    game(2, 0, 3, ResultNone, 0);  // 山田 - 高橋, no result yet
    game(2, 1, 2, ResultWin, 20);  // 佐藤 beats 鈴木
    d.table.SetCell(5, 2, ResultCell{ByeOpponent, ResultWin, 0, 0});
    d.table.ComputeAll();
    return d;
}

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out)
{
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

size_t CollectHeader(char* data, size_t size, size_t count, void* out)
{
    const std::string line(data, size * count);
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
        std::string name = line.substr(0, colon);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t start = colon + 1;
        while (start < line.size() && line[start] == ' ')
            ++start;
        size_t end = line.find_last_not_of("\r\n");
        (*static_cast<std::map<std::string, std::string>*>(out))[name] =
            end == std::string::npos || end < start ? std::string() : line.substr(start, end - start + 1);
    }
    return size * count;
}

} // namespace

HttpReply HttpGet(const std::string& url, const std::vector<std::string>& headers, bool head)
{
    // Once, before any thread makes a handle.
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    HttpReply reply;
    CURL* curl = ready ? curl_easy_init() : nullptr;
    if (curl == nullptr)
        return reply;
    curl_slist* list = nullptr;
    for (const std::string& h : headers)
        list = curl_slist_append(list, h.c_str());
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_NOBODY, head ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CollectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply.headers);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    curl_slist_free_all(list);
    curl_easy_cleanup(curl);
    return reply;
}

int FreePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    const int port = ntohs(a.sin_port);
    close(fd);
    return port;
}

int ConnectFrom(std::uint16_t port, const char* from)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from, &local.sin_addr);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
        || connect(fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

namespace {

// Reads until the peer closes (true) or `timeoutMs` passes (false).
bool ReadUntilClosed(int fd, int timeoutMs, std::string* answer = nullptr)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buf[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return true;
        if (answer != nullptr)
            answer->append(buf, static_cast<size_t>(n));
    }
    return false;
}

} // namespace

std::string Exchange(std::uint16_t port, const std::string& request, int timeoutMs, const char* from)
{
    const int fd = ConnectFrom(port, from);
    if (fd < 0)
        return {};
    size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break; // the server may close on us mid-request; read what it said
        sent += static_cast<size_t>(n);
    }
    std::string answer;
    ReadUntilClosed(fd, timeoutMs, &answer);
    close(fd);
    return answer;
}

std::string Gunzip(const std::string& packed)
{
    z_stream z{};
    if (inflateInit2(&z, 15 + 16) != Z_OK)
        return {};
    std::string out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    char buf[4096];
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buf);
        z.avail_out = sizeof buf;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buf, sizeof buf - z.avail_out);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END ? out : std::string();
}

int StatusOf(const std::string& answer)
{
    if (answer.size() < 12 || answer.compare(0, 7, "HTTP/1.") != 0)
        return 0;
    return std::atoi(answer.c_str() + 9);
}

bool ClosedWithin(int fd, int timeoutMs)
{
    return ReadUntilClosed(fd, timeoutMs);
}

int CountOpen(const std::vector<int>& fds, int settleMs)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    int open = 0;
    char buf[1];
    for (int fd : fds) {
        const ssize_t n = recv(fd, buf, sizeof buf, MSG_DONTWAIT | MSG_PEEK);
        open += n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? 1 : 0;
    }
    return open;
}

} // namespace tabry::test
