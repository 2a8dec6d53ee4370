#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

namespace tabry::test {

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.generic_u16string());
}

QString Shown(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(Q(path));
}

std::string StgBytes(int players, int rounds, const std::vector<std::string>& names, const std::string& title)
{
    std::string out = std::to_string(players) + "," + std::to_string(rounds) + ",1,0,60\r\n##Format: 1\r\n";
    if (!title.empty())
        out += "##Tournament: " + S(title) + "\r\n";
    for (int row = 0; row < players; ++row) {
        if (row >= static_cast<int>(names.size())) {
            out += "\r\n";
            continue;
        }
        const std::string n = S(names[static_cast<size_t>(row)]);
        out += n + "," + n + ",0,," + n + ",";
        for (int r = 0; r < rounds; ++r) {
            if (r == 0 && names.size() >= 2 && row < 2)
                out += row == 0 ? ",1,1,10,0" : ",0,-1,-10,0";
            else
                out += ",-1,0,0,0";
        }
        out += "\r\n";
    }
    return out;
}

Sandbox::Sandbox()
{
    QStandardPaths::setTestModeEnabled(true);
    bin = dir / "bin";
    std::filesystem::create_directories(bin);
    options.executablePath = Q(bin / "torva");
    options.settingsFile = Q(dir / "settings.ini");
    options.userDataDirectory = Q(dir / "user");
    options.associationDataHome = Q(dir / "share");
    options.associationConfigHome = Q(dir / "config");
    options.checkAssociation = false;
}

std::unique_ptr<app::CTabryApp> Sandbox::Start()
{
    auto app = std::make_unique<app::CTabryApp>(options);
    if (!app->InitInstance())
        return nullptr;
    QApplication::processEvents();
    return app;
}

void OnNextModal(std::function<bool(QWidget*)> body)
{
    // Polls until the dialog is up (exec() has started its own loop), then
    // runs the body once.
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, body, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool done = modal != nullptr && modal->isVisible() && body(modal);
        if (done || ++*tries > 2000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace tabry::test
