// The connection view and the connection status dialog, against norvsim on
// loopback. Message boxes and file dialogs never open: the prompt records, and
// the import and export work is driven below the file dialogs.

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <mutex>

#include "ConnectionInfoDlg.h"
#include "ConnectionView.h"
#include "ConnectionViewDoc.h"
#include "PropertyGrid.h"
#include "QuorvelDoc.h"
#include "RawPeer.h"
#include "RecordingPrompt.h"
#include "RunningSimulator.h"

namespace {

constexpr int kOutcomeTimeoutMs = 15000;
const char* const kDefaultName = "Local PC-Win32 (Default Connection)";

enum ERow { ROW_NAME, ROW_ADDRESS, ROW_PORT, ROW_COMMENTS };

// A new project with a key store of its own; the link listens on a port the
// system picks.
struct Project {
    QTemporaryDir dir;
    CKeyStore store{(dir.path() + "/registry.xml").toStdString()};
    CRecordingPrompt prompt;
    CQuorvelDoc document{store, &prompt};

    Project() {
        document.m_lLocalQuorvelTCPPort = 0;
        document.OnNewDocument();
    }
    CConnectionViewDoc& Records() { return *document.Connections(); }
    QString Path(const char* name) const { return dir.path() + "/" + name; }
    bool Shown(const std::string& text) const {
        return std::find(prompt.shown.begin(), prompt.shown.end(), text) != prompt.shown.end();
    }
};

CConnectionRecord Record(const std::string& name, const std::string& port) {
    return {name, "127.0.0.1", "", port};
}

// Shows the status dialog without a nested modal loop and gives it a bounded
// time to close by itself; a dialog still open then is closed and noted.
class CTestConnectionView final : public CConnectionView {
public:
    using CConnectionView::CConnectionView;
    bool bDialogRan = false;
    bool bDialogClosedItself = false;
    QString csLastStatus;

protected:
    void RunStatusDialog(CConnectionInfoDlg& dialog) override {
        bDialogRan = true;
        dialog.show();
        bDialogClosedItself = QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, kOutcomeTimeoutMs);
        csLastStatus = dialog.StatusText();
        if (!bDialogClosedItself) dialog.done(QDialog::Rejected);
    }
};

// The project document, with one of the procedure's calls held until the test
// lets it go, so that the test can act while the procedure is at that step.
class CGatedDocument final : public IConnectionDocument {
public:
    enum EGate { AT_START_LINK, AT_ATTACH, AT_CONNECT };

    CGatedDocument(CQuorvelDoc& document, EGate gate) : m_document(document), m_gate(gate) {}
    ~CGatedDocument() { Release(); }

    RpcResult StartLink() override {
        Hold(AT_START_LINK);
        return m_document.StartLink();
    }
    void StopLink() override { m_document.StopLink(); }
    RpcResult AttachCallingThread() override {
        Hold(AT_ATTACH);
        return m_document.AttachCallingThread();
    }
    void DetachCallingThread() override {
        m_document.DetachCallingThread();
        ++m_detaches;
    }
    RpcResult Connect(const std::string& address, std::int32_t port, const std::string& name) override {
        ++m_connects;
        Hold(AT_CONNECT);
        return m_document.Connect(address, port, name);
    }
    void Disconnect() override { m_document.Disconnect(); }
    RpcResult GetEngineVersion(std::string* version) override { return m_document.GetEngineVersion(version); }
    EConnectionState ConnectionState() const override { return m_document.ConnectionState(); }
    void UpdateViews(int hint) override { m_document.UpdateViews(hint); }

    bool Reached() {
        std::lock_guard lock(m_lock);
        return m_bReached;
    }
    void Release() {
        {
            std::lock_guard lock(m_lock);
            m_bReleased = true;
        }
        m_released.notify_all();
    }
    int Connects() const { return m_connects; }
    int Detaches() const { return m_detaches; }

private:
    void Hold(EGate at) {
        if (at != m_gate) return;
        std::unique_lock lock(m_lock);
        m_bReached = true;
        m_released.wait(lock, [this] { return m_bReleased; });
    }

