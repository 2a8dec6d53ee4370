#include "edit/DocumentLock.h"

#include "text/FileIo.h"

#include <cstdio>
#include <string>
#include <system_error>

namespace tabry {

namespace fs = std::filesystem;

fs::path CDocumentLocks::LockPath(const fs::path& document) const
{
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::absolute(document, ec), ec);
    if (ec)
        canonical = document;
    std::string text = PathText(canonical);
#if defined(_WIN32)
    // Windows names files without regard to case.
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
#endif
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lock", static_cast<unsigned long long>(ContentHash(text)));
    return m_folder / name;
}

CDocumentLocks::Outcome CDocumentLocks::Take(const fs::path& document, LockHandle& lock) const
{
    lock.reset();
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    const fs::path path = LockPath(document);
    bool busy = false;
    lock = TakeRemovableLock(path, &busy);
    if (lock)
        return Outcome::Taken;
    return busy ? Outcome::HeldElsewhere : Outcome::Unavailable;
}

void CDocumentLocks::RemoveStale() const
{
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder, ec))
        if (entry.path().extension() == ".lock" && entry.is_regular_file(ec))
            RemoveFreeLock(entry.path());
}

} // namespace tabry
