#pragma once
// The atomic loading logger's model: its filter and descriptor (criteria kept in a
// template record and a bit mask), its viewer document (kind 7) with five columns,
// and the cell texts of a loading record.

#include <memory>
#include <string>

#include "ColumnViewerDoc.h"
#include "InfoRecords.h"

// "Load", "Unload" and the others; "ATM_INVALID" above 8.
const char* AtomicLoadingEventName(std::uint32_t eventType);
// "Event", "Resource", "Sound Data", "Project Settings"; "Unknown" otherwise.
const char* AtomicLoadingDataTypeName(std::uint32_t dataType);
// "Loaded", "Unloaded"; "Unknown" otherwise.
const char* LoadStateName(std::uint32_t loadState);

enum EAtomicLoadingColumn : std::int32_t {
    LOADING_COLUMN_TIME = 0,
    LOADING_COLUMN_OBJECT_ID,
    LOADING_COLUMN_OBJECT_NAME,
    LOADING_COLUMN_EVENT,
    LOADING_COLUMN_DATA,
};
std::string AtomicLoadingCellText(const CAtomicLoadingInfoContainer& record, std::int32_t column);

// Bits of m_ulUsedParams.
enum EAtomicLoadingCriterion : std::uint32_t {
    LOADING_BY_OBJECT_ID = 1,
    LOADING_BY_EVENT_TYPE = 2,
    LOADING_BY_DATA_TYPE = 4,
    LOADING_BY_OBJECT_NAME = 8,
    LOADING_BY_LOAD_COUNT = 16,
    LOADING_BY_REFERENCE_COUNT = 32,
    LOADING_BY_LOAD_STATE = 64,
};

class CAtomicLoadingFilterDescriptor final : public CFilterDescriptor {
public:
    CAtomicLoadingFilterDescriptor();
    const char* ClassName() const override { return "CAtomicLoadingFilterDescriptor"; }

    // Numbers typed as text; false (and the criterion cleared) when not a number.
    bool SetObjectIdText(const std::string& text) { return SetNumber(text, LOADING_BY_OBJECT_ID, &m_csObjectId); }
    bool SetLoadCountText(const std::string& text) { return SetNumber(text, LOADING_BY_LOAD_COUNT, &m_csLoadCount); }
    bool SetRefCountText(const std::string& text) { return SetNumber(text, LOADING_BY_REFERENCE_COUNT, &m_csRefCount); }
    // A list choice; ignore clears the criterion.
    void Choose(EAtomicLoadingCriterion criterion, std::uint32_t code);
    void Ignore(EAtomicLoadingCriterion criterion);
    void SetObjectName(const std::string& text);

    bool Uses(EAtomicLoadingCriterion criterion) const { return (m_ulUsedParams & criterion) != 0; }
    const CAtomicLoadingInfoContainer& Template() const { return *m_template; }
    const std::string& ObjectIdText() const { return m_csObjectId; }

protected:
    void SerializeOwnXml(CConfigArchive& archive) override;
    void StoreOwn(CLegacyArchiveWriter& archive) const override;
    int LoadOwn(CLegacyArchiveReader& archive) override;

private:
    struct Release {
        void operator()(CInfoContainer* record) const { record->Release(); }
    };
    bool SetNumber(const std::string& text, std::uint32_t bit, std::string* kept);
    void SetField(std::uint32_t bit, std::uint32_t value);

    std::unique_ptr<CAtomicLoadingInfoContainer, Release> m_template;
    std::uint32_t m_ulUsedParams = 0;
    std::string m_csObjectId;
    std::string m_csLoadCount;
    std::string m_csRefCount;
};

// Tests the descriptor's criteria among those of the mask, in the order of their bits.
bool MatchAtomicLoading(const CInfoContainer& record, const CFilterDescriptor& descriptor, std::uint32_t criteria,
                        bool* matched);

class CAtomicLoadingFilter final : public CFilter {
protected:
    std::unique_ptr<CFilterDescriptor> CreateDescriptor() override {
        return std::make_unique<CAtomicLoadingFilterDescriptor>();
    }
    bool Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) override;
};

class CAtomicLoadingLoggerViewerDoc final : public CLoggerViewerDoc {
public:
    int ViewerKind() const override { return 7; }
    int SourceKind() const override { return 6; }

protected:
    const char* ClassName() const override { return "CAtomicLoadingLoggerViewerDoc"; }
    std::unique_ptr<CFilter> CreateFilter() override { return std::make_unique<CAtomicLoadingFilter>(); }
    void DefineColumns() override;
};
