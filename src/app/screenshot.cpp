// Takes the README's picture: Quorvel connected to norvsim with the event logger
// open, switched on and filling, saved as a PNG. Run it under xvfb-run with
// norvsim listening (scripts/screenshot does both).
//
// Usage: quorvel-screenshot PORT FILE.png

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ConnectionView.h"
#include "QuorvelApp.h"
#include "RecordingPrompt.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Usage: quorvel-screenshot PORT FILE.png\n");
        return 2;
    }
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    CKeyStore store(dir.filePath("registry.xml").toStdString());
    CRecordingPrompt prompt;
    CQuorvelApp app(prompt, store);
    SStartOptions options;
    options.bSplash = false;
    if (!app.Start(options)) return 1;
    CMainFrame& frame = *app.Frame();
    frame.resize(1280, 720);
    app.Document()->m_lLocalQuorvelTCPPort = 0;
    frame.ConnectAtStart(QString("127.0.0.1:%1").arg(argv[1]));
    frame.View().OpenViewer("CEventLoggerView");
    CModuleView& navigator = frame.Navigator();
    navigator.Switch(navigator.FindItem(1));
    if (auto* tabs = frame.findChild<QTabWidget*>("navigatorTabs")) tabs->setCurrentIndex(0);
    const QString file = argv[2];
    QTimer::singleShot(6000, [&] {
        frame.grab().save(file);
        QApplication::quit();
    });
    return QApplication::exec();
}
