// The live server in a build without libmicrohttpd (TABRY_WITH_LIVE=OFF):
// the desktop program keeps its menu item and dialog, and publishing still
// builds the pages (so what they would show stays testable), but starting
// says plainly that this build cannot serve them instead of pretending to.
#include "live/LiveServer.h"

#include "live/LiveSite.h"
#include "live/LiveSnapshot.h"
#include "live/ReportInbox.h"

#include <mutex>

namespace tabry::live {

struct CLiveServer::Impl {
    mutable std::mutex lock;
    std::shared_ptr<const CLiveSite> site;
    std::uint64_t lastVersion = 0;
    // Kept so that the desk's calls stay the same; no phone can reach it.
    std::shared_ptr<CReportInbox> inbox;
};

CLiveServer::CLiveServer() : m(std::make_unique<Impl>())
{
}
CLiveServer::~CLiveServer() = default;

bool CLiveServer::Start(const ServerOptions&, std::string* error)
{
    if (error != nullptr)
        *error = "this build has no live server";
    return false;
}

void CLiveServer::Stop()
{
}
bool CLiveServer::IsRunning() const
{
    return false;
}
std::uint16_t CLiveServer::Port() const
{
    return 0;
}
std::vector<std::string> CLiveServer::Urls() const
{
    return {};
}

std::uint64_t CLiveServer::Publish(const TournamentData& data)
{
    const std::uint64_t version = ++m->lastVersion;
    Publish(CLiveSnapshot::Make(data, version));
    return version;
}

void CLiveServer::Publish(std::shared_ptr<const CLiveSnapshot> snapshot)
{
    std::string tag = std::to_string(snapshot->Version());
    auto fresh = std::make_shared<const CLiveSite>(std::move(snapshot), std::move(tag));
    std::lock_guard<std::mutex> hold(m->lock);
    m->site.swap(fresh);
}

std::shared_ptr<const CLiveSite> CLiveServer::Site() const
{
    std::lock_guard<std::mutex> hold(m->lock);
    return m->site;
}

void CLiveServer::SetReportInbox(std::shared_ptr<CReportInbox> inbox)
{
    std::lock_guard<std::mutex> hold(m->lock);
    m->inbox = std::move(inbox);
}

} // namespace tabry::live
