// The event logger's filter pane driven like a user: toolbar actions, the filter
// list box and edits in the property grid; the document's filters are checked after.

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "ConfigArchive.h"
#include "EventLogger.h"
#include "EventLoggerFilterView.h"
#include "RecordingPrompt.h"
#include "TestProject.h"

namespace {

struct CRecordingWindow final : IMessageTarget {
    void PostMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override { posted.push_back(message); }
    void SendMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override { sent.push_back(message); }
    std::vector<std::uint32_t> posted;
    std::vector<std::uint32_t> sent;
};

// A project, an event logger document and its pane, refreshed as the shell does.
struct CPane {
    CPane() {
        doc.Initialise(&project);
        view = std::make_unique<CEventLoggerFilterView>(doc, prompt);
        view->Refresh();
    }

    void Trigger(int command) {
        QAction* action = view->findChild<QAction*>(QString::number(command));
        QVERIFY2(action, qPrintable(QString("no action %1").arg(command)));
        action->trigger();
    }
    void Select(int entry) { view->FilterList()->setCurrentIndex(entry); }
    CPropertyGrid& Grid() { return *view->Grid(); }
    QTreeWidgetItem* Group(int index) { return Grid().Group(index); }
    QTreeWidgetItem* Row(int group, const char* caption) { return CPropertyGrid::Row(Group(group), caption); }
    void SetText(int group, const char* caption, const QString& text) {
        QTreeWidgetItem* row = Row(group, caption);
        QVERIFY2(row, caption);
        Grid().UserSetText(row, text);
    }
    void Choose(int group, const char* caption, std::int32_t value) {
        QTreeWidgetItem* row = Row(group, caption);
        QVERIFY2(row, caption);
        Grid().UserChooseValue(row, value);
    }

    QStringList Entries() const {
        QStringList entries;
        for (int i = 0; i < view->FilterList()->count(); ++i) entries << view->FilterList()->itemText(i);
        return entries;
    }
    QStringList FilterNames() const {
        QStringList names;
        for (std::size_t i = 0; i < doc.FilterCount(); ++i) names << QString::fromStdString(doc.GetFilter(i)->GetName());
        return names;
    }
    QStringList GroupCaptions() {
        QStringList captions;
        for (int i = 0; i < Grid().GroupCount(); ++i) captions << CPropertyGrid::Caption(Group(i));
        return captions;
    }
    QStringList DescriptorNames(std::size_t filter) const {
        QStringList names;
        const CFilter* f = doc.GetFilter(filter);
        for (std::size_t i = 0; f && i < f->DescriptorCount(); ++i)
            names << QString::fromStdString(f->GetDescriptor(i)->GetName());
        return names;
    }
    CEventFilterDescriptor& Descriptor(std::size_t filter, std::size_t index) {
        return static_cast<CEventFilterDescriptor&>(*doc.GetFilter(filter)->GetDescriptor(index));
    }
    // Filters made through the model, as a loaded project holds them.
    void AddFilters(const QStringList& names) {
        for (const QString& name : names) doc.AddNewFilter()->SetName(name.toStdString());
    }

    CTestProject project;
    CEventLoggerViewerDoc doc;
    CRecordingPrompt prompt;
    std::unique_ptr<CEventLoggerFilterView> view;
};

// A criterion row's state read back from the model, whatever the criterion's type.
struct CCriterion {
    std::int32_t used;
    QString text;
    qint64 value;
};

CCriterion ReadCriterion(const CEventFilterDescriptor& d, const QString& caption) {
    auto numeric = [](const auto& c) { return CCriterion{c.bUsed, QString::fromStdString(c.csText), c.value}; };
    auto text = [](const CTextCriterion& c) { return CCriterion{c.bUsed, QString::fromStdString(c.csText), 0}; };
    if (caption == "Event name") return text(d.m_eventName);
    if (caption == "Event group name") return text(d.m_eventGroupName);
    if (caption == "Event Group Id") return numeric(d.m_eventGroupId);
    if (caption == "Event Id") return numeric(d.m_eventId);
    if (caption == "Event priority") return numeric(d.m_eventPriority);
    if (caption == "Object Id") return numeric(d.m_objectId);
    if (caption == "Object type") return numeric(d.m_objectType);
    return {-1, {}, -1};
}

}  // namespace

