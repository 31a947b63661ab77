#pragma once
// Start-up and shutdown of the desktop application, in their order: the
// single-instance guard, the settings, the project document and the main frame,
// the project or connection the command line names, the splash. Shutdown is the
// reverse: the frame goes first (saving its bar layout), then the document's
// contents (stopping the link, saving the connection records), then the guard.

#include <QLockFile>
#include <QStringList>
#include <memory>

#include "KeyStore.h"
#include "MainFrame.h"
#include "Prompt.h"
#include "QuorvelDoc.h"

inline constexpr const char* QV_INSTANCE_GUARD = "QuorvelMutex_F9F4C96A_1C84_4c06_986A_B6E9F8D02C73";

struct SStartOptions {
    QString csProject;  // a project file to open instead of a new project
    QString csConnect;  // a connection record's name, or HOST[:PORT]
    bool bSplash = true;
    QString csError;    // what was wrong with the command line
};

// quorvel [PROJECT.qvl] [--connect NAME|HOST[:PORT]] [--no-splash]
SStartOptions ParseStartOptions(const QStringList& arguments);

class CQuorvelApp {
public:
    CQuorvelApp(IPrompt& prompt, CKeyStore& settings = CKeyStore::User());
    ~CQuorvelApp();

    // False when the program must end (another instance runs, the document cannot start).
    bool Start(const SStartOptions& options);
    CMainFrame* Frame() const { return m_frame.get(); }
    CQuorvelDoc* Document() const { return m_document.get(); }
    // Ends as at exit: frame, document, guard.
    void Shutdown();

private:
    IPrompt& m_prompt;
    CKeyStore& m_settings;
    std::unique_ptr<QLockFile> m_guard;
    std::unique_ptr<CQuorvelDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
