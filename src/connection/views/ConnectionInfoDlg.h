#pragma once
// The modal window shown while a connection is being made. It runs the connect
// procedure on a thread of its own, sweeps a progress bar meanwhile and shows the
// error text when the procedure fails. The procedure never touches the window: it
// posts its outcome to a message target that the window unhooks before it goes.

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <thread>

#include "ConnectionDocument.h"
#include "ConnectionRecord.h"

class QLabel;
class QProgressBar;
class QPushButton;
class CMessageTarget;

class CConnectionInfoDlg : public QDialog {
    Q_OBJECT
public:
    CConnectionInfoDlg(IConnectionDocument& document, const CConnectionRecord& record, QWidget* parent = nullptr);
    ~CConnectionInfoDlg() override;
    CConnectionInfoDlg(const CConnectionInfoDlg&) = delete;
    CConnectionInfoDlg& operator=(const CConnectionInfoDlg&) = delete;

    // OK, Cancel, Escape and the window's close button all come here.
    void reject() override;
    void done(int result) override;

    QString ConnectionText() const;
    QString StatusText() const;
    QPushButton* OkButton() const { return m_pOk; }
    QProgressBar* ProgressBar() const { return m_pProgress; }
    // True while the procedure has not yet ended.
    bool IsBusy() const;

    // How long closing waits for the procedure before abandoning its thread.
    static constexpr int kThreadWaitMs = 5000;

private:
    struct Shared;

    void StartProcedure(IConnectionDocument& document, const CConnectionRecord& record);
    void OnMessage(std::uint32_t message, std::uintptr_t wParam);
    void OnProgressTimer();
    // Waits for the procedure's thread or, when it hangs, lets it go; either way
    // nothing it does afterwards can reach this window.
    void EndProcedure();

    QLabel* m_pName;
    QLabel* m_pStatus;
    QPushButton* m_pOk;
    QProgressBar* m_pProgress;
    QTimer m_progressTimer;
    CMessageTarget* m_pTarget;
    int m_nProgress = 0;
    bool m_bRising = true;
    bool m_bClosed = false;
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