class FilterViewTest : public QObject {
    Q_OBJECT

private slots:
    void refreshOfAnEmptyDocumentShowsOnlyNoFilter();
    void newFiltersTakeTheFirstFreeNumber();
    void choosingAnEntryMakesItCurrent();
    void removingTheSelectedFilterSelectsItsNeighbour_data();
    void removingTheSelectedFilterSelectsItsNeighbour();
    void removingWithNoFilterSelectedDoesNothing();
    void renamingAFilter_data();
    void renamingAFilter();
    void newDescriptorsTakeTheFirstFreeNumber();
    void renamingADescriptor_data();
    void renamingADescriptor();
    void removingTheFocusedDescriptor_data();
    void removingTheFocusedDescriptor();
    void firstOccurrenceAndFilteringTypeReachTheModel();
    void textCriterionRows_data();
    void textCriterionRows();
    void numericCriterionRows_data();
    void numericCriterionRows();
    void eventTypeIgnoredKeepsTheValue();
    void rowsShowTheDescriptorsCriteria();
    void refreshAfterLoadingShowsTheCurrentFilter();
    void refreshFromHistoryPostsToTheViewWindow();
};

void FilterViewTest::refreshOfAnEmptyDocumentShowsOnlyNoFilter() {
    CPane pane;
    const int before = pane.project.nModified;
    pane.view->Refresh();
    QCOMPARE(pane.Entries(), QStringList{"No filter"});
    QCOMPARE(pane.view->FilterList()->currentIndex(), 0);
    QCOMPARE(pane.Grid().GroupCount(), 0);
    QCOMPARE(pane.project.nModified, before);
    for (const char* tip : {"New Filter", "Remove Current Filter", "New Descriptor", "Remove Focused Descriptor",
                            "Refresh From History"}) {
        const QList<QAction*> actions = pane.view->ToolBar()->actions();
        QVERIFY2(std::any_of(actions.begin(), actions.end(), [&](QAction* a) { return a->toolTip() == tip; }), tip);
    }
}

void FilterViewTest::newFiltersTakeTheFirstFreeNumber() {
    CPane pane;
    for (int i = 0; i < 3; ++i) pane.Trigger(9904);
    const QStringList three{"New filter", "New filter (2)", "New filter (3)"};
    QCOMPARE(pane.FilterNames(), three);
    QCOMPARE(pane.Entries(), QStringList{"No filter"} + three);
    QCOMPARE(pane.view->FilterList()->currentIndex(), 3);
    QCOMPARE(pane.doc.GetCurrentFilter(), pane.doc.GetFilter(2));
    QCOMPARE(pane.GroupCaptions(), QStringList{"New filter (3)"});
    QCOMPARE(CPropertyGrid::Text(pane.Row(0, "Filter name")), QString("New filter (3)"));
    QVERIFY(pane.project.nModified > 0);

    pane.Select(2);
    pane.Trigger(9905);
    pane.Trigger(9904);
    QCOMPARE(pane.FilterNames(), (QStringList{"New filter", "New filter (3)", "New filter (2)"}));
    QCOMPARE(pane.doc.GetCurrentFilter(), pane.doc.GetFilter(2));
    QCOMPARE(pane.view->FilterList()->currentText(), QString("New filter (2)"));
}

void FilterViewTest::choosingAnEntryMakesItCurrent() {
    CPane pane;
    pane.AddFilters({"A", "B"});
    pane.doc.GetFilter(0)->SetDisplayOnlyFirstOccurrence(true);
    pane.view->Refresh();
    const int before = pane.project.nModified;

    pane.Select(1);
    QCOMPARE(pane.doc.GetCurrentFilter(), pane.doc.GetFilter(0));
    QCOMPARE(pane.GroupCaptions(), QStringList{"A"});
    QCOMPARE(CPropertyGrid::Description(pane.Group(0)), QString("A"));
    QCOMPARE(CPropertyGrid::Text(pane.Row(0, "First occurence only")), QString("True"));
    QVERIFY(pane.project.nModified > before);

    pane.Select(0);
    QCOMPARE(pane.doc.GetCurrentFilter(), nullptr);
    QCOMPARE(pane.Grid().GroupCount(), 0);
}

void FilterViewTest::removingTheSelectedFilterSelectsItsNeighbour_data() {
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<int>("removed");  // list box entry
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("selected");

    QTest::newRow("middle") << QStringList{"A", "B", "C"} << 2 << QStringList{"A", "C"} << "C";
    QTest::newRow("last") << QStringList{"A", "B", "C"} << 3 << QStringList{"A", "B"} << "B";
    QTest::newRow("only") << QStringList{"A"} << 1 << QStringList{} << "No filter";
}