    CQuorvelDoc& m_document;
    const EGate m_gate;
    std::mutex m_lock;
    std::condition_variable m_released;
    bool m_bReached = false;
    bool m_bReleased = false;
    std::atomic<int> m_connects{0};
    std::atomic<int> m_detaches{0};
};

// Lets a held procedure go and waits for it to end, also when a failed check
// leaves the test early, so that nothing it uses is destroyed under it.
auto FinishOnExit(CGatedDocument& gated, const CConnectionInfoDlg& dialog) {
    return qScopeGuard([&gated, &dialog] {
        gated.Release();
        if (!QTest::qWaitFor([&dialog] { return !dialog.IsBusy(); }, kOutcomeTimeoutMs))
            qWarning("the connect procedure is still running");
    });
}

// A port on loopback where nothing listens: a simulator's, once it is gone.
std::string ClosedPort() {
    RunningSimulator sim;
    const std::string port = sim.PortText();
    sim.Kill();
    return port;
}

QTreeWidgetItem* RowOf(const CConnectionView& view, int record, ERow row) {
    return view.Grid()->Group(record)->child(row);
}

bool Enabled(const CConnectionView& view, int command) { return view.Action(command)->isEnabled(); }

}  // namespace

class ConnectionViewTest : public QObject {
    Q_OBJECT

private slots:
    void toolbarHoldsTheCommandsInOrder();
    void refreshShowsOneCollapsedGroupPerRecord();
    void newRecordsGetUniqueNamesAndOpenExpanded();
    void portEdits_data();
    void portEdits();
    void nameEdits();
    void addressAndCommentsAreTakenAsTyped();
    void removeMovesTheFocusAndEmptiesTheButtons();
    void exportedRecordsImportBack();
    void failingImportsAreReportedOneByOne();
    void failingExportIsReported();
    void dialogShowsTheErrorWhenNoEngineListens();
    void dialogShowsTheErrorWhenTheLocalPortIsTaken();
    void dialogClosesItselfOnceConnected();
    void progressBarSweepsWhileTheProcedureRuns();
    void cancelInsideTheConnectCallLetsItFinish();
    void cancelBeforeTheConnectCallStopsTheLink();
    void closingAbandonsAProcedureThatHangs();
    void connectAndDisconnectFromTheToolbar();
    void refusedEngineVersionClosesTheLink();
};

void ConnectionViewTest::toolbarHoldsTheCommandsInOrder() {
    Project project;
    CConnectionView view(project.document, project.prompt);
    // Separators are empty names.
    const QList<QPair<QString, QString>> expected = {
        {"", ""},
        {"9500", "Create a new connection record"},
        {"9501", "Remove a connection record focused"},
        {"9508", "Import a list of connection records (add imported list to the existing)"},
        {"9507", "Export all the list of connection records in a file"},
        {"", ""},
        {"9502", "Expand all connection records (to view all field of all connection records)"},
        {"9503", "Collapse all connection records (to view only connection names)"},
        {"", ""},
        {"9504", "Establish a connection with NORV (use connection record focused)"},
        {"9505", "Disconnect current connection with NORV"},
        {"9506", "Wait a connection request send by NORV (wait specific request if a connection record is focused)"},
    };
    const QList<QAction*> actions = view.ToolBar()->actions();
    QCOMPARE(actions.size(), expected.size());
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions[i]->isSeparator(), expected[i].first.isEmpty());
        QCOMPARE(actions[i]->objectName(), expected[i].first);
        if (!actions[i]->isSeparator()) QCOMPARE(actions[i]->toolTip(), expected[i].second);
    }
}

