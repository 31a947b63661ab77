#pragma once
// User-defined filters of the loggers: a filter is a list of descriptors, each a
// set of criteria on a record's fields with a filtering type (include, exclude or
// disabled), and may show only the first record of each key.

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "ConfigArchive.h"
#include "InfoContainer.h"
#include "LegacyArchive.h"
#include "ProjectDocument.h"

inline constexpr const char* QV_ITEM_IGNORED = "ITEM IGNORED";

enum EFilteringType : std::int32_t { FILTER_DISABLED = 0, FILTER_INCLUDE = 1, FILTER_EXCLUDE = 2 };

// A text criterion: used, and its text ("ITEM IGNORED" when unused).
struct CTextCriterion {
    std::int32_t bUsed = 0;
    std::string csText = QV_ITEM_IGNORED;
    // Returns whether something changed.
    bool Set(const std::string& text);
};

// A numeric criterion of a signed or unsigned value.
template <class T>
struct TNumericCriterion {
    std::int32_t bUsed = 0;
    std::string csText = QV_ITEM_IGNORED;
    T value = 0;
    // False when the text is not a number (the criterion is then cleared).
    bool Set(const std::string& text);
};

// A choice among codes; the text stays "ITEM IGNORED".
template <class T>
struct TListCriterion {
    std::int32_t bUsed = 0;
    std::string csText = QV_ITEM_IGNORED;
    T value = 0;
    void Choose(T code) {
        value = code;
        bUsed = 1;
    }
    void Ignore() { bUsed = 0; }
};

class CFilterDescriptor {
public:
    virtual ~CFilterDescriptor() = default;
    void SetOwner(IModifiable* owner) { m_pOwner = owner; }
    void SetName(const std::string& name);
    void SetType(std::int32_t type);
    const std::string& GetName() const { return m_csDescriptorName; }
    std::int32_t GetType() const { return m_eDescriptorType; }
    const char* TypeText() const;

    // The element the descriptor's values are kept in ("CEventFilterDescriptor", ...).
    virtual const char* ClassName() const = 0;
    // Writes or reads the descriptor's own element; the base values come first.
    void SerializeXml(CConfigArchive& archive);
    void StoreArchive(CLegacyArchiveWriter& archive) const;
    // 0, 2 for another version, 3 for a damaged block.
    int LoadArchive(CLegacyArchiveReader& archive);

protected:
    void MarkModified() {
        if (m_pOwner) m_pOwner->SetModifiedFlag(true);
    }
    virtual void SerializeOwnXml(CConfigArchive& archive) = 0;
    virtual void StoreOwn(CLegacyArchiveWriter& archive) const = 0;
    virtual int LoadOwn(CLegacyArchiveReader& archive) = 0;

private:
    IModifiable* m_pOwner = nullptr;
    std::string m_csDescriptorName = QV_ITEM_IGNORED;
    std::int32_t m_eDescriptorType = FILTER_INCLUDE;
};

// A descriptor whose criteria are listed once, in saved order, by
// Derived::VisitCriteria(visitor): visitor(flag name, text name, value name or
// null, criterion). Both saved forms are derived from that list.
template <class Derived>
class TCriteriaDescriptor : public CFilterDescriptor {
protected:
    void SerializeOwnXml(CConfigArchive& a) override {
        static_cast<Derived*>(this)->VisitCriteria([&](const char* flag, const char* text, const char* value, auto& c) {
            a.SerializeI4(flag, &c.bUsed);
            a.SerializeString(text, &c.csText);
            if constexpr (requires { c.value; }) {
                if constexpr (std::is_signed_v<decltype(c.value)>)
                    a.SerializeI4(value, &c.value);
                else
                    a.SerializeUI4(value, &c.value);
            }
        });
    }
    // Legacy form: version 1, then flag, text and (for numbers) value of each criterion.
    void StoreOwn(CLegacyArchiveWriter& a) const override {
        a.WriteUInt32(1);
        const_cast<Derived*>(static_cast<const Derived*>(this))
            ->VisitCriteria([&](const char*, const char*, const char*, auto& c) {
                a.WriteInt32(c.bUsed);
                a.WriteString(c.csText);
                if constexpr (requires { c.value; }) a.WriteUInt32(static_cast<std::uint32_t>(c.value));
            });
    }
    int LoadOwn(CLegacyArchiveReader& a) override {
        std::uint32_t version = 0;
        if (!a.ReadUInt32(&version)) return 3;
        if (version != 1) return 2;
        bool ok = true;
        static_cast<Derived*>(this)->VisitCriteria([&](const char*, const char*, const char*, auto& c) {
            ok = ok && a.ReadInt32(&c.bUsed) && a.ReadString(&c.csText);
            if constexpr (requires { c.value; }) {
                std::uint32_t v = 0;
                ok = ok && a.ReadUInt32(&v);
                if (ok) c.value = static_cast<decltype(c.value)>(v);
            }
        });
        return ok ? 0 : 3;
    }
};

// Tests a descriptor's criteria in their order: each one in use makes the
// descriptor apply, and the first that fails decides that the record does not match.
class CCriteriaMatch {
public:
    explicit CCriteriaMatch(bool* matched) : m_pMatched(matched) { *m_pMatched = true; }
    CCriteriaMatch& Test(std::int32_t used, bool passes) {
        if (used && *m_pMatched) {
            m_bApplies = true;
            if (!passes) *m_pMatched = false;
        }
        return *this;
    }
    bool Applies() const { return m_bApplies; }

private:
    bool* m_pMatched;
    bool m_bApplies = false;
};

class CFilter {
public:
    virtual ~CFilter() = default;
    void SetOwner(IModifiable* owner) { m_pOwner = owner; }
    void SetName(const std::string& name);
    const std::string& GetName() const { return m_csFilterName; }
    void SetDisplayOnlyFirstOccurrence(bool on);
    bool DisplayOnlyFirstOccurrence() const { return m_bDisplayOnlyFirstOccurence != 0; }

    CFilterDescriptor* AddNewDescriptor();
    int FindDescriptor(const std::string& name) const;
    CFilterDescriptor* GetDescriptor(std::size_t index) const;
    std::size_t DescriptorCount() const { return m_descriptors.size(); }
    void RemoveDescriptor(std::size_t index);
    void RemoveAllDescriptors();
    void ClearSeenKeys() { m_seenKeys.clear(); }

    // 1 to show the record, 0 to hide it.
    int Accept(const CInfoContainer& record);

    void SerializeXml(CConfigArchive& archive);
    void StoreArchive(CLegacyArchiveWriter& archive) const;
    int LoadArchive(CLegacyArchiveReader& archive);

protected:
    virtual std::unique_ptr<CFilterDescriptor> CreateDescriptor() = 0;
    // Whether the descriptor applies at all; *matched says whether the record fits it.
    virtual bool Match(const CInfoContainer& record, const CFilterDescriptor& descriptor, bool* matched) = 0;
    void MarkModified() {
        if (m_pOwner) m_pOwner->SetModifiedFlag(true);
    }

private:
    IModifiable* m_pOwner = nullptr;
    std::string m_csFilterName;
    std::int32_t m_bDisplayOnlyFirstOccurence = 0;
    std::vector<std::unique_ptr<CFilterDescriptor>> m_descriptors;
    std::set<std::uint32_t> m_seenKeys;
};
