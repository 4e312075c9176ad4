#pragma once

// The program's child windows, declared once: each window's name (its objectName), its menu
// item, how it is built, which events close it and which changes open it again. The main window
// opens, closes and refreshes them through ChildWindows; a child window gets the records and the
// services it uses, never the main window itself.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ProgramState.h"
#include "gDataRefresh.h"

class QAction;

namespace kestrova {
struct PrintSettings;
}

namespace kestrova::windows {

inline constexpr const char* kAbout = "frmAboutfrm";
inline constexpr const char* kCentroid = "frmAnalysisCentroidandAreaMeasurementfrm";
inline constexpr const char* kDataThresholds = "frmAnalysisDataThresholdsAsAbsoluteValuesfrm";
inline constexpr const char* kHistogram = "frmAnalysisIntensityDistributionfrm";
inline constexpr const char* kRegionDisplayZoomCustom = "frmAnalysisRegionofInterestDisplayImageZoomCustomfrm";
inline constexpr const char* kRegionDisplay = "frmAnalysisRegionofInterestDisplayfrm";
inline constexpr const char* kRegionsValues = "frmAnalysisRegionsofInterestValuesfrm";
inline constexpr const char* kSpectrumLimits = "frmAnalysisXAxisProjectionDisplayLimitsValuesfrm";
inline constexpr const char* kSpectrum = "frmAnalysisXAxisProjectionfrm";
inline constexpr const char* kProfileLimits = "frmAnalysisYAxisProjectionDisplayLimitsValuesfrm";
inline constexpr const char* kProfile = "frmAnalysisYAxisProjectionfrm";
inline constexpr const char* kInitialThresholds = "frmFileInitialDisplayThresholdsfrm";
inline constexpr const char* kThresholdsAbsolute = "frmImageDisplayThresholdsAsAbsoluteValuesfrm";
inline constexpr const char* kThresholdsPerCent = "frmImageDisplayThresholdsAsPerCentValuesfrm";
inline constexpr const char* kInformation = "frmImageInformationfrm";
inline constexpr const char* kZoomCustom = "frmImageZoomCustomfrm";

}  // namespace kestrova::windows

namespace kestrova {

// What a child window may ask of the program besides its records.
class WindowServices {
public:
    // The one refresh path after a change of the records: stale results cleared, the picture
    // redrawn when the change alters it, the dependent open windows opened again in order.
    virtual void refresh(Change change) = 0;
    // A zoom text applied as the custom zoom; false when refused (the message is shown).
    virtual bool applyCustomZoom(const std::string& text) = 0;
    // The print settings every print dialog of the program starts from and keeps.
    virtual PrintSettings& printSettings();
    // Another child window by name: opened (closed first when open), or the open one (nullptr
    // when it is not open).
    virtual QWidget* openWindow(const QString& name)
    {
        static_cast<void>(name);
        return nullptr;
    }
    virtual QWidget* openedWindow(const QString& name)
    {
        static_cast<void>(name);
        return nullptr;
    }

protected:
    ~WindowServices() = default;
};

// What a child window is built with.
struct WindowContext {
    QWidget* owner;       // the window it stays above
    ProgramState& state;  // the records it reads and edits
    WindowServices& services;
    QAction* menuItem;  // its menu item, checked while it is open; may be null
};

using WindowFactory = std::function<QWidget*(const WindowContext& context)>;

// Events that close child windows.
enum WindowEvent : unsigned { ClosedByFileOpen = 1, ClosedByFileClose = 2, ClosedByExit = 4 };

struct WindowEntry {
    const char* name;
    const char* menuItem;   // objectName of its menu item, or nullptr
    WindowFactory factory;  // empty while the window is not built
    unsigned closedBy;      // WindowEvent bits
    int reopenOrder;        // place among the windows a refresh opens again; 0: none
    ChangeSet reopenedBy;   // changes after which the open window is opened again
};

// Every child window of the main window, in the order they are closed.
const std::vector<WindowEntry>& childWindowTable();

// The short names by which scripts open windows ("spectrum"): the window's name, or nullptr
// when the keyword names none; and back, an empty text for a window without one.
const char* windowOfKeyword(const QString& keyword);
QString keywordOfWindow(const QString& name);
QStringList windowKeywords();

// The open child windows, one at most of each name.
class ChildWindows {
public:
    // `findItem` gives a menu item by its objectName.
    ChildWindows(std::vector<WindowEntry> table, QWidget* owner, ProgramState& state, WindowServices& services,
                 std::function<QAction*(const char*)> findItem);

    const std::vector<WindowEntry>& table() const { return table_; }
    bool isOpen(const QString& name) const;
    // The open window of that name, or nullptr.
    QWidget* window(const QString& name) const;
    // Closed first when open, then built and shown fresh; nullptr when it has no factory.
    QWidget* open(const QString& name);
    void close(const QString& name);
    void closeOn(WindowEvent event);
    // Every open window that depends on the change, opened again in the fixed order.
    void reopenAfter(Change change);

private:
    const WindowEntry* find(const QString& name) const;

    std::vector<WindowEntry> table_;
    QWidget* owner_;
    ProgramState& state_;
    WindowServices& services_;
    std::function<QAction*(const char*)> findItem_;
    std::map<QString, QPointer<QWidget>> open_;
};

}  // namespace kestrova
