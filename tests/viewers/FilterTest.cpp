// The filter model: evaluation with include, exclude and disabled descriptors,
// first-occurrence suppression, criterion texts and numbers, and both saved forms.

#include <gtest/gtest.h>

#include <filesystem>

#include "FilteredViewerDoc.h"
#include "NumericText.h"

namespace {

// A record with nothing but a key.
class KeyRecord final : public CInfoContainer {
public:
    explicit KeyRecord(std::uint32_t key) : m_ulKey(key) {}
    std::uint32_t Key() const override { return m_ulKey; }

private:
    std::uint32_t m_ulKey;
};

// A descriptor with one numeric criterion on the key and one text criterion.
class KeyDescriptor final : public CFilterDescriptor {
public:
    const char* ClassName() const override { return "CKeyFilterDescriptor"; }
    TNumericCriterion<std::uint32_t> key;
    CTextCriterion label;

protected:
    void SerializeOwnXml(CConfigArchive& a) override {
        a.SerializeI4("m_bKeyUsed", &key.bUsed);
        a.SerializeString("m_csKey", &key.csText);
        a.SerializeUI4("m_ulKey", &key.value);
        a.SerializeI4("m_bLabelUsed", &label.bUsed);
        a.SerializeString("m_csLabel", &label.csText);
    }
    void StoreOwn(CLegacyArchiveWriter& a) const override {
        a.WriteUInt32(1);
        a.WriteInt32(key.bUsed);
        a.WriteString(key.csText);
        a.WriteUInt32(key.value);
    }
    int LoadOwn(CLegacyArchiveReader& a) override {
        std::uint32_t version = 0;
        if (!a.ReadUInt32(&version)) return 3;
        if (version != 1) return 2;
        return a.ReadInt32(&key.bUsed) && a.ReadString(&key.csText) && a.ReadUInt32(&key.value) ? 0 : 3;
    }
};

class KeyFilter final : public CFilter {
protected:
    std::unique_ptr<CFilterDescriptor> CreateDescriptor() override { return std::make_unique<KeyDescriptor>(); }
    bool Match(const CInfoContainer& record, const CFilterDescriptor& d, bool* matched) override {
        const auto& k = static_cast<const KeyDescriptor&>(d);
        *matched = k.key.bUsed && record.Key() == k.key.value;
        return true;
    }
};

class KeyViewerDoc final : public CFilteredViewerDoc {
public:
    int ViewerKind() const override { return 1; }
    int SourceKind() const override { return 1; }
    int Initialise(IProjectDocument*) override { return 1; }
    void Reset() override { RemoveAllFilters(); }
    int LoadArchive(IProjectDocument*, CLegacyArchiveReader& archive) override { return LoadFilteredArchive(archive); }
    void StoreArchive(CLegacyArchiveWriter& archive) const override { StoreFilteredArchive(archive); }
    int SerializeXml(CConfigArchive& archive) override { return SerializeFilteredXml(archive); }

protected:
    std::unique_ptr<CFilter> CreateFilter() override { return std::make_unique<KeyFilter>(); }
};

struct Modified : IModifiable {
    int count = 0;
    void SetModifiedFlag(bool) override { ++count; }
};

std::vector<int> Accepts(CFilter& filter, const std::vector<std::uint32_t>& keys) {
    std::vector<int> shown;
    for (std::uint32_t key : keys) {
        auto* record = new KeyRecord(key);
        shown.push_back(filter.Accept(*record));
        record->Release();
    }
    return shown;
}

KeyDescriptor* Add(CFilter& filter, std::int32_t type, const char* key) {
    auto* d = static_cast<KeyDescriptor*>(filter.AddNewDescriptor());
    d->SetType(type);
    if (key) d->key.Set(key);
    return d;
}

TEST(Filter, IncludeExcludeAndDisabledDescriptors) {
    KeyFilter filter;
    EXPECT_EQ(Accepts(filter, {1, 2}), (std::vector<int>{1, 1})) << "no descriptors: everything";
    Add(filter, FILTER_INCLUDE, "1");
    Add(filter, FILTER_INCLUDE, "2");
    Add(filter, FILTER_EXCLUDE, "0x2");
    EXPECT_EQ(Accepts(filter, {1, 2, 3}), (std::vector<int>{1, 0, 0})) << "exclusion wins";

    KeyFilter disabledOnly;
    Add(disabledOnly, FILTER_DISABLED, "1");
    Add(disabledOnly, 7, "1");
    EXPECT_EQ(Accepts(disabledOnly, {1}), (std::vector<int>{0}));
    KeyFilter unused;
    Add(unused, FILTER_INCLUDE, nullptr);
    EXPECT_EQ(Accepts(unused, {1, 2}), (std::vector<int>{0, 0})) << "a descriptor without criteria never matches";
    EXPECT_STREQ(unused.GetDescriptor(0)->TypeText(), "Include equivalence");
    EXPECT_STREQ(disabledOnly.GetDescriptor(1)->TypeText(), "Disable descriptor");
}

TEST(Filter, FirstOccurrenceShowsEachKeyOnceUntilCleared) {
    KeyViewerDoc doc;
    Modified modified;
    doc.SetModifiedSink(&modified);
    CFilter* filter = doc.AddNewFilter();
    filter->SetDisplayOnlyFirstOccurrence(true);
    doc.SetCurrentFilter(filter);
    EXPECT_EQ(Accepts(*filter, {5, 6, 5, 6, 7}), (std::vector<int>{1, 1, 0, 0, 1}));
    doc.SetCurrentFilter(filter);  // a refresh: every key once again
    EXPECT_EQ(Accepts(*filter, {5, 5}), (std::vector<int>{1, 0}));
    EXPECT_GT(modified.count, 0);
}

TEST(Filter, NumericTexts) {
    const std::vector<std::pair<std::string, CNumericText::EKind>> kinds = {
        {"0x1F", CNumericText::HEXADECIMAL}, {"42", CNumericText::DECIMAL}, {"-7", CNumericText::DECIMAL},
        {"12AB", CNumericText::INVALID},     {"0X", CNumericText::INVALID}, {"", CNumericText::INVALID},
        {"1 2", CNumericText::INVALID},      {"5-", CNumericText::DECIMAL}, {"+-5", CNumericText::INVALID},
    };
    for (const auto& [text, kind] : kinds) EXPECT_EQ(CNumericText::Classify(text), kind) << '"' << text << '"';
    for (const char* sixteen : {"0X10", "16", "+16", "0x10"}) {
        std::uint32_t value = 0;
        EXPECT_TRUE(CNumericText::ToUnsigned(sixteen, &value));
        EXPECT_EQ(value, 16u) << sixteen;
    }
    std::int32_t signedValue = 0;
    EXPECT_TRUE(CNumericText::ToSigned("-7", &signedValue));
    EXPECT_EQ(signedValue, -7);
    EXPECT_TRUE(CNumericText::ToSigned("5-", &signedValue));
    EXPECT_EQ(signedValue, 5);

    TNumericCriterion<std::uint32_t> c;
    EXPECT_FALSE(c.Set("12AB"));
    EXPECT_EQ(c.csText, "ITEM IGNORED");
    EXPECT_EQ(c.bUsed, 0);
    EXPECT_TRUE(c.Set("0x1F"));
    EXPECT_EQ(c.value, 31u);
    CTextCriterion t;
    t.Set("rain");
    EXPECT_EQ(t.bUsed, 1);
    t.Set("");
    EXPECT_EQ(t.csText, "ITEM IGNORED");
    EXPECT_EQ(t.bUsed, 0);
}

void Fill(KeyViewerDoc& doc) {
    CFilter* a = doc.AddNewFilter();
    a->SetName("Rain only");
    Add(*a, FILTER_INCLUDE, "0x10")->SetName("key 16");
    CFilter* b = doc.AddNewFilter();
    b->SetName("Not \xC3\xA9t\xC3\xA9");
    b->SetDisplayOnlyFirstOccurrence(true);
    Add(*b, FILTER_EXCLUDE, "7");
    Add(*b, FILTER_DISABLED, nullptr);
    doc.SetCurrentFilter(b);
}

void ExpectFilled(const KeyViewerDoc& doc) {
    ASSERT_EQ(doc.FilterCount(), 2u);
    EXPECT_EQ(doc.GetFilter(0)->GetName(), "Rain only");
    EXPECT_EQ(doc.GetFilter(1)->GetName(), "Not \xC3\xA9t\xC3\xA9");
    EXPECT_TRUE(doc.GetFilter(1)->DisplayOnlyFirstOccurrence());
    ASSERT_EQ(doc.GetFilter(1)->DescriptorCount(), 2u);
    EXPECT_EQ(doc.GetFilter(1)->GetDescriptor(0)->GetType(), FILTER_EXCLUDE);
    EXPECT_EQ(doc.GetFilter(1)->GetDescriptor(1)->GetType(), FILTER_DISABLED);
    const auto* d = static_cast<const KeyDescriptor*>(doc.GetFilter(0)->GetDescriptor(0));
    EXPECT_EQ(d->GetName(), "key 16");
    EXPECT_EQ(d->key.csText, "0x10");
    EXPECT_EQ(d->key.value, 16u);
    EXPECT_EQ(d->key.bUsed, 1);
    EXPECT_EQ(doc.GetCurrentFilter(), doc.GetFilter(1));
}

TEST(Filter, BothSavedFormsKeepFiltersDescriptorsAndTheCurrentFilter) {
    KeyViewerDoc doc;
    Fill(doc);
    CConfigArchive store(CConfigArchive::STORE);
    EXPECT_EQ(doc.SerializeFilteredXml(store), 0);
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "filters.qvl").string();
    std::string error;
    ASSERT_TRUE(store.Save(path, &error));
    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(path));
    KeyViewerDoc fromXml;
    EXPECT_EQ(fromXml.SerializeFilteredXml(load), 0);
    ExpectFilled(fromXml);

    CLegacyArchiveWriter writer;
    doc.StoreFilteredArchive(writer);
    CLegacyArchiveReader reader(writer.Bytes());
    KeyViewerDoc fromBinary;
    EXPECT_EQ(fromBinary.LoadFilteredArchive(reader), 0);
    EXPECT_TRUE(reader.AtEnd());
    ExpectFilled(fromBinary);

    std::vector<std::uint8_t> bytes = writer.Bytes();
    bytes[0] = 2;
    CLegacyArchiveReader wrongVersion(bytes);
    EXPECT_EQ(KeyViewerDoc().LoadFilteredArchive(wrongVersion), 2);
    CLegacyArchiveReader truncated(std::vector<std::uint8_t>(writer.Bytes().begin(), writer.Bytes().end() - 3));
    EXPECT_EQ(KeyViewerDoc().LoadFilteredArchive(truncated), 3);
}

TEST(Filter, RemovingTheCurrentFilterLeavesNone) {
    KeyViewerDoc doc;
    Fill(doc);
    doc.RemoveFilter(9);  // nothing there
    EXPECT_EQ(doc.FilterCount(), 2u);
    doc.RemoveFilter(1);
    EXPECT_EQ(doc.GetCurrentFilter(), nullptr);
    EXPECT_EQ(doc.FindFilter("Rain only"), 0);
    EXPECT_EQ(doc.GetFilter(5), nullptr);
}

}  // namespace
