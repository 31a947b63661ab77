#include "ConnectionInfoDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "ConnectProcedure.h"
#include "MessageTarget.h"
#include "StringTable.h"

namespace {
// Posted by the procedure after a successful connection. It carries the window
// system's close number, well below the program's own messages.
constexpr std::uint32_t kCloseRequest = 0x0010;
constexpr int kProgressStep = 5;
constexpr int kProgressIntervalMs = 50;
}  // namespace

// What the dialog and its procedure thread share. The thread holds its own
// reference, so an abandoned thread still finds it after the dialog is gone.
struct CConnectionInfoDlg::Shared {
    std::mutex lock;
    std::condition_variable ended;
    IMessageTarget* pTarget = nullptr;  // none once the dialog has closed
    bool bBusy = false;
    bool bEnded = false;
    std::atomic<bool> cancel{false};
};

CConnectionInfoDlg::CConnectionInfoDlg(IConnectionDocument& document, const CConnectionRecord& record,
                                       QWidget* parent)
    : QDialog(parent),
      m_pName(new QLabel(this)),
      m_pStatus(new QLabel(this)),
      m_pOk(new QPushButton(tr("OK"), this)),
      m_pProgress(new QProgressBar(this)),
      m_pTarget(new CMessageTarget([this](std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t) { OnMessage(message, wParam); },
                                   this)) {
    setWindowTitle(QvString(IDS_CONNECTING_TITLE));
    setModal(true);
    setMinimumWidth(360);

    m_pName->setObjectName("1011");
    m_pStatus->setObjectName("1013");
    m_pOk->setObjectName("1014");
    m_pName->setText(QString::fromStdString(record.csName));
    m_pStatus->setText(QvString(IDS_CONNECTING));
    m_pStatus->setWordWrap(true);
    m_pOk->setEnabled(false);
    m_pOk->setVisible(false);
    // The OK button only appears after a failure; it then closes like Cancel does.
    connect(m_pOk, &QPushButton::clicked, this, &CConnectionInfoDlg::reject);

    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    m_pProgress->setFixedHeight(18);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(12, 12, 12, 9);
    layout->addWidget(new QLabel(tr("Connection:"), this), 0, 0);
    layout->addWidget(m_pName, 0, 1);
    layout->addWidget(new QLabel(tr("Status:"), this), 1, 0, Qt::AlignTop);
    layout->addWidget(m_pStatus, 1, 1);
    layout->addWidget(m_pOk, 2, 1, Qt::AlignRight);
    layout->addWidget(m_pProgress, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &CConnectionInfoDlg::OnProgressTimer);
    m_progressTimer.start();

    StartProcedure(document, record);
}

CConnectionInfoDlg::~CConnectionInfoDlg() {
    if (!m_bClosed) {
        m_bClosed = true;
        EndProcedure();
    }
}

void CConnectionInfoDlg::StartProcedure(IConnectionDocument& document, const CConnectionRecord& record) {
    m_shared = std::make_shared<Shared>();
    m_shared->pTarget = m_pTarget;
    m_shared->bBusy = true;  // before the thread runs, so that an early Cancel is not a close
    try {
        m_thread = std::thread([shared = m_shared, document = &document, record] {
            const ConnectOutcome outcome = RunConnectProcedure(*document, record, shared->cancel);
            std::lock_guard lock(shared->lock);
            shared->bBusy = false;
            if (shared->pTarget) {
                if (outcome.nErrorText != 0)
                    shared->pTarget->PostMessage(UM_CONNECT_ERROR, static_cast<std::uintptr_t>(outcome.nErrorText), 0);
                else if (!outcome.bCancelled)
                    shared->pTarget->PostMessage(kCloseRequest, 0, 0);
            }
            shared->bEnded = true;
            shared->ended.notify_all();
        });
    } catch (const std::system_error&) {
        {
            std::lock_guard lock(m_shared->lock);
            m_shared->bBusy = false;
            m_shared->bEnded = true;
        }
        // Queued, so that it also ends a dialog that is only about to be shown.
        QMetaObject::invokeMethod(this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    }
}

void CConnectionInfoDlg::OnMessage(std::uint32_t message, std::uintptr_t wParam) {
    if (m_bClosed) return;  // posted before the user closed the window
    if (message == UM_CONNECT_ERROR) {
        m_progressTimer.stop();
        m_pProgress->hide();
        setWindowTitle(QvString(IDS_ERROR_TITLE));
        m_pOk->setEnabled(true);
        m_pOk->show();
        m_pStatus->setText(QvString(static_cast<int>(wParam)));
    } else if (message == kCloseRequest) {
        done(QDialog::Accepted);
    }
}

void CConnectionInfoDlg::OnProgressTimer() {
    if (m_bRising) {
        m_nProgress += kProgressStep;
        m_bRising = m_nProgress < 100;
    } else {
        m_nProgress -= kProgressStep;
        if (m_nProgress <= 0) m_bRising = true;
    }
    m_pProgress->setValue(m_nProgress);
}

void CConnectionInfoDlg::reject() {
    m_pStatus->setText(QvString(IDS_CANCELING));
    bool busy;
    {
        std::lock_guard lock(m_shared->lock);
        busy = m_shared->bBusy;
        // The procedure only looks at this before its connect call; once inside,
        // it finishes and closes the window or reports its error.
        if (busy) m_shared->cancel = true;
    }
    if (!busy) done(QDialog::Rejected);
}

void CConnectionInfoDlg::done(int result) {
    if (!m_bClosed) {
        m_bClosed = true;
        m_progressTimer.stop();
        EndProcedure();
    }
    QDialog::done(result);
}

void CConnectionInfoDlg::EndProcedure() {
    bool ended;
    {
        std::unique_lock lock(m_shared->lock);
        Shared& shared = *m_shared;
        ended = shared.ended.wait_for(lock, std::chrono::milliseconds(kThreadWaitMs),
                                      [&shared] { return shared.bEnded; });
        shared.pTarget = nullptr;
    }
    if (!m_thread.joinable()) return;
    // A thread stuck in the engine's connect call cannot be ended from here; it
    // keeps only the shared state and the document, which outlives the dialog.
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
}

QString CConnectionInfoDlg::ConnectionText() const { return m_pName->text(); }

QString CConnectionInfoDlg::StatusText() const { return m_pStatus->text(); }

bool CConnectionInfoDlg::IsBusy() const {
    std::lock_guard lock(m_shared->lock);
    return m_shared->bBusy;
}
