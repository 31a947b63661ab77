// The desktop application on the offscreen platform: start-up and the single
// instance, the status bar against a real engine, bar layouts, the edit commands,
// the navigator, the settings dialog, the event logger's list, and a project saved
// and reopened with its tabs, columns and filters.

#include <QClipboard>
#include <QDockWidget>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <future>

#include "ConnectProcedure.h"
#include "EventLogger.h"
#include "EventLoggerView.h"
#include "OutputView.h"
#include "QuorvelApp.h"
#include "RecordingPrompt.h"
#include "RunningSimulator.h"
#include "SettingsDialog.h"
#include "StringTable.h"

namespace {

// One run of the application with its own settings, runtime directory and prompt.
struct Session {
    Session() : store(dir.filePath("registry.xml").toStdString()) {
        qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
        app = std::make_unique<CQuorvelApp>(prompt, store);
    }
    bool Start(const QString& project = {}) {
        SStartOptions options;
        options.bSplash = false;
        options.csProject = project;
        if (!app->Start(options)) return false;
        Document().m_lLocalQuorvelTCPPort = 0;  // the system picks a free port
        return true;
    }
    CQuorvelDoc& Document() { return *app->Document(); }
    CMainFrame& Frame() { return *app->Frame(); }
    // The status dialog's procedure and what follows it, with the user's thread
    // serving the document's messages meanwhile.
    bool Connect(const RunningSimulator& engine) {
        std::atomic<bool> cancel{false};
        auto outcome = std::async(std::launch::async, [&] {
            return RunConnectProcedure(Document(), {"Test engine", "127.0.0.1", "", engine.PortText()}, cancel);
        });
        while (outcome.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        if (outcome.get().lResult != 0) return false;
        const bool completed = CompleteConnection(Document(), prompt);
        Frame().OnUpdate(HINT_CONNECTION_ESTABLISHED);
        return completed;
    }
    CEventLoggerView* OpenEventLogger() {
        Frame().View().OpenViewer("CEventLoggerView");
        return qobject_cast<CEventLoggerView*>(Frame().View().FindViewerWidget("CEventLoggerView"));
    }

    QTemporaryDir dir;
    CKeyStore store;
    CRecordingPrompt prompt;
    std::unique_ptr<CQuorvelApp> app;
};

int ImageOf(CMainFrame& frame, int data) { return CModuleView::ItemImage(frame.Navigator().FindItem(data)); }

}  // namespace

class AppTest : public QObject {
    Q_OBJECT

private slots:
    void startsOnceAndRefusesASecondInstance() {
        Session first;
        QVERIFY(first.Start());
        QVERIFY(first.Frame().isVisible());
        QCOMPARE(first.Document().ViewerDocKinds().size(), std::size_t{9});
        auto* navigatorTabs = first.Frame().findChild<QTabWidget*>("navigatorTabs");
        QCOMPARE(navigatorTabs->tabText(navigatorTabs->currentIndex()), QString("Connections"));
        QCOMPARE(first.Frame().MessageText(), QString("Ready"));

        CRecordingPrompt prompt;
        CKeyStore store(first.dir.filePath("other.xml").toStdString());
        CQuorvelApp second(prompt, store);
        SStartOptions options;
        options.bSplash = false;
        QVERIFY(!second.Start(options));
        QCOMPARE(prompt.Last(), std::string(QvString(IDS_ALREADY_OPEN)));
        QVERIFY(first.Frame().isVisible());

        first.app->Shutdown();
        CQuorvelApp third(prompt, store);
        QVERIFY(third.Start(options));
    }

    void theStatusBarFollowsTheConnection() {
        RunningSimulator engine;
        Session session;
        QVERIFY(session.Start());
        QVERIFY(!session.Frame().ConnectionTextShown());
        QVERIFY(!session.Frame().ConnectedIconShown());
        QCOMPARE(session.Frame().EditorText(), QString("LCB NOT OPEN"));
        QVERIFY(session.Connect(engine));
        QTRY_VERIFY(session.Frame().ConnectionTextShown());
        QCOMPARE(session.Frame().ConnectionText(), QString("Connected on Test engine"));
        QVERIFY(session.Frame().ConnectedIconShown());

        engine.Kill();
        QTRY_VERIFY_WITH_TIMEOUT(!session.Frame().ConnectionTextShown(), 15000);
        QVERIFY(!session.Frame().ConnectedIconShown());
        QCOMPARE(session.Document().ConnectionState(), CONNECTION_NONE);
    }

