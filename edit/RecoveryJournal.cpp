#include "edit/RecoveryJournal.h"

#include "edit/FileLock.h"
#include "edit/TournamentEditor.h"
#include "text/FileIo.h"
#include "text/LineString.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>

namespace tabry {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDocumentKey = "##TorvaRecoveryOf: ";
constexpr std::string_view kTimeKey = "##TorvaRecoveryTime: ";
constexpr std::string_view kPrefix = "session-";

// Every byte outside a small safe set as %XX: the line can then hold any
// path, and never a comma or line break that would change how it is read.
std::string PercentEncode(std::string_view bytes)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '/' || b == '.'
            || b == '_' || b == '-') {
            out += ch;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string PercentDecode(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const int hi = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int lo = hi >= 0 ? HexValue(text[i + 2]) : -1;
        if (lo >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string SessionName()
{
    std::random_device rd;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08x%08x", static_cast<unsigned>(rd()), static_cast<unsigned>(rd()));
    return std::string(kPrefix) + buf;
}

fs::path LockPathOf(const fs::path& recovery)
{
    fs::path lock = recovery;
    lock.replace_extension(".lock");
    return lock;
}

std::string LocalStamp(std::int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
    return buf;
}

} // namespace

CRecoveryJournal::CRecoveryJournal(fs::path folder) : m_folder(std::move(folder))
{
    const std::string name = SessionName();
    m_path = m_folder / (name + ".stg");
    m_lockPath = m_folder / (name + ".lock");
}

CRecoveryJournal::~CRecoveryJournal()
{
    // Nothing to recover: the lock file has no more use (removed while still
    // held). A recovery file that is still there keeps its lock file, free
    // now, which is how the next start tells it from a live run's.
    if (!m_written && m_lock) {
        std::error_code ignored;
        fs::remove(m_lockPath, ignored);
    }
    m_lock.reset();
}

bool CRecoveryJournal::Lock()
{
    if (m_lock)
        return true;
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    m_lock = TakeFileLock(m_lockPath);
    return m_lock != nullptr;
}

std::string CRecoveryJournal::Compose(std::string_view stg, const fs::path& document, std::int64_t changedAt)
{
    // After the header line, before the tournament's own details lines:
    // every reader skips details lines it does not know.
    const size_t eol = stg.find("\r\n");
    const size_t split = eol == std::string_view::npos ? stg.size() : eol + 2;
    std::string out(stg.substr(0, split));
    if (eol == std::string_view::npos)
        out += "\r\n";
    out += kDocumentKey;
    out += PercentEncode(PathText(document));
    out += "\r\n";
    out += kTimeKey;
    out += std::to_string(changedAt);
    out += "\r\n";
    out += stg.substr(split);
    return out;
}

bool CRecoveryJournal::LockOrSay(FileError* error)
{
    if (Lock())
        return true;
    if (error != nullptr) {
        *error = FileError{};
        error->step = FileStep::Create;
        error->problem = FileProblem::Other;
        error->path = m_lockPath;
        error->systemText = "cannot lock the recovery file";
    }
    return false;
}

bool CRecoveryJournal::Write(std::string_view stg, std::int64_t changedAt, FileError* error)
{
    if (!LockOrSay(error))
        return false;
    if (!WriteFileAtomically(m_path, Compose(stg, m_document, changedAt), error, m_flush))
        return false;
    m_written = true;
    return true;
}

bool CRecoveryJournal::WriteReports(std::string_view bytes, FileError* error)
{
    const fs::path path = ReportsPathOf(m_path);
    if (bytes.empty()) {
        if (m_reportsWritten) {
            std::error_code ignored;
            fs::remove(path, ignored);
            m_reportsWritten = false;
        }
        return true;
    }
    if (!LockOrSay(error))
        return false;
    if (!WriteFileAtomically(path, std::string(bytes), error, m_flush))
        return false;
    m_reportsWritten = true;
    return true;
}

void CRecoveryJournal::Remove()
{
    std::error_code ignored;
    if (m_reportsWritten) {
        fs::remove(ReportsPathOf(m_path), ignored);
        m_reportsWritten = false;
    }
    if (!m_written)
        return;
    fs::remove(m_path, ignored);
    m_written = false;
}

fs::path CRecoveryJournal::ReportsPathOf(const fs::path& recovery)
{
    fs::path reports = recovery;
    reports.replace_extension(".reports");
    return reports;
}

bool CRecoveryJournal::ReadReports(const fs::path& recovery, std::string& bytes)
{
    constexpr std::uintmax_t kMaxReportBytes = 1u << 20;
    bytes.clear();
    return ReadFileBytes(ReportsPathOf(recovery), bytes, kMaxReportBytes) == ReadStatus::Ok;
}

bool CRecoveryJournal::Read(const fs::path& path, std::string& bytes, RecoveryFile* about, FileError* error)
{
    if (ReadFileBytes(path, bytes, kMaxTournamentFileBytes, error) != ReadStatus::Ok)
        return false;
    if (about == nullptr)
        return true;
    about->path = path;
    about->document.clear();
    about->changedAt = 0;
    const std::vector<std::string_view> lines = SplitLines(bytes);
    for (size_t i = 1; i < lines.size() && !lines[i].empty() && lines[i][0] == '#'; ++i) {
        const std::string_view line = lines[i];
        if (line.substr(0, kDocumentKey.size()) == kDocumentKey)
            about->document = PathFromUtf8(PercentDecode(line.substr(kDocumentKey.size())));
        else if (line.substr(0, kTimeKey.size()) == kTimeKey)
            about->changedAt = std::strtoll(std::string(line.substr(kTimeKey.size())).c_str(), nullptr, 10);
    }
    return true;
}

std::vector<RecoveryFile> CRecoveryJournal::FindOrphans(const fs::path& folder)
{
    std::vector<RecoveryFile> found;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& p = entry.path();
        const std::string name = PathText(p.filename());
        if (name.rfind(kPrefix, 0) != 0 || p.extension() != ".stg" || !entry.is_regular_file(ec))
            continue;
        std::shared_ptr<void> claim = TakeFileLock(LockPathOf(p));
        if (!claim)
            continue; // a live run's journal
        RecoveryFile file;
        std::string bytes;
        if (!Read(p, bytes, &file))
            continue;
        file.claim = std::move(claim);
        found.push_back(std::move(file));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const RecoveryFile& a, const RecoveryFile& b) { return a.changedAt > b.changedAt; });
    return found;
}