void FilterViewTest::removingTheSelectedFilterSelectsItsNeighbour() {
    QFETCH(QStringList, filters);
    QFETCH(int, removed);
    QFETCH(QStringList, left);
    QFETCH(QString, selected);
    CPane pane;
    pane.AddFilters(filters);
    pane.view->Refresh();
    pane.Select(removed);

    pane.Trigger(9905);
    QCOMPARE(pane.FilterNames(), left);
    QCOMPARE(pane.Entries(), QStringList{"No filter"} + left);
    QCOMPARE(pane.view->FilterList()->currentText(), selected);
    // What the pane shows is what the logger applies.
    const int current = pane.doc.FindFilter(selected.toStdString());
    QCOMPARE(pane.doc.GetCurrentFilter(), current < 0 ? nullptr : pane.doc.GetFilter(std::size_t(current)));
    QCOMPARE(pane.GroupCaptions(), current < 0 ? QStringList{} : QStringList{selected});
}

void FilterViewTest::removingWithNoFilterSelectedDoesNothing() {
    CPane pane;
    pane.AddFilters({"A"});
    pane.view->Refresh();
    const int before = pane.project.nModified;
    pane.Trigger(9905);
    pane.Trigger(9906);
    pane.Trigger(9907);
    QCOMPARE(pane.FilterNames(), QStringList{"A"});
    QCOMPARE(pane.DescriptorNames(0), QStringList{});
    QCOMPARE(pane.project.nModified, before);
}

void FilterViewTest::renamingAFilter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");     // of the filter afterwards
    QTest::addColumn<QString>("warning");  // empty: none
    QTest::addColumn<bool>("modified");

    QTest::newRow("free name") << "Voices" << "Voices" << "" << true;
    QTest::newRow("another filter's name") << "B" << "A" << "\"B\" already exist" << false;
    QTest::newRow("its own name") << "A" << "A" << "" << false;
    QTest::newRow("differs only in case") << "b" << "b" << "" << true;
}

void FilterViewTest::renamingAFilter() {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, warning);
    QFETCH(bool, modified);
    CPane pane;
    pane.AddFilters({"A", "B"});
    pane.view->Refresh();
    pane.Select(1);
    const int before = pane.project.nModified;

    pane.SetText(0, "Filter name", typed);
    QCOMPARE(pane.FilterNames(), (QStringList{name, "B"}));
    QCOMPARE(QString::fromStdString(pane.prompt.Last()), warning);
    QCOMPARE(pane.project.nModified > before, modified);
    QCOMPARE(CPropertyGrid::Text(pane.Row(0, "Filter name")), name);
    QCOMPARE(CPropertyGrid::Caption(pane.Group(0)), name);
    QCOMPARE(CPropertyGrid::Description(pane.Group(0)), name);
    QCOMPARE(pane.Entries(), (QStringList{"No filter", name, "B"}));
    QCOMPARE(pane.view->FilterList()->currentIndex(), 1);
    QCOMPARE(pane.doc.GetCurrentFilter(), pane.doc.GetFilter(0));
}

void FilterViewTest::newDescriptorsTakeTheFirstFreeNumber() {
    CPane pane;
    pane.Trigger(9904);
    for (int i = 0; i < 3; ++i) pane.Trigger(9906);
    const QStringList three{"New Descriptor", "New Descriptor (2)", "New Descriptor (3)"};
    QCOMPARE(pane.DescriptorNames(0), three);
    QCOMPARE(pane.GroupCaptions(), QStringList{"New filter"} + three);
    QCOMPARE(CPropertyGrid::Description(pane.Group(2)), QString("Settings of the selected connection (New Descriptor (2))"));
    QVERIFY(pane.Group(3)->isExpanded());
    QCOMPARE(pane.Descriptor(0, 2).GetType(), std::int32_t(FILTER_INCLUDE));
    QCOMPARE(CPropertyGrid::Text(pane.Row(3, "Filtering type")), QString("Include equivalence"));

    pane.Grid().SetFocusedRow(pane.Group(2));
    pane.Trigger(9907);
    pane.Trigger(9906);
    QCOMPARE(pane.DescriptorNames(0), (QStringList{"New Descriptor", "New Descriptor (3)", "New Descriptor (2)"}));
}

void FilterViewTest::renamingADescriptor_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("modified");

    QTest::newRow("free name") << "Footsteps" << "Footsteps" << "" << true;
    QTest::newRow("another descriptor's name") << "D2" << "D1" << "\"D2\" already exist" << false;
    QTest::newRow("its own name") << "D1" << "D1" << "" << false;
}