void ConnectionViewTest::refreshShowsOneCollapsedGroupPerRecord() {
    Project project;
    project.Records().AppendRecord({"Lab", "10.0.0.7", "rack 3", "4000"});
    CConnectionView view(project.document, project.prompt);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.Grid()->Group(1)->setExpanded(true);
    view.Refresh();

    CPropertyGrid& grid = *view.Grid();
    QCOMPARE(grid.GroupCount(), 2);
    QCOMPARE(grid.FocusedRow(), grid.Group(0));
    QTreeWidgetItem* lab = grid.Group(1);
    QVERIFY(!grid.Group(0)->isExpanded());
    QVERIFY(!lab->isExpanded());
    QCOMPARE(CPropertyGrid::Caption(grid.Group(0)), QString(kDefaultName));
    QCOMPARE(CPropertyGrid::Caption(lab), QString("Lab"));
    QCOMPARE(CPropertyGrid::Description(lab), QString("Settings of the selected connection (Lab)"));
    const QStringList captions = {"Name", "Address", "Norv Port", "Comments"};
    const QStringList values = {"Lab", "10.0.0.7", "4000", "rack 3"};
    QCOMPARE(lab->childCount(), 4);
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(CPropertyGrid::Caption(lab->child(row)), captions[row]);
        QCOMPARE(CPropertyGrid::Text(lab->child(row)), values[row]);
    }
    QCOMPARE(CPropertyGrid::Description(lab->child(ROW_PORT)), QString("TCP Port used by NORV to listen Quorvel"));
    QVERIFY(Enabled(view, CMD_CONNECTION_CONNECT));
    QVERIFY(!Enabled(view, CMD_CONNECTION_DISCONNECT));
}

void ConnectionViewTest::newRecordsGetUniqueNamesAndOpenExpanded() {
    Project project;
    CConnectionView view(project.document, project.prompt);
    view.Action(CMD_CONNECTION_NEW)->trigger();
    view.Action(CMD_CONNECTION_NEW)->trigger();

    QCOMPARE(project.Records().Count(), std::size_t{3});
    const CConnectionRecord second = *project.Records().GetRecord(2);
    QCOMPARE(second.csName, std::string("New connection (2)"));
    QCOMPARE(second.csAddress, std::string("127.0.0.1"));
    QCOMPARE(second.csPort, std::string("12987"));
    QCOMPARE(second.csComment, std::string());
    QCOMPARE(project.Records().GetRecord(1)->csName, std::string("New connection"));
    QCOMPARE(view.Grid()->GroupCount(), 3);
    QCOMPARE(CPropertyGrid::Caption(view.Grid()->Group(2)), QString("New connection (2)"));
    QVERIFY(view.Grid()->Group(2)->isExpanded());

    view.Action(CMD_CONNECTION_COLLAPSE_ALL)->trigger();
    for (int i = 0; i < 3; ++i) QVERIFY(!view.Grid()->Group(i)->isExpanded());
    view.Action(CMD_CONNECTION_EXPAND_ALL)->trigger();
    for (int i = 0; i < 3; ++i) QVERIFY(view.Grid()->Group(i)->isExpanded());
}

void ConnectionViewTest::portEdits_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("above the range") << "65536" << false;
    QTest::newRow("letter") << "12a" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("leading blank") << " 80" << false;
    QTest::newRow("sign") << "+80" << false;
    QTest::newRow("overflowing") << "99999999999999999999" << false;
    QTest::newRow("lowest") << "1" << true;
    QTest::newRow("highest") << "65535" << true;
    QTest::newRow("leading zero") << "0080" << true;
    QTest::newRow("unchanged") << "12987" << true;
}

void ConnectionViewTest::portEdits() {
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    Project project;
    CConnectionView view(project.document, project.prompt);
    QTreeWidgetItem* port = RowOf(view, 0, ROW_PORT);

    view.Grid()->UserSetText(port, typed);

    const QString kept = accepted ? typed : QString("12987");
    QCOMPARE(CPropertyGrid::Text(port), kept);
    QCOMPARE(QString::fromStdString(project.Records().GetRecord(0)->csPort), kept);
    if (accepted) {
        QVERIFY(project.prompt.shown.empty());
    } else {
        QCOMPARE(project.prompt.shown.size(), std::size_t{1});
        QCOMPARE(project.prompt.Last(), std::string("Invalid TCP port! Must be in the range of \"1..65535\""));
    }
}