fs::path CRecoveryJournal::SetAside(const RecoveryFile& file, std::string* error)
{
    const fs::path kept = file.path.parent_path() / "kept";
    std::error_code ec;
    fs::create_directories(kept, ec);
    const fs::path stem = file.document.empty() ? fs::path(u8"無題") : file.document.stem();
    const std::string stamp = LocalStamp(file.changedAt);
    for (int n = 1; n < 1000; ++n) {
        fs::path name = stem;
        name += "-" + stamp + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".stg";
        fs::path target = kept / name;
        if (fs::exists(target, ec))
            continue;
        fs::rename(file.path, target, ec);
        if (ec) {
            if (error != nullptr)
                *error = "cannot move " + PathText(file.path) + ": " + ec.message();
            return {};
        }
        fs::remove(LockPathOf(file.path), ec);
        if (fs::exists(ReportsPathOf(file.path), ec)) {
            fs::path reports = target;
            reports.replace_extension(".reports");
            fs::rename(ReportsPathOf(file.path), reports, ec);
        }
        return target;
    }
    if (error != nullptr)
        *error = "no free name in " + PathText(kept);
    return {};
}

void CRecoveryJournal::RemoveStaleLocks(const fs::path& folder)
{
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& p = entry.path();
        if (PathText(p.filename()).rfind(kPrefix, 0) != 0 || p.extension() != ".lock")
            continue;
        fs::path recovery = p;
        recovery.replace_extension(".stg");
        // A free lock beside a recovery file is how that file is known as
        // an ended run's; only the ones left without one go.
        if (!fs::exists(recovery, ec))
            RemoveFreeLock(p);
    }
}

void CRecoveryJournal::Discard(const RecoveryFile& file)
{
    std::error_code ignored;
    fs::remove(file.path, ignored);
    fs::remove(ReportsPathOf(file.path), ignored);
    fs::remove(LockPathOf(file.path), ignored);
}

// ---- CJournalKeeper ------------------------------------------------------------

namespace {

std::uint64_t HashOf(std::string_view bytes)
{
    return ContentHash(bytes);
}

} // namespace

CJournalKeeper::CJournalKeeper(CTournamentEditor& editor, CRecoveryJournal& journal, Clock clock)
    : m_editor(editor), m_journal(journal), m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] {
            return static_cast<std::int64_t>(
                std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                    .count());
        };
    m_listener = m_editor.AddListener(ListenerRank::Journal, [this](const ChangeEvent& event) {
        if (event.kind == ChangeKind::Reset) {
            MarkSaved();
        } else if (!m_scheduler) {
            Sync();
        } else if (!m_pending) {
            // Several changes before the scheduled write make one write.
            m_pending = true;
            std::weak_ptr<bool> alive = m_alive;
            m_scheduler([this, alive] {
                if (alive.lock())
                    Flush();
            });
        }
    });
    MarkSaved();
}

CJournalKeeper::~CJournalKeeper()
{
    m_editor.RemoveListener(m_listener);
}

void CJournalKeeper::Flush()
{
    if (!m_pending)
        return;
    m_pending = false;
    Sync();
}

void CJournalKeeper::WriteNow()
{
    m_pending = false;
    Sync();
}

void CJournalKeeper::MarkSaved()
{
    m_pending = false;
    const std::string bytes = m_editor.Save();
    m_savedHash = HashOf(bytes);
    m_savedSize = bytes.size();
    m_hasSaved = true;
    if (!m_reports.empty()) {
        Sync(); // the waiting reports need their recovery file
        return;
    }
    m_journal.Remove();
    m_error = FileError{};
}

void CJournalKeeper::SetWaitingReports(std::string bytes)
{
    m_reports = std::move(bytes);
    m_pending = false;
    Sync();
}

void CJournalKeeper::MarkUnsaved()
{
    m_pending = false;
    m_hasSaved = false;
    Sync();
}

void CJournalKeeper::Sync()
{
    const std::string bytes = m_editor.Save();
    if (m_reports.empty() && m_hasSaved && bytes.size() == m_savedSize && HashOf(bytes) == m_savedHash) {
        // Back where the file is (undone to the saved state): nothing to keep.
        m_journal.Remove();
        m_error = FileError{};
        return;
    }
    // The tournament first: reports found without their recovery file would
    // never be offered back.
    FileError error;
    if (!m_journal.Write(bytes, m_clock(), &error) || !m_journal.WriteReports(m_reports, &error)) {
        m_error = error;
        return;
    }
    m_error = FileError{};
}

} // namespace tabry