void FilterViewTest::renamingADescriptor() {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, warning);
    QFETCH(bool, modified);
    CPane pane;
    pane.AddFilters({"A"});
    CFilter* filter = pane.doc.GetFilter(0);
    filter->AddNewDescriptor()->SetName("D1");
    filter->AddNewDescriptor()->SetName("D2");
    pane.doc.SetCurrentFilter(filter);
    pane.view->Refresh();
    const int before = pane.project.nModified;

    pane.SetText(1, "Descriptor name", typed);
    QCOMPARE(pane.DescriptorNames(0), (QStringList{name, "D2"}));
    QCOMPARE(QString::fromStdString(pane.prompt.Last()), warning);
    QCOMPARE(pane.project.nModified > before, modified);
    QCOMPARE(CPropertyGrid::Text(pane.Row(1, "Descriptor name")), name);
    QCOMPARE(CPropertyGrid::Caption(pane.Group(1)), name);
    QCOMPARE(CPropertyGrid::Description(pane.Group(1)), "Settings of the selected connection (" + name + ")");

    // The renamed group still edits its own descriptor.
    pane.SetText(1, "Event name", "Play");
    QCOMPARE(pane.Descriptor(0, 0).m_eventName.csText, std::string("Play"));
    QCOMPARE(pane.Descriptor(0, 1).m_eventName.bUsed, 0);
}

void FilterViewTest::removingTheFocusedDescriptor_data() {
    QTest::addColumn<int>("group");  // -1: nothing focused
    QTest::addColumn<QString>("row");  // empty: the group itself
    QTest::addColumn<QStringList>("left");

    const QStringList all{"D1", "Event name", "D3"};
    QTest::newRow("group focused") << 3 << "" << QStringList{"D1", "Event name"};
    QTest::newRow("row focused") << 1 << "Object Id" << QStringList{"Event name", "D3"};
    // The row's caption names another descriptor; the row's own group decides.
    QTest::newRow("row named like a descriptor") << 3 << "Event name" << QStringList{"D1", "Event name"};
    QTest::newRow("filter's row focused") << 0 << "Filter name" << all;
    QTest::newRow("filter's group focused") << 0 << "" << all;
    QTest::newRow("nothing focused") << -1 << "" << all;
}

void FilterViewTest::removingTheFocusedDescriptor() {
    QFETCH(int, group);
    QFETCH(QString, row);
    QFETCH(QStringList, left);
    CPane pane;
    // The filter is named like one of its descriptors: only groups of descriptors count.
    pane.AddFilters({"D1"});
    CFilter* filter = pane.doc.GetFilter(0);
    for (const char* name : {"D1", "Event name", "D3"}) filter->AddNewDescriptor()->SetName(name);
    pane.doc.SetCurrentFilter(filter);
    pane.view->Refresh();
    if (group >= 0) {
        QTreeWidgetItem* item = row.isEmpty() ? pane.Group(group) : CPropertyGrid::Row(pane.Group(group), row);
        QVERIFY(item);
        pane.Grid().SetFocusedRow(item);
    }

    pane.Trigger(9907);
    QCOMPARE(pane.DescriptorNames(0), left);
    QCOMPARE(pane.GroupCaptions(), QStringList{"D1"} + left);
}

void FilterViewTest::firstOccurrenceAndFilteringTypeReachTheModel() {
    CPane pane;
    pane.Trigger(9904);
    pane.Trigger(9906);
    CFilter& filter = *pane.doc.GetFilter(0);

    pane.Choose(0, "First occurence only", 1);
    QVERIFY(filter.DisplayOnlyFirstOccurrence());
    pane.Choose(0, "First occurence only", 0);
    QVERIFY(!filter.DisplayOnlyFirstOccurrence());

    for (std::int32_t type : {FILTER_EXCLUDE, FILTER_DISABLED, FILTER_INCLUDE}) {
        const int before = pane.project.nModified;
        pane.Choose(1, "Filtering type", type);
        QCOMPARE(pane.Descriptor(0, 0).GetType(), type);
        QVERIFY(pane.project.nModified > before);
    }
}

void FilterViewTest::textCriterionRows_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("used");
    QTest::addColumn<QString>("shown");

    for (const char* caption : {"Event name", "Event group name"}) {
        QTest::addRow("%s: text", caption) << caption << "Ambience" << 1 << "Ambience";
        QTest::addRow("%s: empty", caption) << caption << "" << 0 << "ITEM IGNORED";
        QTest::addRow("%s: ignored", caption) << caption << "ITEM IGNORED" << 0 << "ITEM IGNORED";
    }
}

