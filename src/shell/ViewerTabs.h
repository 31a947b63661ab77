#pragma once
// The main view's tabs as the project document sees them: which viewers are open
// and selected (saved in the project), opening and selecting them when a project
// is loaded, and the Output viewer's text. Without a main window (the command line,
// tests) the headless tabs remember the same facts.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* QV_OUTPUT_VIEW_CLASS = "CQuorvelLoggerView";

struct IViewerTabs {
    // Non-zero when a tab of this view class is open.
    virtual std::int32_t LoadedFlag(const std::string& viewClass) const = 0;
    virtual bool IsActive(const std::string& viewClass) const = 0;
    virtual void OpenViewer(const std::string& viewClass) = 0;
    virtual void SelectViewer(const std::string& viewClass) = 0;
    virtual void CloseAll() = 0;
    // Asks the open viewer of this kind to put its screen state into its document;
    // false when it could not.
    virtual bool StoreScreenState(int viewerKind) = 0;
    virtual void ShowOutput(const std::string& text) = 0;

protected:
    ~IViewerTabs() = default;
};

class CHeadlessTabs final : public IViewerTabs {
public:
    std::int32_t LoadedFlag(const std::string& viewClass) const override {
        return std::find(m_open.begin(), m_open.end(), viewClass) != m_open.end() ? 1 : 0;
    }
    bool IsActive(const std::string& viewClass) const override { return m_active == viewClass; }
    void OpenViewer(const std::string& viewClass) override {
        if (!LoadedFlag(viewClass)) m_open.push_back(viewClass);
        m_active = viewClass;  // a viewer opens selected
    }
    void SelectViewer(const std::string& viewClass) override {
        if (LoadedFlag(viewClass)) m_active = viewClass;
    }
    void CloseAll() override {
        m_open.clear();
        m_active.clear();
    }
    bool StoreScreenState(int) override { return true; }
    void ShowOutput(const std::string&) override {}
    const std::vector<std::string>& Open() const { return m_open; }
    const std::string& Active() const { return m_active; }

private:
    std::vector<std::string> m_open;
    std::string m_active;
};