void ConnectionViewTest::nameEdits() {
    Project project;
    project.Records().AppendRecord(Record("Lab", "4000"));
    CConnectionView view(project.document, project.prompt);
    QTreeWidgetItem* lab = view.Grid()->Group(1);
    QTreeWidgetItem* name = RowOf(view, 1, ROW_NAME);

    view.Grid()->UserSetText(name, kDefaultName);
    QCOMPARE(project.prompt.shown, std::vector<std::string>{"\"Local PC-Win32 (Default Connection)\" already exist"});
    QCOMPARE(CPropertyGrid::Text(name), QString("Lab"));
    QCOMPARE(project.Records().GetRecord(1)->csName, std::string("Lab"));
    QCOMPARE(CPropertyGrid::Caption(lab), QString("Lab"));

    view.Grid()->UserSetText(name, "Lab");
    QCOMPARE(project.prompt.shown.size(), std::size_t{1});
    QCOMPARE(project.Records().GetRecord(1)->csName, std::string("Lab"));

    view.Grid()->UserSetText(name, "Studio");
    QCOMPARE(project.Records().GetRecord(1)->csName, std::string("Studio"));
    QCOMPARE(CPropertyGrid::Caption(lab), QString("Studio"));
    QCOMPARE(CPropertyGrid::Description(lab), QString("Settings of the selected connection (Studio)"));

    // The old name is free again, and names compare exactly.
    view.Grid()->UserSetText(RowOf(view, 0, ROW_NAME), "Lab");
    view.Grid()->UserSetText(name, "studio");
    QCOMPARE(project.Records().GetRecord(0)->csName, std::string("Lab"));
    QCOMPARE(project.Records().GetRecord(1)->csName, std::string("studio"));
    QCOMPARE(project.prompt.shown.size(), std::size_t{1});
}

void ConnectionViewTest::addressAndCommentsAreTakenAsTyped() {
    Project project;
    CConnectionView view(project.document, project.prompt);
    view.Grid()->UserSetText(RowOf(view, 0, ROW_ADDRESS), "\\\\pc-sound");
    view.Grid()->UserSetText(RowOf(view, 0, ROW_COMMENTS), "");

    const CConnectionRecord record = *project.Records().GetRecord(0);
    QCOMPARE(record.csAddress, std::string("\\\\pc-sound"));
    QCOMPARE(record.csComment, std::string());
    QCOMPARE(record.csName, std::string(kDefaultName));
    QCOMPARE(record.csPort, std::string("12987"));
    QVERIFY(project.prompt.shown.empty());
}

void ConnectionViewTest::removeMovesTheFocusAndEmptiesTheButtons() {
    Project project;
    project.Records().AppendRecord(Record("A", "1"));
    project.Records().AppendRecord(Record("B", "2"));
    CConnectionView view(project.document, project.prompt);
    CPropertyGrid& grid = *view.Grid();

    // A child row stands for its record; the record that followed takes the focus.
    grid.SetFocusedRow(RowOf(view, 1, ROW_PORT));
    view.Action(CMD_CONNECTION_REMOVE)->trigger();
    QCOMPARE(project.Records().Count(), std::size_t{2});
    QCOMPARE(project.Records().GetRecord(1)->csName, std::string("B"));
    QCOMPARE(grid.GroupCount(), 2);
    QCOMPARE(grid.FocusedRow(), grid.Group(1));

    // The last one hands the focus back.
    view.Action(CMD_CONNECTION_REMOVE)->trigger();
    QCOMPARE(project.Records().Count(), std::size_t{1});
    QCOMPARE(project.Records().GetRecord(0)->csName, std::string(kDefaultName));
    QCOMPARE(grid.FocusedRow(), grid.Group(0));
    QVERIFY(Enabled(view, CMD_CONNECTION_CONNECT));

    view.Action(CMD_CONNECTION_REMOVE)->trigger();
    QCOMPARE(project.Records().Count(), std::size_t{0});
    QCOMPARE(grid.GroupCount(), 0);
    QVERIFY(!grid.FocusedRow());
    for (int command : {CMD_CONNECTION_REMOVE, CMD_CONNECTION_EXPAND_ALL, CMD_CONNECTION_COLLAPSE_ALL,
                        CMD_CONNECTION_CONNECT, CMD_CONNECTION_DISCONNECT})
        QVERIFY2(!Enabled(view, command), qPrintable(QString::number(command)));
    for (int command : {CMD_CONNECTION_NEW, CMD_CONNECTION_IMPORT, CMD_CONNECTION_EXPORT, CMD_CONNECTION_WAIT})
        QVERIFY2(Enabled(view, command), qPrintable(QString::number(command)));

    view.Action(CMD_CONNECTION_NEW)->trigger();
    QVERIFY(Enabled(view, CMD_CONNECTION_EXPAND_ALL));
    QVERIFY(Enabled(view, CMD_CONNECTION_COLLAPSE_ALL));
}

