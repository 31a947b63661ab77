#include "QuorvelApp.h"

#include <QDir>
#include <QStandardPaths>

#include "AboutDialog.h"
#include "ConnectionView.h"
#include "StringTable.h"

SStartOptions ParseStartOptions(const QStringList& arguments) {
    SStartOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == "--connect" && i + 1 < arguments.size()) {
            options.csConnect = arguments[++i];
        } else if (a == "--no-splash") {
            options.bSplash = false;
        } else if (!a.startsWith("--") && options.csProject.isEmpty()) {
            options.csProject = a;
        } else {
            options.csError = "unknown option or missing value: " + a;
        }
    }
    return options;
}

CQuorvelApp::CQuorvelApp(IPrompt& prompt, CKeyStore& settings) : m_prompt(prompt), m_settings(settings) {}

CQuorvelApp::~CQuorvelApp() { Shutdown(); }

bool CQuorvelApp::Start(const SStartOptions& options) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    m_guard = std::make_unique<QLockFile>(runtime + "/" + QV_INSTANCE_GUARD + ".lock");
    m_guard->setStaleLockTime(0);
    if (!m_guard->tryLock(0)) {
        m_guard.reset();
        m_prompt.Show(PROMPT_WARNING, QvString(IDS_ALREADY_OPEN));
        return false;
    }
    m_settings.Reload();
    m_document = std::make_unique<CQuorvelDoc>(m_settings, &m_prompt);
    m_frame = std::make_unique<CMainFrame>(*m_document, m_prompt, m_settings);
    if (options.csProject.isEmpty() || !m_frame->OpenProject(options.csProject)) m_frame->NewProject();
    m_frame->show();
    if (!options.csConnect.isEmpty()) m_frame->ConnectAtStart(options.csConnect);
    if (options.bSplash) CAboutDialog(true, m_frame.get()).exec();
    return true;
}

void CQuorvelApp::Shutdown() {
    m_frame.reset();
    if (m_document) m_document->DeleteContents();
    m_document.reset();
    m_guard.reset();
}