void FilterViewTest::textCriterionRows() {
    QFETCH(QString, caption);
    QFETCH(QString, typed);
    QFETCH(int, used);
    QFETCH(QString, shown);
    CPane pane;
    pane.Trigger(9904);
    pane.Trigger(9906);
    pane.SetText(1, qPrintable(caption), "Previous");

    pane.SetText(1, qPrintable(caption), typed);
    const CCriterion criterion = ReadCriterion(pane.Descriptor(0, 0), caption);
    QCOMPARE(criterion.used, used);
    QCOMPARE(criterion.text, shown);
    QCOMPARE(CPropertyGrid::Text(pane.Row(1, qPrintable(caption))), shown);
}

void FilterViewTest::numericCriterionRows_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("previous");  // typed first
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("used");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("warned");

    QTest::newRow("hex id") << "Event Id" << "" << "0x1F" << 1 << "0x1F" << qint64(31) << false;
    QTest::newRow("hex beyond F restores") << "Event Id" << "42" << "0x1G" << 1 << "42" << qint64(42) << true;
    QTest::newRow("hex beyond F, nothing before") << "Event Id" << "" << "0X2H" << 0 << "ITEM IGNORED" << qint64(0)
                                                  << true;
    QTest::newRow("letters in decimal") << "Event Group Id" << "0x10" << "12AB" << 1 << "0x10" << qint64(16) << true;
    QTest::newRow("prefix alone") << "Object type" << "7" << "0x" << 1 << "7" << qint64(7) << true;
    QTest::newRow("negative priority") << "Event priority" << "" << "-7" << 1 << "-7" << qint64(-7) << false;
    QTest::newRow("signed object id") << "Object Id" << "" << "+16" << 1 << "+16" << qint64(16) << false;
    QTest::newRow("emptied") << "Object Id" << "5" << "" << 0 << "ITEM IGNORED" << qint64(5) << false;
    QTest::newRow("typed ignored") << "Event Id" << "5" << "ITEM IGNORED" << 0 << "ITEM IGNORED" << qint64(5)
                                   << false;
}

void FilterViewTest::numericCriterionRows() {
    QFETCH(QString, caption);
    QFETCH(QString, previous);
    QFETCH(QString, typed);
    QFETCH(int, used);
    QFETCH(QString, shown);
    QFETCH(qint64, value);
    QFETCH(bool, warned);
    CPane pane;
    pane.Trigger(9904);
    pane.Trigger(9906);
    if (!previous.isEmpty()) pane.SetText(1, qPrintable(caption), previous);
    QVERIFY(pane.prompt.shown.empty());
    const CCriterion before = ReadCriterion(pane.Descriptor(0, 0), caption);
    const int modifiedBefore = pane.project.nModified;

    pane.SetText(1, qPrintable(caption), typed);
    const CCriterion criterion = ReadCriterion(pane.Descriptor(0, 0), caption);
    QCOMPARE(criterion.used, used);
    QCOMPARE(criterion.text, shown);
    QCOMPARE(criterion.value, value);
    QCOMPARE(CPropertyGrid::Text(pane.Row(1, qPrintable(caption))), shown);
    QCOMPARE(pane.prompt.shown, warned ? std::vector<std::string>{"Invalid numeric value"} : std::vector<std::string>{});
    // A refused number leaves the descriptor as it was, and the project unmodified.
    const bool changed = criterion.used != before.used || criterion.text != before.text;
    QCOMPARE(pane.project.nModified > modifiedBefore, changed);
}

void FilterViewTest::eventTypeIgnoredKeepsTheValue() {
    CPane pane;
    pane.Trigger(9904);
    pane.Trigger(9906);
    const TListCriterion<std::uint32_t>& type = pane.Descriptor(0, 0).m_eventType;
    QCOMPARE(CPropertyGrid::Text(pane.Row(1, "Event type")), QString("ITEM IGNORED"));

    for (std::int32_t code : {0, 5, 11}) {
        pane.Choose(1, "Event type", code);
        QCOMPARE(type.bUsed, 1);
        QCOMPARE(type.value, std::uint32_t(code));
        QCOMPARE(CPropertyGrid::Text(pane.Row(1, "Event type")), QString(EventTypeName(std::uint32_t(code))));
    }
    const int before = pane.project.nModified;
    pane.Choose(1, "Event type", -1);
    QCOMPARE(type.bUsed, 0);
    QCOMPARE(type.value, 11u);
    QCOMPARE(type.csText, std::string("ITEM IGNORED"));
    QCOMPARE(CPropertyGrid::Text(pane.Row(1, "Event type")), QString("ITEM IGNORED"));
    QVERIFY(pane.project.nModified > before);
}