void ConnectionViewTest::exportedRecordsImportBack() {
    Project source;
    const CConnectionRecord lab{"Lab", "10.1.2.3", "rack 3, ünïcode", "4000"};
    source.Records().AppendRecord(lab);
    CConnectionView sourceView(source.document, source.prompt);
    const QString path = source.Path("records.lst");
    sourceView.ExportFile(path);
    QVERIFY(source.prompt.shown.empty());

    Project target;
    CConnectionView targetView(target.document, target.prompt);
    targetView.ImportFiles({path});

    QVERIFY(target.prompt.shown.empty());
    QCOMPARE(target.Records().Count(), std::size_t{3});
    // The target already holds the default record: the imported one is renamed.
    CConnectionRecord renamed = CConnectionRecord::Default();
    renamed.csName += " (2)";
    QVERIFY(*target.Records().GetRecord(1) == renamed);
    QVERIFY(*target.Records().GetRecord(2) == lab);
    QCOMPARE(targetView.Grid()->GroupCount(), 3);
    QCOMPARE(CPropertyGrid::Text(RowOf(targetView, 2, ROW_COMMENTS)), QString("rack 3, ünïcode"));
}

void ConnectionViewTest::failingImportsAreReportedOneByOne() {
    Project project;
    CConnectionView view(project.document, project.prompt);
    const QString good = project.Path("good.lst");
    view.ExportFile(good);
    const QString missing = project.Path("missing.lst");
    const QString damaged = project.Path("damaged.lst");
    std::ofstream(damaged.toStdString()) << "not a record list";

    view.ImportFiles({missing, good, damaged});

    const auto failure = [](const QString& path) {
        return "Cannot import connection records from file \"" + path.toStdString() + "\"";
    };
    QVERIFY(project.Shown(failure(missing)));
    QVERIFY(project.Shown(failure(damaged)));
    QVERIFY(!project.Shown(failure(good)));
    QCOMPARE(project.Records().Count(), std::size_t{2});
    QCOMPARE(view.Grid()->GroupCount(), 2);
}

void ConnectionViewTest::failingExportIsReported() {
    Project project;
    CConnectionView view(project.document, project.prompt);
    const QString path = project.Path("no such folder/records.lst");
    view.ExportFile(path);
    QCOMPARE(project.prompt.Last(), "Cannot export connection records in file \"" + path.toStdString() + "\"");
}

