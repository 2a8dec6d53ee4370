#include "tests/live/LiveFixture.h"

#include "text/Cp932.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <cstring>

namespace tabry::test {

LiveBuilder::LiveBuilder(int rows, int rounds)
{
    data.table.Clear();
    data.table.Resize(rows, rounds);
}

LiveBuilder& LiveBuilder::Player(int row, std::string_view longName, std::string_view shortName,
                                 std::string_view residence, int grade)
{
    const int index = data.players.Add({}, {}, {}, {}, 0, {});
    CPlayerRecord& r = data.players.GetAt(index);
    r.m_longName = longName;
    r.m_shortName = shortName;
    r.m_inputName = "p" + std::to_string(row);
    r.m_residence = residence;
    r.m_grade = grade;
    data.table.Entry(row).playerIndex = index;
    return *this;
}

LiveBuilder& LiveBuilder::Game(int round, int a, int b, std::int8_t result, int disc)
{
    data.table.SetCell(a, round, ResultCell{b, result, static_cast<std::int8_t>(disc), 0});
    const std::int8_t mirrored = result == ResultNone ? ResultNone : static_cast<std::int8_t>(-result);
    data.table.SetCell(b, round, ResultCell{a, mirrored, static_cast<std::int8_t>(-disc), 0});
    return *this;
}

LiveBuilder& LiveBuilder::Bye(int round, int row, std::int8_t result, int disc)
{
    data.table.SetCell(row, round, ResultCell{ByeOpponent, result, static_cast<std::int8_t>(disc), 0});
    return *this;
}

TournamentData& LiveBuilder::Done()
{
    data.table.ComputeAll();
    return data;
}

TournamentData SmallEvent()
{
    const auto s = [](const char* utf8) { return cp932::FromUtf8(utf8); };
    LiveBuilder b(6, 3);
    // Row 4 stays empty; row 5 joins in round 3 and has the bye.
    b.Player(0, s("山田 太郎"), s("山田"), s("東京"), 3)
        .Player(1, s("佐藤 花子"), s("佐藤"), s("大阪"), -2)
        .Player(2, s("鈴木 一郎"), s("鈴木"), s("北海道"), 1)
        .Player(3, s("高橋 健"), s("高橋"), "", 0)
        .Player(5, s("田中 美咲"), s("田中"), s("千葉"), 2)
        .Game(0, 0, 1, ResultWin, 12)  // 山田 beats 佐藤
        .Game(0, 2, 3, ResultDraw, 0)  // 鈴木 draws 高橋
        .Game(1, 0, 2, ResultWin, 4)   // 山田 beats 鈴木
        .Game(1, 1, 3, ResultLoss, -6) // 佐藤 loses to 高橋
        .Game(2, 0, 3, ResultNone, 0)  // 山田 - 高橋, no result yet
        .Game(2, 1, 2, ResultWin, 20)  // 佐藤 beats 鈴木
        .Bye(2, 5, ResultWin, 0);
    return b.Done();
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
        (*static_cast<std::map<std::string, std::string>*>(out))[name]
            = end == std::string::npos || end < start ? std::string() : line.substr(start, end - start + 1);
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buf[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        answer.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return answer;
}

int StatusOf(const std::string& answer)
{
    if (answer.size() < 12 || answer.compare(0, 7, "HTTP/1.") != 0)
        return 0;
    return std::atoi(answer.c_str() + 9);
}

bool ClosedWithin(int fd, int timeoutMs)
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
    }
    return false;
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
