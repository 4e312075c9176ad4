#include "gFormWindows.h"

#include <algorithm>

#include "frmAboutfrm.h"
#include "frmAnalysisCentroidandAreaMeasurementfrm.h"
#include "frmAnalysisDataThresholdsAsAbsoluteValuesfrm.h"
#include "frmAnalysisIntensityDistributionfrm.h"
#include "frmAnalysisRegionofInterestDisplayImageZoomCustomfrm.h"
#include "frmAnalysisRegionofInterestDisplayfrm.h"
#include "frmAnalysisRegionsofInterestValuesfrm.h"
#include "frmFileInitialDisplayThresholdsfrm.h"
#include "frmImageDisplayThresholdsAsAbsoluteValuesfrm.h"
#include "frmImageDisplayThresholdsAsPerCentValuesfrm.h"
#include "frmImageInformationfrm.h"
#include "frmImageZoomCustomfrm.h"
#include "gFormPrint.h"
#include "gFormProjection.h"
#include "gFormProjectionLimits.h"

namespace kestrova {
namespace {

template <class Window>
QWidget* make(const WindowContext& context)
{
    return new Window(context);
}

constexpr unsigned kOpenCloseExit = ClosedByFileOpen | ClosedByFileClose | ClosedByExit;
constexpr unsigned kCloseExit = ClosedByFileClose | ClosedByExit;
constexpr unsigned kOpenExit = ClosedByFileOpen | ClosedByExit;

// What the analyses are computed from.
constexpr ChangeSet kAnalysisInputs = changeSet(Change::Regions, Change::DataThresholds, Change::IntensityInverted);

}  // namespace

PrintSettings& WindowServices::printSettings()
{
    static PrintSettings settings;
    return settings;
}

const std::vector<WindowEntry>& childWindowTable()
{
    using namespace windows;
    static const std::vector<WindowEntry> table{
        {kAbout, nullptr, make<frmAboutfrm>, ClosedByExit, 0, 0},
        {kCentroid, "mnuAnalysisAreaProperties", openCentroidWindow, kOpenCloseExit, 3,
         kAnalysisInputs | changeBit(Change::MeanSum)},
        {kDataThresholds, "mnuAnalysisDataThresholdsAsAbsoluteValues",
         make<frmAnalysisDataThresholdsAsAbsoluteValuesfrm>, kOpenCloseExit, 0, 0},
        {kHistogram, "mnuAnalysisIntensityDistribution", make<frmAnalysisIntensityDistributionfrm>, kOpenCloseExit, 4,
         changeSet(Change::Regions, Change::IntensityInverted, Change::DisplayThresholds, Change::DataThresholds)},
        {kRegionsValues, "mnuAnalysisRegionsofInterestAsAbsoluteValues", make<frmAnalysisRegionsofInterestValuesfrm>,
         kOpenCloseExit, 0, 0},
        {kRegionDisplay, "mnuAnalysisRegionsofInterestDisplay", make<frmAnalysisRegionofInterestDisplayfrm>,
         kOpenCloseExit, 5, changeSet(Change::Regions, Change::IntensityInverted)},
        {kProfile, "mnuAnalysisYAxisProjection", openProfileWindow, kOpenCloseExit, 2,
         kAnalysisInputs | changeSet(Change::MeanSum, Change::ProfileLimits)},
        {kSpectrum, "mnuAnalysisXAxisProjection", openSpectrumWindow, kOpenCloseExit, 1,
         kAnalysisInputs | changeSet(Change::MeanSum, Change::SpectrumLimits)},
        {kRegionDisplayZoomCustom, nullptr, make<frmAnalysisRegionofInterestDisplayImageZoomCustomfrm>, kOpenCloseExit,
         0, 0},
        {kInitialThresholds, "mnuFileInitialDisplayThresholds", make<frmFileInitialDisplayThresholdsfrm>, kCloseExit, 0,
         0},
        {kThresholdsPerCent, "mnuImageDisplayThresholdsAsPerCentValues",
         make<frmImageDisplayThresholdsAsPerCentValuesfrm>, kOpenCloseExit, 0, 0},
        {kThresholdsAbsolute, "mnuImageDisplayThresholdsAsAbsoluteValues",
         make<frmImageDisplayThresholdsAsAbsoluteValuesfrm>, kOpenCloseExit, 0, 0},
        {kInformation, "mnuImageInformation", make<frmImageInformationfrm>, kOpenExit, 0, 0},
        {kZoomCustom, nullptr, make<frmImageZoomCustomfrm>, kOpenExit, 0, 0},
        {kSpectrumLimits, nullptr, openSpectrumLimits, kOpenCloseExit, 0, 0},
        {kProfileLimits, nullptr, openProfileLimits, kOpenCloseExit, 0, 0},
    };
    return table;
}

namespace {

struct WindowKeyword {
    const char* keyword;
    const char* name;
};

const std::vector<WindowKeyword>& keywordTable()
{
    using namespace windows;
    static const std::vector<WindowKeyword> table{
        {"spectrum", kSpectrum},   {"profile", kProfile},      {"centroid", kCentroid},
        {"histogram", kHistogram}, {"region", kRegionDisplay},
    };
    return table;
}

}  // namespace

const char* windowOfKeyword(const QString& keyword)
{
    for (const WindowKeyword& entry : keywordTable()) {
        if (keyword == QLatin1String(entry.keyword))
            return entry.name;
    }
    return nullptr;
}

QString keywordOfWindow(const QString& name)
{
    for (const WindowKeyword& entry : keywordTable()) {
        if (name == QLatin1String(entry.name))
            return QString::fromLatin1(entry.keyword);
    }
    return {};
}

QStringList windowKeywords()
{
    QStringList keywords;
    for (const WindowKeyword& entry : keywordTable())
        keywords << QString::fromLatin1(entry.keyword);
    return keywords;
}

ChildWindows::ChildWindows(std::vector<WindowEntry> table, QWidget* owner, ProgramState& state,
                           WindowServices& services, std::function<QAction*(const char*)> findItem)
    : table_(std::move(table)), owner_(owner), state_(state), services_(services), findItem_(std::move(findItem))
{}

const WindowEntry* ChildWindows::find(const QString& name) const
{
    const auto found = std::find_if(table_.begin(), table_.end(),
                                    [&name](const WindowEntry& entry) { return name == QLatin1String(entry.name); });
    return found == table_.end() ? nullptr : &*found;
}

bool ChildWindows::isOpen(const QString& name) const
{
    const auto found = open_.find(name);
    return found != open_.end() && found->second && found->second->isVisible();
}

QWidget* ChildWindows::window(const QString& name) const
{
    return isOpen(name) ? open_.at(name).data() : nullptr;
}

QWidget* ChildWindows::open(const QString& name)
{
    close(name);
    const WindowEntry* entry = find(name);
    if (!entry || !entry->factory)
        return nullptr;
    QAction* item = entry->menuItem ? findItem_(entry->menuItem) : nullptr;
    QWidget* window = entry->factory(WindowContext{owner_, state_, services_, item});
    if (!window)
        return nullptr;
    window->setObjectName(name);
    window->setAttribute(Qt::WA_DeleteOnClose);
    open_[name] = window;
    window->show();
    return window;
}

void ChildWindows::close(const QString& name)
{
    if (!isOpen(name))
        return;
    QPointer<QWidget> window = open_[name];
    window->close();
}

void ChildWindows::closeOn(WindowEvent event)
{
    for (const WindowEntry& entry : table_) {
        if (entry.closedBy & event)
            close(QString::fromLatin1(entry.name));
    }
}

void ChildWindows::reopenAfter(Change change)
{
    std::vector<const WindowEntry*> due;
    for (const WindowEntry& entry : table_) {
        if (entry.reopenOrder > 0 && (entry.reopenedBy & changeBit(change)) && isOpen(QString::fromLatin1(entry.name)))
            due.push_back(&entry);
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const WindowEntry* a, const WindowEntry* b) { return a->reopenOrder < b->reopenOrder; });
    for (const WindowEntry* entry : due)
        open(QString::fromLatin1(entry->name));
}

}  // namespace kestrova