void ConnectionViewTest::dialogShowsTheErrorWhenNoEngineListens() {
    Project project;
    CConnectionInfoDlg dialog(project.document, Record("Nowhere", ClosedPort()));
    QCOMPARE(dialog.windowTitle(), QString(" Connecting to NORV ..."));
    QCOMPARE(dialog.ConnectionText(), QString("Nowhere"));
    QCOMPARE(dialog.StatusText(), QString("Connecting..."));
    QVERIFY(!dialog.OkButton()->isEnabled());
    dialog.show();
    QVERIFY(!dialog.OkButton()->isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QString(" ERROR MESSAGE"), kOutcomeTimeoutMs);
    QCOMPARE(dialog.StatusText(), QString("Cannot establish the connection!"));
    QVERIFY(dialog.OkButton()->isVisible());
    QVERIFY(dialog.OkButton()->isEnabled());
    QVERIFY(!dialog.ProgressBar()->isVisible());
    QVERIFY(dialog.isVisible());
    QCOMPARE(project.document.ConnectionState(), CONNECTION_NONE);
    QVERIFY(!project.document.Worker().IsStarted());

    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void ConnectionViewTest::dialogShowsTheErrorWhenTheLocalPortIsTaken() {
    RunningSimulator sim;
    RawListener taken;  // the port the program would listen on for the engine
    Project project;
    project.document.m_lLocalQuorvelTCPPort = taken.Port();
    CConnectionInfoDlg dialog(project.document, Record("Sim", sim.PortText()));
    dialog.show();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.windowTitle(), QString(" ERROR MESSAGE"), kOutcomeTimeoutMs);
    QCOMPARE(dialog.StatusText(), QString("Cannot initialize RPC.\nTry to change the TCP Port of Quorvel"));
    QVERIFY(dialog.OkButton()->isVisible());
    QCOMPARE(project.document.ConnectionState(), CONNECTION_NONE);
    QVERIFY(!project.document.Worker().IsStarted());
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void ConnectionViewTest::dialogClosesItselfOnceConnected() {
    RunningSimulator sim;
    QVERIFY(RpcSucceeded(sim.StartResult()));
    Project project;
    CConnectionInfoDlg dialog(project.document, Record("Sim", sim.PortText()));
    dialog.show();

    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kOutcomeTimeoutMs);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(project.document.ConnectionState(), CONNECTION_ESTABLISHED);
    QCOMPARE(project.document.ConnectionName(), std::string("Sim"));
    QVERIFY(project.prompt.shown.empty());
}

void ConnectionViewTest::progressBarSweepsWhileTheProcedureRuns() {
    RunningSimulator sim;
    Project project;
    CGatedDocument gated(project.document, CGatedDocument::AT_START_LINK);
    CConnectionInfoDlg dialog(gated, Record("Sim", sim.PortText()));
    QList<int> values;
    connect(dialog.ProgressBar(), &QProgressBar::valueChanged, this, [&values](int v) { values.push_back(v); });
    const auto finish = FinishOnExit(gated, dialog);
    dialog.show();

    // Up to the end, then back down.
    QTRY_VERIFY_WITH_TIMEOUT(values.contains(100) && values.last() < 100, kOutcomeTimeoutMs);
    int previous = 0;
    for (int value : values) {
        QVERIFY2(value >= 0 && value <= 100, qPrintable(QString::number(value)));
        QCOMPARE(qAbs(value - previous), 5);
        previous = value;
    }
    QCOMPARE(values.first(), 5);
    QCOMPARE(values.count(100), 1);
    QVERIFY(dialog.isVisible());

    gated.Release();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kOutcomeTimeoutMs);
    QCOMPARE(project.document.ConnectionState(), CONNECTION_ESTABLISHED);
}

void ConnectionViewTest::cancelInsideTheConnectCallLetsItFinish() {
    RunningSimulator sim;
    Project project;
    CGatedDocument gated(project.document, CGatedDocument::AT_CONNECT);
    CConnectionInfoDlg dialog(gated, Record("Sim", sim.PortText()));
    const auto finish = FinishOnExit(gated, dialog);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(gated.Reached(), kOutcomeTimeoutMs);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.StatusText(), QString("Canceling..."));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.IsBusy());

    gated.Release();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kOutcomeTimeoutMs);
    QCOMPARE(project.document.ConnectionState(), CONNECTION_ESTABLISHED);
    QVERIFY(project.document.Worker().IsConnected());
}