    void aSavedLayoutNamingAMissingBarIsIgnored() {
        Session session;
        QVERIFY(session.Start());
        auto* navigator = session.Frame().findChild<QDockWidget*>("1007");
        navigator->hide();
        session.Frame().SaveBarState();
        {
            CMainFrame again(session.Document(), session.prompt, session.store);
            QVERIFY(again.RestoreBarState());
            QVERIFY(again.findChild<QDockWidget*>("1007")->isHidden());
        }
        std::string bars;
        QVERIFY(session.store.GetString(QV_BAR_STATES_KEY, "Bars", &bars));
        session.store.SetString(QV_BAR_STATES_KEY, "Bars", bars + ",Toolbar 9");
        CMainFrame fresh(session.Document(), session.prompt, session.store);
        QVERIFY(!fresh.RestoreBarState());
        QVERIFY(!fresh.findChild<QDockWidget*>("1007")->isHidden());
    }

    void pasteNeedsAWritableFieldAndText() {
        Session session;
        QVERIFY(session.Start());
        session.Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&session.Frame()));
        QApplication::clipboard()->setText("pasted");
        session.Document().AppendOutput("a line\r\n", true);
        auto* output = qobject_cast<COutputView*>(session.Frame().View().FindViewerWidget(QV_OUTPUT_VIEW_CLASS));
        QVERIFY(output);
        QCOMPARE(output->toPlainText(), QString("a line\n"));
        output->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(output));
        QVERIFY(!session.Frame().Action(57637)->isEnabled());

        auto* field = new QLineEdit(&session.Frame());
        field->show();
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
        QVERIFY(session.Frame().Action(57637)->isEnabled());
        QVERIFY(!session.Frame().Action(57634)->isEnabled());  // nothing selected to copy
        QApplication::clipboard()->clear();
        QTRY_VERIFY(!session.Frame().Action(57637)->isEnabled());
    }

    void theNavigatorOpensViewersAndSwitchesSources() {
        RunningSimulator engine;
        Session session;
        QVERIFY(session.Start());
        CModuleView& navigator = session.Frame().Navigator();
        for (int data : {4, 5, 1, 2, 7, 8, 10, 11}) QVERIFY2(navigator.FindItem(data), std::to_string(data).c_str());
        QVERIFY(!navigator.FindItem(3));

        navigator.Switch(navigator.FindItem(11));
        QCOMPARE(session.prompt.Last(), std::string(QvString(IDS_NOT_ESTABLISHED)));
        QCOMPARE(ImageOf(session.Frame(), 11), int(CModuleView::IMAGE_OFF));
        session.prompt.shown.clear();
        navigator.Switch(navigator.FindItem(1));
        QCOMPARE(session.prompt.Last(), std::string(QvString(IDS_NOT_ESTABLISHED)));

        navigator.Activate(navigator.FindItem(1));
        navigator.Activate(navigator.FindItem(1));
        QCOMPARE(session.Frame().View().Tabs()->count(), 1);
        QVERIFY(session.Frame().View().IsActive("CEventLoggerView"));
        QCOMPARE(session.Frame().ContextBar().count(), 1);  // the filter pane
        navigator.Activate(navigator.FindItem(10));
        QCOMPARE(session.Frame().View().Tabs()->count(), 1);  // no view for this viewer yet

        QVERIFY(session.Connect(engine));
        session.prompt.shown.clear();
        navigator.Switch(navigator.FindItem(1));
        navigator.Switch(navigator.FindItem(11));
        QVERIFY(session.prompt.shown.empty());
        QCOMPARE(ImageOf(session.Frame(), 1), int(CModuleView::IMAGE_ON));
        QCOMPARE(ImageOf(session.Frame(), 11), int(CModuleView::IMAGE_ON));
        auto* view = qobject_cast<CEventLoggerView*>(session.Frame().View().FindViewerWidget("CEventLoggerView"));
        QTRY_VERIFY_WITH_TIMEOUT(view->Model()->rowCount() > 3, 10000);
        QVERIFY(view->Model()->index(0, EVENT_COLUMN_TYPE).data().toString().startsWith("EVT_"));

        engine.Kill();
        QTRY_COMPARE_WITH_TIMEOUT(session.Document().ConnectionState(), CONNECTION_NONE, 15000);
        QCOMPARE(ImageOf(session.Frame(), 1), int(CModuleView::IMAGE_OFF));
        QCOMPARE(ImageOf(session.Frame(), 11), int(CModuleView::IMAGE_OFF));
    }

    void theSettingsDialogChecksThePort() {
        Session session;
        QVERIFY(session.Start());
        session.Document().m_lLocalQuorvelTCPPort = 12988;
        CSettingsDialog dialog(session.Document(), session.prompt);
        CPropertyGrid& grid = dialog.Grid();
        QTreeWidgetItem* port = CPropertyGrid::Row(grid.Group(0), QvString(IDS_TCP_PORT));
        QVERIFY(port);
        QCOMPARE(CPropertyGrid::Text(port), QString("12988"));
        char refused[128];
        std::snprintf(refused, sizeof refused, QvString(IDS_INVALID_PORT), 1, 65535);
        for (const char* text : {"0", "65536", "129 88", "+-5", "", "port"}) {
            session.prompt.shown.clear();
            grid.UserSetText(port, text);
            QCOMPARE(session.prompt.Last(), std::string(refused));
            QCOMPARE(CPropertyGrid::Text(port), QString("12988"));
        }
        session.prompt.shown.clear();
        grid.UserSetText(port, "0x32BC");
        QVERIFY(session.prompt.shown.empty());
        QVERIFY(!dialog.ApplyButton().isEnabled());  // 0x32BC is 12988
        grid.UserSetText(port, "13000");
        QVERIFY(dialog.ApplyButton().isEnabled());
        dialog.ApplyButton().click();
        QCOMPARE(session.Document().m_lLocalQuorvelTCPPort, 13000);
        QVERIFY(!dialog.ApplyButton().isEnabled());

        dialog.Pages().setCurrentItem(dialog.Pages().topLevelItem(0)->child(1));
        QTreeWidgetItem* file = CPropertyGrid::Row(grid.Group(0), QvString(IDS_LCB_FILE));
        QVERIFY(file);
        grid.UserSetText(file, "/no/such/project.lcb");
        QCOMPARE(session.prompt.Last(), std::string("Warning! Cannot find /no/such/project.lcb file"));
        QTreeWidgetItem* read = CPropertyGrid::Row(grid.Group(0), QvString(IDS_READ_FROM_CUEFORGE));
        grid.UserChooseValue(read, 1);
        dialog.ApplyAll();
        QCOMPARE(session.Document().m_csLCBProjectFile, std::string("/no/such/project.lcb"));
        QCOMPARE(session.Document().m_bReadFromCueforge, 1);
    }

    void theEventLoggersListAndItsCommands() {
        Session session;
        QVERIFY(session.Start());
        CEventLoggerView* view = session.OpenEventLogger();
        QVERIFY(view);
        CLoggerSource& source = *session.Document().GetLoggerSource(1);
        auto* events = static_cast<CEventLoggerSource*>(&source);
        for (std::uint32_t id = 1; id <= 5; ++id) events->OnEvent(0x30010 + id, 1, 5, 2, 1);
        QTRY_COMPARE(view->Model()->rowCount(), 5);
        QCOMPARE(view->Model()->columnCount(), 9);
        QCOMPARE(view->Model()->index(0, EVENT_COLUMN_ID).data().toString(), QString("0X30015"));
        QCOMPARE(view->Model()->index(0, EVENT_COLUMN_GROUP_ID).data().toString(), QString("3"));

        view->RunCommand(ID_EMPTY_LIST);
        QCOMPARE(view->Model()->rowCount(), 0);
        view->RunCommand(ID_REFRESH);
        QTRY_COMPARE(view->Model()->rowCount(), 5);
        view->RunCommand(ID_EMPTY_HISTORY);
        QCOMPARE(view->Model()->rowCount(), 5);
        view->RunCommand(ID_REFRESH);
        QTest::qWait(50);
        QCOMPARE(view->Model()->rowCount(), 0);

        // Columns: hide one from the header menu, drag another, and the layout follows.
        for (std::uint32_t id = 1; id <= 3; ++id) events->OnEvent(id, 2, 5, 2, 1);
        QTRY_COMPARE(view->Model()->rowCount(), 3);
        std::unique_ptr<QMenu> menu = view->BuildColumnMenu();
        menu->findChild<QAction*>(QString::number(9650 + EVENT_COLUMN_NAME))->trigger();
        QCOMPARE(view->Model()->columnCount(), 8);
        QHeaderView* header = view->Table()->horizontalHeader();
        header->moveSection(header->visualIndex(view->Model()->LogicalIndexOf(EVENT_COLUMN_TYPE)), 0);
        view->SaveLayout();
        auto* doc = session.Document().ViewerDoc<CEventLoggerViewerDoc>(1);
        QCOMPARE(doc->Columns().Order().front(), EVENT_COLUMN_TYPE);
        QCOMPARE(doc->Columns().Order().size(), std::size_t{8});
        QVERIFY(!doc->Columns().Find(EVENT_COLUMN_NAME)->m_bIsVisible);

        view->RunCommand(ID_HIDE_ALL_COLUMNS);
        QCOMPARE(view->Model()->columnCount(), 0);
        events->OnEvent(99, 2, 5, 2, 1);
        QTest::qWait(50);
        view->RunCommand(ID_DISPLAY_ALL_COLUMNS);
        QCOMPARE(view->Model()->columnCount(), 9);
        QCOMPARE(view->Model()->rowCount(), 3);  // what came while no column was shown was not kept
        view->RunCommand(ID_REFRESH);
        QTRY_COMPARE(view->Model()->rowCount(), 4);

        view->RunCommand(ID_DISABLE_REFRESH);
        events->OnEvent(100, 2, 5, 2, 1);
        QTest::qWait(50);
        QCOMPARE(view->Model()->rowCount(), 4);
        QVERIFY(!doc->RefreshList());
    }

    void closingAsksToSaveAModifiedProject() {
        Session session;
        QVERIFY(session.Start());
        const QString path = session.dir.filePath("kept.qvl");
        QVERIFY(session.Frame().SaveProjectAs(path));
        session.Document().m_csProjectLanguage = "fr";
        session.Document().SetModifiedFlag();
        session.prompt.answerYes = false;
        QVERIFY(session.Frame().close());
        auto contents = [&] {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QVERIFY(contents().contains("m_csProjectLanguage"));
        QVERIFY(!contents().contains(">fr<"));
        QCOMPARE(session.prompt.Last(), "Save changes to " + QFileInfo(path).filePath().toStdString() + "?");

        session.Frame().show();
        session.prompt.answerYes = true;
        QVERIFY(session.Frame().close());
        QVERIFY(!session.Document().IsModified());
        QVERIFY(contents().contains(">fr<"));
        std::string bars;
        QVERIFY(session.store.GetString(QV_BAR_STATES_KEY, "Bars", &bars));  // the layout was saved on the way out
    }

    void aProjectReopensWithItsTabColumnsAndFilters() {
        Session session;
        QVERIFY(session.Start());
        CEventLoggerView* view = session.OpenEventLogger();
        view->RunCommand(9650 + EVENT_COLUMN_INFO);
        auto* doc = session.Document().ViewerDoc<CEventLoggerViewerDoc>(1);
        CFilter* filter = doc->AddNewFilter();
        filter->SetName("plays only");
        doc->SetCurrentFilter(filter);
        session.Document().AppendOutput("hello\r\n", false);
        session.Frame().View().SelectViewer("CEventLoggerView");
        const QString path = session.dir.filePath("session.qvl");
        QVERIFY(session.Frame().SaveProjectAs(path));
        QVERIFY(!session.Document().IsModified());

        QVERIFY(session.Frame().NewProject());
        QCOMPARE(session.Frame().View().Tabs()->count(), 0);
        QVERIFY(session.Frame().OpenProject(path));
        QVERIFY(session.Frame().View().IsActive("CEventLoggerView"));
        QVERIFY(session.Frame().View().LoadedFlag(QV_OUTPUT_VIEW_CLASS));
        doc = session.Document().ViewerDoc<CEventLoggerViewerDoc>(1);
        QVERIFY(doc->GetCurrentFilter());
        QCOMPARE(doc->GetCurrentFilter()->GetName(), std::string("plays only"));
        view = qobject_cast<CEventLoggerView*>(session.Frame().View().FindViewerWidget("CEventLoggerView"));
        QVERIFY(view);
        QCOMPARE(view->Model()->columnCount(), 8);
        QCOMPARE(view->Model()->LogicalIndexOf(EVENT_COLUMN_INFO), -1);
        QCOMPARE(session.Frame().RecentFiles().front(), QFileInfo(path).absoluteFilePath());
    }
};

QTEST_MAIN(AppTest)
#include "AppTest.moc"