void FilterViewTest::rowsShowTheDescriptorsCriteria() {
    CPane pane;
    pane.AddFilters({"A"});
    auto& d = static_cast<CEventFilterDescriptor&>(*pane.doc.GetFilter(0)->AddNewDescriptor());
    d.SetName("Loud");
    d.SetType(7);  // unknown types are skipped like disabled ones
    d.m_eventName.Set("Explosion");
    d.m_eventId.Set("0X20");
    d.m_eventType.Choose(3);
    d.m_objectType.Set("12");
    pane.doc.SetCurrentFilter(pane.doc.GetFilter(0));
    pane.view->Refresh();

    QTreeWidgetItem* group = pane.Group(1);
    QStringList captions, texts;
    for (int i = 0; i < group->childCount(); ++i) {
        captions << CPropertyGrid::Caption(group->child(i));
        texts << CPropertyGrid::Text(group->child(i));
    }
    QCOMPARE(captions, (QStringList{"Descriptor name", "Filtering type", "Event name", "Event Group Id",
                                    "Event group name", "Event Id", "Event type", "Event priority", "Object Id",
                                    "Object type"}));
    QCOMPARE(texts, (QStringList{"Loud", "Disable descriptor", "Explosion", "ITEM IGNORED", "ITEM IGNORED", "0X20",
                                 EventTypeName(3), "ITEM IGNORED", "ITEM IGNORED", "12"}));
    QCOMPARE(CPropertyGrid::Description(pane.Row(1, "Object Id")), QString("Object Id to filter (empty to ignore)"));
    QVERIFY(!CPropertyGrid::IsListRow(pane.Row(1, "Event Id")));
    QVERIFY(CPropertyGrid::IsListRow(pane.Row(1, "Event type")));
}

void FilterViewTest::refreshAfterLoadingShowsTheCurrentFilter() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("filters.qvl").toStdString();
    {
        CTestProject project;
        CEventLoggerViewerDoc saved;
        saved.Initialise(&project);
        for (const char* name : {"A", "B", "C"}) saved.AddNewFilter()->SetName(name);
        saved.GetFilter(1)->AddNewDescriptor()->SetName("Only in B");
        saved.SetCurrentFilter(saved.GetFilter(1));
        CConfigArchive store(CConfigArchive::STORE);
        QCOMPARE(saved.SerializeXml(store), 0);
        std::string error;
        QVERIFY2(store.Save(path, &error), error.c_str());
    }

    CPane pane;
    pane.Trigger(9904);  // shown before the project is replaced
    pane.doc.Reset();
    pane.doc.Initialise(&pane.project);
    CConfigArchive load(CConfigArchive::LOAD);
    QVERIFY(load.Load(path));
    QCOMPARE(pane.doc.SerializeXml(load), 0);
    const int before = pane.project.nModified;

    pane.view->Refresh();
    QCOMPARE(pane.Entries(), (QStringList{"No filter", "A", "B", "C"}));
    QCOMPARE(pane.view->FilterList()->currentText(), QString("B"));
    QCOMPARE(pane.GroupCaptions(), (QStringList{"B", "Only in B"}));
    QCOMPARE(pane.doc.GetCurrentFilter(), pane.doc.GetFilter(1));
    QCOMPARE(pane.project.nModified, before);

    // The pane edits the loaded filters, not what it showed before.
    pane.Trigger(9906);
    QCOMPARE(pane.DescriptorNames(1), (QStringList{"Only in B", "New Descriptor"}));
}

void FilterViewTest::refreshFromHistoryPostsToTheViewWindow() {
    CPane pane;
    pane.Trigger(9908);  // no view window yet: nothing to post to

    CRecordingWindow window;
    pane.doc.SetViewWindow(&window);
    pane.Trigger(9908);
    QCOMPARE(window.posted, std::vector<std::uint32_t>{WM_REFRESH_FROM_HISTORY});
    QVERIFY(window.sent.empty());
    pane.doc.SetViewWindow(nullptr);
}

QTEST_MAIN(FilterViewTest)
#include "FilterViewTest.moc"