void ConnectionViewTest::cancelBeforeTheConnectCallStopsTheLink() {
    RunningSimulator sim;
    Project project;
    CGatedDocument gated(project.document, CGatedDocument::AT_ATTACH);
    CConnectionInfoDlg dialog(gated, Record("Sim", sim.PortText()));
    const auto finish = FinishOnExit(gated, dialog);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(gated.Reached(), kOutcomeTimeoutMs);
    QVERIFY(project.document.Worker().IsStarted());

    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.StatusText(), QString("Canceling..."));
    QVERIFY(dialog.isVisible());
    gated.Release();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsBusy(), kOutcomeTimeoutMs);
    QApplication::processEvents();

    // Ended without connecting, without an error and without closing.
    QCOMPARE(gated.Connects(), 0);
    QVERIFY(!project.document.Worker().IsStarted());
    QCOMPARE(project.document.ConnectionState(), CONNECTION_NONE);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.StatusText(), QString("Canceling..."));
    QCOMPARE(dialog.windowTitle(), QString(" Connecting to NORV ..."));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void ConnectionViewTest::closingAbandonsAProcedureThatHangs() {
    RunningSimulator sim;
    Project project;
    CGatedDocument gated(project.document, CGatedDocument::AT_CONNECT);
    auto* dialog = new CConnectionInfoDlg(gated, Record("Sim", sim.PortText()));
    dialog->show();
    QTRY_VERIFY_WITH_TIMEOUT(gated.Reached(), kOutcomeTimeoutMs);

    // Waits for the procedure as long as it may, then lets its thread go.
    delete dialog;

    // The procedure finishes after its dialog is gone, reaching only what outlives it.
    gated.Release();
    QTRY_COMPARE_WITH_TIMEOUT(gated.Detaches(), 1, kOutcomeTimeoutMs);
    QCOMPARE(project.document.ConnectionState(), CONNECTION_ESTABLISHED);
    QApplication::processEvents();
}

void ConnectionViewTest::connectAndDisconnectFromTheToolbar() {
    RunningSimulator sim;
    Project project;
    project.Records().AppendRecord(Record("Sim", sim.PortText()));
    CTestConnectionView view(project.document, project.prompt);
    QSignalSpy changed(&view, &CConnectionView::ConnectionChanged);
    view.Grid()->SetFocusedRow(RowOf(view, 1, ROW_ADDRESS));
    QVERIFY(Enabled(view, CMD_CONNECTION_CONNECT));
    QVERIFY(!Enabled(view, CMD_CONNECTION_DISCONNECT));

    view.Action(CMD_CONNECTION_CONNECT)->trigger();

    QVERIFY(view.bDialogRan);
    QVERIFY2(view.bDialogClosedItself, qPrintable(view.csLastStatus));
    QCOMPARE(project.document.ConnectionState(), CONNECTION_ESTABLISHED);
    QCOMPARE(project.document.ConnectionName(), std::string("Sim"));
    QVERIFY(project.prompt.shown.empty());  // the simulator reports the expected version
    QCOMPARE(changed.count(), 1);
    QVERIFY(!Enabled(view, CMD_CONNECTION_CONNECT));
    QVERIFY(Enabled(view, CMD_CONNECTION_DISCONNECT));
    QVERIFY(!Enabled(view, CMD_CONNECTION_WAIT));

    view.Action(CMD_CONNECTION_DISCONNECT)->trigger();

    QCOMPARE(project.document.ConnectionState(), CONNECTION_NONE);
    QVERIFY(!project.document.Worker().IsStarted());
    QCOMPARE(changed.count(), 2);
    QVERIFY(Enabled(view, CMD_CONNECTION_CONNECT));
    QVERIFY(!Enabled(view, CMD_CONNECTION_DISCONNECT));
    QVERIFY(Enabled(view, CMD_CONNECTION_WAIT));
}

void ConnectionViewTest::refusedEngineVersionClosesTheLink() {
    RunningSimulator sim(RunningSimulator::WithVersion("21.0.0"));
    Project project;
    project.prompt.answerYes = false;
    project.Records().AppendRecord(Record("Old", sim.PortText()));
    CTestConnectionView view(project.document, project.prompt);
    QSignalSpy changed(&view, &CConnectionView::ConnectionChanged);
    view.Grid()->SetFocusedRow(view.Grid()->Group(1));

    view.Action(CMD_CONNECTION_CONNECT)->trigger();

    QVERIFY2(view.bDialogClosedItself, qPrintable(view.csLastStatus));
    QCOMPARE(project.prompt.shown.size(), std::size_t{1});
    QVERIFY(project.prompt.Last().starts_with("Warning! Norv version is 21.0.0 and isn't full compatible with "
                                              "Quorvel built for version 22.2.1."));
    QCOMPARE(project.document.ConnectionState(), CONNECTION_NONE);
    QVERIFY(!project.document.Worker().IsStarted());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!Enabled(view, CMD_CONNECTION_DISCONNECT));
}

QTEST_MAIN(ConnectionViewTest)
#include "ConnectionViewTest.moc"
